#include "game/GameDataFile.h"

#include "app/Buffer.h"

#include <algorithm>

namespace Lumo {

namespace {

int32_t ReadInt32At(const uint8_t* bytes, size_t offset)
{
    const uint32_t value = static_cast<uint32_t>(bytes[offset]) | (static_cast<uint32_t>(bytes[offset + 1]) << 8) |
                           (static_cast<uint32_t>(bytes[offset + 2]) << 16) |
                           (static_cast<uint32_t>(bytes[offset + 3]) << 24);
    return static_cast<int32_t>(value);
}

int16_t ReadInt16At(const uint8_t* bytes, size_t offset)
{
    return static_cast<int16_t>(static_cast<uint16_t>(bytes[offset] | (bytes[offset + 1] << 8)));
}

int32_t ClampVolume(int32_t volume)
{
    return std::clamp<int32_t>(volume, 0, GameDataFile::kMaxVolume);
}

} // namespace

void GameDataFile::Write(const GameData& data, Buffer& buffer)
{
    buffer.WriteBool(data.dayScenery);
    buffer.WriteBool(false); // the reserved option byte
    buffer.WriteInt32(ClampVolume(data.musicVolume));
    buffer.WriteInt32(ClampVolume(data.soundVolume));
    for (int32_t highScore : data.highScores)
        buffer.WriteInt32(highScore);
    for (int16_t stat : data.keptStats)
        buffer.WriteInt16(stat);
}

GameData GameDataFile::Read(const uint8_t* bytes, size_t size)
{
    GameData data;
    if (bytes == nullptr)
        return data;
    auto has = [size](size_t offset, size_t length) { return offset + length <= size; };
    if (has(0, 1))
        data.dayScenery = bytes[0] != 0;
    if (has(2, 4))
        data.musicVolume = ClampVolume(ReadInt32At(bytes, 2));
    if (has(6, 4))
        data.soundVolume = ClampVolume(ReadInt32At(bytes, 6));
    for (size_t i = 0; i < data.highScores.size(); ++i)
        if (has(10 + 4 * i, 4))
            data.highScores[i] = ReadInt32At(bytes, 10 + 4 * i);
    for (size_t i = 0; i < data.keptStats.size(); ++i)
        if (has(30 + 2 * i, 2))
            data.keptStats[i] = ReadInt16At(bytes, 30 + 2 * i);
    return data;
}

} // namespace Lumo

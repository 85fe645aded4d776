#pragma once
// The save file "tumbrix.dat": 42 bytes, little-endian, no header, no checksum.
//
//   offset size  field
//   0      1     scenery: 1 day, 0 night
//   1      1     reserved: written 0, ignored when read
//   2      4     music volume, int32 0..300
//   6      4     sound volume, int32 0..300
//   10     20    high score per game mode, 5 x int32 (Story, Casual, Panic, Toast, Skull)
//   30     12    kept statistics, 6 x int16 (games played, blobs cleared, chains
//                made, longest chain, biggest combo, best chain score)
//
// Bytes past the 42nd are ignored. A short file keeps the fields that are
// wholly present; the others take their defaults.
#include <array>
#include <cstddef>
#include <cstdint>

namespace Lumo {

class Buffer;

struct GameData
{
    bool dayScenery = true;
    int32_t musicVolume = 300;
    int32_t soundVolume = 300;
    std::array<int32_t, 5> highScores{};
    std::array<int16_t, 6> keptStats{};

    bool operator==(const GameData&) const = default;
};

class GameDataFile
{
public:
    static constexpr size_t kSize = 42;
    static constexpr int kMaxVolume = 300;

    // Appends the file image to the buffer (volumes clamped to 0..300).
    static void Write(const GameData& data, Buffer& buffer);
    // The data in the bytes: defaults for missing fields, volumes clamped to
    // 0..300. Never fails.
    static GameData Read(const uint8_t* bytes, size_t size);
};

} // namespace Lumo

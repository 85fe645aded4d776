// Sun audio (".snd") reader.
#include "audio/PakFileHandle.h"
#include "audio/SoundFileReaders.h"
#include "platform/DebugOutput.h"
#include <algorithm>
#include <array>
#include <cstring>

namespace Lumo {
namespace {

constexpr uint32_t kUnknownSize = 0xFFFFFFFF;
constexpr uint32_t kEncodingMuLaw = 1;
constexpr uint32_t kEncodingLinear8 = 2;
constexpr uint32_t kHeaderSize = 24;

// The mu-law magnitude by the 8 segments of v = byte | 0x80.
int MuLawMagnitude(int v)
{
    if (v >= 240) return 510 - 2 * v;
    if (v >= 224) return 988 - 4 * v;
    if (v >= 208) return 1880 - 8 * v;
    if (v >= 192) return 3536 - 16 * v;
    if (v >= 176) return 6592 - 32 * v;
    if (v >= 160) return 12192 - 64 * v;
    if (v >= 144) return 22368 - 128 * v;
    if (v >= 129) return 40672 - 256 * v;
    return 255;
}

const std::array<int16_t, 256>& MuLawTable()
{
    static const std::array<int16_t, 256> table = [] {
        std::array<int16_t, 256> t{};
        for (int b = 0; b < 256; ++b)
        {
            const int sign = b >= 0x80 ? 1 : -1;
            t[size_t(b)] = int16_t(sign * MuLawMagnitude(b | 0x80) * 4);
        }
        return t;
    }();
    return table;
}

bool Fail(const std::string& path, const char* why)
{
    Platform::Log("SOUND", path + ": " + why);
    return false;
}

void ConvertSamples(const std::vector<uint8_t>& raw, uint32_t encoding, DecodedSound& sound)
{
    if (encoding == kEncodingMuLaw)
    {
        const auto& table = MuLawTable();
        sound.pcm.resize(raw.size() * 2);
        for (size_t i = 0; i < raw.size(); ++i)
        {
            const auto value = uint16_t(table[raw[i]]);
            sound.pcm[2 * i] = uint8_t(value);
            sound.pcm[2 * i + 1] = uint8_t(value >> 8);
        }
        return;
    }
    // Signed 8-bit in the file, unsigned 8-bit in a sound buffer.
    sound.pcm.resize(raw.size());
    for (size_t i = 0; i < raw.size(); ++i)
        sound.pcm[i] = uint8_t(raw[i] ^ 0x80);
}

} // namespace

int16_t MuLawToSample(uint8_t byte)
{
    return MuLawTable()[byte];
}

bool ReadAuSound(const std::string& path, DecodedSound& sound)
{
    PakFileHandle file(PakFileOpen(path, "rb"));
    if (!file)
        return false;
    const int64_t fileSize = PakFileSize(file.get());
    char magic[4];
    uint32_t offset = 0, size = 0, encoding = 0, rate = 0, channels = 0;
    if (fileSize < kHeaderSize || !PakReadExact(file.get(), magic, 4) || std::memcmp(magic, ".snd", 4) != 0)
        return Fail(path, "not a Sun audio file");
    if (!PakReadU32BigEndian(file.get(), offset) || !PakReadU32BigEndian(file.get(), size) ||
        !PakReadU32BigEndian(file.get(), encoding) || !PakReadU32BigEndian(file.get(), rate) ||
        !PakReadU32BigEndian(file.get(), channels))
        return Fail(path, "short header");
    if (encoding != kEncodingMuLaw && encoding != kEncodingLinear8)
        return Fail(path, "unsupported encoding");
    if (offset < kHeaderSize || int64_t(offset) > fileSize)
        return Fail(path, "bad data offset");
    const int64_t available = fileSize - offset;
    if (size == kUnknownSize)
        size = uint32_t(std::min<int64_t>(available, kUnknownSize - 1));
    if (int64_t(size) > available)
        return Fail(path, "data runs past the end of the file");

    const uint16_t bits = encoding == kEncodingMuLaw ? 16 : 8;
    const uint64_t bytes = uint64_t(size) * (bits / 8);
    if (channels > 2 || !IsStorableSound(uint16_t(channels), rate, bits, bytes))
        return Fail(path, "unsupported sound format or size");

    std::vector<uint8_t> raw(size);
    if (PakFileSeek(file.get(), long(offset), 0) != 0 || !PakReadExact(file.get(), raw.data(), size))
        return Fail(path, "short read");
    file.reset();

    DecodedSound result;
    result.channels = uint16_t(channels);
    result.sampleRate = rate;
    result.bitsPerSample = bits;
    ConvertSamples(raw, encoding, result);
    sound = std::move(result);
    return true;
}

} // namespace Lumo

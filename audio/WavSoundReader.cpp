// RIFF/WAVE reader, also used for the decoded-sound cache files.
#include "audio/PakFileHandle.h"
#include "audio/SoundFileReaders.h"
#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"
#include <cstring>

namespace Lumo {
namespace {

constexpr uint16_t kMaxDependencyPath = 255;

bool IsTag(const char* tag, const char* expected)
{
    return std::memcmp(tag, expected, 4) == 0;
}

bool Fail(const std::string& path, const char* why)
{
    Platform::Log("SOUND", path + ": " + why);
    return false;
}

// The "dep " chunk: true when the recorded write time of the source matches.
bool DependencyIsCurrent(PFILE* file)
{
    uint16_t length = 0;
    if (!PakReadU16(file, length))
        return false;
    if (length > kMaxDependencyPath)
        length = kMaxDependencyPath;
    std::string source(length, '\0');
    uint32_t low = 0;
    uint32_t high = 0;
    if (!PakReadExact(file, source.data(), length) || !PakReadU32(file, low) || !PakReadU32(file, high))
        return false;
    uint64_t current = 0;
    if (!Platform::GetFileWriteTime(source, current))
        current = 0;
    return uint32_t(current) == low && uint32_t(current >> 32) == high;
}

bool ReadFormatChunk(PFILE* file, uint32_t size, DecodedSound& sound, const std::string& path)
{
    uint16_t tag = 0;
    uint16_t channels = 0;
    uint32_t rate = 0;
    uint32_t averageBytes = 0;
    uint16_t blockAlign = 0;
    uint16_t bits = 0;
    if (size < 16 || !PakReadU16(file, tag) || !PakReadU16(file, channels) || !PakReadU32(file, rate) ||
        !PakReadU32(file, averageBytes) || !PakReadU16(file, blockAlign) || !PakReadU16(file, bits))
        return Fail(path, "bad format chunk");
    if (tag != 1)
        return Fail(path, "not PCM");
    sound.channels = channels;
    sound.sampleRate = rate;
    sound.bitsPerSample = bits;
    return true;
}

bool ReadDataChunk(PFILE* file, uint32_t size, int64_t available, uint8_t scramble, DecodedSound& sound,
                   const std::string& path)
{
    if (!IsStorableSound(sound.channels, sound.sampleRate, sound.bitsPerSample, size))
        return Fail(path, "unsupported sound format or size");
    if (int64_t(size) > available)
        return Fail(path, "data chunk runs past the end of the file");
    sound.pcm.resize(size);
    if (!PakReadExact(file, sound.pcm.data(), size))
        return Fail(path, "short read");
    if (scramble != 0)
        for (uint8_t& byte : sound.pcm)
            byte ^= scramble;
    return true;
}

} // namespace

bool ReadWavSound(const std::string& path, DecodedSound& sound)
{
    PakFileHandle file(PakFileOpen(path, "rb"));
    if (!file)
        return false;
    const int64_t fileSize = PakFileSize(file.get());
    char tag[4];
    uint32_t riffSize = 0;
    if (fileSize < 12 || !PakReadExact(file.get(), tag, 4) || !IsTag(tag, "RIFF") || !PakReadU32(file.get(), riffSize) ||
        !PakReadExact(file.get(), tag, 4) || !IsTag(tag, "WAVE"))
        return Fail(path, "not a RIFF/WAVE file");

    DecodedSound result; // 1 channel, 22050 Hz, 16 bits until a "fmt " chunk
    uint8_t scramble = 0;
    // Every step moves forward by at least the 8-byte chunk header, and the
    // walk ends at the end of the file.
    for (int64_t position = 12; position + 8 <= fileSize;)
    {
        uint32_t size = 0;
        if (PakFileSeek(file.get(), long(position), 0) != 0 || !PakReadExact(file.get(), tag, 4) ||
            !PakReadU32(file.get(), size))
            return Fail(path, "bad chunk header");
        const int64_t start = position + 8;
        if (IsTag(tag, "fmt "))
        {
            if (!ReadFormatChunk(file.get(), size, result, path))
                return false;
        }
        else if (IsTag(tag, "dep "))
        {
            if (!DependencyIsCurrent(file.get()))
                return false; // stale or broken cache file: decode the source again
        }
        else if (IsTag(tag, "xor "))
        {
            if (!PakReadExact(file.get(), &scramble, 1))
                return Fail(path, "bad xor chunk");
        }
        else if (IsTag(tag, "data"))
        {
            if (!ReadDataChunk(file.get(), size, fileSize - start, scramble, result, path))
                return false;
            sound = std::move(result);
            return true;
        }
        // RIFF pads odd-sized chunks to even length; the cache's own chunks
        // are written without the pad byte.
        const bool padded = (size & 1) && !IsTag(tag, "dep ") && !IsTag(tag, "xor ");
        position = start + int64_t(size) + (padded ? 1 : 0);
    }
    return Fail(path, "no data chunk");
}

bool IsStorableSound(uint16_t channels, uint32_t sampleRate, uint16_t bitsPerSample, uint64_t bytes)
{
    const uint32_t blockAlign = uint32_t(channels) * bitsPerSample / 8;
    return (channels == 1 || channels == 2) && (bitsPerSample == 8 || bitsPerSample == 16) && sampleRate >= 100 &&
           sampleRate <= 100000 && bytes >= blockAlign && bytes <= kMaxSoundBytes;
}

} // namespace Lumo

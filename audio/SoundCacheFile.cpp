#include "audio/SoundCacheFile.h"
#include <algorithm>
#include <cstring>

namespace Lumo {
namespace {

class ByteWriter
{
public:
    explicit ByteWriter(std::vector<uint8_t>& out) : mOut(out) {}
    void Tag(const char* tag) { Bytes(tag, 4); }
    void U16(uint32_t value)
    {
        mOut.push_back(uint8_t(value));
        mOut.push_back(uint8_t(value >> 8));
    }
    void U32(uint32_t value)
    {
        U16(value & 0xFFFF);
        U16(value >> 16);
    }
    void Bytes(const void* data, size_t size)
    {
        const size_t at = mOut.size();
        mOut.resize(at + size);
        if (size > 0)
            std::memcpy(mOut.data() + at, data, size);
    }

private:
    std::vector<uint8_t>& mOut;
};

// Whether one of the name's components, split at either slash, is "..".
bool HasParentStep(const std::string& name)
{
    size_t start = 0;
    while (start <= name.size())
    {
        size_t end = name.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = name.size();
        if (end - start == 2 && name.compare(start, 2, "..") == 0)
            return true;
        start = end + 1;
    }
    return false;
}

} // namespace

std::string SoundCachePath(const std::string& dataFolder, const std::string& name)
{
    // The cache file must stay inside the data folder: no absolute names and
    // no steps up out of it.
    if (name.size() <= 2 || name[0] == '\\' || name[0] == '/' || name[1] == ':' || HasParentStep(name))
        return std::string();
    return dataFolder + "cached\\" + name + ".wav";
}

std::vector<uint8_t> BuildSoundCacheFile(uint16_t channels, uint32_t sampleRate, uint16_t bitsPerSample,
                                         const std::string& sourcePath, uint64_t sourceWriteTime,
                                         const uint8_t* pcm, uint32_t pcmBytes)
{
    const uint16_t blockAlign = uint16_t(channels * bitsPerSample / 8);
    const auto pathLength = uint16_t(std::min<size_t>(sourcePath.size(), 0xFFFF));
    std::vector<uint8_t> out;
    out.reserve(size_t(pcmBytes) + pathLength + 80);
    ByteWriter w(out);
    w.Tag("RIFF");
    w.U32(pcmBytes + 36);
    w.Tag("WAVE");
    w.Tag("fmt ");
    w.U32(16);
    w.U16(1);
    w.U16(channels);
    w.U32(sampleRate);
    w.U32(uint32_t(blockAlign) * sampleRate);
    w.U16(blockAlign);
    w.U16(bitsPerSample);
    w.Tag("dep ");
    w.U32(uint32_t(pathLength) + 10);
    w.U16(pathLength);
    w.Bytes(sourcePath.data(), pathLength);
    w.U32(uint32_t(sourceWriteTime));
    w.U32(uint32_t(sourceWriteTime >> 32));
    w.Tag("xor ");
    w.U32(1);
    out.push_back(kSoundCacheScramble);
    w.Tag("data");
    w.U32(pcmBytes);
    const size_t at = out.size();
    out.resize(at + pcmBytes);
    for (uint32_t i = 0; i < pcmBytes; ++i)
        out[at + i] = pcm[i] ^ kSoundCacheScramble;
    return out;
}

} // namespace Lumo

// The decoded songs of the FMOD player: the music cache and joined pairs.
#include "app/Common.h"
#include "audio/FModMusicInterface.h"
#include "audio/FmodInstance.h"
#include "audio/MusicFileBytes.h"
#include "audio/PakFileHandle.h"
#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"
#include <algorithm>
#include <cstring>
#include <vector>

namespace Lumo {
namespace {

constexpr size_t kCacheHeaderBytes = 44;

struct SampleShape
{
    uint16_t channels = 2;
    uint16_t bits = 16;
    int rate = 0;
    unsigned int mode = 0;
    unsigned int frames = 0;

    uint32_t BlockAlign() const { return uint32_t(channels) * bits / 8; }
    uint64_t Bytes() const { return uint64_t(frames) * BlockAlign(); }
};

SampleShape ShapeOf(FMOD_INSTANCE& fmod, FmodSample* sample)
{
    SampleShape shape;
    shape.mode = fmod.FSOUND_Sample_GetMode(sample);
    shape.channels = (shape.mode & FMOD_MONO) ? 1 : 2;
    shape.bits = (shape.mode & FMOD_8BITS) ? 8 : 16;
    fmod.FSOUND_Sample_GetDefaults(sample, &shape.rate, nullptr, nullptr, nullptr);
    shape.frames = fmod.FSOUND_Sample_GetLength(sample);
    return shape;
}

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

void PutTag(std::vector<uint8_t>& out, const char* tag)
{
    out.insert(out.end(), tag, tag + 4);
}

// A plain PCM WAV file: "RIFF", "fmt ", "data".
std::vector<uint8_t> BuildWav(const SampleShape& shape, const void* pcm, uint32_t bytes)
{
    std::vector<uint8_t> out;
    out.reserve(kCacheHeaderBytes + bytes);
    PutTag(out, "RIFF");
    Put32(out, bytes + 36);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);
    Put16(out, shape.channels);
    Put32(out, uint32_t(shape.rate));
    Put32(out, shape.BlockAlign() * uint32_t(shape.rate));
    Put16(out, shape.BlockAlign());
    Put16(out, shape.bits);
    PutTag(out, "data");
    Put32(out, bytes);
    const auto* data = static_cast<const uint8_t*>(pcm);
    out.insert(out.end(), data, data + bytes);
    return out;
}

uint32_t Get32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Whether the cache file is whole: the layout BuildWav writes, with as many
// data bytes as its header states (a cut-off write is never used).
bool IsCompleteCacheFile(const std::string& path)
{
    PakFileHandle file(PakFileOpen(path, "rb"));
    if (!file)
        return false;
    const int64_t size = PakFileSize(file.get());
    uint8_t header[kCacheHeaderBytes];
    if (size < int64_t(kCacheHeaderBytes) || !PakReadExact(file.get(), header, sizeof(header)))
        return false;
    const bool layout = std::memcmp(header, "RIFF", 4) == 0 && std::memcmp(header + 8, "WAVEfmt ", 8) == 0 &&
                        Get32(header + 16) == 16 && std::memcmp(header + 36, "data", 4) == 0;
    const uint32_t dataBytes = Get32(header + 40);
    const uint32_t blockAlign = uint32_t(header[32]) | uint32_t(header[33]) << 8;
    return layout && dataBytes > 0 && blockAlign > 0 && dataBytes % blockAlign == 0 &&
           size == int64_t(kCacheHeaderBytes) + dataBytes;
}

} // namespace

FmodSample* FModMusicInterface::LoadSampleFile(const std::string& path)
{
    if (FmodSample* sample = mFmod.FSOUND_Sample_Load(FMOD_FREE_SAMPLE_INDEX, path.c_str(), 0, 0))
        return sample;
    // Only in the pack file: hand the library the bytes.
    MusicBytes bytes = ReadMusicFile(path);
    if (!bytes || bytes->size() > size_t(INT32_MAX))
        return nullptr;
    return mFmod.FSOUND_Sample_Load(FMOD_FREE_SAMPLE_INDEX, reinterpret_cast<const char*>(bytes->data()),
                                    FMOD_LOADMEMORY, int(bytes->size()));
}

void FModMusicInterface::WriteCacheFile(FmodSample* sample, const std::string& cachePath)
{
    const SampleShape shape = ShapeOf(mFmod, sample);
    if (shape.Bytes() == 0 || shape.Bytes() > uint64_t(INT32_MAX) || shape.rate <= 0)
        return;
    void* part1 = nullptr;
    void* part2 = nullptr;
    unsigned int length1 = 0;
    unsigned int length2 = 0;
    if (!mFmod.FSOUND_Sample_Lock(sample, 0, int(shape.Bytes()), &part1, &part2, &length1, &length2))
        return;
    const std::vector<uint8_t> file = BuildWav(shape, part1, length1);
    mFmod.FSOUND_Sample_Unlock(sample, part1, part2, length1, length2);
    if (!Platform::WriteFileAtomically(cachePath, file.data(), file.size()))
        Platform::Log("MUSIC", "cannot write the music cache " + cachePath);
}

FmodSample* FModMusicInterface::LoadCachedSample(const std::string& name)
{
    const std::string cachePath = GetDataFolder() + "cached\\" + GetPathFileName(name, true) + ".wav";
    CreateDirectoryTree(GetPathDirectory(cachePath));
    if (IsCompleteCacheFile(cachePath))
    {
        if (FmodSample* cached = mFmod.FSOUND_Sample_Load(FMOD_FREE_SAMPLE_INDEX, cachePath.c_str(), 0, 0))
            return cached;
    }
    FmodSample* sample = LoadSampleFile(name + ".ogg");
    if (sample)
        WriteCacheFile(sample, cachePath);
    return sample;
}

bool FModMusicInterface::CopySample(FmodSample* from, uint8_t* dest, uint64_t room)
{
    const SampleShape shape = ShapeOf(mFmod, from);
    void* part1 = nullptr;
    void* part2 = nullptr;
    unsigned int length1 = 0;
    unsigned int length2 = 0;
    if (shape.Bytes() > room ||
        !mFmod.FSOUND_Sample_Lock(from, 0, int(shape.Bytes()), &part1, &part2, &length1, &length2))
        return false;
    std::memcpy(dest, part1, std::min<uint64_t>(length1, room));
    mFmod.FSOUND_Sample_Unlock(from, part1, part2, length1, length2);
    return true;
}

bool FModMusicInterface::LoadSampleMusicPair(int id, const std::string& first, const std::string& second, bool loop)
{
    FmodSample* a = LoadCachedSample(first);
    FmodSample* b = a ? LoadCachedSample(second) : nullptr;
    auto freeParts = [&] {
        if (a)
            mFmod.FSOUND_Sample_Free(a);
        if (b)
            mFmod.FSOUND_Sample_Free(b);
    };
    const SampleShape shapeA = a ? ShapeOf(mFmod, a) : SampleShape();
    const SampleShape shapeB = b ? ShapeOf(mFmod, b) : SampleShape();
    const uint64_t frames = uint64_t(shapeA.frames) + shapeB.frames;
    if (!a || !b || shapeA.rate != shapeB.rate || shapeA.mode != shapeB.mode || shapeA.frames == 0 ||
        shapeB.frames == 0 || frames * shapeA.BlockAlign() > uint64_t(INT32_MAX))
    {
        freeParts();
        return false;
    }
    FmodSample* joined = mFmod.FSOUND_Sample_Alloc(FMOD_FREE_SAMPLE_INDEX, int(frames), shapeA.mode | FMOD_LOOP_NORMAL,
                                                   shapeA.rate, 255, 128, 0);
    bool copied = false;
    void* part1 = nullptr;
    void* part2 = nullptr;
    unsigned int length1 = 0;
    unsigned int length2 = 0;
    const uint64_t bytes = shapeA.Bytes() + shapeB.Bytes();
    if (joined && mFmod.FSOUND_Sample_Lock(joined, 0, int(bytes), &part1, &part2, &length1, &length2))
    {
        auto* dest = static_cast<uint8_t*>(part1);
        copied = length1 == bytes && CopySample(a, dest, length1) &&
                 CopySample(b, dest + shapeA.Bytes(), length1 - shapeA.Bytes());
        mFmod.FSOUND_Sample_Unlock(joined, part1, part2, length1, length2);
    }
    freeParts();
    if (!copied)
    {
        if (joined)
            mFmod.FSOUND_Sample_Free(joined);
        return false;
    }
    // The first part is an introduction; the second part loops.
    mFmod.FSOUND_Sample_SetLoopPoints(joined, int(shapeA.frames), int(frames - 1));
    FModMusicInfo info;
    info.mHSample = joined;
    info.mRepeats = loop;
    StoreSong(id, info);
    return true;
}

} // namespace Lumo

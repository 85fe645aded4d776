// Ogg Vorbis reader over Tremor, the integer Vorbis decoder.
#include "audio/PakFileHandle.h"
#include "audio/SoundFileReaders.h"
#include "platform/DebugOutput.h"
#include <algorithm>
#include <memory>
#include <tremor/ivorbisfile.h>

namespace Lumo {
namespace {

size_t ReadCallback(void* buffer, size_t size, size_t count, void* source)
{
    return PakFileRead(buffer, size, count, static_cast<PFILE*>(source));
}

int SeekCallback(void* source, ogg_int64_t offset, int origin)
{
    if (!source)
        return -1;
    return PakFileSeek(static_cast<PFILE*>(source), long(offset), origin);
}

int CloseCallback(void* source)
{
    return PakFileClose(static_cast<PFILE*>(source));
}

long TellCallback(void* source)
{
    return PakFileTell(static_cast<PFILE*>(source));
}

// Opens the Vorbis stream over an open pack file; on success the stream owns
// (and ov_clear closes) the file.
int OpenOggFromPak(PFILE* file, OggVorbis_File* vorbis)
{
    ov_callbacks callbacks{ReadCallback, SeekCallback, CloseCallback, TellCallback};
    return ov_open_callbacks(file, vorbis, nullptr, 0, callbacks);
}

struct VorbisCloser
{
    void operator()(OggVorbis_File* vorbis) const
    {
        ov_clear(vorbis);
        delete vorbis;
    }
};

bool Fail(const std::string& path, const char* why)
{
    Platform::Log("SOUND", path + ": " + why);
    return false;
}

// Decodes exactly `bytes` bytes; false when the stream ends or fails first.
bool DecodeAll(OggVorbis_File* vorbis, uint64_t bytes, std::vector<uint8_t>& pcm)
{
    // Grow as data really arrives: the stated length is not trusted for memory.
    constexpr size_t kChunk = 16384;
    pcm.reserve(size_t(std::min<uint64_t>(bytes, 1u << 22)));
    uint8_t chunk[kChunk];
    int section = 0;
    while (pcm.size() < bytes)
    {
        const int ask = int(std::min<uint64_t>(kChunk, bytes - pcm.size()));
        const long got = ov_read(vorbis, reinterpret_cast<char*>(chunk), ask, &section);
        if (got <= 0)
            return false;
        pcm.insert(pcm.end(), chunk, chunk + got);
    }
    return true;
}

} // namespace

bool ReadOggSound(const std::string& path, DecodedSound& sound)
{
    PakFileHandle file(PakFileOpen(path, "rb"));
    if (!file)
        return false;
    std::unique_ptr<OggVorbis_File, VorbisCloser> vorbis(new OggVorbis_File{});
    if (OpenOggFromPak(file.get(), vorbis.get()) < 0)
    {
        delete vorbis.release(); // nothing to clear; the file handle closes itself
        return Fail(path, "not an Ogg Vorbis stream");
    }
    file.release(); // closed by ov_clear from now on

    const vorbis_info* info = ov_info(vorbis.get(), -1);
    const ogg_int64_t frames = ov_pcm_total(vorbis.get(), -1);
    if (!info || frames <= 0)
        return Fail(path, "stream has no known length");
    if (info->channels < 1 || info->channels > 2 || info->rate < 100 || info->rate > 100000 ||
        frames > ogg_int64_t(kMaxSoundBytes))
        return Fail(path, "unsupported sound format or size");
    const uint64_t bytes = uint64_t(frames) * uint64_t(info->channels) * 2;
    if (!IsStorableSound(uint16_t(info->channels), uint32_t(info->rate), 16, bytes))
        return Fail(path, "unsupported sound format or size");

    DecodedSound result;
    result.channels = uint16_t(info->channels);
    result.sampleRate = uint32_t(info->rate);
    result.bitsPerSample = 16;
    if (!DecodeAll(vorbis.get(), bytes, result.pcm))
        return Fail(path, "stream ended before its stated length");
    sound = std::move(result);
    return true;
}

} // namespace Lumo

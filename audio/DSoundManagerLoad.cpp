// Sound loading and the decoded-sound cache of DSoundManager.
#include "app/Common.h"
#include "audio/DSoundManager.h"
#include "audio/FmodInstance.h"
#include "audio/MusicFileBytes.h"
#include "audio/SoundCacheFile.h"
#include "audio/SoundFileReaders.h"
#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"
#include <cstring>

namespace Lumo {

bool DSoundManager::LoadSound(unsigned id, const std::string& name)
{
    if (id >= kMaxSounds)
        return false;
    UnloadSound(id);
    if (!mDirectSound)
        return true; // silent manager: nothing is stored
    {
        std::lock_guard guard(mSoundLock);
        mSourceFileNames[id] = name;
    }
    const std::string cachePath = SoundCachePath(GetDataFolder(), name);
    if (!cachePath.empty())
    {
        if (LoadWavSound(id, cachePath))
            return true;
        CreateDirectoryTree(GetPathDirectory(cachePath));
    }
    if (LoadWavSound(id, name + ".wav"))
        return true; // a WAV is never cached
    for (const char* extension : {".mp3", ".ogg", ".au"})
    {
        const std::string source = name + extension;
        const bool loaded = std::strcmp(extension, ".mp3") == 0   ? mUseFMod && LoadMp3Sound(id, source)
                            : std::strcmp(extension, ".ogg") == 0 ? LoadOggSound(id, source)
                                                                  : LoadAuSound(id, source);
        if (loaded)
        {
            (void)WriteSoundCache(id, cachePath, source); // a cache that cannot be written is ignored
            return true;
        }
    }
    return false;
}

bool DSoundManager::LoadWavSound(unsigned id, const std::string& path)
{
    DecodedSound sound;
    return ReadWavSound(path, sound) && InstallSound(id, std::move(sound));
}

bool DSoundManager::LoadMp3Sound(unsigned id, const std::string& path)
{
    if (!mUseFMod || !mDirectSound || !gFmodInstance)
        return false;
    FMOD_INSTANCE& fmod = *gFmodInstance;
    FmodSample* sample = fmod.FSOUND_Sample_Load(FMOD_FREE_SAMPLE_INDEX, path.c_str(), 0, 0);
    MusicBytes bytes;
    if (!sample && (bytes = ReadMusicFile(path)) && bytes->size() <= size_t(INT32_MAX))
    {
        // Only in the pack file: hand FMOD the bytes.
        sample = fmod.FSOUND_Sample_Load(FMOD_FREE_SAMPLE_INDEX, reinterpret_cast<const char*>(bytes->data()),
                                         FMOD_LOADMEMORY, int(bytes->size()));
    }
    if (!sample)
        return false;
    DecodedSound sound;
    const unsigned int mode = fmod.FSOUND_Sample_GetMode(sample);
    int frequency = 0;
    fmod.FSOUND_Sample_GetDefaults(sample, &frequency, nullptr, nullptr, nullptr);
    sound.channels = (mode & FMOD_MONO) ? 1 : 2;
    sound.bitsPerSample = (mode & FMOD_8BITS) ? 8 : 16;
    sound.sampleRate = frequency > 0 ? uint32_t(frequency) : 0;
    const uint64_t size = uint64_t(fmod.FSOUND_Sample_GetLength(sample)) * sound.BlockAlign();
    void* part1 = nullptr;
    void* part2 = nullptr;
    unsigned int length1 = 0;
    unsigned int length2 = 0;
    // A sample whose bytes cannot be read is a failure, not a sound of
    // undefined contents.
    bool read = IsStorableSound(sound.channels, sound.sampleRate, sound.bitsPerSample, size) &&
                fmod.FSOUND_Sample_Lock(sample, 0, int(size), &part1, &part2, &length1, &length2);
    if (read)
    {
        read = length1 == size;
        if (read)
            sound.pcm.assign(static_cast<const uint8_t*>(part1), static_cast<const uint8_t*>(part1) + size);
        fmod.FSOUND_Sample_Unlock(sample, part1, part2, length1, length2);
    }
    fmod.FSOUND_Sample_Free(sample);
    if (!read)
    {
        Platform::Log("SOUND", "cannot decode the MP3 sound " + path);
        return false;
    }
    return InstallSound(id, std::move(sound));
}

bool DSoundManager::LoadOggSound(unsigned id, const std::string& path)
{
    DecodedSound sound;
    return ReadOggSound(path, sound) && InstallSound(id, std::move(sound));
}

bool DSoundManager::LoadAuSound(unsigned id, const std::string& path)
{
    DecodedSound sound;
    return ReadAuSound(path, sound) && InstallSound(id, std::move(sound));
}

// Makes the id's source buffer from decoded PCM. On any failure the id is
// left without a buffer (never a half-filled one).
bool DSoundManager::InstallSound(unsigned id, DecodedSound&& sound)
{
    if (id >= kMaxSounds || !mDirectSound || sound.pcm.empty() || sound.pcm.size() > kMaxSoundBytes)
        return false;
    DSWaveFormat format;
    format.formatTag = 1;
    format.channels = sound.channels;
    format.samplesPerSec = sound.sampleRate;
    format.bitsPerSample = sound.bitsPerSample;
    format.blockAlign = uint16_t(sound.BlockAlign());
    format.avgBytesPerSec = format.blockAlign * sound.sampleRate;
    DSBufferDesc desc;
    desc.flags = kDSSoundBufferFlags;
    desc.bufferBytes = uint32_t(sound.pcm.size());
    desc.format = &format;

    IDirectSoundBuffer* made = nullptr;
    if (!DSSucceeded(mDirectSound->CreateSoundBuffer(&desc, &made, nullptr)) || !made)
        return false;
    BufferPtr buffer(made);
    void* part1 = nullptr;
    void* part2 = nullptr;
    uint32_t bytes1 = 0;
    uint32_t bytes2 = 0;
    if (!DSSucceeded(buffer->Lock(0, desc.bufferBytes, &part1, &bytes1, &part2, &bytes2, 0)) ||
        bytes1 != desc.bufferBytes)
        return false;
    std::memcpy(part1, sound.pcm.data(), bytes1);
    if (!DSSucceeded(buffer->Unlock(part1, bytes1, part2, bytes2)))
        return false;

    BufferPtr previous; // released outside the lock
    std::lock_guard guard(mSoundLock);
    previous = std::move(mSourceSounds[id]);
    mSourceSounds[id] = std::move(buffer);
    mSourceDataSizes[id] = desc.bufferBytes;
    return true;
}

bool DSoundManager::WriteSoundCache(unsigned id, const std::string& cachePath, const std::string& sourcePath)
{
    if (cachePath.empty() || id >= kMaxSounds)
        return false;
    std::vector<uint8_t> file;
    {
        std::lock_guard guard(mSoundLock);
        IDirectSoundBuffer* buffer = mSourceSounds[id].get();
        const uint32_t size = mSourceDataSizes[id];
        void* part1 = nullptr;
        uint32_t bytes1 = 0;
        DSWaveFormat format;
        if (!buffer || size == 0 || !DSSucceeded(buffer->GetFormat(&format)) ||
            !DSSucceeded(buffer->Lock(0, size, &part1, &bytes1, nullptr, nullptr, 0)))
            return false;
        uint64_t writeTime = 0;
        if (!Platform::GetFileWriteTime(sourcePath, writeTime))
            writeTime = 0;
        // The cache gets a scrambled copy; the live samples are never touched.
        file = BuildSoundCacheFile(format.channels, format.samplesPerSec, format.bitsPerSample, sourcePath,
                                   writeTime, static_cast<const uint8_t*>(part1), bytes1);
        if (!DSSucceeded(buffer->Unlock(part1, bytes1, nullptr, 0)))
            return false;
    }
    if (!Platform::WriteFileAtomically(cachePath, file.data(), file.size()))
    {
        Platform::Log("SOUND", "cannot write the sound cache " + cachePath);
        return false;
    }
    return true;
}

} // namespace Lumo

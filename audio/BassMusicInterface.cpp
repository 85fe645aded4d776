#include "audio/BassMusicInterface.h"
#include "audio/MusicFade.h"
#include "app/Common.h"
#include "audio/BassInstance.h"
#include "platform/audio/Mixer.h"
#include <algorithm>
#include <cmath>

namespace Lumo {
namespace {

BASS_INSTANCE& AcquiredBass()
{
    AcquireBassInstance();
    return *gBassInstance;
}

bool IsStreamExtension(const std::string& fileName)
{
    const size_t dot = fileName.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : ToLowerCase(fileName.substr(dot + 1));
    return extension == "wav" || extension == "ogg" || extension == "mp3";
}

// The module position "order, row 0" of BASS_ChannelSetPosition.
uint64_t OrderPosition(int order)
{
    return uint64_t(BASS_POSITION_ORDER_ROW_HIGH) << 32 | BASS_POSITION_ORDER_ROW_FLAG | uint16_t(order);
}

} // namespace

BassMusicInterface::BassMusicInterface(void* window) : mBass(AcquiredBass())
{
    // Initialising the library must not change the system's wave-out volume.
    const uint32_t savedVolume = Platform::Mixer::GetMasterVolume();
    if (mBass.mNewerGeneration)
    {
        mBass.BASS_Init(1, 44100, 0, window, nullptr);
        mBass.BASS_SetConfig(BASS_CONFIG_BUFFER_MS, 2000);
    }
    else
    {
        mBass.BASS_InitOld(-1, 44100, 0, window);
    }
    Platform::Mixer::SetMasterVolume(savedVolume);
    mBass.BASS_Start();
    mMaxMusicVolume = kDefaultMaxMusicVolume;
}

BassMusicInterface::~BassMusicInterface()
{
    mBass.BASS_Stop();
    mBass.BASS_Free();
    ReleaseBassInstance();
    mMusicMap.clear(); // the library freed every handle
}

BassMusicInfo* BassMusicInterface::Find(int id)
{
    auto it = mMusicMap.find(id);
    return it == mMusicMap.end() ? nullptr : &it->second;
}

const BassMusicInfo* BassMusicInterface::FindSong(int id) const
{
    auto it = mMusicMap.find(id);
    return it == mMusicMap.end() ? nullptr : &it->second;
}

BassHandle BassMusicInterface::LoadStream(const std::string& fileName, MusicBytes& memory)
{
    BassHandle stream = mBass.BASS_StreamCreateFile(false, fileName.c_str(), 0, 0, 0);
    if (stream != 0)
        return stream;
    // Only in the pack file: hand the library the bytes (kept with the song).
    memory = ReadMusicFile(fileName);
    if (!memory)
        return 0;
    return mBass.BASS_StreamCreateFile(true, memory->data(), 0, memory->size(), 0);
}

BassHandle BassMusicInterface::LoadModule(const std::string& fileName, MusicBytes& memory)
{
    memory = ReadMusicFile(fileName);
    if (!memory)
        return 0;
    BassHandle music = mBass.mNewerGeneration
                           ? mBass.BASS_MusicLoad(false, fileName.c_str(), 0, 0, BASS_FLAG_LOOP | BASS_MUSIC_RAMP, 0)
                           : mBass.BASS_MusicLoadOld(false, fileName.c_str(), 0, 0, BASS_FLAG_LOOP);
    if (music != 0)
    {
        memory.reset(); // played from the file
        return music;
    }
    const auto size = uint32_t(memory->size());
    return mBass.mNewerGeneration
               ? mBass.BASS_MusicLoad(true, memory->data(), 0, size, BASS_FLAG_LOOP | BASS_MUSIC_RAMP, 0)
               : mBass.BASS_MusicLoadOld(true, memory->data(), 0, size, BASS_FLAG_LOOP);
}

bool BassMusicInterface::LoadMusic(int id, const std::string& fileName)
{
    BassMusicInfo info;
    if (IsStreamExtension(fileName))
        info.mHStream = LoadStream(fileName, info.mMemory);
    else
        info.mHMusic = LoadModule(fileName, info.mMemory);
    if (info.GetHandle() == 0)
        return false;
    // A song loaded again must not leave the old one playing unreachable.
    if (BassMusicInfo* old = Find(id))
    {
        mBass.BASS_ChannelStop(old->GetHandle());
        FreeSong(*old);
    }
    mMusicMap[id] = std::move(info);
    return true;
}

void BassMusicInterface::ApplyVolume(const BassMusicInfo& info)
{
    mBass.BASS_ChannelSetAttributes(info.GetHandle(), BASS_KEEP_FREQUENCY, int(info.mVolume * 100),
                                    BASS_KEEP_PAN);
}

void BassMusicInterface::StartChannel(const BassMusicInfo& info, int offset, bool noLoop, bool fading)
{
    const uint32_t loop = noLoop ? 0 : BASS_FLAG_LOOP;
    if (info.mHMusic != 0)
    {
        uint32_t flags = loop;
        if (mBass.mNewerGeneration)
            flags |= fading ? BASS_MUSIC_RAMP : BASS_MUSIC_RAMP | BASS_MUSIC_POSRESET;
        mBass.BASS_ChannelStop(info.mHMusic);
        if (fading && offset == -1)
        {
            mBass.BASS_ChannelSetFlags(info.mHMusic, flags);
            mBass.BASS_ChannelPlay(info.mHMusic, true);
            return;
        }
        mBass.BASS_ChannelSetPosition(info.mHMusic, OrderPosition(offset));
        mBass.BASS_ChannelSetFlags(info.mHMusic, flags);
        mBass.BASS_ChannelPlay(info.mHMusic, false);
        return;
    }
    mBass.BASS_ChannelSetFlags(info.mHStream, loop);
    mBass.BASS_ChannelPlay(info.mHStream, offset != -1);
    if (offset > 0)
        mBass.BASS_ChannelSetPosition(info.mHStream, uint64_t(offset));
}

void BassMusicInterface::PlayMusic(int id, int offset, bool noLoop)
{
    BassMusicInfo* info = Find(id);
    if (!info)
        return;
    info->mVolume = info->mVolumeCap;
    info->mVolumeAdd = 0.0;
    info->mStopOnFade = noLoop;
    ApplyVolume(*info);
    mBass.BASS_ChannelStop(info->GetHandle());
    StartChannel(*info, offset, noLoop, false);
}

void BassMusicInterface::StopMusic(int id)
{
    if (BassMusicInfo* info = Find(id))
    {
        info->mVolume = 0.0;
        mBass.BASS_ChannelStop(info->GetHandle());
    }
}

void BassMusicInterface::PauseMusic(int id)
{
    if (BassMusicInfo* info = Find(id))
        mBass.BASS_ChannelPause(info->GetHandle());
}

void BassMusicInterface::ResumeMusic(int id)
{
    if (BassMusicInfo* info = Find(id))
        mBass.BASS_ChannelPlay(info->GetHandle(), false);
}

void BassMusicInterface::StopAllMusic()
{
    for (auto& [id, info] : mMusicMap)
        StopMusic(id);
}

void BassMusicInterface::FreeSong(const BassMusicInfo& info)
{
    if (info.mHStream != 0)
        mBass.BASS_StreamFree(info.mHStream);
    else
        mBass.BASS_MusicFree(info.mHMusic);
}

void BassMusicInterface::UnloadMusic(int id)
{
    BassMusicInfo* info = Find(id);
    if (!info)
        return;
    StopMusic(id);
    FreeSong(*info);
    mMusicMap.erase(id);
}

void BassMusicInterface::UnloadAllMusic()
{
    StopAllMusic();
    for (auto& [id, info] : mMusicMap)
        FreeSong(info);
    mMusicMap.clear();
}

void BassMusicInterface::PauseAllMusic()
{
    for (auto& [id, info] : mMusicMap)
        if (mBass.BASS_ChannelIsActive(info.GetHandle()) == BASS_ACTIVE_PLAYING)
            mBass.BASS_ChannelPause(info.GetHandle());
}

void BassMusicInterface::ResumeAllMusic()
{
    for (auto& [id, info] : mMusicMap)
        if (mBass.BASS_ChannelIsActive(info.GetHandle()) == BASS_ACTIVE_PAUSED)
            mBass.BASS_ChannelPlay(info.GetHandle(), false);
}

void BassMusicInterface::FadeIn(int id, int offset, double speed, bool noLoop)
{
    BassMusicInfo* info = Find(id);
    if (!info)
        return;
    info->mVolumeAdd = speed;
    info->mStopOnFade = noLoop;
    mBass.BASS_ChannelStop(info->GetHandle());
    ApplyVolume(*info);
    StartChannel(*info, offset, noLoop, true);
}

void BassMusicInterface::FadeOut(int id, bool stopWhenFaded, double speed)
{
    BassMusicInfo* info = Find(id);
    if (!info)
        return;
    if (info->mVolume != 0.0)
        info->mVolumeAdd = -speed;
    info->mStopOnFade = stopWhenFaded;
}

void BassMusicInterface::FadeOutAll(bool stopWhenFaded, double speed)
{
    for (auto& [id, info] : mMusicMap)
    {
        info.mVolumeAdd = -speed;
        info.mStopOnFade = stopWhenFaded;
    }
}

void BassMusicInterface::SetSongVolume(int id, double volume)
{
    if (BassMusicInfo* info = Find(id))
    {
        info->mVolume = volume;
        ApplyVolume(*info);
    }
}

void BassMusicInterface::SetSongMaxVolume(int id, double volume)
{
    if (BassMusicInfo* info = Find(id))
    {
        info->mVolumeCap = volume;
        info->mVolume = std::min(info->mVolume, volume);
        ApplyVolume(*info);
    }
}

bool BassMusicInterface::IsPlaying(int id)
{
    BassMusicInfo* info = Find(id);
    return info && mBass.BASS_ChannelIsActive(info->GetHandle()) == BASS_ACTIVE_PLAYING;
}

void BassMusicInterface::SetMusicVolume(double volume)
{
    if (mBass.mNewerGeneration)
    {
        const auto level = uint32_t(std::max(0, int(volume * 100)));
        mBass.BASS_SetConfig(BASS_CONFIG_MUSIC_VOLUME, level);
        mBass.BASS_SetConfig(BASS_CONFIG_STREAM_VOLUME, level);
        return;
    }
    const int level = std::max(0, int(mMaxMusicVolume * volume));
    if (mBass.BASS_SetGlobalVolumes)
        mBass.BASS_SetGlobalVolumes(level, level, level);
    else // a library with only the output volume
        mBass.BASS_SetVolume(uint32_t(level));
}

void BassMusicInterface::SetAmplification(int id, double value)
{
    if (BassMusicInfo* info = Find(id))
        mBass.BASS_MusicSetAttribute(info->GetHandle(), BASS_MUSIC_ATTRIB_AMPLIFY,
                                     uint32_t(std::max(0L, std::lround(value * 100))));
}

void BassMusicInterface::Update()
{
    for (auto& [id, info] : mMusicMap)
    {
        if (info.mVolumeAdd == 0.0)
            continue;
        if (StepMusicFade(info.mVolume, info.mVolumeAdd, info.mVolumeCap) && info.mStopOnFade)
            mBass.BASS_ChannelStop(info.GetHandle());
        ApplyVolume(info);
    }
}

} // namespace Lumo

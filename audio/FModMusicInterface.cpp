#include "audio/FModMusicInterface.h"
#include "audio/MusicFade.h"
#include "audio/FmodInstance.h"

namespace Lumo {
namespace {

FMOD_INSTANCE& AcquiredFmod()
{
    AcquireFmodInstance();
    return *gFmodInstance;
}

} // namespace

FModMusicInterface::FModMusicInterface(void* /*window*/) : mFmod(AcquiredFmod())
{
}

FModMusicInterface::~FModMusicInterface()
{
    ReleaseFmodInstance();
    mMusicMap.clear(); // songs stay with the library until FSOUND_Close
}

FModMusicInfo* FModMusicInterface::Find(int id)
{
    auto it = mMusicMap.find(id);
    return it == mMusicMap.end() ? nullptr : &it->second;
}

const FModMusicInfo* FModMusicInterface::FindSong(int id) const
{
    auto it = mMusicMap.find(id);
    return it == mMusicMap.end() ? nullptr : &it->second;
}

void FModMusicInterface::StoreSong(int id, const FModMusicInfo& info)
{
    // A song loaded again must not leave the old one playing unreachable; the
    // library cannot free a song, only stop it.
    if (FModMusicInfo* old = Find(id))
    {
        StopChannel(id, *old);
        if (old->mHSample)
            mFmod.FSOUND_Sample_Free(old->mHSample);
    }
    mMusicMap[id] = info;
}

bool FModMusicInterface::LoadMusic(int id, const std::string& fileName)
{
    FmodSong* song = mFmod.FMUSIC_LoadSong(fileName.c_str());
    if (!song)
        return false;
    FModMusicInfo info;
    info.mHMusic = song;
    StoreSong(id, info);
    return true;
}

bool FModMusicInterface::LoadSampleMusic(int id, const std::string& fileName, bool loop)
{
    FmodSample* sample = LoadCachedSample(fileName);
    if (!sample)
        return false;
    FModMusicInfo info;
    info.mHSample = sample;
    info.mRepeats = loop;
    StoreSong(id, info);
    return true;
}

void FModMusicInterface::ApplyVolume(int id, const FModMusicInfo& info)
{
    if (info.mHMusic)
        mFmod.FMUSIC_SetMasterVolume(info.mHMusic, int(mMasterVolume * info.mVolume * mMusicVolumeScale));
    else
        mFmod.FSOUND_SetVolume(id, int(mMasterVolume * info.mVolume * mSampleVolumeScale));
}

void FModMusicInterface::StopChannel(int id, const FModMusicInfo& info)
{
    if (info.mHMusic)
        mFmod.FMUSIC_StopSong(info.mHMusic);
    else
        mFmod.FSOUND_StopSound(id);
}

void FModMusicInterface::PlayMusic(int id, int offset, bool noLoop)
{
    FModMusicInfo* info = Find(id);
    if (!info)
        return;
    info->mVolume = info->mVolumeCap;
    info->mVolumeAdd = 0.0;
    if (info->mHMusic)
    {
        ApplyVolume(id, *info);
        mFmod.FMUSIC_SetLooping(info->mHMusic, !noLoop);
        mFmod.FMUSIC_PlaySong(info->mHMusic);
        mFmod.FMUSIC_SetOrder(info->mHMusic, offset);
        return;
    }
    mFmod.FSOUND_PlaySound(id, info->mHSample);
    mFmod.FSOUND_SetLoopMode(id, info->mRepeats ? FMOD_LOOP_NORMAL : FMOD_LOOP_OFF);
    ApplyVolume(id, *info);
}

void FModMusicInterface::StopMusic(int id)
{
    if (FModMusicInfo* info = Find(id))
    {
        info->mVolume = 0.0;
        StopChannel(id, *info);
    }
}

void FModMusicInterface::PauseMusic(int id)
{
    if (FModMusicInfo* info = Find(id))
    {
        if (info->mHMusic)
            mFmod.FMUSIC_SetPaused(info->mHMusic, 1);
        else
            mFmod.FSOUND_SetPaused(id, 1);
    }
}

void FModMusicInterface::ResumeMusic(int id)
{
    if (FModMusicInfo* info = Find(id))
    {
        if (info->mHMusic)
            mFmod.FMUSIC_SetPaused(info->mHMusic, 0);
        else
            mFmod.FSOUND_SetPaused(id, 0);
    }
}

void FModMusicInterface::StopAllMusic()
{
    for (auto& [id, info] : mMusicMap)
        StopMusic(id);
}

void FModMusicInterface::FadeIn(int id, int offset, double speed, bool noLoop)
{
    FModMusicInfo* info = Find(id);
    if (!info)
        return;
    info->mVolumeAdd = speed;
    if (info->mHMusic)
    {
        ApplyVolume(id, *info);
        mFmod.FMUSIC_SetLooping(info->mHMusic, !noLoop);
        if (!mFmod.FMUSIC_IsPlaying(info->mHMusic))
            mFmod.FMUSIC_PlaySong(info->mHMusic);
        if (offset != -1)
            mFmod.FMUSIC_SetOrder(info->mHMusic, offset);
        return;
    }
    if (!mFmod.FSOUND_IsPlaying(id))
    {
        mFmod.FSOUND_PlaySound(id, info->mHSample);
        mFmod.FSOUND_SetLoopMode(id, info->mRepeats ? FMOD_LOOP_NORMAL : FMOD_LOOP_OFF);
    }
    ApplyVolume(id, *info);
}

void FModMusicInterface::FadeOut(int id, bool stopWhenFaded, double speed)
{
    if (FModMusicInfo* info = Find(id))
    {
        info->mStopOnFade = stopWhenFaded;
        info->mVolumeAdd = -speed;
    }
}

void FModMusicInterface::FadeOutAll(bool stopWhenFaded, double speed)
{
    for (auto& [id, info] : mMusicMap)
        FadeOut(id, stopWhenFaded, speed);
}

void FModMusicInterface::SetSongVolume(int id, double volume)
{
    if (FModMusicInfo* info = Find(id))
    {
        info->mVolume = volume;
        ApplyVolume(id, *info);
    }
}

bool FModMusicInterface::IsPlaying(int id)
{
    FModMusicInfo* info = Find(id);
    return info && info->mHMusic && mFmod.FMUSIC_IsPlaying(info->mHMusic);
}

void FModMusicInterface::SetMusicVolume(double volume)
{
    mMasterVolume = volume;
    for (auto& [id, info] : mMusicMap)
        ApplyVolume(id, info);
}

void FModMusicInterface::Update()
{
    for (auto& [id, info] : mMusicMap)
    {
        if (info.mVolumeAdd == 0.0)
            continue;
        if (StepMusicFade(info.mVolume, info.mVolumeAdd, info.mVolumeCap) && info.mStopOnFade)
            StopChannel(id, info);
        ApplyVolume(id, info);
    }
}

} // namespace Lumo

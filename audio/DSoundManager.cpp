#include "audio/DSoundManager.h"
#include "audio/DSoundInstance.h"
#include "audio/FmodInstance.h"
#include "platform/Clock.h"
#include "platform/audio/Mixer.h"
#include <algorithm>

namespace Lumo {

Platform::ModuleHandle gDSoundLibrary = nullptr;

DSoundManager::DSoundManager(SoundWindowHandle window, bool useFMod, Platform::Clock* clock)
    : mUseFMod(useFMod), mClock(clock)
{
    mBaseVolumes.fill(1.0);
    if (window)
        OpenDevice(window);
}

void DSoundManager::OpenDevice(SoundWindowHandle window)
{
    auto create = reinterpret_cast<DirectSoundCreateFunction>(
        gDSoundLibrary ? Platform::GetModuleEntry(gDSoundLibrary, "DirectSoundCreate") : nullptr);
    if (!create || !DSSucceeded(create(nullptr, &mDirectSound, nullptr)) || !mDirectSound)
    {
        mDirectSound = nullptr;
        return;
    }
    if (mUseFMod)
    {
        // MP3 sounds (and the FMOD music player) decode through FMOD.
        AcquireFmodInstance();
        gFmodInstance->FSOUND_SetHWND(window);
        gFmodInstance->FSOUND_SetBufferSize(200);
        gFmodInstance->FSOUND_Init(44100, 64, 2);
    }
    if (!DSSucceeded(mDirectSound->SetCooperativeLevel(window, kDSLevelPriority)))
    {
        mDirectSound->SetCooperativeLevel(window, kDSLevelNormal);
        return;
    }
    DSBufferDesc desc;
    desc.flags = kDSBufferPrimary;
    IDirectSoundBuffer* primary = nullptr;
    if (!DSSucceeded(mDirectSound->CreateSoundBuffer(&desc, &primary, nullptr)) || !primary)
        return;
    mPrimaryBuffer.reset(primary);
    DSWaveFormat format;
    format.formatTag = 1;
    format.channels = 2;
    format.samplesPerSec = 44100;
    format.avgBytesPerSec = 176400;
    format.blockAlign = 4;
    format.bitsPerSample = 16;
    mPrimaryBuffer->SetFormat(&format);
}

DSoundManager::~DSoundManager()
{
    DeleteAllInstances();
    UnloadAllSounds();
    mPrimaryBuffer.reset();
    if (!mDirectSound)
        return;
    if (mUseFMod)
        gFmodInstance->FSOUND_Close();
    mDirectSound->Release();
    if (mUseFMod)
        ReleaseFmodInstance();
}

bool DSoundManager::HasSoundDevice()
{
    return mDirectSound != nullptr;
}

int DSoundManager::FindOrLoadSound(const std::string& fileName)
{
    int id = -1;
    {
        std::lock_guard guard(mSoundLock);
        for (unsigned i = 0; i < kMaxSounds; ++i)
            if (mSourceFileNames[i] == fileName)
                return int(i);
        for (int i = int(kMaxSounds) - 1; i >= 0 && id < 0; --i)
            if (!mSourceSounds[size_t(i)])
                id = i;
    }
    if (id < 0 || !LoadSound(unsigned(id), fileName))
        return -1;
    return id;
}

void DSoundManager::UnloadSound(unsigned id)
{
    if (id >= kMaxSounds)
        return;
    BufferPtr released; // released outside the lock
    std::lock_guard guard(mSoundLock);
    if (!mSourceSounds[id])
        return;
    released = std::move(mSourceSounds[id]);
    mSourceFileNames[id].clear();
}

void DSoundManager::SetEffectsVolume(double volume)
{
    mEffectsVolume = volume;
    for (auto& instance : mPlayingSounds)
        if (instance)
            instance->ApplyVolume();
}

bool DSoundManager::SetDefaultVolume(unsigned id, double volume)
{
    if (id >= kMaxSounds)
        return false;
    std::lock_guard guard(mSoundLock);
    mBaseVolumes[id] = volume;
    return true;
}

bool DSoundManager::SetDefaultPan(unsigned id, int pan)
{
    if (id >= kMaxSounds)
        return false;
    std::lock_guard guard(mSoundLock);
    mBasePans[id] = pan;
    return true;
}

SoundInstance* DSoundManager::CreateInstance(unsigned id)
{
    if (id >= kMaxSounds)
        return nullptr;
    const int channel = FindFreeChannel();
    if (channel < 0)
        return nullptr;
    std::unique_ptr<DSoundInstance> instance;
    double volume = 1.0;
    int pan = 0;
    {
        std::lock_guard guard(mSoundLock);
        if (!mDirectSound)
            instance = std::make_unique<DSoundInstance>(this, nullptr);
        else if (mSourceSounds[id])
            instance = std::make_unique<DSoundInstance>(this, mSourceSounds[id].get());
        else
            return nullptr;
        volume = mBaseVolumes[id];
        pan = mBasePans[id];
    }
    DSoundInstance* made = instance.get();
    mPlayingSounds[size_t(channel)] = std::move(instance);
    made->SetDefaultPan(pan);
    made->SetDefaultVolume(volume);
    return made;
}

void DSoundManager::UnloadAllSounds()
{
    std::array<BufferPtr, kMaxSounds> released;
    std::lock_guard guard(mSoundLock);
    for (unsigned i = 0; i < kMaxSounds; ++i)
        released[i] = std::move(mSourceSounds[i]);
}

void DSoundManager::DeleteAllInstances()
{
    for (auto& instance : mPlayingSounds)
        instance.reset();
}

double DSoundManager::GetMixerVolume()
{
    return Platform::Mixer::GetMasterVolume() / 65535.0;
}

void DSoundManager::SetMixerVolume(double volume)
{
    if (!(volume > 0.0))
        volume = 0.0;
    Platform::Mixer::SetMasterVolume(uint32_t(std::min(volume, 1.0) * 65535.0));
}

void DSoundManager::SetOwnerWindow(SoundWindowHandle window, bool /*windowed*/)
{
    if (mDirectSound)
        mDirectSound->SetCooperativeLevel(window, kDSLevelNormal);
}

void DSoundManager::StopAllInstances()
{
    for (auto& instance : mPlayingSounds)
    {
        if (!instance)
            continue;
        const bool autoDiscard = instance->IsAutoDiscard();
        instance->Stop();
        instance->SetAutoDiscard(autoDiscard);
    }
}

int DSoundManager::FindFreeSoundId()
{
    std::lock_guard guard(mSoundLock);
    for (unsigned i = 0; i < kMaxSounds; ++i)
        if (!mSourceSounds[i])
            return int(i);
    return -1;
}

int DSoundManager::CountLoadedSounds()
{
    std::lock_guard guard(mSoundLock);
    int count = 0;
    for (const auto& buffer : mSourceSounds)
        count += buffer ? 1 : 0;
    return count;
}

uint32_t DSoundManager::GetDataSize(unsigned id)
{
    std::lock_guard guard(mSoundLock);
    return id < kMaxSounds ? mSourceDataSizes[id] : 0;
}

uint32_t DSoundManager::NowMs()
{
    return mClock ? mClock->NowMs() : Platform::GetTickCountMs();
}

void DSoundManager::DeleteDiscardedInstances()
{
    for (auto& instance : mPlayingSounds)
        if (instance && instance->IsDiscarded())
            instance.reset();
}

int DSoundManager::FindFreeChannel()
{
    const uint32_t now = NowMs();
    if (now - mLastSweepTime > kSweepIntervalMs)
    {
        DeleteDiscardedInstances();
        mLastSweepTime = now;
    }
    for (int i = 0; i < kMaxChannels; ++i)
    {
        auto& slot = mPlayingSounds[size_t(i)];
        if (!slot)
            return i;
        if (slot->IsDiscarded())
        {
            slot.reset();
            return i;
        }
    }
    return -1;
}

} // namespace Lumo

#include "audio/DSoundInstance.h"
#include "audio/DSoundManager.h"
#include "platform/DebugOutput.h"
#include "platform/Video.h"
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace Lumo {
namespace {

constexpr double kSemitone = 1.0594630943592953;

const char* DuplicateErrorName(DSResult result)
{
    switch (result)
    {
    case DSERR_ALLOCATED: return "DSERR_ALLOCATED";
    case DSERR_OUTOFMEMORY: return "DSERR_OUTOFMEMORY";
    case DSERR_INVALIDPARAM: return "DSERR_INVALIDPARAM";
    case DSERR_INVALIDCALL: return "DSERR_INVALIDCALL";
    case DSERR_UNINITIALIZED: return "DSERR_UNINITIALIZED";
    default: return nullptr;
    }
}

// A sound that cannot be duplicated ends the program, as it always has: a
// box captioned "Hey" naming the known failure codes, then exit code 0.
[[noreturn]] void DuplicateFailed(DSResult result)
{
    if (const char* name = DuplicateErrorName(result))
    {
        Platform::Log("SOUND", std::string("Hey: ") + name);
        if (auto video = Platform::CreateVideoBackend())
            video->ShowMessageBox("Hey", name, Platform::MessageBoxKind::Ok);
    }
    else
    {
        Platform::Log("SOUND", "sound buffer duplication failed");
    }
    std::fflush(nullptr);
    std::exit(0);
}

} // namespace

int VolumeToAttenuation(double volume)
{
    if (!(volume > 0.0)) // also NaN
        volume = 0.0;
    if (volume > 1.0)
        volume = 1.0;
    const int attenuation = int((std::log10(volume * 9.0 + 1.0) - 1.0) * 2333.0);
    return attenuation < -2000 ? kDSVolumeMin : attenuation;
}

uint32_t PitchToFrequency(double steps, uint32_t baseFrequency)
{
    double frequency = std::pow(kSemitone, steps) * double(baseFrequency);
    if (!(frequency >= double(kDSFrequencyMin))) // also NaN
        frequency = kDSFrequencyMin;
    else if (frequency > double(kDSFrequencyMax))
        frequency = kDSFrequencyMax;
    return uint32_t(frequency);
}

DSoundInstance::DSoundInstance(DSoundManager* manager, IDirectSoundBuffer* source)
    : mManager(manager), mSourceSound(source)
{
    if (mSourceSound)
    {
        const DSResult result = mManager->GetDirectSound()->DuplicateSoundBuffer(mSourceSound, &mSoundBuffer);
        if (!DSSucceeded(result) || !mSoundBuffer)
            DuplicateFailed(result);
        mSoundBuffer->GetFrequency(&mBaseFrequency);
    }
    ApplyVolume();
}

DSoundInstance::~DSoundInstance()
{
    if (mSoundBuffer)
        mSoundBuffer->Release();
}

void DSoundInstance::Discard()
{
    Stop();
    mDiscarded = true;
}

void DSoundInstance::SetDefaultVolume(double volume)
{
    mDefaultVolume = volume;
    ApplyVolume();
}

void DSoundInstance::SetDefaultPan(int pan)
{
    mDefaultPan = pan;
    ApplyPan();
}

void DSoundInstance::SetPitch(double steps)
{
    if (mSoundBuffer)
        mSoundBuffer->SetFrequency(PitchToFrequency(steps, mBaseFrequency));
}

void DSoundInstance::SetVolume(double volume)
{
    mVolume = volume;
    ApplyVolume();
}

void DSoundInstance::SetPan(int pan)
{
    mPan = pan;
    ApplyPan();
}

bool DSoundInstance::Play(bool looping, bool autoDiscard)
{
    Stop();
    mStarted = true;
    mAutoDiscard = autoDiscard;
    if (!mSoundBuffer)
        return false;
    return DSSucceeded(mSoundBuffer->Play(0, 0, looping ? kDSPlayLooping : 0));
}

void DSoundInstance::Stop()
{
    if (!mSoundBuffer)
        return;
    mSoundBuffer->Stop();
    mSoundBuffer->SetCurrentPosition(0);
    mAutoDiscard = false;
}

bool DSoundInstance::IsPlaying()
{
    if (!mStarted || !mSoundBuffer)
        return false;
    uint32_t status = 0;
    if (!DSSucceeded(mSoundBuffer->GetStatus(&status)))
        return false;
    return (status & kDSStatusPlaying) != 0;
}

bool DSoundInstance::IsDiscarded()
{
    if (!mDiscarded && mAutoDiscard && mStarted && !IsPlaying())
        Discard();
    return mDiscarded;
}

double DSoundInstance::GetVolume()
{
    return mVolume;
}

void DSoundInstance::ApplyVolume()
{
    if (mSoundBuffer)
        mSoundBuffer->SetVolume(VolumeToAttenuation(mDefaultVolume * mVolume * mManager->GetEffectsVolume()));
}

void DSoundInstance::ApplyPan()
{
    if (!mSoundBuffer)
        return;
    const long long sum = (long long)mDefaultPan + mPan; // the buffer refuses what is out of range
    mSoundBuffer->SetPan(int32_t(std::clamp<long long>(sum, INT32_MIN, INT32_MAX)));
}

} // namespace Lumo

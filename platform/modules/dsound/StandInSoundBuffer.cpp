#include "platform/modules/dsound/StandInSoundBuffer.h"
#include "platform/modules/dsound/StandInSoundDevice.h"
#include <algorithm>
#include <cmath>

namespace Lumo::Platform {
namespace {

// Hundredths of a decibel of attenuation to a linear gain; -10000 is silence.
float AttenuationToGain(int32_t hundredthsDb)
{
    if (hundredthsDb <= kDSVolumeMin)
        return 0.0f;
    return float(std::pow(10.0, double(hundredthsDb) / 2000.0));
}

} // namespace

StandInSoundBuffer::StandInSoundBuffer(StandInSoundDevice* device) : mDevice(device)
{
    mDevice->AddRef();
    mFlags = kDSBufferPrimary;
    mPrimaryFormat.channels = 2;
    mPrimaryFormat.samplesPerSec = 22050; // until SetFormat, as a fresh device reports
    mPrimaryFormat.bitsPerSample = 8;
    mPrimaryFormat.blockAlign = 2;
    mPrimaryFormat.avgBytesPerSec = 44100;
}

StandInSoundBuffer::StandInSoundBuffer(std::shared_ptr<SampleData> data, uint32_t flags)
    : mData(std::move(data)), mFlags(flags)
{
    mVoice = Mixer::Get().CreateVoice(mData);
}

StandInSoundBuffer::~StandInSoundBuffer()
{
    if (mVoice != 0)
        Mixer::Get().DestroyVoice(mVoice);
    if (mDevice)
        mDevice->Release();
}

StandInSoundBuffer* StandInSoundBuffer::Duplicate()
{
    auto* copy = new StandInSoundBuffer(mData, mFlags);
    if (!copy->HasVoice())
    {
        copy->Release();
        return nullptr;
    }
    uint32_t hz = 0;
    GetFrequency(&hz);
    copy->SetFrequency(hz);
    std::lock_guard guard(mLock);
    copy->mVolume = mVolume;
    copy->mPan = mPan;
    copy->ApplyGains();
    return copy;
}

uint32_t StandInSoundBuffer::AddRef()
{
    return ++mReferences;
}

uint32_t StandInSoundBuffer::Release()
{
    const uint32_t left = --mReferences;
    if (left == 0)
        delete this;
    return left;
}

DSResult StandInSoundBuffer::GetFormat(DSWaveFormat* format)
{
    if (!format)
        return DSERR_INVALIDPARAM;
    if (IsPrimary())
    {
        *format = mPrimaryFormat;
        return DS_OK;
    }
    const PcmFormat& pcm = mData->Format();
    format->formatTag = 1;
    format->channels = pcm.channels;
    format->samplesPerSec = pcm.sampleRate;
    format->bitsPerSample = pcm.bitsPerSample;
    format->blockAlign = uint16_t(pcm.BlockAlign());
    format->avgBytesPerSec = pcm.BlockAlign() * pcm.sampleRate;
    return DS_OK;
}

DSResult StandInSoundBuffer::GetFrequency(uint32_t* hz)
{
    if (!hz)
        return DSERR_INVALIDPARAM;
    if (IsPrimary())
        return DSERR_INVALIDCALL;
    *hz = Mixer::Get().GetFrequency(mVoice);
    return DS_OK;
}

DSResult StandInSoundBuffer::GetVolume(int32_t* volume)
{
    if (!volume)
        return DSERR_INVALIDPARAM;
    std::lock_guard guard(mLock);
    *volume = mVolume;
    return DS_OK;
}

DSResult StandInSoundBuffer::GetPan(int32_t* pan)
{
    if (!pan)
        return DSERR_INVALIDPARAM;
    std::lock_guard guard(mLock);
    *pan = mPan;
    return DS_OK;
}

DSResult StandInSoundBuffer::GetStatus(uint32_t* status)
{
    if (!status)
        return DSERR_INVALIDPARAM;
    *status = 0;
    if (IsPrimary())
        return DS_OK;
    Mixer& mixer = Mixer::Get();
    if (mixer.IsPlaying(mVoice))
        *status = kDSStatusPlaying | (mixer.IsLooping(mVoice) ? kDSStatusLooping : 0);
    return DS_OK;
}

DSResult StandInSoundBuffer::GetCurrentPosition(uint32_t* play, uint32_t* write)
{
    uint32_t position = 0;
    if (!IsPrimary())
        position = uint32_t(Mixer::Get().GetPosition(mVoice) * mData->Format().BlockAlign());
    if (play)
        *play = position;
    if (write)
        *write = position;
    return DS_OK;
}

DSResult StandInSoundBuffer::SetCurrentPosition(uint32_t position)
{
    if (IsPrimary())
        return DSERR_INVALIDCALL;
    if (position >= mData->Size())
        return DSERR_INVALIDPARAM;
    Mixer::Get().SetPosition(mVoice, position / mData->Format().BlockAlign());
    return DS_OK;
}

DSResult StandInSoundBuffer::SetFormat(const DSWaveFormat* format)
{
    if (!IsPrimary())
        return DSERR_INVALIDCALL;
    if (!format || !IsPlayableFormat(*format))
        return DSERR_INVALIDPARAM;
    if (mDevice->CooperativeLevel() < kDSLevelPriority)
        return DSERR_INVALIDCALL;
    mPrimaryFormat = *format;
    return DS_OK;
}

DSResult StandInSoundBuffer::SetVolume(int32_t volume)
{
    if (!(mFlags & kDSBufferVolumeControl))
        return DSERR_INVALIDCALL;
    if (volume < kDSVolumeMin || volume > kDSVolumeMax)
        return DSERR_INVALIDPARAM;
    std::lock_guard guard(mLock);
    mVolume = volume;
    ApplyGains();
    return DS_OK;
}

DSResult StandInSoundBuffer::SetPan(int32_t pan)
{
    if (!(mFlags & kDSBufferPanControl))
        return DSERR_INVALIDCALL;
    if (pan < kDSPanLeft || pan > kDSPanRight)
        return DSERR_INVALIDPARAM;
    std::lock_guard guard(mLock);
    mPan = pan;
    ApplyGains();
    return DS_OK;
}

DSResult StandInSoundBuffer::SetFrequency(uint32_t hz)
{
    if (!(mFlags & kDSBufferFrequencyControl))
        return DSERR_INVALIDCALL;
    if (hz < kDSFrequencyMin || hz > kDSFrequencyMax)
        return DSERR_INVALIDPARAM;
    Mixer::Get().SetFrequency(mVoice, hz);
    return DS_OK;
}

DSResult StandInSoundBuffer::Play(uint32_t reserved, uint32_t priority, uint32_t flags)
{
    if (reserved != 0 || priority != 0)
        return DSERR_INVALIDPARAM;
    if (IsPrimary())
        return DS_OK; // the output always runs
    Mixer::Get().Play(mVoice, (flags & kDSPlayLooping) != 0);
    return DS_OK;
}

DSResult StandInSoundBuffer::Stop()
{
    if (!IsPrimary())
        Mixer::Get().Stop(mVoice);
    return DS_OK;
}

DSResult StandInSoundBuffer::Lock(uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1, void** part2,
                                  uint32_t* bytes2, uint32_t /*flags*/)
{
    if (IsPrimary())
        return DSERR_INVALIDCALL;
    const size_t size = mData->Size();
    if (!part1 || !bytes1 || offset >= size || bytes == 0 || bytes > size)
        return DSERR_INVALIDPARAM;
    const uint32_t first = uint32_t(std::min<size_t>(bytes, size - offset));
    const uint32_t second = bytes - first;
    if (second > 0 && (!part2 || !bytes2))
        return DSERR_INVALIDPARAM;
    *part1 = mData->Bytes() + offset;
    *bytes1 = first;
    if (part2)
        *part2 = second > 0 ? mData->Bytes() : nullptr;
    if (bytes2)
        *bytes2 = second;
    return DS_OK;
}

DSResult StandInSoundBuffer::Unlock(void* part1, uint32_t bytes1, void* part2, uint32_t bytes2)
{
    if (IsPrimary())
        return DSERR_INVALIDCALL;
    if (!Owns(part1, bytes1) || (part2 && !Owns(part2, bytes2)))
        return DSERR_INVALIDPARAM;
    return DS_OK;
}

void StandInSoundBuffer::ApplyGains()
{
    const float volume = AttenuationToGain(mVolume);
    const float left = mPan > 0 ? AttenuationToGain(-mPan) : 1.0f;
    const float right = mPan < 0 ? AttenuationToGain(mPan) : 1.0f;
    Mixer::Get().SetGains(mVoice, volume * left, volume * right);
}

bool StandInSoundBuffer::Owns(const void* pointer, uint32_t bytes) const
{
    const auto* p = static_cast<const uint8_t*>(pointer);
    const uint8_t* begin = mData->Bytes();
    return p >= begin && p < begin + mData->Size() && bytes <= size_t(begin + mData->Size() - p);
}

} // namespace Lumo::Platform

#include "platform/modules/dsound/StandInSoundDevice.h"
#include "platform/modules/dsound/StandInSoundBuffer.h"
#include <new>

namespace Lumo::Platform {

bool IsPlayableFormat(const DSWaveFormat& format)
{
    return format.formatTag == 1 && (format.channels == 1 || format.channels == 2) &&
           (format.bitsPerSample == 8 || format.bitsPerSample == 16) && format.samplesPerSec >= kDSFrequencyMin &&
           format.samplesPerSec <= kDSFrequencyMax && format.blockAlign == format.channels * format.bitsPerSample / 8;
}

StandInSoundDevice::StandInSoundDevice()
{
    Mixer::Get(); // opens the output with the first device
}

uint32_t StandInSoundDevice::AddRef()
{
    return ++mReferences;
}

uint32_t StandInSoundDevice::Release()
{
    const uint32_t left = --mReferences;
    if (left == 0)
        delete this;
    return left;
}

DSResult StandInSoundDevice::SetCooperativeLevel(void* window, uint32_t level)
{
    if (!window || level < kDSLevelNormal || level > 4)
        return DSERR_INVALIDPARAM;
    mLevel = level;
    return DS_OK;
}

DSResult StandInSoundDevice::CreateSoundBuffer(const DSBufferDesc* desc, IDirectSoundBuffer** buffer, void* outer)
{
    if (!desc || !buffer || outer || desc->structSize != sizeof(DSBufferDesc))
        return DSERR_INVALIDPARAM;
    *buffer = nullptr;
    if (desc->flags & kDSBufferPrimary)
    {
        if (desc->bufferBytes != 0 || desc->format)
            return DSERR_INVALIDPARAM;
        *buffer = new StandInSoundBuffer(this);
        return DS_OK;
    }
    if (!desc->format || !IsPlayableFormat(*desc->format) || desc->bufferBytes < desc->format->blockAlign ||
        desc->bufferBytes > kDSBufferSizeMax)
        return DSERR_INVALIDPARAM;
    try
    {
        PcmFormat pcm{desc->format->channels, desc->format->bitsPerSample, desc->format->samplesPerSec};
        auto* made = new StandInSoundBuffer(std::make_shared<SampleData>(pcm, desc->bufferBytes), desc->flags);
        if (!made->HasVoice())
        {
            made->Release();
            return DSERR_OUTOFMEMORY;
        }
        *buffer = made;
        return DS_OK;
    }
    catch (const std::bad_alloc&)
    {
        return DSERR_OUTOFMEMORY;
    }
}

DSResult StandInSoundDevice::DuplicateSoundBuffer(IDirectSoundBuffer* source, IDirectSoundBuffer** duplicate)
{
    if (!source || !duplicate)
        return DSERR_INVALIDPARAM;
    *duplicate = nullptr;
    // Every buffer handed out by this module is one of ours.
    auto* ours = static_cast<StandInSoundBuffer*>(source);
    if (ours->IsPrimary())
        return DSERR_INVALIDCALL;
    try
    {
        *duplicate = ours->Duplicate();
    }
    catch (const std::bad_alloc&)
    {
        return DSERR_OUTOFMEMORY;
    }
    return *duplicate ? DS_OK : DSERR_OUTOFMEMORY;
}

} // namespace Lumo::Platform

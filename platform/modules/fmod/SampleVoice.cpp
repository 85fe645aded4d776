#include "platform/modules/fmod/SampleVoice.h"
#include <algorithm>
#include <cstring>

namespace Lumo::Platform {

SampleVoice::SampleVoice(std::shared_ptr<SampleData> data, size_t loopStart, size_t loopEnd, bool looping)
    : mData(std::move(data)), mLoopStart(loopStart), mLoopEnd(loopEnd), mLooping(looping)
{
    const size_t frames = mData->Frames();
    if (frames == 0 || mLoopEnd >= frames || mLoopStart > mLoopEnd)
    {
        mLoopStart = 0;
        mLoopEnd = frames == 0 ? 0 : frames - 1;
    }
}

PcmFormat SampleVoice::Format() const
{
    PcmFormat format = mData->Format();
    format.bitsPerSample = 16;
    return format;
}

void SampleVoice::Copy(int16_t* out, size_t from, size_t frames) const
{
    const PcmFormat& format = mData->Format();
    const size_t samples = frames * format.channels;
    if (format.bitsPerSample == 16)
    {
        std::memcpy(out, mData->Bytes() + from * format.BlockAlign(), samples * 2);
        return;
    }
    const uint8_t* in = mData->Bytes() + from * format.channels;
    for (size_t i = 0; i < samples; ++i)
        out[i] = int16_t((int(in[i]) - 128) * 256);
}

size_t SampleVoice::Pull(int16_t* out, size_t frames)
{
    const size_t channels = mData->Format().channels;
    size_t done = 0;
    while (done < frames)
    {
        const bool looping = mLooping && mData->Frames() > 0;
        const size_t end = looping ? mLoopEnd + 1 : mData->Frames();
        if (mPosition >= end)
        {
            if (!looping)
                break;
            mPosition = mLoopStart;
        }
        const size_t n = std::min(frames - done, end - mPosition);
        Copy(out + done * channels, mPosition, n);
        mPosition += n;
        done += n;
    }
    return done;
}

} // namespace Lumo::Platform

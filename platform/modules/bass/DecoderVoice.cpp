#include "platform/modules/bass/DecoderVoice.h"

namespace Lumo::Platform {

DecoderVoice::DecoderVoice(std::unique_ptr<StreamDecoder> decoder)
    : mDecoder(std::move(decoder)), mFormat(mDecoder->Format())
{
}

size_t DecoderVoice::Pull(int16_t* out, size_t frames)
{
    std::lock_guard guard(mLock);
    size_t done = 0;
    bool wrapped = false;
    while (done < frames && !mEnded)
    {
        const size_t got = mDecoder->Read(out + done * mFormat.channels, frames - done);
        done += got;
        mPosition += got;
        if (done == frames)
            break;
        // At the end: start over when looping, unless the data is empty (a
        // wrap that brings nothing would spin for ever).
        if (!mLooping || mLoopsItself || (wrapped && got == 0) || !mDecoder->Seek(0))
        {
            mEnded = true;
            break;
        }
        wrapped = true;
        mPosition = 0;
    }
    return done;
}

void DecoderVoice::SetLooping(bool loop)
{
    std::lock_guard guard(mLock);
    mLooping = loop;
    mLoopsItself = mDecoder->SetLooping(loop);
}

bool DecoderVoice::IsLooping()
{
    std::lock_guard guard(mLock);
    return mLooping;
}

bool DecoderVoice::Seek(uint64_t frame)
{
    std::lock_guard guard(mLock);
    if (!mDecoder->Seek(frame))
        return false;
    mPosition = frame;
    mEnded = false;
    return true;
}

void DecoderVoice::MarkRepositioned(uint64_t frame)
{
    std::lock_guard guard(mLock);
    mPosition = frame;
    mEnded = false;
}

uint64_t DecoderVoice::Position()
{
    std::lock_guard guard(mLock);
    return mPosition;
}

bool DecoderVoice::HasEnded()
{
    std::lock_guard guard(mLock);
    return mEnded;
}

uint64_t DecoderVoice::Length()
{
    std::lock_guard guard(mLock);
    return mDecoder->Length();
}

} // namespace Lumo::Platform

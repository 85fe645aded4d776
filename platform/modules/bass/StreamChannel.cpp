#include "platform/modules/bass/StreamChannel.h"

namespace Lumo::Platform {

StreamChannel::StreamChannel(std::unique_ptr<StreamDecoder> decoder)
    : mSource(std::make_shared<DecoderVoice>(std::move(decoder)))
{
    NewVoice();
}

StreamChannel::~StreamChannel()
{
    Mixer::Get().DestroyVoice(mVoice);
}

void StreamChannel::NewVoice()
{
    Mixer& mixer = Mixer::Get();
    if (mVoice != 0)
        mixer.DestroyVoice(mVoice);
    mVoice = mixer.CreateStreamVoice(mSource);
    mixer.SetGains(mVoice, mLeft, mRight);
}

void StreamChannel::ApplyPlaying()
{
    Mixer& mixer = Mixer::Get();
    if (mState == State::Playing && mOutputRunning)
        mixer.Play(mVoice, false);
    else
        mixer.Stop(mVoice);
}

void StreamChannel::Play(bool restart)
{
    const bool ended = mState != State::Paused && mSource->HasEnded() && !Mixer::Get().IsPlaying(mVoice);
    if (restart || ended)
    {
        Mixer::Get().Stop(mVoice); // no more frames pulled from the old place
        if (!mSource->Seek(0))
        {
            mState = State::Stopped;
            return;
        }
        NewVoice();
    }
    mState = State::Playing;
    ApplyPlaying();
}

void StreamChannel::Stop()
{
    mState = State::Stopped;
    ApplyPlaying();
}

void StreamChannel::Pause()
{
    if (mState == State::Playing)
        mState = State::Paused;
    ApplyPlaying();
}

StreamChannel::State StreamChannel::GetState()
{
    if (mState == State::Playing && mOutputRunning && !Mixer::Get().IsPlaying(mVoice))
        mState = State::Stopped; // a one-shot that has been heard to its end
    return mState;
}

bool StreamChannel::Seek(uint64_t frame)
{
    Mixer::Get().Stop(mVoice); // no more frames pulled from the old place
    if (!mSource->Seek(frame))
    {
        ApplyPlaying();
        return false;
    }
    NewVoice();
    ApplyPlaying();
    return true;
}

bool StreamChannel::SetOrderRow(int order, int row)
{
    Mixer::Get().Stop(mVoice); // no more frames pulled from the old place
    const bool moved = mSource->WithModule([&](ModuleDecoder* module) {
        return module != nullptr && module->SetOrderRow(order, row);
    });
    if (!moved)
    {
        ApplyPlaying();
        return false;
    }
    mSource->MarkRepositioned(0);
    NewVoice();
    ApplyPlaying();
    return true;
}

void StreamChannel::SetGains(float left, float right)
{
    mLeft = left;
    mRight = right;
    Mixer::Get().SetGains(mVoice, left, right);
}

void StreamChannel::SetOutputRunning(bool running)
{
    mOutputRunning = running;
    ApplyPlaying();
}

} // namespace Lumo::Platform

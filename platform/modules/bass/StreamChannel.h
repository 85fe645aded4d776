#pragma once
// One playing song of a music stand-in: a DecoderVoice and the mixer voice
// that plays it. The mixer voice is made anew whenever the song is
// repositioned or starts over, so no frames buffered from the old position
// are heard. States: stopped (position kept), playing, paused.
// Owner's thread; the mixer's own lock covers the rest.
#include "platform/modules/bass/DecoderVoice.h"
#include <memory>

namespace Lumo::Platform {

class StreamChannel
{
public:
    enum class State
    {
        Stopped,
        Playing,
        Paused,
    };

    explicit StreamChannel(std::unique_ptr<StreamDecoder> decoder);
    ~StreamChannel();
    StreamChannel(const StreamChannel&) = delete;
    StreamChannel& operator=(const StreamChannel&) = delete;

    // From the start when asked or when the song had ended; else on from
    // where it stands (a paused song resumes).
    void Play(bool restart);
    void Stop();
    void Pause();
    // Playing turns into Stopped once a one-shot song has been heard to its end.
    State GetState();

    // To a frame from the start; the state is kept.
    bool Seek(uint64_t frame);
    // A module's order and row; the state is kept.
    bool SetOrderRow(int order, int row);
    // Linear gains per output side.
    void SetGains(float left, float right);
    // Output on or off for every channel of a library (its own stop/start);
    // a channel keeps its state meanwhile.
    void SetOutputRunning(bool running);

    DecoderVoice& Source() { return *mSource; }

private:
    void NewVoice();
    void ApplyPlaying();

    std::shared_ptr<DecoderVoice> mSource;
    VoiceId mVoice = 0;
    State mState = State::Stopped;
    float mLeft = 1.0f;
    float mRight = 1.0f;
    bool mOutputRunning = true;
};

} // namespace Lumo::Platform

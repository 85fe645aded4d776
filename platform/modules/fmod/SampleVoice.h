#pragma once
// One playing copy of an FMOD sample: a pull voice over the sample's PCM (8 or
// 16 bits, shared, never copied) that loops between the sample's loop points
// while looping is on. The loop flag may change while it plays; the points
// are fixed when it starts.
#include "platform/audio/Mixer.h"
#include <atomic>
#include <memory>

namespace Lumo::Platform {

class SampleVoice final : public VoiceSource
{
public:
    // loopEnd: the last frame of the loop (inclusive).
    SampleVoice(std::shared_ptr<SampleData> data, size_t loopStart, size_t loopEnd, bool looping);

    PcmFormat Format() const override;
    size_t Pull(int16_t* out, size_t frames) override;
    void SetLooping(bool looping) { mLooping = looping; }

private:
    void Copy(int16_t* out, size_t from, size_t frames) const;

    std::shared_ptr<SampleData> mData;
    size_t mLoopStart;
    size_t mLoopEnd;
    std::atomic<bool> mLooping;
    size_t mPosition = 0; // only the mixing thread moves it
};

} // namespace Lumo::Platform

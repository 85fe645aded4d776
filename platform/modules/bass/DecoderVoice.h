#pragma once
// A decoder as a pull voice of the mixer: the mixer pulls frames on its own
// thread while the owner seeks, loops and queries from another; one lock
// guards the decoder. A looping voice starts over at the end (a module loops
// by its own rules); a voice that reached its end stays ended until Seek.
#include "platform/audio/Mixer.h"
#include "platform/modules/bass/StreamDecoder.h"
#include <mutex>

namespace Lumo::Platform {

class DecoderVoice final : public VoiceSource
{
public:
    explicit DecoderVoice(std::unique_ptr<StreamDecoder> decoder);

    PcmFormat Format() const override { return mFormat; }
    size_t Pull(int16_t* out, size_t frames) override;

    void SetLooping(bool loop);
    bool IsLooping();
    // To a frame from the start; clears the end. False when the decoder
    // cannot go there (the voice is left where it was).
    bool Seek(uint64_t frame);
    // Frames delivered since the start (a little ahead of what is heard).
    uint64_t Position();
    bool HasEnded();
    uint64_t Length();

    // Module calls under the lock; null decoder when this is not a module.
    template <typename Call>
    auto WithModule(Call call)
    {
        std::lock_guard guard(mLock);
        return call(dynamic_cast<ModuleDecoder*>(mDecoder.get()));
    }
    // After a module position change: the position counts from there.
    void MarkRepositioned(uint64_t frame);

private:
    std::mutex mLock;
    std::unique_ptr<StreamDecoder> mDecoder;
    PcmFormat mFormat;
    bool mLooping = false;
    bool mLoopsItself = false;
    bool mEnded = false;
    uint64_t mPosition = 0;
};

} // namespace Lumo::Platform

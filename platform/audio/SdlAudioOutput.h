#pragma once
// The SDL2 audio device the mixer plays to: 44100 Hz, signed 16-bit, stereo.
// Its callback runs on SDL's audio thread.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace Lumo::Platform {

class SdlAudioOutput
{
public:
    using FillFunction = void (*)(void* user, int16_t* out, size_t frames);

    // Opens and starts the default device; null (and the reason in error)
    // when SDL audio or the device cannot be opened.
    static std::unique_ptr<SdlAudioOutput> Open(FillFunction fill, void* user, std::string& error);
    // Stops the device; the fill function is not called any more afterwards.
    ~SdlAudioOutput();

    SdlAudioOutput(const SdlAudioOutput&) = delete;
    SdlAudioOutput& operator=(const SdlAudioOutput&) = delete;

private:
    SdlAudioOutput() = default;
    static void Callback(void* self, uint8_t* stream, int length);

    uint32_t mDevice = 0;
    FillFunction mFill = nullptr;
    void* mUser = nullptr;
};

} // namespace Lumo::Platform

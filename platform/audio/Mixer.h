#pragma once
// The process-wide software mixer behind every sound stand-in (DirectSound,
// and the music libraries). It lives in one shared library, so the program,
// the stand-in modules and the tests all reach the same mixer and the same
// audio device.
//
// Output is always 44100 Hz, 16-bit, stereo. With a display and a sound card
// the frames go to an SDL2 audio device that pulls them on its own thread;
// headless (LUMO_HEADLESS, see platform/Environment.h), or when no device can
// be opened, they go to a null output that only advances when RenderFrames is
// called (the application renders one update's worth, 441 frames per 10 ms
// update, with RenderUpdate, so a headless run is the same every time).
//
// LUMO_AUDIO_CAPTURE=file.wav: everything the mixer produced in the run is
// written, at Shutdown, as a 44100 Hz 16-bit stereo WAV file (atomically).
//
// Threads: every call may come from any thread; one lock guards all state
// against the device thread. Voice ids stay valid until DestroyVoice; calls
// with an unknown id do nothing (queries answer false/0).
#include "platform/audio/SampleData.h"
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace Lumo::Platform {

// A pull voice (a stream): the mixer asks it for frames as it plays.
class VoiceSource
{
public:
    virtual ~VoiceSource() = default;
    // Channels (1 or 2) and rate of the frames Pull delivers; fixed for the
    // life of the source.
    virtual PcmFormat Format() const = 0;
    // Writes up to `frames` frames of interleaved signed 16-bit samples and
    // returns how many it wrote; fewer than asked means the stream has ended.
    // Called on the mixing thread with the mixer lock held: it must not call
    // back into the mixer.
    virtual size_t Pull(int16_t* out, size_t frames) = 0;
};

using VoiceId = uint32_t; // 0 is never a voice

class Mixer
{
public:
    static constexpr uint32_t kOutputRate = 44100;
    static constexpr size_t kFramesPerUpdate = 441; // one 10 ms update
    static constexpr uint32_t kMaxMasterVolume = 65535;

    // The one mixer, created (and its output opened) on first use.
    static Mixer& Get();
    // The mixer when it has been created, else null; never creates it.
    static Mixer* GetIfCreated();

    // Static buffer voice over shared sample data (not copied). Stopped, at
    // frame 0, full gain, at the data's own rate.
    [[nodiscard]] VoiceId CreateVoice(std::shared_ptr<SampleData> data);
    // Pull voice; stopped until Play. Its position is counted in frames pulled.
    [[nodiscard]] VoiceId CreateStreamVoice(std::shared_ptr<VoiceSource> source);
    void DestroyVoice(VoiceId voice);

    // Starts (or keeps) playing from the current position; a looping static
    // voice wraps to frame 0 at the end, a one-shot stops there.
    void Play(VoiceId voice, bool looping);
    // Stops, keeping the position.
    void Stop(VoiceId voice);
    [[nodiscard]] bool IsPlaying(VoiceId voice);
    [[nodiscard]] bool IsLooping(VoiceId voice);
    // Linear gains per output channel, 0 = silent, 1 = as recorded.
    void SetGains(VoiceId voice, float left, float right);
    // Playback rate of the voice's frames in Hz (1..1000000).
    void SetFrequency(VoiceId voice, uint32_t hz);
    [[nodiscard]] uint32_t GetFrequency(VoiceId voice);
    // Play position in source frames; a static voice clamps it to its length.
    [[nodiscard]] size_t GetPosition(VoiceId voice);
    void SetPosition(VoiceId voice, size_t frame);
    [[nodiscard]] size_t CountVoices();

    // The master output volume 0..kMaxMasterVolume (the stand-in of the
    // system's wave-out volume: a value kept here, never the desktop's, and
    // applied to the output). Does not need (or create) the mixer.
    [[nodiscard]] static uint32_t GetMasterVolume();
    static void SetMasterVolume(uint32_t level);

    // Mixes `frames` frames of interleaved stereo into out. This is the core
    // the device and the null output use; it does not count as output (no
    // capture). Used directly by benchmarks.
    void Mix(int16_t* out, size_t frames);

    // True when frames go to the null output (headless or no device).
    [[nodiscard]] bool IsNullOutput() const { return mNullOutput; }
    // Null output only: produces `frames` frames (captured when capturing),
    // appends them to *out when given, and returns the count; 0 with a device.
    size_t RenderFrames(size_t frames, std::vector<int16_t>* out = nullptr);
    // One update's worth (kFramesPerUpdate) on the null output; nothing with
    // a device. The application calls it once per update when headless.
    static void RenderUpdate();

    // Closes the device and writes the capture file; idempotent, also run at
    // process exit. The mixer keeps working on the null output afterwards.
    void Shutdown();
    // Shutdown of the mixer when it was created; the application calls it at
    // the end of its run.
    static void ShutdownIfCreated();

    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

private:
    Mixer();
    ~Mixer(); // never runs: the mixer outlives every static user
    struct Impl;
    // Called by the device thread: mixes and captures.
    void Produce(int16_t* out, size_t frames);

    std::unique_ptr<Impl> mImpl;
    std::atomic<bool> mNullOutput{true};
};

} // namespace Lumo::Platform

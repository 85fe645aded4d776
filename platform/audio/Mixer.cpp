#include "platform/audio/Mixer.h"
#include "platform/DebugOutput.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/audio/CaptureWav.h"
#include "platform/audio/MixKernel.h"
#include "platform/audio/SdlAudioOutput.h"
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace Lumo::Platform {
namespace {

constexpr size_t kMixBlock = 512; // frames mixed per pass
constexpr uint32_t kMaxFrequency = 1000000;

std::atomic<Mixer*> gMixer{nullptr};
std::atomic<uint32_t> gMasterVolume{Mixer::kMaxMasterVolume};

uint64_t StepFor(uint32_t hz)
{
    return (uint64_t(hz) << 32) / Mixer::kOutputRate;
}

int16_t ToSample(float value)
{
    const long rounded = std::lrintf(value);
    return int16_t(std::clamp(rounded, -32768L, 32767L));
}

struct Voice
{
    std::shared_ptr<SampleData> data;     // static voice
    std::shared_ptr<VoiceSource> source;  // pull voice
    PcmFormat format;
    std::vector<int16_t> pending;         // pulled frames not yet passed
    size_t consumed = 0;                  // pulled frames already passed
    bool sourceEnded = false;
    VoiceCursor cursor;
    uint32_t frequency = 0;
    bool playing = false;
    bool looping = false;
};

} // namespace

struct Mixer::Impl
{
    std::mutex lock;
    std::map<VoiceId, Voice> voices; // ordered: the same sum order every run
    VoiceId nextId = 1;
    std::unique_ptr<SdlAudioOutput> device;
    std::optional<std::string> capturePath;
    std::vector<int16_t> captured;
    bool captureWritten = false;
    float acc[kMixBlock * 2];

    Voice* Find(VoiceId id)
    {
        auto it = voices.find(id);
        return it == voices.end() ? nullptr : &it->second;
    }
    VoiceId Add(Voice voice)
    {
        VoiceId id = nextId++;
        if (nextId == 0)
            nextId = 1;
        voices.emplace(id, std::move(voice));
        return id;
    }
    void MixLocked(int16_t* out, size_t frames);
    void MixStatic(Voice& voice, size_t n);
    void MixStream(Voice& voice, size_t n);
};

void Mixer::Impl::MixStatic(Voice& voice, size_t n)
{
    const PcmFormat& format = voice.data->Format();
    if (!MixVoiceAnyFormat(format.channels, format.bitsPerSample, voice.data->Bytes(), voice.data->Frames(),
                           voice.looping, voice.cursor, acc, n))
    {
        voice.playing = false;
        voice.cursor.position = 0; // a finished one-shot starts over when played again
    }
}

void Mixer::Impl::MixStream(Voice& voice, size_t n)
{
    const size_t channels = voice.format.channels;
    const uint64_t last = voice.cursor.position + uint64_t(n - 1) * voice.cursor.step;
    const size_t needed = size_t(last >> 32) + 2; // +1 for the interpolation partner
    size_t have = voice.pending.size() / channels;
    if (have < needed && !voice.sourceEnded)
    {
        const size_t ask = needed - have;
        voice.pending.resize(needed * channels);
        size_t got = std::min(voice.source->Pull(voice.pending.data() + have * channels, ask), ask);
        voice.sourceEnded = got < ask;
        have += got;
        voice.pending.resize(have * channels);
    }
    const bool more = MixVoiceAnyFormat(int(channels), 16, reinterpret_cast<const uint8_t*>(voice.pending.data()),
                                        have, false, voice.cursor, acc, n);
    if (!more && voice.sourceEnded)
        voice.playing = false;
    const size_t drop = std::min(size_t(voice.cursor.position >> 32), have);
    voice.pending.erase(voice.pending.begin(), voice.pending.begin() + ptrdiff_t(drop * channels));
    voice.cursor.position -= uint64_t(drop) << 32;
    voice.consumed += drop;
}

void Mixer::Impl::MixLocked(int16_t* out, size_t frames)
{
    const float gain = float(gMasterVolume.load()) / float(kMaxMasterVolume);
    for (size_t done = 0; done < frames;)
    {
        const size_t n = std::min(kMixBlock, frames - done);
        std::fill(acc, acc + 2 * n, 0.0f);
        for (auto& [id, voice] : voices)
        {
            if (!voice.playing)
                continue;
            if (voice.source)
                MixStream(voice, n);
            else
                MixStatic(voice, n);
        }
        int16_t* dest = out + 2 * done;
        for (size_t i = 0; i < 2 * n; ++i)
            dest[i] = ToSample(acc[i] * gain);
        done += n;
    }
}

Mixer::Mixer() : mImpl(std::make_unique<Impl>())
{
    if (auto path = GetEnv("LUMO_AUDIO_CAPTURE"); path && !path->empty())
        mImpl->capturePath = *path;
    if (IsHeadless())
        return;
    std::string error;
    mImpl->device = SdlAudioOutput::Open(
        [](void* self, int16_t* out, size_t frames) { static_cast<Mixer*>(self)->Produce(out, frames); }, this,
        error);
    if (mImpl->device)
        mNullOutput = false;
    else
        Log("AUDIO", "no audio device (" + error + "), sound goes to the null output");
}

Mixer::~Mixer() = default;

Mixer& Mixer::Get()
{
    // Made once and never destroyed, so voices released by static destructors
    // late in the exit still find it; the exit hook closes the device.
    static Mixer* instance = [] {
        Mixer* mixer = new Mixer();
        gMixer = mixer;
        std::atexit([] { Mixer::ShutdownIfCreated(); });
        return mixer;
    }();
    return *instance;
}

Mixer* Mixer::GetIfCreated()
{
    return gMixer.load();
}

VoiceId Mixer::CreateVoice(std::shared_ptr<SampleData> data)
{
    if (!data || !data->Format().IsValid())
        return 0;
    Voice voice;
    voice.format = data->Format();
    voice.frequency = std::min(voice.format.sampleRate, kMaxFrequency);
    voice.cursor.step = StepFor(voice.frequency);
    voice.data = std::move(data);
    std::lock_guard guard(mImpl->lock);
    return mImpl->Add(std::move(voice));
}

VoiceId Mixer::CreateStreamVoice(std::shared_ptr<VoiceSource> source)
{
    if (!source)
        return 0;
    Voice voice;
    voice.format = source->Format();
    voice.format.bitsPerSample = 16;
    if (!voice.format.IsValid())
        return 0;
    voice.frequency = std::min(voice.format.sampleRate, kMaxFrequency);
    voice.cursor.step = StepFor(voice.frequency);
    voice.source = std::move(source);
    std::lock_guard guard(mImpl->lock);
    return mImpl->Add(std::move(voice));
}

void Mixer::DestroyVoice(VoiceId id)
{
    std::shared_ptr<SampleData> data; // freed outside the lock
    std::shared_ptr<VoiceSource> source;
    std::lock_guard guard(mImpl->lock);
    auto it = mImpl->voices.find(id);
    if (it == mImpl->voices.end())
        return;
    data = std::move(it->second.data);
    source = std::move(it->second.source);
    mImpl->voices.erase(it);
}

void Mixer::Play(VoiceId id, bool looping)
{
    std::lock_guard guard(mImpl->lock);
    if (Voice* voice = mImpl->Find(id))
    {
        voice->playing = true;
        voice->looping = looping && voice->data;
    }
}

void Mixer::Stop(VoiceId id)
{
    std::lock_guard guard(mImpl->lock);
    if (Voice* voice = mImpl->Find(id))
        voice->playing = false;
}

bool Mixer::IsPlaying(VoiceId id)
{
    std::lock_guard guard(mImpl->lock);
    Voice* voice = mImpl->Find(id);
    return voice && voice->playing;
}

bool Mixer::IsLooping(VoiceId id)
{
    std::lock_guard guard(mImpl->lock);
    Voice* voice = mImpl->Find(id);
    return voice && voice->looping;
}

void Mixer::SetGains(VoiceId id, float left, float right)
{
    std::lock_guard guard(mImpl->lock);
    if (Voice* voice = mImpl->Find(id))
    {
        voice->cursor.gainLeft = std::isfinite(left) ? std::max(left, 0.0f) : 0.0f;
        voice->cursor.gainRight = std::isfinite(right) ? std::max(right, 0.0f) : 0.0f;
    }
}

void Mixer::SetFrequency(VoiceId id, uint32_t hz)
{
    std::lock_guard guard(mImpl->lock);
    if (Voice* voice = mImpl->Find(id))
    {
        voice->frequency = std::clamp<uint32_t>(hz, 1, kMaxFrequency);
        voice->cursor.step = StepFor(voice->frequency);
    }
}

uint32_t Mixer::GetFrequency(VoiceId id)
{
    std::lock_guard guard(mImpl->lock);
    Voice* voice = mImpl->Find(id);
    return voice ? voice->frequency : 0;
}

size_t Mixer::GetPosition(VoiceId id)
{
    std::lock_guard guard(mImpl->lock);
    Voice* voice = mImpl->Find(id);
    if (!voice)
        return 0;
    return voice->consumed + size_t(voice->cursor.position >> 32);
}

void Mixer::SetPosition(VoiceId id, size_t frame)
{
    std::lock_guard guard(mImpl->lock);
    Voice* voice = mImpl->Find(id);
    if (!voice || !voice->data)
        return; // a stream cannot be repositioned
    frame = std::min(frame, voice->data->Frames());
    voice->cursor.position = uint64_t(frame) << 32;
}

size_t Mixer::CountVoices()
{
    std::lock_guard guard(mImpl->lock);
    return mImpl->voices.size();
}

uint32_t Mixer::GetMasterVolume()
{
    return gMasterVolume.load();
}

void Mixer::SetMasterVolume(uint32_t level)
{
    gMasterVolume = std::min(level, kMaxMasterVolume);
}

void Mixer::Mix(int16_t* out, size_t frames)
{
    std::lock_guard guard(mImpl->lock);
    mImpl->MixLocked(out, frames);
}

void Mixer::Produce(int16_t* out, size_t frames)
{
    std::lock_guard guard(mImpl->lock);
    mImpl->MixLocked(out, frames);
    if (mImpl->capturePath && !mImpl->captureWritten)
        mImpl->captured.insert(mImpl->captured.end(), out, out + 2 * frames);
}

size_t Mixer::RenderFrames(size_t frames, std::vector<int16_t>* out)
{
    if (!mNullOutput || frames == 0)
        return 0;
    std::vector<int16_t> block(frames * 2);
    Produce(block.data(), frames);
    if (out)
        out->insert(out->end(), block.begin(), block.end());
    return frames;
}

void Mixer::RenderUpdate()
{
    if (Mixer* mixer = GetIfCreated())
        mixer->RenderFrames(kFramesPerUpdate);
}

void Mixer::Shutdown()
{
    // The device is closed without the lock: its callback takes the lock.
    mImpl->device.reset();
    mNullOutput = true;
    std::lock_guard guard(mImpl->lock);
    if (!mImpl->capturePath || mImpl->captureWritten)
        return;
    mImpl->captureWritten = true;
    std::vector<uint8_t> wav = MakeCaptureWav(mImpl->captured.data(), mImpl->captured.size() / 2);
    std::vector<int16_t>().swap(mImpl->captured);
    if (!WriteFileAtomically(*mImpl->capturePath, wav.data(), wav.size()))
        Log("AUDIO", "cannot write the audio capture " + *mImpl->capturePath);
}

void Mixer::ShutdownIfCreated()
{
    if (Mixer* mixer = GetIfCreated())
        mixer->Shutdown();
}

} // namespace Lumo::Platform

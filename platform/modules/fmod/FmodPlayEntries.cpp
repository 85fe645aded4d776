// The exported channel and song entries of the "fmod.dll" stand-in (see
// platform/audio/FmodApi.h). Streams are not offered: their entries fail.
#include "platform/modules/fmod/FmodEntries.h"
#include <type_traits>
#include <vector>

using Lumo::Platform::FmodChannel;
using Lumo::Platform::FmodState;
using Lumo::Platform::Mixer;
using Lumo::Platform::StreamChannel;

namespace {

std::unique_ptr<Lumo::Platform::StreamDecoder> OpenSong(const char* name)
{
    using namespace Lumo::Platform;
    auto source = ByteSource::OpenFile(name);
    if (!source)
        return nullptr;
    if (IsStreamFileName(name))
        return OpenStreamDecoder(std::move(source));
    std::vector<uint8_t> bytes;
    if (!source->ReadAll(bytes))
        return nullptr;
    return OpenModuleDecoder(bytes.data(), bytes.size());
}

void ApplySongGain(FmodSong& song)
{
    const float gain = float(song.volume) / 256.0f;
    song.player->SetGains(gain, gain);
}

} // namespace

LUMO_FMOD_EXPORT int FSOUND_PlaySound(int channelIndex, FmodSample* sample)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    const int index = state.FindSample(sample) ? state.PickChannel(channelIndex) : -1;
    if (index < 0)
        return -1;
    FmodChannel& channel = *state.FindChannel(index);
    state.StopChannel(channel);
    const bool looping = (sample->mode & FMOD_LOOP_NORMAL) != 0;
    channel.source = std::make_shared<Lumo::Platform::SampleVoice>(sample->data, sample->loopStart, sample->loopEnd,
                                                                   looping);
    Mixer& mixer = Mixer::Get();
    channel.voice = mixer.CreateStreamVoice(channel.source);
    channel.sample = sample;
    channel.volume = sample->volume;
    channel.pan = sample->pan;
    mixer.SetFrequency(channel.voice, uint32_t(std::max(sample->frequency, 1)));
    state.ApplyGains(channel);
    mixer.Play(channel.voice, false);
    return index;
}

LUMO_FMOD_EXPORT FmodBool FSOUND_StopSound(int channelIndex)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    FmodChannel* channel = state.FindChannel(channelIndex);
    if (!channel)
        return 0;
    state.StopChannel(*channel);
    return 1;
}

LUMO_FMOD_EXPORT FmodBool FSOUND_SetVolume(int channelIndex, int volume)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    FmodChannel* channel = state.FindChannel(channelIndex);
    if (!channel)
        return 0;
    channel->volume = std::clamp(volume, 0, 255);
    state.ApplyGains(*channel);
    return 1;
}

LUMO_FMOD_EXPORT FmodBool FSOUND_SetPaused(int channelIndex, FmodBool paused)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    FmodChannel* channel = state.FindChannel(channelIndex);
    if (!channel || channel->voice == 0)
        return 0;
    if (paused && Mixer::Get().IsPlaying(channel->voice))
    {
        Mixer::Get().Stop(channel->voice);
        channel->paused = true;
    }
    else if (!paused && channel->paused)
    {
        Mixer::Get().Play(channel->voice, false);
        channel->paused = false;
    }
    return 1;
}

LUMO_FMOD_EXPORT FmodBool FSOUND_SetLoopMode(int channelIndex, unsigned int loopMode)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    FmodChannel* channel = state.FindChannel(channelIndex);
    if (!channel || !channel->source)
        return 0;
    channel->source->SetLooping((loopMode & FMOD_LOOP_NORMAL) != 0);
    return 1;
}

LUMO_FMOD_EXPORT FmodBool FSOUND_IsPlaying(int channelIndex)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    FmodChannel* channel = state.FindChannel(channelIndex);
    return channel && state.IsChannelPlaying(*channel);
}

LUMO_FMOD_EXPORT FmodStream* FSOUND_Stream_OpenFile(const char*, unsigned int, int)
{
    return nullptr;
}

LUMO_FMOD_EXPORT FmodBool FSOUND_Stream_Close(FmodStream*)
{
    return 0;
}

LUMO_FMOD_EXPORT int FSOUND_Stream_Play(int, FmodStream*)
{
    return -1;
}

LUMO_FMOD_EXPORT FmodSong* FMUSIC_LoadSong(const char* name)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    if (!state.initialized || !name)
        return nullptr;
    auto decoder = OpenSong(name);
    if (!decoder)
        return nullptr;
    auto song = std::make_unique<FmodSong>();
    song->isModule = !Lumo::Platform::IsStreamFileName(name);
    song->player = std::make_unique<StreamChannel>(std::move(decoder));
    song->player->Source().SetLooping(true);
    ApplySongGain(*song);
    return state.AddSong(std::move(song));
}

LUMO_FMOD_EXPORT FmodBool FMUSIC_PlaySong(FmodSong* song)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    if (!state.FindSong(song))
        return 0;
    song->player->Play(true);
    song->started = true;
    return 1;
}

LUMO_FMOD_EXPORT FmodBool FMUSIC_StopSong(FmodSong* song)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    if (!state.FindSong(song))
        return 0;
    song->player->Stop();
    song->started = false;
    return 1;
}

LUMO_FMOD_EXPORT FmodBool FMUSIC_SetLooping(FmodSong* song, FmodBool looping)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    if (!state.FindSong(song))
        return 0;
    song->player->Source().SetLooping(looping != 0);
    return 1;
}

LUMO_FMOD_EXPORT FmodBool FMUSIC_SetOrder(FmodSong* song, int order)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    if (!state.FindSong(song))
        return 0;
    if (song->isModule)
        return song->player->SetOrderRow(order, 0);
    return order == 0 && song->player->Seek(0);
}

LUMO_FMOD_EXPORT FmodBool FMUSIC_SetPaused(FmodSong* song, FmodBool paused)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    if (!state.FindSong(song))
        return 0;
    if (paused)
        song->player->Pause();
    else if (song->player->GetState() == StreamChannel::State::Paused)
        song->player->Play(false);
    return 1;
}

LUMO_FMOD_EXPORT FmodBool FMUSIC_SetMasterVolume(FmodSong* song, int volume)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    if (!state.FindSong(song) || volume < 0 || volume > 256)
        return 0;
    song->volume = volume;
    ApplySongGain(*song);
    return 1;
}

LUMO_FMOD_EXPORT FmodBool FMUSIC_IsPlaying(FmodSong* song)
{
    FmodState& state = FmodState::Get();
    Guard guard(state.lock);
    if (!state.FindSong(song) || !song->started)
        return 0;
    return song->player->GetState() != StreamChannel::State::Stopped;
}

// The exports must keep the types the callers use.
static_assert(std::is_same_v<decltype(&FSOUND_PlaySound), FmodPlaySoundFunction>);
static_assert(std::is_same_v<decltype(&FMUSIC_LoadSong), FmodLoadSongFunction>);
static_assert(std::is_same_v<decltype(&FMUSIC_SetOrder), FmodSetOrderFunction>);

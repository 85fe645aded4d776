#include "platform/modules/fmod/FmodState.h"

namespace Lumo::Platform {

FmodState& FmodState::Get()
{
    static FmodState state;
    return state;
}

FmodState::~FmodState()
{
    CloseAll();
}

void FmodState::Open(int channels)
{
    CloseAll();
    mChannels.resize(size_t(channels));
    initialized = true;
}

void FmodState::CloseAll()
{
    for (FmodChannel& channel : mChannels)
        StopChannel(channel);
    mChannels.clear();
    mSongs.clear();
    mSamples.clear();
    initialized = false;
}

FmodSample* FmodState::FindSample(FmodSample* sample)
{
    return mSamples.count(sample) != 0 ? sample : nullptr;
}

FmodSample* FmodState::AddSample(std::unique_ptr<FmodSample> sample)
{
    FmodSample* key = sample.get();
    mSamples[key] = std::move(sample);
    return key;
}

void FmodState::FreeSample(FmodSample* sample)
{
    for (FmodChannel& channel : mChannels)
        if (channel.sample == sample)
            StopChannel(channel);
    mSamples.erase(sample);
}

FmodSong* FmodState::FindSong(FmodSong* song)
{
    return mSongs.count(song) != 0 ? song : nullptr;
}

FmodSong* FmodState::AddSong(std::unique_ptr<FmodSong> song)
{
    FmodSong* key = song.get();
    mSongs[key] = std::move(song);
    return key;
}

FmodChannel* FmodState::FindChannel(int channel)
{
    return channel >= 0 && size_t(channel) < mChannels.size() ? &mChannels[size_t(channel)] : nullptr;
}

int FmodState::PickChannel(int channel)
{
    if (channel != FMOD_FREE_CHANNEL)
        return FindChannel(channel) ? channel : -1;
    for (size_t i = 0; i < mChannels.size(); ++i)
        if (!IsChannelPlaying(mChannels[i]))
            return int(i);
    return -1;
}

void FmodState::StopChannel(FmodChannel& channel)
{
    if (channel.voice != 0)
        Mixer::Get().DestroyVoice(channel.voice);
    channel.voice = 0;
    channel.source.reset();
    channel.sample = nullptr;
    channel.paused = false;
}

bool FmodState::IsChannelPlaying(FmodChannel& channel)
{
    return channel.voice != 0 && (channel.paused || Mixer::Get().IsPlaying(channel.voice));
}

void FmodState::ApplyGains(FmodChannel& channel)
{
    const float gain = float(channel.volume) / 255.0f;
    const float left = channel.pan <= 128 ? 1.0f : float(255 - channel.pan) / 127.0f;
    const float right = channel.pan >= 128 ? 1.0f : float(channel.pan) / 128.0f;
    Mixer::Get().SetGains(channel.voice, gain * left, gain * right);
}

} // namespace Lumo::Platform

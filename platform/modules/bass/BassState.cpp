#include "platform/modules/bass/BassState.h"
#include <algorithm>

namespace Lumo::Platform {

BassState& BassState::Get()
{
    static BassState state;
    return state;
}

BassState::~BassState()
{
    FreeAll();
}

BassChannel* BassState::Find(BassHandle handle)
{
    auto it = mChannels.find(handle);
    if (it == mChannels.end())
    {
        error = BASS_ERROR_HANDLE;
        return nullptr;
    }
    return &it->second;
}

BassHandle BassState::Add(BassChannel channel)
{
    const BassHandle handle = mNextHandle++;
    if (mNextHandle == 0)
        mNextHandle = 1;
    auto& stored = mChannels[handle] = std::move(channel);
    stored.player->SetOutputRunning(running);
    ApplyGains(stored);
    return handle;
}

void BassState::Remove(BassHandle handle)
{
    mChannels.erase(handle);
}

void BassState::FreeAll()
{
    mChannels.clear();
}

void BassState::ApplyGains(BassChannel& channel)
{
    const uint32_t global = channel.isModule ? musicVolume : streamVolume;
    float gain = float(channel.volume) / 100.0f * float(global) / 100.0f * float(outputVolume) / 100.0f;
    if (channel.isModule)
        gain *= float(channel.amplify) / 50.0f;
    const float left = channel.pan > 0 ? float(100 - channel.pan) / 100.0f : 1.0f;
    const float right = channel.pan < 0 ? float(100 + channel.pan) / 100.0f : 1.0f;
    channel.player->SetGains(gain * left, gain * right);
}

void BassState::ApplyAllGains()
{
    for (auto& [handle, channel] : mChannels)
        ApplyGains(channel);
}

void BassState::SetRunning(bool run)
{
    running = run;
    for (auto& [handle, channel] : mChannels)
        channel.player->SetOutputRunning(run);
}

} // namespace Lumo::Platform

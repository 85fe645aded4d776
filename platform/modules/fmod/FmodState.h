#pragma once
// The state of the "fmod.dll" stand-in: samples, channels and songs. One
// instance per module load; FSOUND_Close and the module's unload free
// everything, so no mixer voice outlives the module's code.
#include "platform/audio/FmodApi.h"
#include "platform/modules/bass/StreamChannel.h"
#include "platform/modules/fmod/SampleVoice.h"
#include <map>
#include <memory>
#include <mutex>
#include <vector>

// The library's sample: PCM in memory with its defaults and loop points.
struct FmodSample
{
    std::shared_ptr<Lumo::Platform::SampleData> data;
    unsigned int mode = FMOD_16BITS | FMOD_STEREO | FMOD_LOOP_OFF;
    int frequency = 44100;
    int volume = 255;
    int pan = 128;
    int priority = 128;
    size_t loopStart = 0;
    size_t loopEnd = 0; // inclusive
};

// A song: decoded while it plays.
struct FmodSong
{
    std::unique_ptr<Lumo::Platform::StreamChannel> player;
    bool isModule = false;
    bool started = false;
    int volume = 256;
};

namespace Lumo::Platform {

struct FmodChannel
{
    std::shared_ptr<SampleVoice> source;
    VoiceId voice = 0;
    FmodSample* sample = nullptr;
    int volume = 255;
    int pan = 128;
    bool paused = false;
};

class FmodState
{
public:
    static FmodState& Get();
    ~FmodState();

    std::mutex lock; // every entry point holds it
    bool initialized = false;
    int bufferMs = 200;
    void* window = nullptr;

    void Open(int channels);
    void CloseAll();

    // Null for anything this library did not hand out (or already freed).
    FmodSample* FindSample(FmodSample* sample);
    FmodSample* AddSample(std::unique_ptr<FmodSample> sample);
    void FreeSample(FmodSample* sample);
    FmodSong* FindSong(FmodSong* song);
    FmodSong* AddSong(std::unique_ptr<FmodSong> song);

    // Null outside 0..channels-1.
    FmodChannel* FindChannel(int channel);
    // The channel to play on: the given one, or the first idle one for
    // FMOD_FREE_CHANNEL; -1 when none.
    int PickChannel(int channel);
    void StopChannel(FmodChannel& channel);
    bool IsChannelPlaying(FmodChannel& channel);
    void ApplyGains(FmodChannel& channel);

private:
    std::vector<FmodChannel> mChannels;
    std::map<FmodSample*, std::unique_ptr<FmodSample>> mSamples;
    std::map<FmodSong*, std::unique_ptr<FmodSong>> mSongs;
};

} // namespace Lumo::Platform

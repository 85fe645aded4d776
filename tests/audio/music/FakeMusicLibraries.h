#pragma once
// Fake tables for the BASS and FMOD holders: every entry the players call
// records itself ("ChannelPlay(7,1)") in one call log and answers from a few
// settable values, so tests can check exact call sequences.
#include "app/Common.h"
#include "audio/BassInstance.h"
#include "audio/FmodInstance.h"
#include <map>
#include <utility>
#include <string>
#include <vector>

namespace Lumo::MusicTest {

struct FakeLog
{
    static inline std::vector<std::string> calls;
    static void Add(const std::string& call) { calls.push_back(call); }
    // The calls since the last Take, and a fresh log.
    static std::vector<std::string> Take()
    {
        std::vector<std::string> taken;
        taken.swap(calls);
        return taken;
    }
};

struct FakeBassAnswers
{
    static inline uint32_t activeState = 0;        // BASS_ChannelIsActive
    static inline BassHandle nextHandle = 100;     // handed out by loads
    static inline bool failByName = false;         // loads by file name fail
    static inline bool failAll = false;            // every load fails
    static inline std::vector<size_t> memorySizes; // sizes of loads from memory
};

// A BASS table: newer generation (BASS_SetConfig present) or older, with or
// without BASS_SetGlobalVolumes. Installed as gBassInstance; the player that
// acquires it deletes it with its last release.
class FakeBass : public BASS_INSTANCE
{
public:
    explicit FakeBass(bool newer = true, bool globalVolumes = true);
    static FakeBass* Install(bool newer = true, bool globalVolumes = true)
    {
        auto* fake = new FakeBass(newer, globalVolumes);
        gBassInstance = fake;
        gBassInstanceCount = 0;
        FakeLog::Take();
        return fake;
    }
};

struct FakeFmodAnswers
{
    static inline bool songPlaying = false;   // FMUSIC_IsPlaying
    static inline bool channelPlaying = false; // FSOUND_IsPlaying
    static inline bool failLoads = false;
    static inline unsigned int sampleMode = FMOD_16BITS | FMOD_STEREO | FMOD_LOOP_OFF;
    static inline int sampleRate = 44100;
    static inline unsigned int sampleFrames = 10;
    // Shapes of the next loads, taken in order (then the defaults above).
    static inline std::vector<unsigned int> nextFrames;
    static inline std::vector<int> nextRates;
    static inline std::map<FmodSample*, std::pair<unsigned int, int>> shapes; // frames, rate
    static inline std::vector<std::string> failNames; // loads of names holding one of these fail
    // The bytes of each sample, made on its first lock: 1, 2, 3, ...
    static inline std::map<FmodSample*, std::vector<uint8_t>> memory;
};

class FakeFmod : public FMOD_INSTANCE
{
public:
    FakeFmod();
    static FakeFmod* Install()
    {
        auto* fake = new FakeFmod();
        gFmodInstance = fake;
        gFmodInstanceCount = 0;
        FakeLog::Take();
        return fake;
    }
};

// Handles of the fake FMOD: small numbers dressed as pointers, never used
// as memory.
inline FmodSong* FakeSong(uintptr_t n)
{
    return reinterpret_cast<FmodSong*>(n);
}
inline FmodSample* FakeSample(uintptr_t n)
{
    return reinterpret_cast<FmodSample*>(n);
}

} // namespace Lumo::MusicTest

#pragma once
// The state of the "bass.dll" stand-in: whether it is initialised and
// running, its global volumes, its channels (streams and modules) and the
// last error. One instance per module load; its destructor (at unload)
// frees every channel, so no voice of the mixer outlives the module's code.
#include "platform/audio/BassApi.h"
#include "platform/modules/bass/StreamChannel.h"
#include <map>
#include <memory>
#include <mutex>

namespace Lumo::Platform {

struct BassChannel
{
    std::unique_ptr<StreamChannel> player;
    bool isModule = false;
    uint32_t volume = 100;   // 0..100
    int pan = 0;             // -100..100
    uint32_t amplify = 50;   // modules: 0..100, 50 = as written
    uint32_t flags = 0;
};

class BassState
{
public:
    static BassState& Get();
    ~BassState();

    std::mutex lock; // every entry point holds it

    bool initialized = false;
    bool running = false;
    uint32_t bufferMs = 500;
    uint32_t musicVolume = 100;  // global volumes 0..100
    uint32_t sampleVolume = 100;
    uint32_t streamVolume = 100;
    uint32_t outputVolume = 100; // the library's own output volume 0..100

    // The channel of a handle, or null (and the handle error recorded).
    BassChannel* Find(BassHandle handle);
    BassHandle Add(BassChannel channel);
    void Remove(BassHandle handle);
    void FreeAll();
    // Gains of one channel, or of all after a global volume changed.
    void ApplyGains(BassChannel& channel);
    void ApplyAllGains();
    void SetRunning(bool run);

    // Records the error code of the call; returns the value given, so
    // entries can `return state.Fail(BASS_ERROR_HANDLE, 0);`.
    template <typename T>
    T Fail(int code, T result)
    {
        error = code;
        return result;
    }
    int error = BASS_OK;

private:
    std::map<BassHandle, BassChannel> mChannels;
    BassHandle mNextHandle = 0x10001;
};

} // namespace Lumo::Platform

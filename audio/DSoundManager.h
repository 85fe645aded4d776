#pragma once
// The sound manager over the DirectSound stand-in ("dsound.dll", loaded by the
// application into gDSoundLibrary): 256 sound ids, each with a source buffer,
// and 32 channels of DSoundInstance. Sounds load from WAV, Ogg Vorbis, Sun
// audio or (with the use-FMOD flag, through the FMOD holder) MP3 files;
// decoded compressed sounds are cached as SoundCacheFile under
// "<data folder>cached\\".
//
// Without a window, without the library or when DirectSoundCreate fails, the
// manager is silent: loads succeed without storing anything and
// CreateInstance hands out silent instances.
//
// Threads: LoadSound/FindOrLoadSound may run on the loading thread while the
// main thread plays other ids (the sound tables are locked); everything else
// on the main thread.
#include "audio/SoundManager.h"
#include "platform/ModuleLoader.h"
#include "platform/audio/DirectSoundApi.h"
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

namespace Lumo {

namespace Platform {
class Clock;
}
class DSoundInstance;
struct DecodedSound;

// The DirectSound library (our "dsound.dll" module); null when missing. The
// application sets it at construction, before it makes the manager.
extern Platform::ModuleHandle gDSoundLibrary;

class DSoundManager final : public SoundManager
{
public:
    static constexpr int kMaxChannels = 32;
    static constexpr uint32_t kSweepIntervalMs = 1000;

    // window: the owner (any non-null handle; null = sound switched off).
    // clock: the source of millisecond ticks for the channel sweep (the
    // application's clock, virtual when headless); null = the system tick.
    DSoundManager(SoundWindowHandle window, bool useFMod, Platform::Clock* clock = nullptr);
    ~DSoundManager() override;
    DSoundManager(const DSoundManager&) = delete;
    DSoundManager& operator=(const DSoundManager&) = delete;

    bool HasSoundDevice() override;
    int FindOrLoadSound(const std::string& fileName) override;
    bool LoadSound(unsigned id, const std::string& fileName) override;
    void UnloadSound(unsigned id) override;
    void SetEffectsVolume(double volume) override;
    bool SetDefaultVolume(unsigned id, double volume) override;
    bool SetDefaultPan(unsigned id, int pan) override;
    SoundInstance* CreateInstance(unsigned id) override;
    void UnloadAllSounds() override;
    void DeleteAllInstances() override;
    double GetMixerVolume() override;
    void SetMixerVolume(double volume) override;
    void SetOwnerWindow(SoundWindowHandle window, bool windowed) override;
    void StopAllInstances() override;
    int FindFreeSoundId() override;
    int CountLoadedSounds() override;

    // Each reader builds the id's source buffer from one file; false leaves
    // the id without a buffer.
    [[nodiscard]] bool LoadWavSound(unsigned id, const std::string& path);
    [[nodiscard]] bool LoadMp3Sound(unsigned id, const std::string& path);
    [[nodiscard]] bool LoadOggSound(unsigned id, const std::string& path);
    [[nodiscard]] bool LoadAuSound(unsigned id, const std::string& path);
    // Writes the id's decoded sound as a cache file (atomically); false when
    // it cannot.
    [[nodiscard]] bool WriteSoundCache(unsigned id, const std::string& cachePath, const std::string& sourcePath);

    double GetEffectsVolume() const { return mEffectsVolume; }
    IDirectSound* GetDirectSound() const { return mDirectSound; }
    uint32_t GetDataSize(unsigned id);

private:
    struct BufferReleaser
    {
        void operator()(IDirectSoundBuffer* buffer) const { buffer->Release(); }
    };
    using BufferPtr = std::unique_ptr<IDirectSoundBuffer, BufferReleaser>;

    void OpenDevice(SoundWindowHandle window);
    bool InstallSound(unsigned id, DecodedSound&& sound);
    int FindFreeChannel();
    void DeleteDiscardedInstances();
    uint32_t NowMs();

    std::mutex mSoundLock; // guards the per-id tables below
    std::array<BufferPtr, kMaxSounds> mSourceSounds;
    std::array<std::string, kMaxSounds> mSourceFileNames;
    BufferPtr mPrimaryBuffer;
    std::array<uint32_t, kMaxSounds> mSourceDataSizes{};
    std::array<double, kMaxSounds> mBaseVolumes;
    std::array<int, kMaxSounds> mBasePans{};
    std::array<std::unique_ptr<DSoundInstance>, kMaxChannels> mPlayingSounds;
    double mEffectsVolume = 1.0;
    uint32_t mLastSweepTime = 0;
    IDirectSound* mDirectSound = nullptr; // owned (released)
    bool mUseFMod;
    Platform::Clock* mClock;
};

} // namespace Lumo

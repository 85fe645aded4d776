#pragma once
// The sound effects of the application: loaded sounds addressed by an id
// 0..255 and the channels that play them. The application core creates one
// at start-up (as a DSoundManager) and owns it.
//
// Threads: LoadSound (and FindOrLoadSound) may run on the loading thread
// while the main thread plays other ids; everything else runs on the main
// thread.
#include "audio/SoundInstance.h"
#include <string>

namespace Lumo {

// Opaque handle of the window that owns the sound device (may be null).
using SoundWindowHandle = void*;

class SoundManager
{
public:
    static constexpr unsigned kMaxSounds = 256;

    virtual ~SoundManager() = default;

    // True when sounds are really played (a device was opened).
    [[nodiscard]] virtual bool HasSoundDevice() = 0;
    // The id of the sound already loaded from fileName, or a free id that it
    // is loaded into; -1 when it cannot be loaded or no id is free.
    [[nodiscard]] virtual int FindOrLoadSound(const std::string& fileName) = 0;
    // Loads the sound named fileName (without extension: ".wav", ".mp3",
    // ".ogg" and ".au" are tried) into the id, replacing what was there.
    // False (and the id empty) on failure.
    [[nodiscard]] virtual bool LoadSound(unsigned id, const std::string& fileName) = 0;
    virtual void UnloadSound(unsigned id) = 0;
    // The effects volume 0..1 applied to every instance, live ones included.
    virtual void SetEffectsVolume(double volume) = 0;
    // Per-sound defaults given to each new instance; false for a bad id.
    virtual bool SetDefaultVolume(unsigned id, double volume) = 0;
    virtual bool SetDefaultPan(unsigned id, int pan) = 0;
    // A new instance of the loaded sound, owned by the manager; null when the
    // id is not loaded, no channel is free or there is no device.
    [[nodiscard]] virtual SoundInstance* CreateInstance(unsigned id) = 0;
    virtual void UnloadAllSounds() = 0;
    virtual void DeleteAllInstances() = 0;
    // The master output volume 0..1.
    [[nodiscard]] virtual double GetMixerVolume() = 0;
    virtual void SetMixerVolume(double volume) = 0;
    virtual void SetOwnerWindow(SoundWindowHandle window, bool windowed) = 0;
    virtual void StopAllInstances() = 0;
    // The lowest id with nothing loaded, or -1.
    [[nodiscard]] virtual int FindFreeSoundId() = 0;
    [[nodiscard]] virtual int CountLoadedSounds() = 0;
};

} // namespace Lumo

#pragma once
// One playing copy of a loaded sound: a duplicate of the sound's source buffer
// (sharing its samples) with its own volume, pan and pitch. Without a source
// buffer (no sound device) the instance is silent and every call is harmless.
// Made only by DSoundManager::CreateInstance; main thread only.
#include "audio/SoundInstance.h"
#include "platform/audio/DirectSoundApi.h"
#include <cstdint>

namespace Lumo {

class DSoundManager;

// The attenuation law: v (clamped to 0..1) to hundredths of a decibel,
// (log10(9v + 1) - 1) * 2333 truncated, and -10000 (silence) below -2000.
int VolumeToAttenuation(double volume);
// The pitch law: base * 2^(steps/12), clamped to 100..100000 Hz, truncated.
uint32_t PitchToFrequency(double steps, uint32_t baseFrequency);

class DSoundInstance final : public SoundInstance
{
public:
    // Duplicates source (when not null) through the manager's device; a
    // failed duplication ends the process (see DSoundManager).
    DSoundInstance(DSoundManager* manager, IDirectSoundBuffer* source);
    ~DSoundInstance() override;
    DSoundInstance(const DSoundInstance&) = delete;
    DSoundInstance& operator=(const DSoundInstance&) = delete;

    void Discard() override;
    void SetDefaultVolume(double volume) override;
    void SetDefaultPan(int pan) override;
    void SetPitch(double steps) override;
    void SetVolume(double volume) override;
    void SetPan(int pan) override;
    bool Play(bool looping, bool autoDiscard) override;
    void Stop() override;
    bool IsPlaying() override;
    bool IsDiscarded() override;
    double GetVolume() override;

    // Sends default volume x volume x the manager's effects volume to the buffer.
    void ApplyVolume();
    // Sends default pan + pan to the buffer (out of range: the buffer refuses).
    void ApplyPan();

    bool HasBuffer() const { return mSoundBuffer != nullptr; }
    bool IsAutoDiscard() const { return mAutoDiscard; }
    void SetAutoDiscard(bool autoDiscard) { mAutoDiscard = autoDiscard; }

private:
    DSoundManager* mManager;
    IDirectSoundBuffer* mSourceSound;            // not owned; only used to duplicate
    IDirectSoundBuffer* mSoundBuffer = nullptr;  // owned duplicate
    bool mAutoDiscard = false;
    bool mStarted = false;
    bool mDiscarded = false;
    int mDefaultPan = 0;
    double mDefaultVolume = 1.0;
    int mPan = 0;
    double mVolume = 1.0;
    uint32_t mBaseFrequency = 44100;
};

} // namespace Lumo

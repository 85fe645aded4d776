#pragma once
// One playing copy of a loaded sound. An instance belongs to the SoundManager
// that created it: callers keep the pointer while they use it and never delete
// it; Discard hands it back (the manager frees it on its next sweep).
// All calls come from the main thread.

namespace Lumo {

class SoundInstance
{
public:
    virtual ~SoundInstance() = default;

    // Marks the instance as finished with; the manager reclaims its channel.
    virtual void Discard() = 0;
    // The volume factor (0..1) and pan that SetVolume and SetPan combine with.
    // Pan is in hundredths of a decibel: -10000 (left only) .. 10000 (right
    // only); the default pan and the pan term are summed.
    virtual void SetDefaultVolume(double volume) = 0;
    virtual void SetDefaultPan(int pan) = 0;
    // Pitch shift in semitone steps (0 = the sound's own pitch).
    virtual void SetPitch(double steps) = 0;
    // Volume 0..1, multiplied by the default volume and the effects volume.
    virtual void SetVolume(double volume) = 0;
    // Pan added to the default pan.
    virtual void SetPan(int pan) = 0;
    // Starts playback from the beginning; autoDiscard discards the instance
    // when it stops. False when it cannot play.
    virtual bool Play(bool looping, bool autoDiscard) = 0;
    virtual void Stop() = 0;
    [[nodiscard]] virtual bool IsPlaying() = 0;
    [[nodiscard]] virtual bool IsDiscarded() = 0;
    [[nodiscard]] virtual double GetVolume() = 0;
};

} // namespace Lumo

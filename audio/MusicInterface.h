#pragma once
// The music player interface, addressed by song id. This class is also the
// silent player the application uses when sound is switched off: every
// operation here does nothing (LoadMusic and IsPlaying answer false). The
// players over the music libraries derive from it. Main thread only.
#include <string>

namespace Lumo {

class MusicInterface
{
public:
    virtual ~MusicInterface() = default;

    virtual bool LoadMusic(int id, const std::string& fileName);
    // offset: where to start (a position in the song, as the player counts it).
    virtual void PlayMusic(int id, int offset, bool noLoop);
    virtual void StopMusic(int id);
    virtual void PauseMusic(int id);
    virtual void ResumeMusic(int id);
    virtual void StopAllMusic();
    virtual void UnloadMusic(int id);
    virtual void UnloadAllMusic();
    virtual void PauseAllMusic();
    virtual void ResumeAllMusic();
    // speed: volume change per update (0..1 scale).
    virtual void FadeIn(int id, int offset, double speed, bool noLoop);
    virtual void FadeOut(int id, bool stopWhenFaded, double speed);
    virtual void FadeOutAll(bool stopWhenFaded, double speed);
    virtual void SetSongVolume(int id, double volume);
    virtual void SetSongMaxVolume(int id, double volume);
    [[nodiscard]] virtual bool IsPlaying(int id);
    // Master music volume 0..1.
    virtual void SetMusicVolume(double volume);
    virtual void SetAmplification(int id, double value);
    // Called once per update (10 ms); advances fades.
    virtual void Update();
};

} // namespace Lumo

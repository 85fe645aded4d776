#pragma once
// One update of a song's fade, shared by the music players: the volume moves
// by its step and stops at the cap (fading in) or at 0 (fading out), which
// ends the fade.

namespace Lumo {

// True when this step ended a fade-out at 0 (the player then stops the song
// when it was asked to stop once faded). Nothing happens when step is 0.
inline bool StepMusicFade(double& volume, double& step, double cap)
{
    if (step == 0.0)
        return false;
    volume += step;
    if (volume > cap)
    {
        volume = cap;
        step = 0.0;
    }
    else if (volume < 0.0)
    {
        volume = 0.0;
        step = 0.0;
        return true;
    }
    return false;
}

} // namespace Lumo

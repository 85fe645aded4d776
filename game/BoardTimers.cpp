// The per-tick animation timers, which run on every screen.
#include "game/Board.h"

#include "app/Random.h"
#include "game/FixedTrig.h"
#include "game/GameApp.h"

namespace Lumo {

void Board::computeSinCos(int degrees)
{
    const SinCos sc = FixedSinCos(degrees);
    sinValue = sc.sine;
    cosValue = sc.cosine;
}

void Board::updateTimers()
{
    const int tick = mUpdateCnt;
    timeCounter += 0.01f;
    if (tick % 2 == 0)
    {
        blinkAlpha += blinkStep;
        if (blinkAlpha <= 0 || blinkAlpha >= 255)
            blinkStep = -blinkStep;
    }
    if (tick % 20 == 0)
        ++twentiethTick;
    ++frameTick;
    if (tick % 3 == 0)
    {
        bounceHeight += bounceSpeed;
        if (--bounceSpeed < -14)
            bounceSpeed = 14;
        --cloudScroll;
        ++cursorTick;
    }
    ++pulseAngle;
    shakeX = RandomBelow(8) - 4;
    shakeY = RandomBelow(8) - 4;
    if (--swingTimer <= 0)
    {
        swingTimer = 20;
        swingStep = -swingStep;
    }
    swingAngle += swingStep;
    if (++cursorFrame > 20)
        cursorFrame = 0;
    if (tick % 10 == 0)
        updateCharacterAnimation();
    if (fadeInAlpha < 255)
        fadeInAlpha += 5;
    if (tick % 5 == 0)
        ++panelTick;
}

void Board::updateCharacterAnimation()
{
    ++moodFrame;
    if (state != STATE_PLAYING || chapterComplete || mood > MOOD_BLISS || character < 0 ||
        character > CHARACTER_WITCH)
        return;
    if (moodFrame >= imageCelColumns(character * 6 + mood))
        setMood(MOOD_IDLE); // a one-off mood returns to idle when its strip ends
}

} // namespace Lumo

// A hash of the whole rule state, so two runs can be compared tick by tick.
#include "game/Board.h"

#include <cstring>
#include <type_traits>

namespace Lumo {

namespace {

class StateHasher
{
public:
    template <typename T>
    void Add(const T& value)
    {
        static_assert(std::is_trivially_copyable_v<T>);
        unsigned char bytes[sizeof(T)];
        std::memcpy(bytes, &value, sizeof(T));
        for (unsigned char b : bytes)
        {
            mHash ^= b;
            mHash *= 0x100000001b3ULL;
        }
    }
    uint64_t Get() const { return mHash; }

private:
    uint64_t mHash = 0xcbf29ce484222325ULL;
};

} // namespace

uint64_t Board::stateHash() const
{
    StateHasher h;
    h.Add(mUpdateCnt);
    h.Add(grid), h.Add(selected), h.Add(falling), h.Add(fallOffset), h.Add(cellFrame);
    h.Add(state), h.Add(mode), h.Add(chapter), h.Add(colourCount), h.Add(wildcardChance), h.Add(bombChance);
    h.Add(skullChance), h.Add(highestColour);
    h.Add(chainActive), h.Add(chainColour), h.Add(chainLength), h.Add(lastCol), h.Add(lastRow);
    h.Add(cursorX), h.Add(cursorY), h.Add(cursorFrame);
    h.Add(chainScore), h.Add(score), h.Add(totalScore), h.Add(highScores), h.Add(stats);
    h.Add(combo), h.Add(comboTimer), h.Add(comboTimerStart), h.Add(comboPopupValue), h.Add(comboPopupX);
    h.Add(comboPopupHold), h.Add(comboPopupAlpha), h.Add(comboPopupActive);
    h.Add(popupX), h.Add(popupY), h.Add(popupTimer), h.Add(popupAlpha);
    h.Add(cancelColour), h.Add(cancelX), h.Add(cancelY), h.Add(cancelAlpha), h.Add(cancelTimer);
    h.Add(fallPending), h.Add(fallSpeed), h.Add(fallStep), h.Add(fallDelay);
    h.Add(movesFound), h.Add(hintCol), h.Add(hintRow), h.Add(hintTimer);
    h.Add(smartBombColour), h.Add(smartBombRunning), h.Add(smartBombWaiting), h.Add(smartBombCountdown);
    h.Add(smartBombsAwarded), h.Add(smartBombCharge), h.Add(smartBombRayCount), h.Add(smartBombAngle);
    h.Add(smartBombAngleStep), h.Add(smartBombRayIndex);
    h.Add(breadInPlay), h.Add(toastMovesLeft), h.Add(toastFlying), h.Add(toastX), h.Add(toastY);
    h.Add(toastSpeedX), h.Add(toastSpeedY), h.Add(toastFrame);
    h.Add(glassFill), h.Add(glassPending);
    h.Add(isGameOver), h.Add(chapterComplete), h.Add(gameOverTimer), h.Add(flashCol), h.Add(flashRow);
    h.Add(introShowing), h.Add(introRunning), h.Add(introZoom), h.Add(introBurst), h.Add(introBurstRadius);
    h.Add(introBurstStrength), h.Add(bannerY), h.Add(bannerSpeed), h.Add(bannerAlpha), h.Add(bannerAlpha2);
    h.Add(toastBannerAlpha), h.Add(goSoundPlayed);
    h.Add(mood), h.Add(character), h.Add(moodFrame);
    h.Add(tutorial), h.Add(scriptPos), h.Add(scriptCountdown), h.Add(scriptDX), h.Add(scriptDY);
    h.Add(tutorialPage);
    h.Add(sparkleCol), h.Add(sparkleRow), h.Add(slowTick), h.Add(fifthTick), h.Add(energyBallTick);
    h.Add(energyBallMoving), h.Add(energyBallX), h.Add(energyBallY), h.Add(energyBallTargetX);
    h.Add(energyBallTargetY);
    h.Add(hudAlpha), h.Add(explosionsRunning), h.Add(explosionFrame), h.Add(explosionFrame2);
    h.Add(bubbleTimer), h.Add(endingTimer);
    h.Add(explosionType), h.Add(explosionX), h.Add(explosionY), h.Add(explosionCount);
    for (const Particle& p : particles)
        h.Add(p.type), h.Add(p.x), h.Add(p.y), h.Add(p.life), h.Add(p.vx), h.Add(p.vy);
    h.Add(nextParticle);
    h.Add(pauseHover), h.Add(leftDown), h.Add(rightDown), h.Add(middleDown), h.Add(mouseX), h.Add(mouseY);
    h.Add(inTransition), h.Add(fadeStep), h.Add(fadeAlpha), h.Add(fadeTarget);
    h.Add(currentMenu), h.Add(menuItemCount), h.Add(menuItems), h.Add(hoverItem), h.Add(lastHoverItem);
    h.Add(menuSlide), h.Add(statsSlide), h.Add(wobbleAngle), h.Add(menuTextAlpha);
    h.Add(letterOffset), h.Add(letterSpeed), h.Add(tickerX), h.Add(tickerDelay);
    h.Add(musicVolume), h.Add(soundVolume), h.Add(eveningFlag);
    h.Add(textPanelHeight), h.Add(aboutScroll), h.Add(scrollBarTop), h.Add(scrollBarLength);
    h.Add(scrollPercent);
    h.Add(blinkAlpha), h.Add(blinkStep), h.Add(twentiethTick), h.Add(frameTick), h.Add(bounceHeight);
    h.Add(bounceSpeed), h.Add(cloudScroll), h.Add(cursorTick), h.Add(pulseAngle), h.Add(shakeX);
    h.Add(shakeY), h.Add(swingTimer), h.Add(fadeInAlpha), h.Add(panelTick);
    return h.Get();
}

} // namespace Lumo

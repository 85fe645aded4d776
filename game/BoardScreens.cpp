// Screens and the fades between them.
#include "game/Board.h"

#include "app/Random.h"
#include "audio/MusicInterface.h"
#include "game/GameApp.h"

#include <algorithm>

namespace Lumo {

void Board::startTransition(int target, int direction)
{
    inTransition = true;
    fadeTarget = target;
    if (direction == 1)
    {
        fadeStep = 8;
        fadeAlpha = 0;
        return;
    }
    fadeStep = -8;
    fadeAlpha = 255;
    if (direction == -1)
    {
        // Every fade-in replays the menu's slide-in.
        menuSlide = 0;
        statsSlide = 0;
        menuTextAlpha = 0;
    }
}

void Board::updateTransition()
{
    if (!inTransition)
        return;
    fadeAlpha += fadeStep;
    if (fadeAlpha >= 1 && fadeAlpha <= 254)
        return;
    inTransition = false;
    if (fadeTarget == -1)
        return; // a fade-in has finished
    state = fadeTarget;
    fadeAlpha = 255;
    switch (fadeTarget)
    {
    case STATE_MENUS:
        enterMenus();
        break;
    case STATE_PLAYING:
        // The next Story chapter once the glass is full. The units still being
        // poured count as in the glass: the chapter was completed when they
        // were cleared, and it must not be played again.
        if (mode == MODE_STORY && glassFill + glassPending >= chapter * 48 + 128)
        {
            ++chapter;
            character = std::min(chapter, 4);
        }
        newGame();
        break;
    case STATE_STORY_ENDING:
        // The story is over, as a game is at its game over: points still
        // being counted up are banked and the records saved.
        totalScore += score;
        score = 0;
        raiseHighScore();
        saveGameData();
        menuSlide = 0;
        statsSlide = 0;
        textPanelHeight = -1;
        setMood(MOOD_PANIC);
        // No menu shows here, so no hover is ever found: one left over from
        // the pause menu would turn a button held through the fade into
        // "Resume" once the texts are in.
        hoverItem = -1;
        break;
    case STATE_QUIT:
        app->Shutdown();
        break;
    default:
        break;
    }
    startTransition(-1, -1);
}

void Board::resetScreenTimers()
{
    timeCounter = 0.0f;
    blinkAlpha = 0;
    blinkStep = 5;
    twentiethTick = 0;
    bounceHeight = 0;
    bounceSpeed = 14;
    cloudScroll = 0;
    cursorTick = 0;
    shakeX = shakeY = 0;
    swingAngle = -0.1f;
    swingStep = 0.01f;
    swingTimer = 20;
    panelTick = 0;
    cursorFrame = 0;
    slowTick = fifthTick = energyBallTick = 0;
    hudAlpha = 0;
}

void Board::enterMenus()
{
    state = STATE_MENUS;
    isGameOver = false;
    inTransition = false;
    fadeStep = 0;
    fadeAlpha = 0;
    fadeTarget = -1;
    leftDown = rightDown = middleDown = false;
    chainActive = false;
    aboutScroll = 0;
    scrollPercent = 0;
    const int cornerHeight = imageHeight(IMAGE_MENU_CORNER_TL);
    scrollBarLength = mHeight - 4 * cornerHeight;
    scrollBarTop = 2 * cornerHeight;
    glassFill = 300;
    tickerX = 32;
    tickerDelay = 400;
    resetScreenTimers();
    for (int i = 0; i < kTitleLetters; ++i)
    {
        letterOffset[i] = -128 - RandomBelow(512);
        letterSpeed[i] = RandomBelow(3) + 1;
    }
    setMenu(MENU_MAIN);
    MusicInterface* music = app->mMusicInterface;
    if (music != nullptr && !music->IsPlaying(MUSIC_THEME))
    {
        music->StopAllMusic();
        (void)music->LoadMusic(MUSIC_THEME, GameMusicFile(MUSIC_THEME));
        music->PlayMusic(MUSIC_THEME, 0, false);
    }
}

} // namespace Lumo

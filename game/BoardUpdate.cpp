// The per-tick update: the screen dispatch, the play tick and a new game.
#include "game/Board.h"

#include "app/Random.h"
#include "game/BoardLayout.h"
#include "game/GameApp.h"

#include <algorithm>

namespace Lumo {

void Board::Update()
{
    Widget::Update(); // advances the tick
    updateTimers();
    // What the previous frame's drawing would have measured, computed here so
    // that the rules never depend on a frame being drawn.
    computeMenuHover();
    updateTextPanelMeasure();
    switch (state)
    {
    case STATE_SPLASH:
        if (!inTransition)
            startTransition(STATE_MENUS, 1);
        break;
    case STATE_MENUS:
    case STATE_PAUSED:
        updateMenu(true);
        break;
    case STATE_PLAYING:
        updatePlaying();
        break;
    case STATE_STORY_ENDING:
        updateStoryEnding();
        break;
    case STATE_STATS:
    case STATE_ABOUT:
        updateMenu(true);
        if (leftDown)
            updateAboutClick();
        break;
    default:
        break;
    }
    updateTransition();
    MarkDirty();
}

void Board::updateStoryEnding()
{
    updateMenu(true);
    if (--endingTimer < 0)
    {
        endingTimer = 50;
        const int type = RandomBelow(5);
        const int row = RandomBelow(11) + 11;
        const int column = RandomBelow(7);
        addExplosion(column, row, type);
    }
    updateParticles();
}

void Board::updateAboutClick()
{
    if (state == STATE_ABOUT)
    {
        const int barWidth = menuBarWidth(BoardLayout::kTextPanelFullWidth);
        const int columnX = 512 + barWidth / 2;
        if (mouseX >= columnX)
        {
            // The scroll column (from the panel's right edge on): the click
            // never leaves the screen, and while the button is held dragging
            // keeps scrolling; only a click beyond the edge scrolls.
            if (textPanelHeight > mHeight && mouseX > columnX && mouseY >= scrollBarTop &&
                mouseY <= scrollBarTop + scrollBarLength && scrollBarLength > 0)
            {
                scrollPercent = (mouseY - scrollBarTop) * 100 / scrollBarLength;
                aboutScroll = (mHeight - 4 * imageHeight(IMAGE_MENU_CORNER_TL) - textPanelHeight) *
                              scrollPercent / 100;
            }
            return;
        }
    }
    playSound(SOUND_SELECT_OPTION);
    startTransition(STATE_MENUS, 1);
    leftDown = false;
}

void Board::updatePlaying()
{
    if (!isGameOver)
        pauseHover = BoardLayout::IsOnCentredImage(mouseX, mouseY, 139, 294, imageWidth(IMAGE_BUTTON_PAUSE),
                                                   imageHeight(IMAGE_BUTTON_PAUSE));
    if (tutorial)
    {
        stepTutorial();
        updateMenu(false);
    }
    updateSpecialBlobs();
    if (introShowing)
    {
        updateMenu(false);
        updateParticles();
        return;
    }
    if (!inTransition && hudAlpha < 255)
        hudAlpha += ((255 - hudAlpha) >> 6) + 1;
    if (mUpdateCnt % 3 == 0)
        updateIntro();
    if (isGameOver)
    {
        updateGameOver();
        updateMenu(true);
    }
    if (toastFlying && mUpdateCnt % 4 == 0)
        updateToastFlight();
    updatePlayTimers();
    if (smartBombRunning && mUpdateCnt % 3 == 0)
        updateSmartBomb();
    if (mUpdateCnt % 5 == 0 && !introRunning && !chapterComplete && !smartBombRunning && comboTimer > 0)
    {
        if (--comboTimer == 0)
        {
            combo = 1;
            playSound(SOUND_COMBO_OVER);
        }
    }
    if (mUpdateCnt % 2 == 0)
        updateFalling();
    updateComboPopup();
    updateGlassAndWater();
    if (mode == MODE_PANIC && --bubbleTimer < 0)
    {
        playSound(SOUND_BUBBLE_0 + RandomBelow(5));
        bubbleTimer = 500 + RandomBelow(500);
    }
    updateScoreCountUp();
    updateParticles();
}

void Board::updateIntro()
{
    // Every 3rd tick. The zoom grows until it reaches 100; only from the next
    // call on does the "at 100" part run (the burst, the banner, the fade of
    // the second banner).
    if (introRunning)
    {
        if (introZoom < 100)
        {
            introZoom += ((100 - introZoom) >> 3) + 1;
            if (introZoom == 100)
                playSound(SOUND_INTRO);
        }
        else
        {
            introBurst = true;
            updateBanner();
            if (bannerY >= 384 && bannerSpeed == 0)
                bannerAlpha2 = bannerAlpha2 - (bannerAlpha2 >> 3) - 1;
            if (bannerAlpha2 < 100)
            {
                introRunning = false;
                introBurst = true;
            }
        }
    }
    if (introBurst)
    {
        introBurstRadius += 8;
        introBurstStrength = introBurstStrength - (introBurstStrength >> 3) - 1;
        if (introBurstStrength < 0)
            introBurst = false;
    }
    if (isGameOver || toastFlying || chapterComplete)
        updateBanner();
}

void Board::updateToastFlight()
{
    ++toastFrame;
    if (bannerY > 383 && bannerSpeed == 0)
        toastBannerAlpha = toastBannerAlpha - (toastBannerAlpha >> 3) - 1;
    toastX += toastSpeedX;
    toastY += toastSpeedY;
    toastSpeedY += 2;
    if (toastY > mHeight)
        toastFlying = false;
}

void Board::updatePlayTimers()
{
    --hintTimer;
    if (cancelTimer > 0)
        --cancelTimer;
    else if (cancelAlpha > 0)
        cancelAlpha -= 8; // rests at or just below 0 once faded
    if (explosionsRunning && mUpdateCnt % 6 == 0)
    {
        ++explosionFrame;
        ++explosionFrame2;
        // The animation ends once the frame would pass the skull explosion's
        // last cel, so the drawing never sees a cel outside the strip.
        if (explosionFrame >= imageCelColumns(IMAGE_SKULL_DEATH))
            explosionsRunning = false;
    }
}

void Board::updateComboPopup()
{
    if (!comboPopupActive)
        return;
    if (comboPopupX > 0 && comboPopupHold > 0)
    {
        comboPopupX = comboPopupX - (comboPopupX >> 1) - 1;
        return;
    }
    if (--comboPopupHold < 0)
    {
        comboPopupAlpha -= 2;
        if (comboPopupAlpha < 0)
            comboPopupActive = false;
    }
}

void Board::updateGlassAndWater()
{
    if (mUpdateCnt % 5 != 0 || introRunning || isGameOver)
        return;
    if (mode == MODE_PANIC && !smartBombRunning)
    {
        --glassFill;
        if (glassFill + glassPending <= 0)
        {
            gameOver();
            return;
        }
    }
    if (glassPending > 0)
    {
        --glassPending;
        ++glassFill;
    }
}

void Board::updateScoreCountUp()
{
    const int moved = score > 100 ? 100 : score;
    score -= moved;
    totalScore += moved;
    raiseHighScore();

    if (popupTimer > 0)
    {
        --popupTimer;
        popupY = std::max(0, popupY - popupTimer);
    }
    else if (popupAlpha > 0)
    {
        --popupAlpha;
    }
}

void Board::updateBanner()
{
    bannerY += bannerSpeed;
    if (introZoom >= 100 && bannerAlpha > 0)
        bannerAlpha = bannerAlpha - (bannerAlpha >> 3) - 1;
    if (bannerY < 384)
    {
        ++bannerSpeed;
        return;
    }
    if (!goSoundPlayed)
    {
        goSoundPlayed = true;
        playSound(SOUND_GO);
    }
    bannerSpeed = -(bannerSpeed / 3);
    bannerY = 384;
}

void Board::setMood(int newMood)
{
    mood = newMood;
    moodFrame = 0;
}

void Board::newGame()
{
    resetGameCounters();
    resetGrid();
    cancelChain(false);
    // Every game's introduction panel is measured for its own text.
    textPanelHeight = -1;
    if (tutorial)
    {
        (void)readFile();
        introShowing = introRunning = false;
        tutorialPage = 0;
        cursorX = 512;
        cursorY = 384;
        scriptPos = 0;
    }
    else
    {
        introShowing = introRunning = true;
    }
    resetPlayState();
    countMoves();

    bannerAlpha = bannerAlpha2 = 255;
    bannerY = -384;
    bannerSpeed = 1;
    introZoom = 0;
    clearExplosionQueue();

    glassFill = mode == MODE_PANIC ? 300 : 0;
    glassPending = 0;
    breadInPlay = toastFlying = false;
    toastMovesLeft = toastX = toastY = toastSpeedX = toastSpeedY = toastFrame = 0;
    toastBannerAlpha = 0;
    dropBread();

    gameOverTimer = 200;
    // In Toast the panic loop follows the bread alone, so nothing else would
    // stop one left over from the last game (a retry or restart with five
    // bread moves or fewer left): the fresh bread starts without it.
    if (mode == MODE_TOAST)
        stopMusic(MUSIC_PANIC);
    stopMusic(MUSIC_THEME);
    playMusic(MUSIC_GAME, true);
}

void Board::resetGameCounters()
{
    fallDelay = 0;
    energyBallMoving = false;
    if (mode != MODE_PANIC)
    {
        energyBallTargetX = imageWidth(IMAGE_COCKTAIL) / 2 + 139;
        energyBallTargetY = 752 - imageHeight(IMAGE_COCKTAIL);
    }
    else
    {
        energyBallTargetX = mWidth - 139;
        energyBallTargetY = 752 - imageHeight(IMAGE_WATER_COOLER) / 2;
    }
    energyBallX = energyBallY = energyBallTick = 0;

    for (auto& pair : stats)
        pair[0] = 0;
    if (!tutorial)
        addStat(STAT_GAMES_PLAYED, 1, 1);
    parkParticles();

    goSoundPlayed = false;
    fifthTick = 0;
    scriptPos = scriptCountdown = scriptDX = scriptDY = 0;
    mood = MOOD_IDLE;
    applyModeParameters();
    if (chapter < 1)
        totalScore = 0;

    glassFill = score = chainScore = 0;
    cancelAlpha = cancelTimer = 0;
    popupTimer = popupAlpha = 0;
    isGameOver = chapterComplete = introBurst = false;
    introBurstRadius = 0;
    introBurstStrength = 1024;
    slowTick = 0;
    if (totalScore == 0)
    {
        // A fresh game; a later Story chapter keeps these.
        combo = 1;
        comboTimer = comboTimerStart = 0;
        smartBombsAwarded = 0;
        smartBombCountdown = 50;
    }
    comboPopupActive = false;
    comboPopupValue = comboPopupX = comboPopupHold = 0;
    comboPopupAlpha = 255;
}

void Board::resetPlayState()
{
    fallPending = false;
    fallSpeed = fallStep = 0;
    lastCol = lastRow = -1;
    chainColour = -2;
    chainLength = 0;
    cursorFrame = 0;
    moodFrame = 0;
    pulseAngle = fadeInAlpha = frameTick = panelTick = 0;
    explosionsRunning = false;
    explosionFrame = explosionFrame2 = 0;
    clearExplosionQueue();
    // The smart bomb's sequence and any waiting award end with the game; the
    // countdown and the number awarded carry over as resetGameCounters left them.
    smartBombRunning = smartBombWaiting = false;
    smartBombCharge = smartBombRayCount = smartBombAngle = smartBombAngleStep = smartBombRayIndex = 0;
    smartBombColour = 0;
}

void Board::resetGrid()
{
    for (int c = 0; c < kColumns; ++c)
    {
        for (int r = 0; r < kRows; ++r)
        {
            generateBlob(c, r);
            const int index = cellIndex(c, r);
            selected[index] = 0;
            cellFrame[index] = 0;
            falling[index] = 0;
            fallOffset[index] = 0;
        }
    }
}

} // namespace Lumo

// Special blobs: the bomb's blast, the smart bomb, Toast's bread and toaster,
// and the per-tick animation of special cells and of the hint cell.
#include "game/Board.h"

#include "app/Random.h"
#include "game/GameApp.h"

#include <cstdlib>

namespace Lumo {

void Board::explodeBomb(int column, int row)
{
    setMood(MOOD_ELATED);
    fallDelay = 20;
    selected[cellIndex(column, row)] = 1;
    clearBlob(column, row);
    addExplosion(column, row, BLOB_BOMB);
    // The diamond of radius 2 around the bomb, without its centre.
    for (int dy = -2; dy <= 2; ++dy)
    {
        for (int dx = -2; dx <= 2; ++dx)
        {
            const int distance = std::abs(dx) + std::abs(dy);
            if (distance < 1 || distance > 2 || !isCellVisible(column + dx, row + dy))
                continue;
            selected[cellIndex(column + dx, row + dy)] = 1;
        }
    }
}

void Board::startSmartBomb()
{
    setMood(MOOD_BLISS);
    chainColour = smartBombColour;
    smartBombCharge = 0;
    smartBombAngleStep = 0;
    smartBombRunning = true;
    smartBombAngle = 1;
    smartBombRayCount = 1;
    playSound(SOUND_SMARTBOMB);
}

void Board::updateSmartBomb()
{
    if (smartBombCharge < 100)
    {
        smartBombCharge += ((100 - smartBombCharge) >> 2) + 1;
        if (smartBombCharge == 100)
            playSound(SOUND_SCREAM);
        return;
    }
    if (smartBombRayCount < 8)
        ++smartBombRayCount;
    ++smartBombAngleStep;
    smartBombAngle += smartBombAngleStep;
    if (++smartBombRayIndex >= 22)
        smartBombRayIndex = 0;
    if (smartBombAngle < 1080)
        return;

    smartBombRunning = false;
    // A chain of length 4 with nothing selected yet: statistics, combo, the
    // chain's base score; its removal resets the chain length to 0, so the
    // colour cells below score nothing and smart bombs 1000 each.
    completeChain();
    selectSmartBombTargets();
    smartBombWaiting = false;
    removeSelectedBlobs();
    playSound(SOUND_SMARTBOMB_EXPLOSION);
}

void Board::selectSmartBombTargets()
{
    for (int r = kFirstVisibleRow; r <= kLastRow; ++r)
        for (int c = 0; c < kColumns; ++c)
        {
            const int type = cellType(c, r);
            if (type == smartBombColour || type == BLOB_SMART_BOMB)
                selected[cellIndex(c, r)] = 1;
        }
}

void Board::dropBread()
{
    if (mode != MODE_TOAST || breadInPlay)
        return;
    breadInPlay = true;
    toastMovesLeft = 20;
    grid[cellIndex(2 + RandomBelow(3), kFirstVisibleRow)] = BLOB_BREAD;
}

void Board::toastBread(int column, int row)
{
    setMood(MOOD_ELATED);
    stopMusic(MUSIC_PANIC);
    playSound(SOUND_TOAST);
    playSound(SOUND_MONKEY_TOAST);
    breadInPlay = false;
    selected[cellIndex(column, row)] = 1;
    clearBlob(column, row);
    toastFlying = true;
    toastX = column * 56 + 344;
    toastY = 654;
    toastSpeedX = RandomBelow(32) - 16;
    toastSpeedY = -60;
    bannerY = -384;
    bannerSpeed = 1;
    bannerAlpha = 255;
    toastBannerAlpha = 255;
}

void Board::updateSpecialBlobs()
{
    sparkleCol = RandomBelow(7);
    sparkleRow = RandomBelow(11) + 11;

    if (mUpdateCnt % 100 == 0 && !smartBombRunning)
    {
        highestColour = computeHighestColour();
        if (++smartBombColour > highestColour)
            smartBombColour = 0;
    }

    if (energyBallMoving)
    {
        const int stepX = (energyBallTargetX - energyBallX) >> 4;
        const int stepY = (energyBallTargetY - energyBallY) >> 4;
        energyBallX += stepX;
        energyBallY += stepY;
        if (stepX + stepY == 0)
            energyBallMoving = false;
    }

    if (mUpdateCnt % 3 == 0)
    {
        ++slowTick;
        ++energyBallTick;
    }

    if (mUpdateCnt % 5 != 0)
        return;
    ++fifthTick;
    for (int c = 0; c < kColumns; ++c)
    {
        for (int r = kFirstVisibleRow; r <= kLastRow; ++r)
        {
            const int index = cellIndex(c, r);
            if (c == hintCol && r == hintRow)
            {
                if (hintTimer < 0 && ++cellFrame[index] >= 20)
                {
                    cellFrame[index] = 0;
                    hintTimer = 100 + RandomBelow(100);
                }
            }
            else if (grid[index] == BLOB_WILDCARD)
            {
                if (++cellFrame[index] >= 20)
                    cellFrame[index] = 0;
            }
            else if (grid[index] == BLOB_BOMB)
            {
                if (++cellFrame[index] >= 12)
                    cellFrame[index] = 0;
            }
        }
    }
}

} // namespace Lumo

// Chains: starting, growing, cancelling and completing them, clearing cells,
// scoring and the combo.
#include "game/Board.h"

#include "game/GameApp.h"
#include "platform/DebugOutput.h"

#include <algorithm>

namespace Lumo {

namespace {

// The twelve start patterns: the path start -> first -> second, as (dx, dy)
// offsets from the start cell (rows grow downward).
struct StartPattern
{
    int dx1, dy1, dx2, dy2;
};

constexpr StartPattern kStartPatterns[12] = {
    {-1, 0, -2, 0}, {0, -1, 0, -2}, {1, 0, 2, 0},   {0, 1, 0, 2},   {-1, 0, -1, 1}, {0, -1, -1, -1},
    {1, 0, 1, -1},  {0, 1, 1, 1},   {-1, 0, -1, -1}, {0, -1, 1, -1}, {1, 0, 1, 1},   {0, 1, -1, 1},
};

constexpr int kNeighbourDX[4] = {0, 1, 0, -1};
constexpr int kNeighbourDY[4] = {-1, 0, 1, 0};

void Trace(const char* text)
{
    Platform::DebugOutput(text);
}

} // namespace

bool Board::canStartChain(int column, int row, int colour)
{
    const int startClass = matchClass(cellType(column, row));
    if (startClass == -3)
        return false;
    auto tryColour = [&](int tried) {
        for (const StartPattern& p : kStartPatterns)
        {
            int count = 1;
            const int steps[2][2] = {{column + p.dx1, row + p.dy1}, {column + p.dx2, row + p.dy2}};
            for (const auto& step : steps)
            {
                const int c = step[0];
                const int r = step[1];
                if (!isCellVisible(c, r) || selected[cellIndex(c, r)])
                    continue; // adds nothing, the pattern goes on
                const int cls = matchClass(cellType(c, r));
                if (cls != tried && cls != -2)
                    break; // abandons the pattern
                if (++count == 3)
                    return true;
            }
        }
        return false;
    };
    if (startClass == -2)
    {
        Trace("this blob has no colour \n");
        for (int tried = 0; tried < 5; ++tried)
            if (tryColour(tried))
                return true;
        return false;
    }
    return tryColour(colour);
}

bool Board::isNextToLastSelected(int column, int row) const
{
    for (int i = 0; i < 4; ++i)
    {
        const int c = column + kNeighbourDX[i];
        const int r = row + kNeighbourDY[i];
        if (isCellVisible(c, r) && c == lastCol && r == lastRow)
            return true;
    }
    return false;
}

bool Board::checkForNeighbourOfSameColour(int column, int row, int colour, bool onlyUnselected)
{
    Trace("  checkForNeighbourOfSameColour \n");
    int count = 0;
    const int needed = onlyUnselected ? 1 : 2;
    for (int i = 0; i < 4; ++i)
    {
        const int c = column + kNeighbourDX[i];
        const int r = row + kNeighbourDY[i];
        if (!isCellVisible(c, r) || (onlyUnselected && selected[cellIndex(c, r)]))
            continue;
        const int cls = matchClass(cellType(c, r));
        if (cls != -3 && (cls == colour || cls == -2))
        {
            Trace("  neighbourColour == tileColour \n");
            if (++count >= needed)
                return true;
        }
    }
    return false;
}

bool Board::validCursorMove(int column, int row)
{
    if (!chainActive || smartBombRunning)
        return true;
    Trace("validCursorMove \n");
    if (!isCellVisible(column, row) || !isNextToLastSelected(column, row))
        return false;
    const int index = cellIndex(column, row);
    const int cls = matchClass(grid[index]);
    if (selected[index] || cls == -3)
        return false;
    if (chainColour != -2 && cls != chainColour && cls != -2)
        return false;
    ++chainLength;
    selected[index] = 1;
    if (chainColour == -2)
        chainColour = cls;
    if (tutorial || chainColour == -2)
        return true;
    Trace("Auto-cancel? \n");
    if (checkForNeighbourOfSameColour(column, row, chainColour, true))
        return true;
    return chainLength >= 3;
}

void Board::cursorMoved()
{
    if (!chainActive)
        return;
    if (!isCursorInField())
    {
        cancelChain(true);
        return;
    }
    const int column = cursorColumn();
    const int row = cursorRow();
    if (column == lastCol && row == lastRow)
        return;
    if (!validCursorMove(column, row))
    {
        cancelChain(true);
        return;
    }
    lastCol = column;
    lastRow = row;
    playSound(SOUND_BLOB_SELECT);
}

void Board::gameClick()
{
    if (chainActive)
    {
        completeActiveChain();
        return;
    }
    if (!isCursorInField())
        return;
    explosionCount = 0;
    const int column = cursorColumn();
    const int row = cursorRow();
    const int type = cellType(column, row);
    if (type == BLOB_BOMB)
    {
        chainLength = 4;
        explodeBomb(column, row);
        sweepBombs();
        completeChain();
        playSound(SOUND_BOMB_EXPLOSION);
        chainActive = false;
    }
    else if (type == BLOB_SMART_BOMB)
    {
        chainLength = 4;
        startSmartBomb();
        chainActive = false;
    }
    else
    {
        startChainAt(column, row);
    }
}

void Board::sweepBombs()
{
    // Bombs caught in a blast explode in turn until a sweep finds none.
    bool found = true;
    while (found)
    {
        found = false;
        for (int c = 0; c < kColumns; ++c)
            for (int r = kFirstVisibleRow; r <= kLastRow; ++r)
                if (isCellVisible(c, r) && cellType(c, r) == BLOB_BOMB && selected[cellIndex(c, r)])
                {
                    explodeBomb(c, r);
                    found = true;
                }
    }
}

void Board::startChainAt(int column, int row)
{
    const int index = cellIndex(column, row);
    const int cls = matchClass(grid[index]);
    if (!canStartChain(column, row, cls))
    {
        chainColour = cls;
        cancelChain(true);
        return;
    }
    selected[index] = 1;
    chainColour = cls;
    lastCol = column;
    lastRow = row;
    chainLength = 1;
    chainActive = true;
    cursorFrame = 9;
    playSound(SOUND_ACTIVATE_CURSOR);
    Trace("cursor should now be active! \n ");
}

void Board::completeActiveChain()
{
    chainActive = false;
    if (chainLength < 3)
    {
        cancelChain(true);
        return;
    }
    if (chainLength >= 10)
        setMood(MOOD_BLISS);
    else if (chainLength >= 7)
        setMood(MOOD_ELATED);
    else if (chainLength >= 5)
        setMood(MOOD_HAPPY);
    explosionCount = 0;
    completeChain();
    if (mode == MODE_STORY)
    {
        energyBallMoving = true;
        energyBallX = cursorX;
        energyBallY = cursorY;
    }
}

void Board::cancelChain(bool withSound)
{
    if (withSound)
    {
        cancelColour = chainColour;
        cancelX = cursorX + 56;
        cancelY = cursorY;
        cancelAlpha = 255;
        cancelTimer = 50;
        playSound(SOUND_DEACTIVATE_CURSOR);
    }
    for (int r = kFirstVisibleRow; r <= kLastRow; ++r)
        for (int c = 0; c < kColumns; ++c)
            selected[cellIndex(c, r)] = 0;
    lastCol = -1;
    lastRow = -1;
    chainColour = -2;
    chainLength = 0;
    chainActive = false;
}

void Board::completeChain()
{
    addStat(STAT_CHAINS_MADE, 0, 1);
    keepBestStat(STAT_CHAINS_MADE);
    maxStat(STAT_LONGEST_CHAIN, 0, chainLength);
    keepBestStat(STAT_LONGEST_CHAIN);

    const int chains = stats[STAT_CHAINS_MADE][0];
    switch (mode)
    {
    case MODE_CASUAL:
    case MODE_PANIC:
        if (chains > 75)
            colourCount = 5;
        break;
    case MODE_TOAST:
        colourCount = chains < 25 ? 3 : (chains < 75 ? 4 : 5);
        break;
    case MODE_SKULL:
        colourCount = chains < 75 ? 4 : 5;
        break;
    default:
        break;
    }

    if (comboTimer > 0 && !smartBombRunning)
    {
        ++combo;
        if (combo > 1)
        {
            comboPopupValue = combo;
            comboPopupX = mWidth;
            comboPopupHold = 50;
            comboPopupAlpha = 255;
            comboPopupActive = true;
            maxStat(STAT_BIGGEST_COMBO, 0, combo);
            keepBestStat(STAT_BIGGEST_COMBO);
        }
    }

    chainScore = combo * 10;
    comboTimer = comboTimerStart = chainLength * 35;
    explosionsRunning = true;
    removeSelectedBlobs();
    playSound(SOUND_BLOB_EXPLOSION);
}

void Board::clearBlob(int column, int row)
{
    const int index = cellIndex(column, row);
    const int type = grid[index];
    if (!selected[index])
        return;
    if (type == BLOB_EMPTY)
    {
        // A blast can select a cell that an earlier blast of the same chain
        // reaction already emptied. Unselect it, or the blob that later falls
        // into it would be cleared with the next chain (or, being a bomb,
        // explode with the next blast).
        selected[index] = 0;
        return;
    }
    cellFrame[index] = 0;
    if (type == BLOB_WILDCARD || type == BLOB_BOMB)
        chainScore += 100;
    else if (type == BLOB_SMART_BOMB || type == BLOB_SKULL || type == BLOB_BREAD)
        chainScore += 1000;
    else
        chainScore += chainLength * 10;
    addExplosion(column, row, type);
    addStat(STAT_BLOBS_CLEARED, 0, 1);
    addStat(STAT_BLOBS_CLEARED, 1, 1);
    if (mode == MODE_STORY && !tutorial && !chapterComplete)
    {
        ++glassPending;
        if (glassFill + glassPending >= chapter * 48 + 128)
            completeStoryChapter();
    }
    else if (mode == MODE_PANIC)
    {
        glassFill = std::min(glassFill + 15, 300);
    }
    // A smart bomb that leaves the field in any way (a bomb blast included) is
    // no longer waiting to be fired, so the next one can be awarded.
    if (type == BLOB_SMART_BOMB)
        smartBombWaiting = false;
    selected[index] = 0;
    grid[index] = BLOB_EMPTY;
}

void Board::completeStoryChapter()
{
    stopMusic(MUSIC_GAME);
    chapterComplete = true;
    endingTimer = 0;
    playSound(SOUND_LEVEL_UP);
    bannerY = -384;
    bannerSpeed = 1;
    setMood(MOOD_ELATED);
}

void Board::bankChainScore()
{
    score += chainScore;
    maxStat(STAT_BEST_CHAIN_SCORE, 0, chainScore);
    keepBestStat(STAT_BEST_CHAIN_SCORE);
    addScorePopup(cursorX, cursorY);
}

void Board::addScorePopup(int x, int y)
{
    if (tutorial)
        return;
    popupX = x;
    popupY = y;
    popupAlpha = 255;
    popupTimer = 18;
}

} // namespace Lumo

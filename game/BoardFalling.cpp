// Falling, refill, move counting and the end of a game.
#include "game/Board.h"

#include "app/Random.h"
#include "game/GameApp.h"

#include <algorithm>

namespace Lumo {

namespace {

// Pixels a falling cell moves per step, by step number; 60 is one row.
constexpr int kFallSpeeds[10] = {0, 0, 1, 2, 4, 8, 16, 24, 40, 60};

} // namespace

void Board::removeSelectedBlobs()
{
    fallPending = true;
    fallSpeed = 0;
    fallStep = 0;
    for (int c = 0; c < kColumns; ++c)
    {
        for (int r = 0; r < kRows; ++r)
        {
            const int index = cellIndex(c, r);
            falling[index] = 0;
            fallOffset[index] = 0;
            if (!selected[index])
                continue;
            clearBlob(c, r);
            for (int above = 0; above < r; ++above)
                if (grid[cellIndex(c, above)] != BLOB_EMPTY)
                    falling[cellIndex(c, above)] = 1;
        }
    }
    bankChainScore();
    awardAfterRemoval();
    chainLength = 0;
    chainColour = -2;
}

void Board::awardAfterRemoval()
{
    // The award cell is row 10 of the last chain cell's column, by index
    // arithmetic: after a cancelled chain (lastCol -1) it is row 9, column 6.
    const int awardIndex = 10 * kColumns + lastCol;
    if (mode == MODE_SKULL && !tutorial)
    {
        if (chainLength == 3)
        {
            grid[awardIndex] = BLOB_SKULL;
            if (RandomBelow(5) == 0)
                playSound(SOUND_WITCH_LAUGH);
        }
        else if (chainLength >= 5)
        {
            grid[awardIndex] = BLOB_BOMB;
            playSound(SOUND_BOMB_AWARDED);
        }
    }
    if (!smartBombWaiting)
    {
        --smartBombCountdown;
        if (smartBombCountdown < 0)
        {
            ++smartBombsAwarded;
            smartBombCountdown = smartBombsAwarded * 10 + 50;
            grid[awardIndex] = BLOB_SMART_BOMB;
            smartBombWaiting = true;
        }
    }
}

void Board::updateFalling()
{
    if (fallDelay > 0)
    {
        --fallDelay;
        return;
    }
    if (!fallPending)
        return;
    if (fallSpeed < 60)
    {
        fallSpeed = kFallSpeeds[fallStep];
        ++fallStep;
    }
    if (hintCol != -1 && hintRow != -1)
        cellFrame[cellIndex(hintCol, hintRow)] = 0;

    bool stillFalling = false;
    for (int c = 0; c < kColumns; ++c)
    {
        for (int r = kLastRow; r >= 0; --r)
        {
            const int index = cellIndex(c, r);
            if (!falling[index])
                continue;
            if (r >= 10)
                stillFalling = true;
            fallOffset[index] += fallSpeed;
            if (fallSpeed == 60)
                shiftColumn(c, r);
        }
    }
    if (stillFalling)
        return;

    fallPending = false;
    countMoves();
    if (mode == MODE_TOAST)
    {
        if (breadInPlay)
        {
            --toastMovesLeft;
            if (toastMovesLeft <= 0)
            {
                gameOver();
            }
            else if (toastMovesLeft == 5)
            {
                playMusic(MUSIC_PANIC, true);
                setMood(MOOD_PANIC);
            }
        }
        else
        {
            dropBread();
        }
    }
    raiseHighScore();
}

void Board::shiftColumn(int column, int row)
{
    // The falling cell at `row` moves one row down and the whole column above
    // follows; a new blob comes in at row 0. A cell keeps falling only when
    // the cell below it (already moved in this pass) is empty.
    for (int k = row + 1; k >= 0; --k)
    {
        const int index = cellIndex(column, k);
        if (k + 1 < kRows && grid[cellIndex(column, k + 1)] == BLOB_EMPTY)
        {
            falling[index] = 1;
            fallOffset[index] = 0;
        }
        else
        {
            falling[index] = 0;
        }
        if (k > 0)
        {
            grid[index] = grid[cellIndex(column, k - 1)];
            cellFrame[index] = cellFrame[cellIndex(column, k - 1)];
            if (mode == MODE_TOAST && k == 20 && grid[index] == BLOB_BREAD)
                toastBread(column, 20);
        }
        else
        {
            generateBlob(column, 0);
            falling[index] = 0;
        }
    }
}

void Board::countMoves()
{
    movesFound = 0;
    hintCol = -1;
    hintRow = -1;
    hintTimer = 100 + RandomBelow(100);
    for (int c = 0; c < kColumns && movesFound <= 4; ++c)
    {
        for (int r = kFirstVisibleRow; r <= kLastRow && movesFound <= 4; ++r)
        {
            const int type = cellType(c, r);
            const bool counts = type == BLOB_BOMB || type == BLOB_SMART_BOMB || canStartChain(c, r, type);
            if (!counts)
                continue;
            ++movesFound;
            if (type >= BLOB_COLOUR_0 && type < BLOB_WILDCARD)
            {
                hintCol = c;
                hintRow = r;
            }
        }
    }
    if (movesFound == 0)
    {
        stopMusic(MUSIC_PANIC);
        // A Story chapter whose glass is full has been won: the field left
        // over after its last fall waits for the click to the next chapter
        // and never ends the game.
        if (!chapterComplete)
            gameOver();
    }
    else if (movesFound >= 4)
    {
        if (mode != MODE_TOAST)
            stopMusic(MUSIC_PANIC);
    }
    else if (mood != MOOD_PANIC)
    {
        setMood(MOOD_PANIC);
        if (mode != MODE_TOAST)
            playMusic(MUSIC_PANIC, true);
    }
}

void Board::gameOver()
{
    isGameOver = true;
    // The pause button cannot be used once the game is over; a stale hover
    // would swallow every click meant for the game-over menu.
    pauseHover = false;
    cancelChain(false);
    totalScore += score;
    score = 0;
    comboTimer = 0;
    combo = 1;
    raiseHighScore();
    saveGameData();
    gameOverTimer = movesFound > 0 ? 1 : 200;
    flashCol = RandomBelow(7);
    flashRow = RandomBelow(11) + 11;
    stopMusic(MUSIC_GAME);
}

void Board::drawFlashCell()
{
    // A flash lands on a cell holding a colour, a wildcard or nothing. When no
    // cell of the field qualifies the first draw is kept, so this never loops.
    bool anyQualifies = false;
    for (int r = kFirstVisibleRow; r <= kLastRow && !anyQualifies; ++r)
        for (int c = 0; c < kColumns; ++c)
            if (cellType(c, r) <= BLOB_WILDCARD)
            {
                anyQualifies = true;
                break;
            }
    do
    {
        flashCol = RandomBelow(7);
        flashRow = RandomBelow(11) + 11;
    } while (anyQualifies && cellType(flashCol, flashRow) > BLOB_WILDCARD);
}

void Board::updateGameOver()
{
    if (mode == MODE_PANIC && glassFill < 75)
        ++glassFill;
    if (gameOverTimer > 0 && mUpdateCnt % 4 == 0)
    {
        drawFlashCell();
        playSound(SOUND_BLOB_SELECT);
    }
    // The timer rests at -1 once it has run out (it only has to stay below 1).
    if (gameOverTimer > -1)
        --gameOverTimer;
    if (gameOverTimer == 0)
    {
        bannerSpeed = 1;
        bannerY = -96;
        setMenu(MENU_GAME_OVER);
        setMood(MOOD_GAMEOVER);
        stopMusic(MUSIC_GAME);
        playMusic(MUSIC_GAME_OVER, false);
    }
}

} // namespace Lumo

// Special blobs and the mode rules: bombs, the smart bomb, Skull awards, Toast's
// bread and toaster, Panic's water, Story's chapters and ending.
#include "GameTestSupport.h"

namespace Lumo::GameTest {
namespace {

int CountSelected(Board* board)
{
    int count = 0;
    for (uint8_t flag : board->selected)
        count += flag;
    return count;
}

TEST_F(BoardTest, ABombInTheCornerSelectsOnlyItsVisibleDiamond)
{
    StartGame(MODE_CASUAL);
    SetRows(Rows({}));
    board->grid[Board::cellIndex(0, 21)] = BLOB_BOMB;
    board->explodeBomb(0, 21);
    EXPECT_EQ(board->cellType(0, 21), BLOB_EMPTY);
    EXPECT_EQ(CountSelected(board), 5);
    EXPECT_EQ(board->explosionCount, 2); // the bomb cell is queued twice
    EXPECT_EQ(board->fallDelay, 20);
    EXPECT_EQ(board->mood, MOOD_ELATED);
}

TEST_F(BoardTest, BombsChainAndTheBlastScoresFortyPerColour)
{
    StartGame(MODE_CASUAL);
    SetRows(Rows({}));
    board->grid[Board::cellIndex(0, 21)] = BLOB_BOMB;
    board->grid[Board::cellIndex(2, 21)] = BLOB_BOMB;
    ClickAt(0, 21);
    // Nine coloured cells at 40 each, plus the chain's base 10; the bombs'
    // own points were added before the chain reset the chain score.
    EXPECT_EQ(board->score, 370);
    EXPECT_EQ(board->cellType(2, 21), BLOB_EMPTY);
    EXPECT_EQ(board->cellType(4, 21), BLOB_EMPTY);
    EXPECT_EQ(board->explosionCount, 13);
    EXPECT_EQ(app->CountSound(SOUND_BOMB_EXPLOSION), 1);
    EXPECT_FALSE(board->chainActive);
    EXPECT_EQ(board->fallDelay, 20);
    // The second blast reached the first bomb's emptied cell: no selection
    // is left behind for the blob that falls into it.
    EXPECT_EQ(CountSelected(board), 0);
    // The fall waits 20 steps, then runs.
    board->updateFalling();
    EXPECT_EQ(board->fallDelay, 19);
    SettleFall();
    EXPECT_EQ(CountSelected(board), 0);
}

TEST_F(BoardTest, TheSmartBombClearsItsColourAndScores1020WithNoCombo)
{
    StartGame(MODE_CASUAL);
    SetRows(Rows({"2W22012", "1201201"}));
    board->grid[Board::cellIndex(3, 15)] = BLOB_SMART_BOMB;
    board->smartBombColour = 2;
    board->smartBombWaiting = true;
    ClickAt(3, 15);
    ASSERT_TRUE(board->smartBombRunning);
    EXPECT_EQ(app->CountSound(SOUND_SMARTBOMB), 1);
    EXPECT_EQ(board->mood, MOOD_BLISS);
    ClickAt(0, 20); // clicks wait while the sequence runs
    EXPECT_FALSE(board->chainActive);
    int ticks = 0;
    while (board->smartBombRunning && ticks < 1000)
    {
        board->Update();
        ++ticks;
    }
    EXPECT_FALSE(board->smartBombRunning);
    EXPECT_GT(ticks, 150);
    EXPECT_EQ(app->CountSound(SOUND_SCREAM), 1);
    EXPECT_EQ(app->CountSound(SOUND_SMARTBOMB_EXPLOSION), 1);
    EXPECT_EQ(board->score + board->totalScore, 1020);
    EXPECT_FALSE(board->smartBombWaiting);
    EXPECT_EQ(board->cellType(1, 11), BLOB_WILDCARD);
    for (int r = 11; r <= 21; ++r)
        for (int c = 0; c < 7; ++c)
            EXPECT_NE(board->cellType(c, r), 2) << c << "," << r;
}

TEST_F(BoardTest, SmartBombsAreAwardedOnThe51stRemovalAndWaitToBeFired)
{
    StartGame(MODE_CASUAL);
    SetRows(Rows({}));
    board->lastCol = 4;
    for (int i = 0; i < 50; ++i)
        board->removeSelectedBlobs();
    EXPECT_FALSE(board->smartBombWaiting);
    board->removeSelectedBlobs();
    EXPECT_TRUE(board->smartBombWaiting);
    EXPECT_EQ(board->cellType(4, 10), BLOB_SMART_BOMB);
    EXPECT_EQ(board->smartBombsAwarded, 1);
    EXPECT_EQ(board->smartBombCountdown, 60);
    board->removeSelectedBlobs(); // no countdown while one waits
    EXPECT_EQ(board->smartBombCountdown, 60);

    // After a cancelled chain the award lands where the index arithmetic puts
    // it: row 10, column -1 is row 9, column 6.
    board->smartBombWaiting = false;
    board->smartBombCountdown = 0;
    board->cancelChain(false);
    board->removeSelectedBlobs();
    EXPECT_EQ(board->grid[69], BLOB_SMART_BOMB);
}

TEST_F(BoardTest, ABombBlastThatDestroysTheWaitingSmartBombFreesTheNextAward)
{
    StartGame(MODE_CASUAL);
    SetRows(Rows({}));
    board->grid[Board::cellIndex(0, 21)] = BLOB_BOMB;
    board->grid[Board::cellIndex(1, 21)] = BLOB_SMART_BOMB;
    board->smartBombWaiting = true;
    board->smartBombCountdown = 7;
    ClickAt(0, 21);
    EXPECT_FALSE(board->smartBombWaiting);
    EXPECT_EQ(board->smartBombCountdown, 6); // the blast's removal counts
    EXPECT_EQ(board->score, 10 + 1000 + 4 * 40);
}

TEST_F(BoardTest, SkullModeAwardsASkullForThreeAndABombForFive)
{
    StartGame(MODE_SKULL);
    EXPECT_EQ(board->bombChance, -1);
    SetRows(Rows({"0001234", "1111122"}));
    Chain({{0, 11}, {1, 11}, {2, 11}});
    EXPECT_EQ(board->cellType(2, 10), BLOB_SKULL);
    SettleFall();
    SetRows(Rows({"0001234", "1111122"}));
    app->sounds.clear();
    Chain({{0, 12}, {1, 12}, {2, 12}, {3, 12}, {4, 12}});
    EXPECT_EQ(board->cellType(4, 10), BLOB_BOMB);
    EXPECT_EQ(app->CountSound(SOUND_BOMB_AWARDED), 1);
}

TEST_F(BoardTest, ToastBreadFallsIntoTheToasterWithinItsMoves)
{
    StartGame(MODE_TOAST);
    ASSERT_TRUE(board->breadInPlay);
    EXPECT_EQ(board->toastMovesLeft, 20);
    int breads = 0;
    for (int c = 2; c <= 4; ++c)
        breads += board->cellType(c, 11) == BLOB_BREAD;
    EXPECT_EQ(breads, 1);

    std::vector<std::string> rows = Rows({});
    rows[7] = "3333333";
    rows[8] = "2121212";
    rows[9] = "0001234";
    rows[10] = "KKKKKKK";
    SetRows(rows);
    board->grid[Board::cellIndex(2, 19)] = BLOB_BREAD;
    board->toastMovesLeft = 6;
    // The chain under the bread: (0..2, 20).
    Chain({{0, 20}, {1, 20}, {2, 20}});
    for (int i = 0; i < 10; ++i)
        board->updateFalling();
    EXPECT_TRUE(board->toastFlying);
    EXPECT_FALSE(board->breadInPlay);
    EXPECT_EQ(app->CountSound(SOUND_TOAST), 1);
    EXPECT_EQ(app->CountSound(SOUND_MONKEY_TOAST), 1);
    EXPECT_EQ(board->toastY, 654);
    EXPECT_EQ(board->toastSpeedY, -60);
    EXPECT_EQ(board->bannerY, -384);
    EXPECT_EQ(board->cellType(2, 21), BLOB_SKULL); // the hidden skull row stays
    SettleFall();
    EXPECT_TRUE(board->breadInPlay); // a new bread came in when the fall ended
    EXPECT_EQ(board->toastMovesLeft, 20);
    // The toast flies off the bottom of the Board.
    for (int i = 0; i < 400 && board->toastFlying; ++i)
        board->Update();
    EXPECT_FALSE(board->toastFlying);
}

TEST_F(BoardTest, ToastMovesRunOutIntoPanicThenGameOver)
{
    StartGame(MODE_TOAST);
    std::vector<std::string> rows = Rows({"0001234"});
    rows[10] = "KKKKKKK";
    SetRows(rows);
    board->grid[Board::cellIndex(5, 11)] = BLOB_BREAD;
    board->breadInPlay = true;
    board->toastMovesLeft = 6;
    Chain({{0, 11}, {1, 11}, {2, 11}});
    SettleFall();
    EXPECT_EQ(board->toastMovesLeft, 5);
    EXPECT_EQ(board->mood, MOOD_PANIC);
    EXPECT_TRUE(app->music->Saw("play 3 0 loop"));
    board->toastMovesLeft = 1;
    SetRows(rows);
    board->grid[Board::cellIndex(5, 11)] = BLOB_BREAD;
    Chain({{0, 11}, {1, 11}, {2, 11}});
    SettleFall();
    EXPECT_TRUE(board->isGameOver);
    EXPECT_EQ(board->gameOverTimer, 1); // straight to the menu on the next tick
    Ticks(1);
    EXPECT_EQ(board->currentMenu, MENU_GAME_OVER);
}

TEST_F(BoardTest, PanicWaterDrainsRefillsAndEndsTheGame)
{
    StartGame(MODE_PANIC);
    EXPECT_EQ(board->glassFill, 300);
    while (board->mUpdateCnt % 5 != 4)
        Ticks(1);
    const int before = board->glassFill;
    Ticks(5);
    EXPECT_EQ(board->glassFill, before - 1);
    SetRows(Rows({"0001234"}));
    Chain({{0, 11}, {1, 11}, {2, 11}});
    EXPECT_EQ(board->glassFill, 300); // +15 a blob, at most 300
    board->glassFill = 100;
    board->smartBombRunning = true;
    Ticks(10);
    EXPECT_EQ(board->glassFill, 100); // no loss while the smart bomb runs
    board->smartBombRunning = false;
    board->glassFill = 2;
    board->bubbleTimer = 0;
    app->sounds.clear();
    Ticks(1);
    EXPECT_EQ(app->CountSound(SOUND_BUBBLE_0) + app->CountSound(SOUND_BUBBLE_1) + app->CountSound(SOUND_BUBBLE_2) +
                  app->CountSound(SOUND_BUBBLE_3) + app->CountSound(SOUND_BUBBLE_4),
              1);
    EXPECT_GE(board->bubbleTimer, 500);
    for (int i = 0; i < 10 && !board->isGameOver; ++i)
        Ticks(1);
    ASSERT_TRUE(board->isGameOver);
    Ticks(1);
    EXPECT_EQ(board->currentMenu, MENU_GAME_OVER);
    for (int i = 0; i < 100; ++i)
        Ticks(1);
    EXPECT_EQ(board->glassFill, 75); // the water rises back during game over
}

TEST_F(BoardTest, StoryChaptersFillTheGlassAndCarryTheScore)
{
    StartGame(MODE_STORY, 0);
    board->character = 0;
    EXPECT_EQ(board->colourCount, 4);
    EXPECT_EQ(board->skullChance, 1000);
    board->glassFill = 126;
    board->totalScore = 500;
    SetRows(Rows({"0001234"}));
    Chain({{0, 11}, {1, 11}, {2, 11}});
    EXPECT_TRUE(board->chapterComplete);
    EXPECT_EQ(board->glassPending, 2); // the third blob came after the glass was full
    EXPECT_EQ(app->CountSound(SOUND_LEVEL_UP), 1);
    EXPECT_TRUE(app->music->Saw("stop 1"));
    EXPECT_EQ(board->mood, MOOD_ELATED);
    EXPECT_TRUE(board->energyBallMoving);
    // Clicks are ignored until the banner rests; then one starts the next chapter.
    ClickAt(3, 15);
    EXPECT_FALSE(board->inTransition);
    for (int i = 0; i < 2000 && !(board->bannerY >= 384 && board->bannerSpeed == 0); ++i)
        Ticks(1);
    ASSERT_EQ(board->bannerSpeed, 0);
    const int combo = board->combo;
    ClickAt(3, 15);
    EXPECT_TRUE(board->inTransition);
    Ticks(32);
    EXPECT_EQ(board->chapter, 1);
    EXPECT_EQ(board->character, 1);
    EXPECT_EQ(board->totalScore, 600); // carried over
    EXPECT_EQ(board->combo, combo);
    EXPECT_FALSE(board->chapterComplete);
    EXPECT_EQ(board->glassFill, 0);
    EXPECT_TRUE(board->introShowing);
}

TEST_F(BoardTest, AChapterWonWithNoMovesLeftStillGoesOnToTheNextChapter)
{
    StartGame(MODE_STORY, 0);
    board->glassFill = 126;
    // No two neighbours share a colour except the chain; skulls fall in.
    SetRows({"4441010", "2323232", "0101010", "2323232", "0101010", "2323232", "0101010", "2323232", "0101010",
             "2323232", "0101010"});
    Chain({{0, 11}, {1, 11}, {2, 11}});
    ASSERT_TRUE(board->chapterComplete);
    SettleFall();
    EXPECT_EQ(board->movesFound, 0);
    EXPECT_FALSE(board->isGameOver);
    for (int i = 0; i < 2000 && !(board->bannerY >= 384 && board->bannerSpeed == 0); ++i)
        Ticks(1);
    ClickAt(3, 15);
    Ticks(32);
    EXPECT_EQ(board->chapter, 1);
    EXPECT_FALSE(board->isGameOver);
}

TEST_F(BoardTest, ANearlyPouredGlassStillStartsTheNextChapter)
{
    StartGame(MODE_STORY, 2);
    board->glassFill = 200;
    board->glassPending = 24; // 224 units: chapter 2 is complete
    board->chapterComplete = true;
    board->bannerY = 384;
    board->bannerSpeed = 0;
    ClickAt(3, 15);
    Ticks(32);
    EXPECT_EQ(board->chapter, 3);
    EXPECT_FALSE(board->eveningFlag); // chapter 3 flips the scenery
}

TEST_F(BoardTest, TheStoryEndingCelebratesWithABoundedExplosionQueue)
{
    StartGame(MODE_STORY, 4);
    board->chapterComplete = true;
    board->bannerY = 384;
    board->bannerSpeed = 0;
    ClickAt(3, 15);
    Ticks(32);
    ASSERT_EQ(board->state, STATE_STORY_ENDING);
    EXPECT_EQ(board->mood, MOOD_PANIC);
    Ticks(90 * 51);
    EXPECT_GT(board->textPanelHeight, 0);
    EXPECT_EQ(board->explosionCount, Board::kMaxExplosions);
    app->sounds.clear();
    board->MouseDown(10, 10, 1);
    EXPECT_EQ(app->CountSound(SOUND_SELECT_OPTION), 1);
    Ticks(32);
    EXPECT_EQ(board->state, STATE_MENUS);
}

} // namespace
} // namespace Lumo::GameTest

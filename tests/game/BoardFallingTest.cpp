// Falling and refill timing, move counting and the hint, and the end of a game.
#include "GameTestSupport.h"

namespace Lumo::GameTest {
namespace {

// Rows with no chain anywhere (alternating colours).
std::vector<std::string> NoMoveRows()
{
    std::vector<std::string> rows;
    for (int i = 0; i < 11; ++i)
        rows.push_back(i % 2 == 0 ? "0101010" : "2323232");
    return rows;
}

std::string Column(Board* board, int column, int fromRow, int toRow)
{
    static const char kLetters[] = "01234WBSKT";
    std::string text;
    for (int r = fromRow; r <= toRow; ++r)
    {
        const int type = board->cellType(column, r);
        text += type < 0 ? '.' : kLetters[type];
    }
    return text;
}

TEST_F(BoardTest, AFallAddsOffsetsForNineStepsThenShiftsRows)
{
    StartGame(MODE_CASUAL);
    SetRows(Rows({"0001234"}));
    Chain({{0, 11}, {1, 11}, {2, 11}});
    ASSERT_TRUE(board->fallPending);
    EXPECT_TRUE(board->falling[Board::cellIndex(0, 10)]);
    for (int i = 0; i < 9; ++i)
        board->updateFalling();
    EXPECT_EQ(board->fallOffset[Board::cellIndex(0, 10)], 95);
    EXPECT_EQ(board->cellType(0, 11), BLOB_EMPTY);
    board->updateFalling(); // the tenth step moves a whole row
    EXPECT_EQ(board->fallSpeed, 60);
    EXPECT_EQ(board->cellType(0, 11), BLOB_SKULL);
    EXPECT_TRUE(board->fallPending);
    board->updateFalling(); // nothing falls in rows 10-21 any more: the fall ends
    EXPECT_FALSE(board->fallPending);
    EXPECT_GE(board->movesFound, 1);
}

TEST_F(BoardTest, SeparateHolesCloseInOneStepAdjacentHolesInTwo)
{
    StartGame(MODE_CASUAL);
    board->skullChance = -1; // new blobs are never skulls
    SetRows(Rows({"0001234", "0111111", "0222222", "0333333", "0444444"}));
    board->grid[Board::cellIndex(3, 11)] = 0;
    board->grid[Board::cellIndex(3, 12)] = 1;
    board->grid[Board::cellIndex(3, 13)] = 2;
    board->grid[Board::cellIndex(3, 14)] = 3;
    board->grid[Board::cellIndex(3, 15)] = 4;
    board->selected[Board::cellIndex(3, 13)] = 1;
    board->selected[Board::cellIndex(3, 15)] = 1;
    board->removeSelectedBlobs();
    EXPECT_EQ(Column(board, 3, 11, 15), "01.3.");
    for (int i = 0; i < 10; ++i)
        board->updateFalling();
    EXPECT_EQ(Column(board, 3, 11, 15), "KK013");
    EXPECT_NE(board->cellType(3, 0), BLOB_SKULL);  // two new blobs came in at row 0
    EXPECT_NE(board->cellType(3, 1), BLOB_SKULL);
    EXPECT_EQ(board->cellType(3, 2), BLOB_SKULL);

    StartGame(MODE_CASUAL);
    SetRows(Rows({"0001234", "0111111", "0222222", "0333333", "0444444"}));
    board->grid[Board::cellIndex(3, 11)] = 0;
    board->grid[Board::cellIndex(3, 12)] = 1;
    board->selected[Board::cellIndex(3, 13)] = 1;
    board->selected[Board::cellIndex(3, 14)] = 1;
    board->removeSelectedBlobs();
    for (int i = 0; i < 10; ++i)
        board->updateFalling();
    EXPECT_EQ(Column(board, 3, 11, 15), "K01.4");
    board->updateFalling();
    EXPECT_EQ(Column(board, 3, 11, 15), "KK014");
    EXPECT_TRUE(board->fallPending);
    board->updateFalling();
    EXPECT_FALSE(board->fallPending);
}

TEST_F(BoardTest, ClicksDuringAFallOrBombDelayAreDropped)
{
    StartGame(MODE_CASUAL);
    SetRows(Rows({"0001234", "1112222"}));
    Chain({{0, 11}, {1, 11}, {2, 11}});
    ASSERT_TRUE(board->fallPending);
    ClickAt(0, 12);
    EXPECT_FALSE(board->chainActive);
    EXPECT_FALSE(board->leftDown);
    SettleFall();
    board->fallDelay = 5;
    ClickAt(3, 20);
    EXPECT_FALSE(board->chainActive);
}

TEST_F(BoardTest, MovesCountBombsButOnlyColoursGiveTheHint)
{
    StartGame(MODE_CASUAL);
    SetRows(NoMoveRows());
    board->grid[Board::cellIndex(3, 15)] = BLOB_BOMB;
    board->countMoves();
    EXPECT_EQ(board->movesFound, 1);
    EXPECT_EQ(board->hintCol, -1);
    EXPECT_EQ(board->mood, MOOD_PANIC);
    EXPECT_TRUE(app->music->Saw("play 3 0 loop"));

    SetRows(Rows({}));
    board->countMoves();
    EXPECT_EQ(board->movesFound, 5);
    // The last coloured cell counted before the count stopped.
    EXPECT_EQ(board->hintCol, 2);
    EXPECT_EQ(board->hintRow, 20);
    EXPECT_TRUE(app->music->Saw("stop 3"));
    EXPECT_FALSE(board->isGameOver);
}

TEST_F(BoardTest, NoMovesLeftEndsTheGameWithFlashesThenTheMenu)
{
    StartGame(MODE_CASUAL);
    board->MouseMove(139, 294); // over the pause button
    Ticks(1);
    ASSERT_TRUE(board->pauseHover);
    board->score = 70;
    SetRows(NoMoveRows());
    board->countMoves();
    ASSERT_TRUE(board->isGameOver);
    EXPECT_FALSE(board->pauseHover);
    EXPECT_EQ(board->gameOverTimer, 200);
    EXPECT_EQ(board->totalScore, 70);
    EXPECT_TRUE(app->music->Saw("stop 1"));
    EXPECT_TRUE(Platform::FileExists(Board::kSaveFileName)); // saved at game over
    app->sounds.clear();

    for (int i = 0; i < 199; ++i)
        board->Update();
    EXPECT_NE(board->currentMenu, MENU_GAME_OVER);
    board->Update();
    EXPECT_EQ(app->CountSound(SOUND_BLOB_SELECT), 50); // a flash every 4th tick
    EXPECT_EQ(board->currentMenu, MENU_GAME_OVER);
    EXPECT_EQ(board->mood, MOOD_GAMEOVER);
    EXPECT_TRUE(app->music->Saw("play 2 0 once"));
    EXPECT_LE(board->cellType(board->flashCol, board->flashRow), BLOB_WILDCARD);

    // The pause button no longer opens anything; the game-over menu works.
    EXPECT_FALSE(board->pauseHover);
    board->setMenu(MENU_PAUSE);
    EXPECT_EQ(board->state, STATE_PLAYING);
    board->MouseMove(512, 460); // over "Retry"
    Ticks(80);
    EXPECT_EQ(board->hoverItem, 0);
    board->MouseDown(512, 460, 1);
    Ticks(1);
    EXPECT_TRUE(board->inTransition);
    EXPECT_EQ(board->fadeTarget, STATE_PLAYING);
    EXPECT_EQ(board->totalScore, 0);
    Ticks(32);
    EXPECT_FALSE(board->isGameOver);
    EXPECT_TRUE(board->introShowing);
}

TEST_F(BoardTest, TheFlashDrawEndsWhenNoCellQualifies)
{
    StartGame(MODE_CASUAL);
    SetRows(std::vector<std::string>(11, "BBSBBKB"));
    board->gameOver();
    EXPECT_EQ(board->gameOverTimer, 1); // moves were still found
    board->gameOverTimer = 40;
    const uint64_t before = GetRandomDrawCount();
    for (int i = 0; i < 4; ++i)
        board->Update();
    // One flash: two draws for the cell, plus two per tick for the shake.
    EXPECT_EQ(GetRandomDrawCount() - before, 2u + 4u * 2u + 4u * 2u);
}

} // namespace
} // namespace Lumo::GameTest

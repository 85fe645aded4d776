// Chains: start patterns, growth, auto-cancel, scoring with wildcards, combos,
// and the cells, coordinates and generation rules they build on.
#include "GameTestSupport.h"

#include "game/FixedTrig.h"

namespace Lumo::GameTest {
namespace {

TEST(FixedTrigTest, TheSeriesGivesTheGamesOwnValues)
{
    struct Case
    {
        int degrees, sine, cosine;
    };
    const Case cases[] = {{0, 0, 1024},     {30, 512, 887},    {90, 1025, 0},     {450, 1025, 0},
                          {-270, 1025, 0}, {180, 6, -1000},    {-90, -1023, -1}, {270, -1023, -1}};
    for (const Case& c : cases)
    {
        const SinCos sc = FixedSinCos(c.degrees);
        EXPECT_EQ(sc.sine, c.sine) << c.degrees;
        EXPECT_EQ(sc.cosine, c.cosine) << c.degrees;
    }
    EXPECT_EQ(Board::cosDegrees(45), 725);
    EXPECT_EQ(Board::sinDegrees(30), 512);
    // Ever-growing angle counters fold without overflowing.
    EXPECT_EQ(FixedSinCos(2147483647).sine, FixedSinCos(2147483647 % 360).sine);
}

TEST_F(BoardTest, CellsCoordinatesAndVisibility)
{
    EXPECT_EQ(Board::columnToX(0, false), 316);
    EXPECT_EQ(Board::rowToY(11, false), 54);
    EXPECT_EQ(Board::rowToY(21, true), 684);
    board->cursorX = 300; // left of the field: truncation gives column 0
    board->cursorY = 100;
    EXPECT_EQ(board->cursorColumn(), 0);
    EXPECT_FALSE(board->isCursorInField());
    board->mode = MODE_TOAST;
    EXPECT_FALSE(board->isCellVisible(3, 21));
    EXPECT_TRUE(board->isCellVisible(3, 20));
    board->mode = MODE_CASUAL;
    EXPECT_TRUE(board->isCellVisible(3, 21));
    EXPECT_FALSE(board->isCellVisible(7, 15));
    EXPECT_FALSE(board->isCellVisible(3, 10));
    EXPECT_EQ(Board::matchClass(BLOB_WILDCARD), -2);
    EXPECT_EQ(Board::matchClass(BLOB_BREAD), -3);
    EXPECT_EQ(Board::matchClass(BLOB_EMPTY), -3);
    EXPECT_EQ(Board::matchClass(3), 3);
}

TEST_F(BoardTest, GenerationFollowsTheModeTable)
{
    StartGame(MODE_TOAST);
    EXPECT_EQ(board->colourCount, 3);
    EXPECT_EQ(board->bombChance, -1);
    const uint64_t before = GetRandomDrawCount();
    board->generateBlob(2, 21);
    EXPECT_EQ(board->cellType(2, 21), BLOB_SKULL);
    EXPECT_EQ(GetRandomDrawCount(), before); // no draw for Toast's skull row

    // Skulls come only into the spawn area, and only while 5 moves are found.
    StartGame(MODE_CASUAL);
    board->skullChance = 10; // the skull draw becomes 1 in 1
    board->wildcardChance = -1;
    board->bombChance = -1;
    board->movesFound = 5;
    board->generateBlob(0, 5);
    EXPECT_EQ(board->cellType(0, 5), BLOB_SKULL);
    board->generateBlob(0, 15);
    EXPECT_LT(board->cellType(0, 15), 5);
    board->movesFound = 4;
    board->generateBlob(0, 5);
    EXPECT_LT(board->cellType(0, 5), 5);

    // A full Story glass stops generation.
    StartGame(MODE_STORY, 2);
    EXPECT_EQ(board->colourCount, 5);
    board->chapterComplete = true;
    board->generateBlob(1, 0);
    EXPECT_EQ(board->cellType(1, 0), BLOB_EMPTY);
}

TEST_F(BoardTest, EveryStartPatternStartsAChain)
{
    // Each pattern as a path start -> first -> second from the start at (3, 16).
    const int patterns[12][4] = {{-1, 0, -2, 0}, {0, -1, 0, -2}, {1, 0, 2, 0},   {0, 1, 0, 2},
                                 {-1, 0, -1, 1}, {0, -1, -1, -1}, {1, 0, 1, -1},  {0, 1, 1, 1},
                                 {-1, 0, -1, -1}, {0, -1, 1, -1}, {1, 0, 1, 1},   {0, 1, -1, 1}};
    StartGame(MODE_CASUAL);
    for (const auto& p : patterns)
    {
        SetRows(std::vector<std::string>(11, "KKKKKKK"));
        board->grid[Board::cellIndex(3, 16)] = 2;
        board->grid[Board::cellIndex(3 + p[0], 16 + p[1])] = 2;
        EXPECT_FALSE(board->canStartChain(3, 16, 2));
        board->grid[Board::cellIndex(3 + p[2], 16 + p[3])] = BLOB_WILDCARD;
        EXPECT_TRUE(board->canStartChain(3, 16, 2)) << p[0] << "," << p[1] << " " << p[2] << "," << p[3];
    }
    // A wildcard start tries every colour; an L through a diagonal never counts.
    SetRows(std::vector<std::string>(11, "KKKKKKK"));
    board->grid[Board::cellIndex(3, 16)] = BLOB_WILDCARD;
    board->grid[Board::cellIndex(4, 16)] = 4;
    board->grid[Board::cellIndex(5, 17)] = 4;
    EXPECT_FALSE(board->canStartChain(3, 16, -2));
    board->grid[Board::cellIndex(4, 17)] = 4;
    EXPECT_TRUE(board->canStartChain(3, 16, -2));
}

TEST_F(BoardTest, AChainOfThreeScoresAHundredAndClearsItsCells)
{
    StartGame(MODE_CASUAL);
    SetRows(Rows({"0112222", "3333444"}));
    Chain({{0, 12}, {1, 12}, {2, 12}});
    EXPECT_EQ(board->score, 100); // combo 1 * 10 + 3 * 3 * 10
    EXPECT_EQ(board->stats[STAT_CHAINS_MADE][0], 1);
    EXPECT_EQ(board->stats[STAT_BLOBS_CLEARED][0], 3);
    EXPECT_EQ(board->stats[STAT_LONGEST_CHAIN][1], 3);
    EXPECT_EQ(board->cellType(0, 12), BLOB_EMPTY);
    EXPECT_TRUE(board->fallPending);
    EXPECT_EQ(board->comboTimer, 3 * 35);
    EXPECT_EQ(app->CountSound(SOUND_ACTIVATE_CURSOR), 1);
    EXPECT_EQ(app->CountSound(SOUND_BLOB_SELECT), 2);
    EXPECT_EQ(app->CountSound(SOUND_BLOB_EXPLOSION), 1);
    EXPECT_EQ(board->explosionCount, 3);
    EXPECT_FALSE(board->comboPopupActive); // the first chain never shows the combo
    Ticks(3); // the count-up moves the score into the total
    EXPECT_EQ(board->totalScore, 100);
    EXPECT_EQ(board->highScores[MODE_CASUAL], 100);
}

TEST_F(BoardTest, WildcardsJoinAnyColourAndScoreAHundred)
{
    StartGame(MODE_CASUAL);
    SetRows(Rows({"W3W1234", "4040404"}));
    ClickAt(0, 11);
    EXPECT_EQ(board->chainColour, -2);
    MoveTo(1, 11);
    EXPECT_EQ(board->chainColour, 3); // the first coloured cell fixes the colour
    MoveTo(2, 11);
    ClickAt(2, 11);
    // combo 10 + wildcard 100 + colour 3 * 10 + wildcard 100
    EXPECT_EQ(board->score, 240);
    EXPECT_EQ(app->CountSound(SOUND_STAR_EXPLOSION), 2);
}

TEST_F(BoardTest, DeadEndsCancelShortChainsAndInvalidStepsCancel)
{
    StartGame(MODE_CASUAL);
    SetRows(Rows({"0012000", "0234111"}));
    // (0,11) -> (1,11): no unselected 0 or wildcard next to (1,11) and only 2 cells: cancelled.
    ClickAt(0, 11);
    ASSERT_TRUE(board->chainActive);
    MoveTo(1, 11);
    EXPECT_FALSE(board->chainActive);
    EXPECT_EQ(app->CountSound(SOUND_DEACTIVATE_CURSOR), 1);
    EXPECT_EQ(board->cancelAlpha, 255);
    EXPECT_EQ(board->cancelX, CellX(1) + 56);

    // The right-hand 0 group: (4,11) (5,11) (6,11) - a dead end at 3 keeps the chain.
    ClickAt(4, 11);
    MoveTo(5, 11);
    MoveTo(6, 11);
    EXPECT_TRUE(board->chainActive);
    EXPECT_EQ(board->chainLength, 3);
    MoveTo(6, 11); // the same cell: nothing
    EXPECT_EQ(board->chainLength, 3);
    MoveTo(4, 11); // another selected cell: cancelled
    EXPECT_FALSE(board->chainActive);
    for (int r = 11; r <= 21; ++r)
        for (int c = 0; c < 7; ++c)
            EXPECT_FALSE(board->selected[Board::cellIndex(c, r)]);

    // Leaving the field cancels; a right click cancels.
    ClickAt(4, 11);
    board->MouseMove(100, 100);
    EXPECT_FALSE(board->chainActive);
    ClickAt(4, 11);
    board->MouseDown(CellX(4), CellY(11), -1);
    EXPECT_FALSE(board->chainActive);
    // A click on a cell that cannot start a chain cancels at once.
    ClickAt(2, 11);
    EXPECT_FALSE(board->chainActive);
    EXPECT_EQ(board->cancelColour, 1);
}

TEST_F(BoardTest, ReleasingCompletesOnlyChainsOfThree)
{
    StartGame(MODE_CASUAL);
    SetRows(Rows({"0001234", "1234111"}));
    MoveTo(0, 11);
    board->MouseDown(CellX(0), CellY(11), 1);
    MoveTo(1, 11);
    board->MouseUp(CellX(1), CellY(11), 1); // two cells: nothing
    EXPECT_TRUE(board->chainActive);
    MoveTo(2, 11);
    board->MouseDown(CellX(2), CellY(11), 1);
    // The second click completed it already; a fresh chain needs a click.
    EXPECT_EQ(board->score, 100);
    SettleFall();
    SetRows(Rows({"0001234", "1234111"}));
    ClickAt(0, 11);
    MoveTo(1, 11);
    MoveTo(2, 11);
    board->MouseUp(CellX(2), CellY(11), 1);
    EXPECT_FALSE(board->chainActive);
    EXPECT_EQ(board->stats[STAT_CHAINS_MADE][0], 2);
    // A second click on a chain of two cancels it.
    SettleFall();
    SetRows(Rows({"0001234", "1234111"}));
    ClickAt(0, 11);
    MoveTo(1, 11);
    ClickAt(1, 11);
    EXPECT_FALSE(board->chainActive);
    EXPECT_EQ(board->stats[STAT_CHAINS_MADE][0], 2);
}

TEST_F(BoardTest, QuickSuccessiveChainsBuildACombo)
{
    StartGame(MODE_CASUAL);
    const std::vector<std::string> rows = Rows({"0001234", "1112222"});
    SetRows(rows);
    Chain({{0, 11}, {1, 11}, {2, 11}});
    SettleFall();
    SetRows(rows);
    board->score = 0;
    Chain({{0, 12}, {1, 12}, {2, 12}});
    EXPECT_EQ(board->combo, 2);
    EXPECT_TRUE(board->comboPopupActive);
    EXPECT_EQ(board->comboPopupValue, 2);
    EXPECT_EQ(board->comboPopupX, 1024);
    EXPECT_EQ(board->stats[STAT_BIGGEST_COMBO][1], 2);
    EXPECT_EQ(board->score, 20 + 90);
    // The combo lasts n * 35 fifth-ticks, then ends with its sound.
    board->fallPending = false;
    const int before = app->CountSound(SOUND_COMBO_OVER);
    Ticks(3 * 35 * 5);
    EXPECT_EQ(board->combo, 1);
    EXPECT_EQ(app->CountSound(SOUND_COMBO_OVER), before + 1);
}

TEST_F(BoardTest, StatisticsSaturateInsteadOfWrapping)
{
    StartGame(MODE_CASUAL);
    board->stats[STAT_BLOBS_CLEARED][1] = 32766;
    board->stats[STAT_GAMES_PLAYED][1] = 32767;
    SetRows(Rows({"0001234", "1112222"}));
    Chain({{0, 11}, {1, 11}, {2, 11}});
    EXPECT_EQ(board->stats[STAT_BLOBS_CLEARED][1], 32767);
    board->chainScore = 50000;
    board->bankChainScore();
    EXPECT_EQ(board->stats[STAT_BEST_CHAIN_SCORE][1], 32767);
    StartGame(MODE_CASUAL);
    EXPECT_EQ(board->stats[STAT_GAMES_PLAYED][1], 32767);
}

} // namespace
} // namespace Lumo::GameTest

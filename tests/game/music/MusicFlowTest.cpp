// The game's music as the player hears it: the theme in the menus, the game
// music in play, the panic loop when few moves are left, the game-over tune,
// and the theme again back in the menus. Every scenario drives the real Board
// through its menus, clicks and ticks, and checks the exact calls that reach
// the music player.
#include "tests/game/GameTestSupport.h"
#include "tests/game/music/FakeMusicPlayer.h"

#include "game/BoardLayout.h"

namespace Lumo::GameTest {
namespace {

using Calls = FakeMusicPlayer::Calls;

const Calls kThemeStarts = {"playing? 0", "stopall", "load 0 sound/theme.ogg", "play 0 0 loop"};
const Calls kThemeAlreadyPlaying = {"playing? 0"};
// A new game outside Toast whose first field has moves enough.
const Calls kGameStarts = {"stop 3", "stop 0", "load 1 sound/game_music.ogg", "play 1 0 loop"};
const Calls kPanicStarts = {"load 3 sound/panic.wav", "play 3 0 loop"};
const Calls kGameOverTune = {"stop 1", "load 2 sound/game_over.ogg", "play 2 0 once"};

// Rows 11-21 where no cell starts a chain.
std::vector<std::string> NoMoveRows()
{
    std::vector<std::string> rows;
    for (int i = 0; i < 11; ++i)
        rows.push_back(i % 2 == 0 ? "0101010" : "2323232");
    return rows;
}
// A field without moves but for the chain of 4s given as its top row and, when
// asked, one bomb at the right end of row 20.
std::vector<std::string> FewMoveRows(const std::string& top, bool bomb)
{
    std::vector<std::string> rows = NoMoveRows();
    rows[0] = top;
    if (bomb)
        rows[9][6] = 'B';
    return rows;
}

class MusicFlowTest : public BoardTest
{
protected:
    // The recording player replaces the application's own before the Board
    // exists, so it hears everything from the splash screen on.
    void SetUp() override
    {
        SeedRandom(12345);
        app = new TestGameApp();
        delete app->mMusicInterface;
        app->music = nullptr;
        music = new FakeMusicPlayer();
        app->mMusicInterface = music;
        board = app->MakeBoard();
    }
    void TearDown() override
    {
        // However the scenario went, a song is loaded right before it plays.
        const Calls& history = music->History();
        for (size_t i = 0; i < history.size(); ++i)
        {
            if (history[i].rfind("play ", 0) != 0)
                continue;
            const std::string id = history[i].substr(5, history[i].find(' ', 5) - 5);
            ASSERT_GT(i, 0u);
            EXPECT_EQ(history[i - 1].rfind("load " + id + " ", 0), 0u) << "call " << i << ": " << history[i];
        }
        BoardTest::TearDown();
    }

    void WaitForMenuTexts()
    {
        for (int i = 0; i < 200 && (board->inTransition || board->menuTextAlpha < 255); ++i)
            Ticks(1);
        ASSERT_EQ(board->menuTextAlpha, 255);
    }
    // Clicks the item of the menu on screen, as the player would.
    void ClickItem(int itemId)
    {
        WaitForMenuTexts();
        BoardLayout::MenuItemBox boxes[BoardLayout::kMaxMenuItems];
        BoardLayout::LayOutMenu(board->menuItems.data(), board->menuItemCount, board->mHeight,
                                app->GetImage(IMAGE_SPLASH_CLOUD)->GetHeight(), boxes);
        int index = 0;
        while (index < board->menuItemCount && board->menuItems[index] != itemId)
            ++index;
        ASSERT_LT(index, board->menuItemCount) << "item " << itemId << " is not on the menu";
        const int x = BoardLayout::MenuCentreX(board->currentMenu);
        const int y = boxes[index].top + boxes[index].height / 2;
        board->MouseMove(x, y);
        Ticks(1);
        board->MouseDown(x, y, 1);
        Ticks(1);
        board->MouseUp(x, y, 1);
    }
    // From construction to the main menu, with the theme started.
    void ReachMainMenu()
    {
        Ticks(64);
        ASSERT_EQ(board->state, STATE_MENUS);
        ASSERT_EQ(music->TakeCalls(), kThemeStarts);
    }
    // Ticks through a running fade-out up to the white frame, on which the
    // state is entered.
    void FadeInto(int state)
    {
        ASSERT_TRUE(board->inTransition);
        ASSERT_EQ(board->fadeTarget, state);
        for (int i = 0; i < 32 && board->fadeTarget != -1; ++i)
            Ticks(1);
        ASSERT_EQ(board->fadeTarget, -1);
        ASSERT_EQ(board->state, state);
    }
    // Clicks the introduction panel away and ticks through the intro.
    void DismissIntro()
    {
        ASSERT_TRUE(board->introShowing);
        Ticks(40); // the fade-in drops clicks
        board->MouseDown(512, 384, 1);
        board->MouseUp(512, 384, 1);
        for (int i = 0; i < 2000 && board->introRunning; ++i)
            Ticks(1);
        ASSERT_FALSE(board->introShowing);
        ASSERT_FALSE(board->introRunning);
    }
    // Chooses the mode from the main menu and plays through its introduction.
    void StartMode(int modeItem)
    {
        ClickItem(TEXT_START_GAME);
        ASSERT_EQ(board->currentMenu, MENU_MODE_CHOICE);
        ClickItem(modeItem);
        FadeInto(STATE_PLAYING);
        DismissIntro();
    }
    void ClickPauseButton()
    {
        board->MouseMove(139, 294);
        Ticks(1);
        board->MouseDown(139, 294, 1);
        board->MouseUp(139, 294, 1);
        ASSERT_EQ(board->state, STATE_PAUSED);
    }
    // A chain of 4s along row 11 from column 0, then the fall to its end.
    void PlayTopChain(int length)
    {
        std::vector<std::pair<int, int>> cells;
        for (int c = 0; c < length; ++c)
            cells.push_back({c, 11});
        Chain(cells);
        ASSERT_TRUE(board->fallPending);
        SettleFall();
    }
    // Ticks until the game-over menu shows (bounded).
    void RunGameOverSequence()
    {
        for (int i = 0; i < 300 && board->currentMenu != MENU_GAME_OVER; ++i)
            Ticks(1);
        ASSERT_EQ(board->currentMenu, MENU_GAME_OVER);
    }

    FakeMusicPlayer* music = nullptr;
};

TEST_F(MusicFlowTest, TheThemeLoopsFromTheSplashOnAndOtherScreensLeaveItPlaying)
{
    Ticks(63);
    EXPECT_EQ(music->TakeCalls(), Calls{}); // the splash screen is silent
    Ticks(1);
    EXPECT_EQ(board->state, STATE_MENUS);
    EXPECT_EQ(music->TakeCalls(), kThemeStarts);
    EXPECT_EQ(music->Playing(), std::vector<int>{MUSIC_THEME});

    ClickItem(TEXT_OPTIONS);
    ClickItem(TEXT_MUSIC_VOLUME); // the slider sets the player's volume, not its songs
    board->MouseUp(0, 0, 1);
    EXPECT_GT(music->volumeCalls, 0);
    ClickItem(TEXT_OPTIONS_BACK);
    ClickItem(TEXT_START_GAME);
    ClickItem(TEXT_MODE_BACK);
    EXPECT_EQ(music->TakeCalls(), Calls{}); // menu changes within the menus

    ClickItem(TEXT_YOUR_STATS);
    FadeInto(STATE_STATS);
    Ticks(40);
    board->MouseDown(512, 384, 1);
    Ticks(1); // the statistics screen reads the held button in its update
    board->MouseUp(512, 384, 1);
    FadeInto(STATE_MENUS);
    ClickItem(TEXT_ABOUT);
    FadeInto(STATE_ABOUT);
    Ticks(40);
    board->MouseDown(0, 0, -1);
    FadeInto(STATE_MENUS);
    // Back from each screen the menus only ask: the theme goes on.
    EXPECT_EQ(music->TakeCalls(), (Calls{"playing? 0", "playing? 0"}));
    EXPECT_EQ(music->Playing(), std::vector<int>{MUSIC_THEME});
}

TEST_F(MusicFlowTest, AGameSwapsTheThemeForTheGameMusicOnTheWhiteFrame)
{
    ReachMainMenu();
    ClickItem(TEXT_START_GAME);
    ClickItem(TEXT_CASUAL);
    ASSERT_TRUE(board->inTransition);
    for (int i = 0; i < 32 && board->fadeAlpha + board->fadeStep <= 254; ++i)
        Ticks(1);
    EXPECT_EQ(board->state, STATE_MENUS);
    EXPECT_EQ(music->TakeCalls(), Calls{}); // the theme plays through the fade-out
    Ticks(1);
    ASSERT_EQ(board->state, STATE_PLAYING);
    ASSERT_GE(board->movesFound, 4);
    EXPECT_EQ(music->TakeCalls(), kGameStarts);
    EXPECT_EQ(music->Playing(), std::vector<int>{MUSIC_GAME});

    // The introduction and ordinary play leave the game music alone; each
    // fall that leaves moves enough only makes sure the panic loop is off.
    DismissIntro();
    EXPECT_EQ(music->TakeCalls(), Calls{});
    SetRows(Rows({"4441010"}));
    PlayTopChain(3);
    EXPECT_EQ(music->TakeCalls(), Calls{"stop 3"});
    EXPECT_EQ(music->Playing(), std::vector<int>{MUSIC_GAME});
}

TEST_F(MusicFlowTest, FewMovesStartThePanicLoopOnceAndMovesEnoughStopIt)
{
    ReachMainMenu();
    StartMode(TEXT_CASUAL);
    music->TakeCalls();

    // One move left (the bomb): the panic loop joins the game music.
    SetRows(FewMoveRows("4441010", true));
    PlayTopChain(3);
    ASSERT_EQ(board->movesFound, 1);
    EXPECT_EQ(board->mood, MOOD_PANIC);
    EXPECT_EQ(music->TakeCalls(), kPanicStarts);
    EXPECT_EQ(music->Playing(), (std::vector<int>{MUSIC_GAME, MUSIC_PANIC}));

    // Still few moves and still panicking: the loop is not started again.
    SetRows(FewMoveRows("4441010", true));
    PlayTopChain(3);
    EXPECT_EQ(music->TakeCalls(), Calls{});

    // Moves enough: the loop stops, the game music goes on.
    SetRows(Rows({"4441010"}));
    PlayTopChain(3);
    EXPECT_EQ(music->TakeCalls(), Calls{"stop 3"});
    EXPECT_EQ(music->Playing(), std::vector<int>{MUSIC_GAME});

    // A short chain keeps the panic mood, so few moves again stay silent ...
    SetRows(FewMoveRows("4441010", true));
    PlayTopChain(3);
    EXPECT_EQ(board->mood, MOOD_PANIC);
    EXPECT_EQ(music->TakeCalls(), Calls{});
    // ... while a chain of five lifts the mood, and the loop comes back.
    SetRows(FewMoveRows("4444410", true));
    PlayTopChain(5);
    EXPECT_EQ(board->mood, MOOD_PANIC);
    EXPECT_EQ(music->TakeCalls(), kPanicStarts);
}

TEST_F(MusicFlowTest, NoMovesLeftEndsInTheGameOverTuneAndQuitBringsTheThemeBack)
{
    ReachMainMenu();
    StartMode(TEXT_CASUAL);
    SetRows(FewMoveRows("4441010", true));
    PlayTopChain(3);
    music->TakeCalls();
    ASSERT_EQ(music->Playing(), (std::vector<int>{MUSIC_GAME, MUSIC_PANIC}));

    SetRows(FewMoveRows("4441010", false));
    PlayTopChain(3);
    ASSERT_TRUE(board->isGameOver);
    EXPECT_EQ(music->TakeCalls(), (Calls{"stop 3", "stop 1"})); // both loops end at once
    EXPECT_EQ(music->Playing(), std::vector<int>{});

    // 200 ticks of flashes in silence, then the tune, once.
    Ticks(199);
    EXPECT_EQ(music->TakeCalls(), Calls{});
    Ticks(1);
    EXPECT_EQ(board->currentMenu, MENU_GAME_OVER);
    EXPECT_EQ(music->TakeCalls(), kGameOverTune);
    EXPECT_EQ(music->Playing(), std::vector<int>{MUSIC_GAME_OVER});

    music->FinishOneShots(); // the tune has ended by the time the player chooses
    ClickItem(TEXT_QUIT);
    FadeInto(STATE_MENUS);
    EXPECT_EQ(music->TakeCalls(), kThemeStarts);
    EXPECT_EQ(music->Playing(), std::vector<int>{MUSIC_THEME});
}

TEST_F(MusicFlowTest, RetryRestartsTheGameMusicOverTheEndingTune)
{
    ReachMainMenu();
    StartMode(TEXT_CASUAL);
    SetRows(FewMoveRows("4441010", false));
    PlayTopChain(3);
    RunGameOverSequence();
    music->TakeCalls();

    ClickItem(TEXT_RETRY);
    FadeInto(STATE_PLAYING);
    ASSERT_GE(board->movesFound, 4);
    EXPECT_EQ(music->TakeCalls(), kGameStarts);
    // The tune played once is left to end by itself.
    EXPECT_EQ(music->Playing(), (std::vector<int>{MUSIC_GAME, MUSIC_GAME_OVER}));
}

TEST_F(MusicFlowTest, PauseKeepsTheMusicQuitSilencesEveryLoopAndRestartBeginsAgain)
{
    ReachMainMenu();
    StartMode(TEXT_CASUAL);
    SetRows(FewMoveRows("4441010", true));
    PlayTopChain(3);
    music->TakeCalls();

    ClickPauseButton();
    ClickItem(TEXT_RESUME);
    EXPECT_EQ(board->state, STATE_PLAYING);
    EXPECT_EQ(music->TakeCalls(), Calls{});
    EXPECT_EQ(music->Playing(), (std::vector<int>{MUSIC_GAME, MUSIC_PANIC}));

    // Restart: a fresh field with moves enough ends the panic loop.
    ClickPauseButton();
    ClickItem(TEXT_RESTART);
    FadeInto(STATE_PLAYING);
    ASSERT_GE(board->movesFound, 4);
    EXPECT_EQ(music->TakeCalls(), kGameStarts);
    EXPECT_EQ(music->Playing(), std::vector<int>{MUSIC_GAME});

    // Quit from the pause menu, with both loops playing.
    DismissIntro();
    SetRows(FewMoveRows("4441010", true));
    PlayTopChain(3);
    ASSERT_EQ(music->Playing(), (std::vector<int>{MUSIC_GAME, MUSIC_PANIC}));
    music->TakeCalls();
    ClickPauseButton();
    ClickItem(TEXT_QUIT);
    FadeInto(STATE_MENUS);
    EXPECT_EQ(music->TakeCalls(), kThemeStarts);
    EXPECT_EQ(music->Playing(), std::vector<int>{MUSIC_THEME});
}

TEST_F(MusicFlowTest, AStoryChapterEndsTheGameMusicAndTheEndingIsSilentUntilTheMenus)
{
    ReachMainMenu();
    StartMode(TEXT_STORY);
    ASSERT_EQ(board->chapter, 0);
    music->TakeCalls();

    // The last chapter, one chain short of a full glass.
    board->chapter = 4;
    board->glassFill = 318;
    SetRows(Rows({"4441010"}));
    Chain({{0, 11}, {1, 11}, {2, 11}});
    ASSERT_TRUE(board->chapterComplete);
    EXPECT_EQ(music->TakeCalls(), Calls{"stop 1"});
    SettleFall();
    EXPECT_EQ(music->TakeCalls(), Calls{"stop 3"}); // the fall still counts the moves
    for (int i = 0; i < 2000 && !(board->bannerY >= 384 && board->bannerSpeed == 0); ++i)
        Ticks(1);
    board->MouseDown(512, 384, 1);
    board->MouseUp(512, 384, 1);
    FadeInto(STATE_STORY_ENDING);
    Ticks(100);
    EXPECT_EQ(music->TakeCalls(), Calls{});

    board->MouseDown(512, 384, 1);
    board->MouseUp(512, 384, 1);
    FadeInto(STATE_MENUS);
    EXPECT_EQ(music->TakeCalls(), kThemeStarts);
}

class ToastMusicTest : public MusicFlowTest
{
protected:
    // A chain of 0s at the left of row 20, over the hidden skull row 21.
    static std::vector<std::string> ToastRows()
    {
        std::vector<std::string> rows = Rows({});
        rows[7] = "3333333";
        rows[8] = "2121212";
        rows[9] = "0001234";
        rows[10] = "KKKKKKK";
        return rows;
    }
    // A chain under the bread's column that leaves the bread where it is.
    void SpendBreadMove()
    {
        SetRows(ToastRows());
        board->grid[Board::cellIndex(5, 11)] = BLOB_BREAD;
        Chain({{0, 20}, {1, 20}, {2, 20}});
        SettleFall();
    }
};

TEST_F(ToastMusicTest, InToastThePanicLoopFollowsTheBreadsMovesOnly)
{
    ReachMainMenu();
    StartMode(TEXT_TOAST);
    // A new Toast game starts without the panic loop whatever moves it finds.
    EXPECT_EQ(music->TakeCalls(), kGameStarts);

    // Few moves on the field set the mood but not the music.
    SetRows(FewMoveRows("4441010", true));
    board->grid[Board::cellIndex(5, 15)] = BLOB_BREAD;
    PlayTopChain(3);
    ASSERT_EQ(board->movesFound, 1);
    EXPECT_EQ(board->mood, MOOD_PANIC);
    EXPECT_EQ(music->TakeCalls(), Calls{});

    // Five bread moves left: the loop starts.
    board->toastMovesLeft = 7;
    SpendBreadMove();
    EXPECT_EQ(music->TakeCalls(), Calls{});
    SpendBreadMove();
    EXPECT_EQ(board->toastMovesLeft, 5);
    EXPECT_EQ(music->TakeCalls(), kPanicStarts);
    SpendBreadMove();
    EXPECT_EQ(music->TakeCalls(), Calls{});

    // The bread reaches the toaster: the loop stops, the next bread comes in.
    SetRows(ToastRows());
    board->grid[Board::cellIndex(2, 19)] = BLOB_BREAD;
    Chain({{0, 20}, {1, 20}, {2, 20}});
    SettleFall();
    EXPECT_TRUE(board->toastFlying);
    EXPECT_EQ(board->toastMovesLeft, 20);
    EXPECT_EQ(music->TakeCalls(), Calls{"stop 3"});
    EXPECT_EQ(music->Playing(), std::vector<int>{MUSIC_GAME});
}

TEST_F(ToastMusicTest, RunningOutOfBreadMovesEndsTheGameAndARetryLeavesThePanicLoopBehind)
{
    ReachMainMenu();
    StartMode(TEXT_TOAST);
    board->toastMovesLeft = 6;
    SpendBreadMove();
    board->toastMovesLeft = 1;
    music->TakeCalls();
    SpendBreadMove();
    ASSERT_TRUE(board->isGameOver);
    EXPECT_EQ(music->TakeCalls(), Calls{"stop 1"});
    Ticks(1);
    EXPECT_EQ(board->currentMenu, MENU_GAME_OVER);
    EXPECT_EQ(music->TakeCalls(), kGameOverTune);
    // The bread's panic loop goes on under the game-over menu ...
    EXPECT_EQ(music->Playing(), (std::vector<int>{MUSIC_GAME_OVER, MUSIC_PANIC}));

    // ... but not into the next game, whose bread has all its moves.
    music->FinishOneShots();
    ClickItem(TEXT_RETRY);
    FadeInto(STATE_PLAYING);
    EXPECT_EQ(board->toastMovesLeft, 20);
    EXPECT_EQ(music->TakeCalls(), kGameStarts);
    EXPECT_EQ(music->Playing(), std::vector<int>{MUSIC_GAME});
}

} // namespace
} // namespace Lumo::GameTest

// Screens, fades and menus with every item's action, the Escape table, the
// texts, and the tutorial walked from its board to the end of its script.
#include "GameTestSupport.h"

#include "app/KeyCode.h"
#include "game/BoardLayout.h"
#include "platform/Video.h"

#include <fstream>

namespace Lumo::GameTest {
namespace {

constexpr int kEscape = static_cast<int>(KeyCode::Escape);


class ScreensTest : public BoardTest
{
protected:
    // From construction to the main menu with its texts fully shown.
    void ReachMainMenu()
    {
        Ticks(64);
        ASSERT_EQ(board->state, STATE_MENUS);
        Ticks(80);
        ASSERT_EQ(board->menuTextAlpha, 255);
        app->sounds.clear();
    }
};

TEST_F(ScreensTest, TheSplashFadesInAndOutThenTheMenusEnterOnTheWhiteTick)
{
    EXPECT_EQ(board->state, STATE_SPLASH);
    EXPECT_TRUE(board->inTransition);
    Ticks(32);
    EXPECT_FALSE(board->inTransition); // the fade-in ended at -1
    Ticks(31);
    EXPECT_EQ(board->state, STATE_SPLASH);
    EXPECT_EQ(board->fadeAlpha, 248);
    Ticks(1);
    EXPECT_EQ(board->state, STATE_MENUS); // entered when the screen is white
    EXPECT_EQ(board->fadeAlpha, 255);
    EXPECT_EQ(board->currentMenu, MENU_MAIN);
    EXPECT_TRUE(app->music->Saw("load 0 sound/theme.ogg"));
    EXPECT_TRUE(app->music->Saw("play 0 0 loop"));
    EXPECT_EQ(board->scrollBarTop, 40);
    EXPECT_EQ(board->scrollBarLength, 768 - 80);
    for (int i = 0; i < Board::kTitleLetters; ++i)
    {
        EXPECT_LE(board->letterOffset[i], -128);
        EXPECT_GE(board->letterSpeed[i], 1);
    }
    // Bars full on the 23rd tick, texts on the 74th.
    Ticks(22);
    EXPECT_LT(board->menuSlide, 100);
    Ticks(1);
    EXPECT_EQ(board->menuSlide, 100);
    Ticks(50);
    EXPECT_LT(board->menuTextAlpha, 255);
    Ticks(1);
    EXPECT_EQ(board->menuTextAlpha, 255);
}

TEST_F(ScreensTest, HoverSoundsOnceAndClicksWaitForTheTexts)
{
    Ticks(64 + 40); // the fade-in is over, the texts are not yet full
    board->MouseMove(512, MainItemY(1));
    Ticks(5);
    EXPECT_EQ(board->hoverItem, 1);
    EXPECT_EQ(app->CountSound(SOUND_CHANGE_OPTION), 1);
    board->MouseDown(512, MainItemY(1), 1);
    board->MouseUp(512, MainItemY(1), 1);
    Ticks(1);
    EXPECT_EQ(board->currentMenu, MENU_MAIN); // too early: ignored
    board->MouseMove(512, 5);
    Ticks(3);
    EXPECT_EQ(board->hoverItem, -1);
    EXPECT_EQ(board->lastHoverItem, 1);
    board->MouseMove(512, MainItemY(1));
    Ticks(3);
    EXPECT_EQ(app->CountSound(SOUND_CHANGE_OPTION), 1); // the same item again: silent
    board->MouseMove(512, MainItemY(0)); // the heading never highlights
    Ticks(3);
    EXPECT_EQ(board->hoverItem, -1);
}

TEST_F(ScreensTest, StartGameChoosesAModeAndFadesIntoPlay)
{
    ReachMainMenu();
    ClickMenu(512, MainItemY(1));
    EXPECT_EQ(board->currentMenu, MENU_MODE_CHOICE);
    EXPECT_EQ(board->character, CHARACTER_NONE);
    EXPECT_EQ(app->CountSound(SOUND_SELECT_OPTION), 1);
    Ticks(80);
    // Mode choice is centred on x 384; hovering picks the side-panel character.
    board->MouseMove(384, MainItemY(6));
    Ticks(1);
    EXPECT_EQ(board->character, 5); // "Back": no character
    board->MouseMove(384, MainItemY(3));
    Ticks(1);
    EXPECT_EQ(board->character, CHARACTER_GOLDFISH);
    EXPECT_EQ(board->tickerX, 32);
    Ticks(400);
    EXPECT_EQ(board->tickerX, 31); // the description starts to scroll after 400 ticks
    ClickMenu(384, MainItemY(3));
    EXPECT_EQ(board->mode, MODE_PANIC);
    EXPECT_TRUE(board->inTransition);
    Ticks(32);
    EXPECT_EQ(board->state, STATE_PLAYING);
    EXPECT_EQ(board->glassFill, 300);
    EXPECT_TRUE(board->introShowing);
    EXPECT_TRUE(app->music->Saw("stop 0"));
    EXPECT_TRUE(app->music->Saw("play 1 0 loop"));
    EXPECT_EQ(board->stats[STAT_GAMES_PLAYED][1], 1);

    // The intro panel waits for a click, then the zoom and banner run.
    Ticks(40);
    const int hint = board->hintTimer;
    Ticks(10);
    EXPECT_EQ(board->hintTimer, hint); // nothing but animation during the panel
    board->MouseDown(512, 384, 1);
    EXPECT_FALSE(board->introShowing);
    EXPECT_EQ(app->CountSound(SOUND_READY), 1);
    for (int i = 0; i < 1000 && board->introRunning; ++i)
        Ticks(1);
    EXPECT_FALSE(board->introRunning);
    EXPECT_EQ(app->CountSound(SOUND_INTRO), 1);
    EXPECT_EQ(app->CountSound(SOUND_GO), 1);
}

TEST_F(ScreensTest, StoryStartsAtChapterZeroWithItsCharacter)
{
    ReachMainMenu();
    ClickMenu(512, MainItemY(1));
    Ticks(80);
    ClickMenu(384, MainItemY(1));
    Ticks(32);
    EXPECT_EQ(board->mode, MODE_STORY);
    EXPECT_EQ(board->chapter, 0);
    EXPECT_EQ(board->character, 0);
}

TEST_F(ScreensTest, OptionsSlidersToggleAndBack)
{
    ReachMainMenu();
    ClickMenu(512, MainItemY(3));
    ASSERT_EQ(board->currentMenu, MENU_OPTIONS);
    Ticks(80);
    // Sliders: 96-pixel bars from y 334 and 438; the knob follows x 362..662.
    board->MouseMove(462, 380);
    Ticks(1);
    board->MouseDown(462, 380, 1);
    Ticks(1);
    EXPECT_DOUBLE_EQ(board->musicVolume, 100.0);
    EXPECT_NEAR(app->GetMusicVolume(), 100.0 / 300.0, 1e-9);
    board->MouseMove(562, 380); // dragging keeps following
    Ticks(1);
    EXPECT_DOUBLE_EQ(board->musicVolume, 200.0);
    board->MouseMove(700, 380); // beyond the track: the last value stays
    Ticks(1);
    EXPECT_DOUBLE_EQ(board->musicVolume, 200.0);
    board->MouseUp(700, 380, 1);
    ClickMenu(512, 480);
    EXPECT_DOUBLE_EQ(board->soundVolume, 150.0);
    EXPECT_NEAR(app->GetSfxVolume(), 0.5, 1e-9);

    EXPECT_STREQ(board->getText(TEXT_SCENERY), "Evening");
    ClickMenu(512, 566);
    EXPECT_FALSE(board->eveningFlag);
    EXPECT_STREQ(board->getText(TEXT_SCENERY), "Morning");
    EXPECT_STREQ(board->getText(TEXT_WINDOWED), "Windowed }");
    ClickMenu(512, 622);
    EXPECT_FALSE(app->mIsWindowed);
    EXPECT_STREQ(board->getText(TEXT_WINDOWED), "Windowed {");
    EXPECT_FALSE(Platform::FileExists(Board::kSaveFileName));
    ClickMenu(512, 678); // "Back" saves
    EXPECT_EQ(board->currentMenu, MENU_MAIN);
    EXPECT_TRUE(Platform::FileExists(Board::kSaveFileName));

    // A right click in any menu but the main menu goes back without saving.
    ClickMenu(512, MainItemY(3));
    board->MouseDown(0, 0, -1);
    EXPECT_EQ(board->currentMenu, MENU_MAIN);
}

TEST_F(ScreensTest, StatsAboutAndQuit)
{
    ReachMainMenu();
    ClickMenu(512, MainItemY(4));
    Ticks(32);
    EXPECT_EQ(board->state, STATE_STATS);
    Ticks(40);
    EXPECT_EQ(board->statBarLength(7), 336);
    board->MouseDown(512, 100, -1); // right click returns too
    Ticks(32);
    EXPECT_EQ(board->state, STATE_MENUS);

    Ticks(80);
    ClickMenu(512, MainItemY(5));
    Ticks(33);
    ASSERT_EQ(board->state, STATE_ABOUT);
    ASSERT_GT(board->textPanelHeight, 768); // the about text scrolls
    Ticks(40);
    board->MouseMove(950, 384);
    board->MouseDown(950, 384, 1);
    Ticks(1);
    EXPECT_EQ(board->state, STATE_ABOUT);
    EXPECT_FALSE(board->inTransition);
    EXPECT_EQ(board->scrollPercent, (384 - 40) * 100 / 688);
    EXPECT_EQ(board->aboutScroll, (768 - 80 - board->textPanelHeight) * board->scrollPercent / 100);
    board->MouseUp(950, 384, 1);
    app->sounds.clear();
    // A click on the panel's right edge already belongs to the scroll column:
    // it stays on the screen.
    ASSERT_EQ(board->menuSlide, 100);
    const int edgeX = 512 + BoardLayout::MenuBarWidth(100, board->wobbleAngle + 2, 800) / 2;
    board->MouseMove(edgeX, 384);
    board->MouseDown(edgeX, 384, 1);
    Ticks(1);
    EXPECT_FALSE(board->inTransition);
    EXPECT_EQ(board->state, STATE_ABOUT);
    board->MouseUp(edgeX, 384, 1);
    EXPECT_EQ(app->CountSound(SOUND_SELECT_OPTION), 0);
    app->sounds.clear();
    ClickMenu(100, 384);
    EXPECT_EQ(app->CountSound(SOUND_SELECT_OPTION), 1);
    Ticks(32);
    EXPECT_EQ(board->state, STATE_MENUS);

    Ticks(80);
    ClickMenu(512, MainItemY(6));
    Ticks(32);
    EXPECT_EQ(app->shutdownCalls, 1);
}

TEST_F(ScreensTest, PauseResumeRestartAndQuit)
{
    ReachMainMenu();
    StartGame(MODE_CASUAL);
    board->score = 40;
    board->MouseMove(139, 294);
    Ticks(1);
    board->MouseDown(139, 294, 1);
    EXPECT_EQ(board->state, STATE_PAUSED);
    EXPECT_EQ(board->currentMenu, MENU_PAUSE);
    const int hint = board->hintTimer;
    Ticks(80);
    EXPECT_EQ(board->hintTimer, hint); // play is frozen
    // Pause menu: three bars from y 410.
    ClickMenu(512, 434);
    EXPECT_EQ(board->state, STATE_PLAYING);
    ASSERT_TRUE(app->HandleDebugKey(kEscape));
    EXPECT_EQ(board->state, STATE_PAUSED);
    Ticks(80);
    ClickMenu(512, 490); // "Restart"
    EXPECT_TRUE(board->inTransition);
    Ticks(32);
    EXPECT_EQ(board->state, STATE_PLAYING);
    EXPECT_TRUE(board->introShowing);
    Ticks(32); // clicks wait for the fade-in
    board->MouseMove(139, 294);
    Ticks(1);
    board->MouseDown(139, 294, 1);
    Ticks(80);
    board->score = 30;
    const int before = board->totalScore;
    ClickMenu(512, 546); // "Quit"
    EXPECT_EQ(board->totalScore, before + 30);
    EXPECT_TRUE(Platform::FileExists(Board::kSaveFileName));
    Ticks(32);
    EXPECT_EQ(board->state, STATE_MENUS);
}

TEST_F(ScreensTest, EscapeTable)
{
    app->board = nullptr;
    EXPECT_FALSE(app->HandleDebugKey(kEscape)); // before the Board exists
    app->board = board;
    EXPECT_TRUE(app->HandleDebugKey(kEscape)); // splash: swallowed
    EXPECT_EQ(app->shutdownCalls, 0);
    EXPECT_FALSE(app->HandleDebugKey('A'));
    board->state = STATE_MENUS;
    EXPECT_TRUE(app->HandleDebugKey(kEscape));
    EXPECT_EQ(app->shutdownCalls, 1);
    StartGame(MODE_CASUAL);
    EXPECT_TRUE(app->HandleDebugKey(kEscape));
    EXPECT_EQ(board->state, STATE_PAUSED);
    EXPECT_TRUE(app->HandleDebugKey(kEscape));
    EXPECT_EQ(board->state, STATE_PLAYING);
    EXPECT_EQ(board->currentMenu, MENU_PAUSE); // straight back, no menu code
    board->isGameOver = true;
    EXPECT_TRUE(app->HandleDebugKey(kEscape));
    EXPECT_EQ(board->state, STATE_PLAYING);
    board->state = STATE_STATS;
    EXPECT_TRUE(app->HandleDebugKey(kEscape));
    EXPECT_EQ(board->state, STATE_STATS);
    EXPECT_EQ(app->shutdownCalls, 1);
    board->ButtonClicked(1); // the Board owns no button: nothing happens
}

TEST_F(ScreensTest, MenuEdgesHeadingsUnknownIdsFadesAndGameOver)
{
    ReachMainMenu();
    // A heading chosen directly: only the select sound, and the button is let go.
    board->leftDown = true;
    board->takeMenuAction(TEXT_MAIN_MENU);
    EXPECT_EQ(app->CountSound(SOUND_SELECT_OPTION), 1);
    EXPECT_FALSE(board->leftDown);
    EXPECT_EQ(board->currentMenu, MENU_MAIN);
    board->takeMenuAction(-1); // nothing at all
    EXPECT_EQ(app->CountSound(SOUND_SELECT_OPTION), 1);
    // An id that names no menu keeps the old list.
    board->setMenu(2);
    EXPECT_EQ(board->currentMenu, 2);
    EXPECT_EQ(board->menuItemCount, 7);
    EXPECT_EQ(board->menuItems[1], TEXT_START_GAME);
    board->setMenu(MENU_MAIN);
    // Nothing is carried out while a fade runs.
    board->startTransition(STATE_STATS, 1);
    board->takeMenuAction(TEXT_OPTIONS);
    EXPECT_EQ(board->currentMenu, MENU_MAIN);
    EXPECT_EQ(app->CountSound(SOUND_SELECT_OPTION), 1);
    // While the game is over only the game-over menu is taken.
    StartGame(MODE_CASUAL);
    board->isGameOver = true;
    board->setMenu(MENU_PAUSE);
    EXPECT_EQ(board->state, STATE_PLAYING);
    EXPECT_NE(board->currentMenu, MENU_PAUSE);
    board->setMenu(MENU_GAME_OVER);
    EXPECT_EQ(board->currentMenu, MENU_GAME_OVER);
    EXPECT_EQ(board->menuItems[0], TEXT_RETRY);
}

TEST_F(ScreensTest, TitleLettersBounceToRestAndTheSoundSliderChecksItsLevel)
{
    ReachMainMenu();
    Ticks(3000);
    EXPECT_GT(app->CountSound(SOUND_BOUNCE), 0);
    for (int i = 0; i < Board::kTitleLetters; ++i)
    {
        EXPECT_EQ(board->letterOffset[i], 0) << i;
        EXPECT_EQ(board->letterSpeed[i], 0) << i;
    }
    ClickMenu(512, MainItemY(3));
    ASSERT_EQ(board->currentMenu, MENU_OPTIONS);
    Ticks(80);
    app->sounds.clear();
    // Held on the sound slider for 160 ticks: the level check plays twice.
    board->MouseMove(512, 480);
    Ticks(1);
    board->MouseDown(512, 480, 1);
    Ticks(160);
    EXPECT_EQ(app->CountSound(SOUND_STAR_EXPLOSION), 2);
    EXPECT_EQ(app->CountSound(SOUND_SELECT_OPTION), 0);
    EXPECT_TRUE(board->leftDown);
    EXPECT_DOUBLE_EQ(board->soundVolume, 150.0);
}

TEST_F(ScreensTest, AButtonHeldIntoTheStoryEndingChoosesNoStaleMenuItem)
{
    StartGame(MODE_STORY, 4);
    board->MouseMove(139, 294);
    Ticks(1);
    board->MouseDown(139, 294, 1);
    ASSERT_EQ(board->state, STATE_PAUSED);
    Ticks(80);
    ClickMenu(512, 434); // "Resume": the pause menu's hover stays behind
    ASSERT_EQ(board->state, STATE_PLAYING);
    board->chapterComplete = true;
    board->bannerY = 384;
    board->bannerSpeed = 0;
    board->MouseMove(512, 434);
    Ticks(1);
    board->MouseDown(512, 434, 1); // held through the fade and beyond
    Ticks(32);
    ASSERT_EQ(board->state, STATE_STORY_ENDING);
    Ticks(120);
    EXPECT_EQ(board->menuTextAlpha, 255);
    EXPECT_EQ(board->state, STATE_STORY_ENDING);
    EXPECT_FALSE(board->inTransition);
}

TEST_F(ScreensTest, TextsAndTheirEdges)
{
    for (int id : {4, 29, 39, 58, 69, 75, -3, 1000})
        EXPECT_STREQ(board->getText(id), "") << id;
    EXPECT_EQ(std::string(board->getText(40)).rfind("Like hello??", 0), 0u);
    EXPECT_STREQ(board->getText(TEXT_QUIT), "Quit");
    EXPECT_STREQ(board->getText(static_cast<int>(TEXT_STAT_LABEL) + STAT_BEST_CHAIN_SCORE), "Best chain score");
    // Wrapping: 10-pixel letters in a 768-pixel panel.
    EXPECT_EQ(BoardLayout::WrapText(app->gameFont, "aaa bbb", 70).size(), 1u);
    EXPECT_EQ(BoardLayout::WrapText(app->gameFont, "aaa bbb", 69).size(), 2u);
    EXPECT_EQ(BoardLayout::WrappedTextHeight(app->gameFont, "one\n\ntwo", 500, -1), 90);
    EXPECT_EQ(BoardLayout::WrappedTextHeight(nullptr, "one two", 500, -1), 0);
}

TEST_F(ScreensTest, TheTutorialScriptRunsPageByPageToTheMenus)
{
    WriteTutorialBoard(true);
    ReachMainMenu();
    const int gamesPlayed = board->stats[STAT_GAMES_PLAYED][1];
    ClickMenu(512, MainItemY(2));
    Ticks(32);
    ASSERT_EQ(board->state, STATE_PLAYING);
    EXPECT_TRUE(board->tutorial);
    EXPECT_EQ(board->character, CHARACTER_BADGER);
    EXPECT_FALSE(board->introShowing);
    EXPECT_EQ(board->cursorX, 512);
    EXPECT_EQ(board->cursorY, 384);
    EXPECT_EQ(board->cellType(3, 16), 1);
    EXPECT_EQ(board->stats[STAT_GAMES_PLAYED][1], gamesPlayed); // not counted

    board->MouseMove(900, 700); // the mouse never moves the game cursor here
    EXPECT_EQ(board->cursorX, 512);
    const auto& script = Board::tutorialScript();
    for (int page = 0; page < Board::kTutorialPages; ++page)
    {
        for (int i = 0; i < 3000 && !(script[board->scriptPos] == -1 && board->menuTextAlpha == 255); ++i)
            Ticks(1);
        ASSERT_EQ(board->tutorialPage, page);
        if (page == 6)
        {
            // The script's first chain: four cells cleared, no score popup.
            EXPECT_EQ(board->stats[STAT_CHAINS_MADE][0], 1);
            EXPECT_EQ(board->stats[STAT_BLOBS_CLEARED][0], 4);
            EXPECT_EQ(board->popupTimer, 0);
        }
        board->MouseDown(900, 700, 1);
        Ticks(1);
        board->MouseUp(900, 700, 1);
    }
    EXPECT_EQ(board->scriptPos, 99);
    EXPECT_TRUE(board->inTransition);
    Ticks(32);
    EXPECT_EQ(board->state, STATE_MENUS);
    EXPECT_TRUE(app->exitCodes.empty());
}

TEST_F(ScreensTest, ThePauseButtonWorksInTheTutorialAndAMissingBoardEndsTheProcess)
{
    WriteTutorialBoard(true);
    board->tutorial = true;
    board->mode = MODE_CASUAL;
    board->state = STATE_PLAYING;
    board->inTransition = false;
    board->newGame();
    board->MouseMove(139, 294);
    Ticks(1);
    board->MouseDown(139, 294, 1);
    EXPECT_EQ(board->state, STATE_PAUSED);

    Platform::ClearMessageBoxLog();
    std::filesystem::remove("demo_board");
    board->newGame();
    ASSERT_EQ(app->exitCodes, std::vector<int>{1});
    ASSERT_EQ(Platform::GetMessageBoxLog().size(), 1u);

    // A short or damaged board is treated as missing.
    std::ofstream("demo_board", std::ios::binary).write("\x01\x02", 2);
    board->newGame();
    std::vector<uint8_t> bad(154, 0);
    bad[40] = 10;
    std::ofstream("demo_board", std::ios::binary).write(reinterpret_cast<const char*>(bad.data()), 154);
    board->newGame();
    EXPECT_EQ(app->exitCodes, (std::vector<int>{1, 1, 1}));
}

} // namespace
} // namespace Lumo::GameTest

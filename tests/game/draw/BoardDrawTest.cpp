// The Board's drawing over a recording Graphics: every routine gives back the
// Graphics settings it changed, cels outside their images and zero-size
// stretches are never drawn, nothing divides by a zero start value, the
// character strip draws one cel, and drawing never changes the rules' state.
#include "tests/game/GameTestSupport.h"

#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"

#include <cstdint>
#include <functional>

namespace Lumo::GameTest {
namespace {

// Records what is drawn, and draws it into a real 1024 x 768 image.
class RecordingGraphics : public Graphics
{
public:
    struct Call
    {
        std::string kind;
        Image* image = nullptr;
        int n = 0;
        Rect dest;
        Rect source;
    };

    explicit RecordingGraphics(Image* destination) : Graphics(destination) {}

    void DrawImage(Image* image, int x, int y) override
    {
        calls.push_back({"image", image, 0, Rect(x, y, Width(image), Height(image)), {}});
        Graphics::DrawImage(image, x, y);
    }
    void DrawImageCelIndex(Image* image, int x, int y, int n) override
    {
        calls.push_back({"cel", image, n, Rect(x, y, 0, 0), {}});
        Graphics::DrawImageCelIndex(image, x, y, n);
    }
    void DrawImageStretched(Image* image, int x, int y, int width, int height) override
    {
        calls.push_back({"stretch", image, 0, Rect(x, y, width, height), {}});
        Graphics::DrawImageStretched(image, x, y, width, height);
    }
    void DrawImagePartStretched(Image* image, const Rect& dest, const Rect& source) override
    {
        calls.push_back({"part_stretch", image, 0, dest, source});
        Graphics::DrawImagePartStretched(image, dest, source);
    }
    void DrawImagePart(Image* image, int x, int y, const Rect& source) override
    {
        calls.push_back({"part", image, 0, Rect(x, y, source.mWidth, source.mHeight), source});
        Graphics::DrawImagePart(image, x, y, source);
    }
    void FillRect(int x, int y, int width, int height) override
    {
        calls.push_back({"fill", nullptr, GetColor().mAlpha, Rect(x, y, width, height), {}});
        Graphics::FillRect(x, y, width, height);
    }

    static int Width(const Image* image) { return image != nullptr ? image->GetWidth() : 0; }
    static int Height(const Image* image) { return image != nullptr ? image->GetHeight() : 0; }

    std::vector<Call> calls;
};

class BoardDrawTest : public BoardTest
{
protected:
    void SetUp() override
    {
        BoardTest::SetUp();
        screen.Create(1024, 768);
        g = std::make_unique<RecordingGraphics>(&screen);
    }

    Image* Img(int id) const { return app->GetImage(id); }

    int CountCalls(int imageId, const std::string& kind = "") const
    {
        int count = 0;
        for (const auto& call : g->calls)
            if (call.image == Img(imageId) && (kind.empty() || call.kind == kind))
                ++count;
        return count;
    }

    // No cel outside its image's grid and no stretch to a zero size was asked for.
    void ExpectOnlyValidDraws() const
    {
        for (const auto& call : g->calls)
        {
            if (call.kind == "cel")
            {
                ASSERT_NE(call.image, nullptr);
                EXPECT_GE(call.n, 0);
                EXPECT_LT(call.n, call.image->mCelColumns * call.image->mCelRows);
            }
            if (call.kind == "stretch" || call.kind == "part_stretch")
            {
                EXPECT_FALSE(call.dest.IsEmpty()) << "a zero-size stretch";
            }
        }
    }

    // A game in play with every effect running.
    void BusyGame(int mode)
    {
        StartGame(mode, mode == MODE_STORY ? 1 : -1);
        board->chainActive = true;
        board->chainColour = 2;
        board->chainLength = 5;
        board->selected[Board::cellIndex(2, 15)] = 1;
        board->comboTimer = 40;
        board->comboTimerStart = 100;
        board->comboPopupActive = true;
        board->comboPopupValue = 12;
        board->explosionsRunning = true;
        board->addExplosion(1, 12, BLOB_BOMB);
        board->addExplosion(2, 13, BLOB_SKULL);
        board->addExplosion(3, 14, 1);
        board->smartBombRunning = true;
        board->smartBombCharge = 100;
        board->smartBombRayIndex = 21;
        board->cancelAlpha = 200;
        board->cancelColour = 3;
        board->toastFlying = true;
        board->energyBallMoving = true;
        board->introBurst = true;
        board->introBurstRadius = 40;
        board->popupAlpha = 100;
        board->mouseX = 400;
        board->mouseY = 300;
    }

    MemoryImage screen;
    std::unique_ptr<RecordingGraphics> g;
};

struct SavedState
{
    DrawMode mode;
    bool tinting;
    bool quick;
    Rect clip;
    bool operator==(const SavedState& o) const
    {
        return mode == o.mode && tinting == o.tinting && quick == o.quick && clip == o.clip;
    }
};

SavedState Save(const Graphics& g)
{
    return {g.mDrawMode, g.mColorizeImages, g.mFastStretch, g.mClipRect};
}

TEST_F(BoardDrawTest, EveryRoutineGivesBackTheGraphicsSettingsItChanged)
{
    const std::vector<std::pair<std::string, std::function<void()>>> routines = {
        {"Draw", [&] { board->Draw(g.get()); }},
        {"drawBackground", [&] { board->drawBackground(g.get()); }},
        {"drawPlayField", [&] { board->drawPlayField(g.get()); }},
        {"drawExplosions", [&] { board->drawExplosions(g.get()); }},
        {"drawSmartBomb", [&] { board->drawSmartBomb(g.get()); }},
        {"drawCombo", [&] { board->drawCombo(g.get()); }},
        {"drawTitle", [&] { board->drawTitle(g.get()); }},
        {"drawMenu", [&] { board->drawMenu(g.get()); }},
        {"drawMenuBar", [&] { board->drawMenuBar(g.get(), 512, 300, 450, 96, 0x445599, true, true); }},
        {"drawTextPanel", [&] { board->drawTextPanel(g.get(), TEXT_ABOUT_TEXT, false, 0, -50); }},
        {"drawStats", [&] { board->drawStats(g.get()); }},
        {"drawScorePanel", [&] { board->drawScorePanel(g.get()); }},
        {"drawSidePanel", [&] { board->drawSidePanel(g.get(), 885, 752); }},
        {"drawHud", [&] { board->drawHud(g.get()); }},
        {"drawCursor game", [&] { board->drawCursor(g.get(), false, 500, 400); }},
        {"drawCursor hand", [&] { board->drawCursor(g.get(), true, 500, 400); }},
        {"drawSprite pulsing", [&] { board->drawSprite(g.get(), Img(IMAGE_SPLASH_CLOUD), 512, 120, 128, 1, 100, 1, 0, 1); }},
        {"drawSprite scaled", [&] { board->drawSprite(g.get(), Img(IMAGE_TEXT_GO), 512, 120, 255, 0, 40, 1, 0, 0); }},
        {"drawSprite rotated", [&] { board->drawSprite(g.get(), Img(IMAGE_TEXT_GO), 512, 120, 90, 0, 100, 1, 1, 0); }},
        {"drawMenuBarReflection", [&] { board->drawMenuBarReflection(g.get(), 10, 10, 450, 20); }},
        {"drawCharacter", [&] { board->drawCharacter(g.get(), Img(IMAGE_GORILLA_HAPPY), 885, 752); }},
        {"drawShadowText", [&] { board->drawShadowText(g.get(), "Score", 512, 300, 1, 0xFFFF80, 200); }},
    };
    // Unusual settings, so a routine that resets instead of restoring shows.
    // (The colour is set by the drawing before each use and not given back.)
    auto unusual = [&] {
        g->SetDrawMode(DRAWMODE_ADDITIVE);
        g->SetImageTinting(true);
        g->SetQuickStretch(true);
        g->SetClipRect(5, 6, 700, 500);
        g->SetColor(Color(10, 20, 30, 40));
    };
    const std::vector<std::function<void()>> setups = {
        [&] { board->state = STATE_SPLASH; },
        [&] { board->enterMenus(); board->setMenu(MENU_MODE_CHOICE); board->character = 2; board->hoverItem = 3; },
        [&] { BusyGame(MODE_CASUAL); },
        [&] { BusyGame(MODE_PANIC); board->character = CHARACTER_GOLDFISH; },
        [&] { BusyGame(MODE_TOAST); board->character = CHARACTER_GORILLA; },
        [&] { BusyGame(MODE_STORY); board->character = CHARACTER_WITCH; },
        [&] { BusyGame(MODE_CASUAL); board->setMenu(MENU_PAUSE); },
        [&] { board->state = STATE_STATS; board->statsSlide = 100; board->menuSlide = 100; },
        [&] { board->state = STATE_ABOUT; board->menuSlide = 100; board->textPanelHeight = 2000; },
    };
    for (size_t s = 0; s < setups.size(); ++s)
    {
        setups[s]();
        for (const auto& [name, routine] : routines)
        {
            unusual();
            const SavedState before = Save(*g);
            routine();
            EXPECT_TRUE(Save(*g) == before) << name << " in setup " << s;
        }
    }
}

TEST_F(BoardDrawTest, DrawingNeverChangesWhatTheRulesRead)
{
    BusyGame(MODE_TOAST);
    const uint64_t before = board->stateHash();
    board->Draw(g.get());
    board->setMenu(MENU_PAUSE);
    const uint64_t paused = board->stateHash();
    board->Draw(g.get());
    EXPECT_NE(before, paused);
    EXPECT_EQ(board->stateHash(), paused);
}

// Input from anywhere: a chain cancelled by a move to the far ends of int, then
// the board drawn with the cancel bubble and the cursors there. Positions are
// pulled in to 65536 pixels either way, the bound the application records and a
// demo holds; what a screen can show is kept.
TEST_F(BoardDrawTest, MovesToTheFarEndsOfIntDuringAChainAreSafe)
{
    constexpr int kFar = 1 << 16;
    struct Case
    {
        int x, y, keptX, keptY;
    };
    const Case cases[] = {
        {INT32_MAX, INT32_MAX, kFar, kFar},
        {INT32_MIN, INT32_MIN, -kFar, -kFar},
        {INT32_MAX, INT32_MIN, kFar, -kFar},
        {INT32_MIN, INT32_MAX, -kFar, kFar},
    };
    StartGame(MODE_STORY, 1);
    for (const Case& c : cases)
    {
        SetRows(Rows({"0001234", "1234111"}));
        ClickAt(0, 11);
        MoveTo(1, 11);
        ASSERT_TRUE(board->chainActive);
        board->MouseMove(c.x, c.y);
        EXPECT_FALSE(board->chainActive) << "leaving the field cancels";
        EXPECT_EQ(board->mouseX, c.keptX);
        EXPECT_EQ(board->mouseY, c.keptY);
        EXPECT_EQ(board->cancelX, c.keptX + 56);
        EXPECT_EQ(board->cancelY, c.keptY);
        board->MouseDrag(c.x, c.y);
        board->MouseDown(c.x, c.y, 1);
        board->MouseUp(c.x, c.y, 1);
        board->MouseDown(c.x, c.y, -1);
        board->MouseUp(c.x, c.y, -1);
        board->Draw(g.get());
        board->drawPlayField(g.get());
        board->Update();
    }
    ExpectOnlyValidDraws();

    // A position a screen can show is taken as it is.
    board->MouseMove(-5000, 9000);
    EXPECT_EQ(board->mouseX, -5000);
    EXPECT_EQ(board->mouseY, 9000);
}

TEST_F(BoardDrawTest, CelsOutsideTheirImagesAreNotDrawn)
{
    BusyGame(MODE_CASUAL);
    board->smartBombRunning = false;
    // A cancel of a chain without a colour: the bubble alone.
    for (int colour : {-2, -3})
    {
        board->cancelColour = colour;
        g->calls.clear();
        board->drawPlayField(g.get());
        EXPECT_EQ(CountCalls(IMAGE_BLOB_SPEECH), 1);
        EXPECT_EQ(CountCalls(IMAGE_BLOB_EXCLAMATION), 0);
        ExpectOnlyValidDraws();
    }
    // The game-over flash on an empty cell or a bomb.
    board->chainActive = false;
    board->isGameOver = true;
    board->gameOverTimer = 50;
    board->flashCol = 3;
    board->flashRow = 15;
    for (int type : {BLOB_EMPTY, BLOB_SMART_BOMB})
    {
        board->grid[Board::cellIndex(3, 15)] = type;
        g->calls.clear();
        board->drawPlayField(g.get());
        EXPECT_EQ(CountCalls(IMAGE_TILE_HIGHLIGHT), 0) << type;
        ExpectOnlyValidDraws();
    }
    // Bomb explosions past the bomb strip's six cels.
    board->explosionFrame = 7;
    board->explosionFrame2 = 7;
    g->calls.clear();
    board->drawExplosions(g.get());
    EXPECT_EQ(CountCalls(IMAGE_BOMB_EXPLOSION), 0);
    EXPECT_EQ(CountCalls(IMAGE_SKULL_DEATH), 1);
    ExpectOnlyValidDraws();
}

TEST_F(BoardDrawTest, ZeroSizeStretchesAreNotDrawn)
{
    // The splash's first frame: the logo has not risen yet.
    board->state = STATE_SPLASH;
    board->Draw(g.get());
    EXPECT_EQ(CountCalls(IMAGE_DEVELOPER), 0);
    ExpectOnlyValidDraws();
    Ticks(30);
    g->calls.clear();
    board->Draw(g.get());
    EXPECT_EQ(CountCalls(IMAGE_DEVELOPER, "stretch"), 1);

    // The smart bomb's circle at charge 0.
    BusyGame(MODE_CASUAL);
    board->smartBombCharge = 0;
    g->calls.clear();
    board->drawSmartBomb(g.get());
    EXPECT_EQ(CountCalls(IMAGE_SMARTBOMB_CIRCLE), 0);
    EXPECT_EQ(CountCalls(IMAGE_SMARTBOMB_SCREAM), 0);
    board->smartBombCharge = 50;
    g->calls.clear();
    board->drawSmartBomb(g.get());
    EXPECT_EQ(CountCalls(IMAGE_SMARTBOMB_CIRCLE, "stretch"), 2);
    ExpectOnlyValidDraws();
}

TEST_F(BoardDrawTest, BonusTimerBarFollowsTheTimerAndNeedsAStartValue)
{
    BusyGame(MODE_CASUAL);
    const int full = Img(IMAGE_BONUS_TIMER_FULL)->GetWidth();
    board->comboTimerStart = 100;
    board->comboTimer = 50;
    g->calls.clear();
    board->drawScorePanel(g.get());
    ASSERT_EQ(CountCalls(IMAGE_BONUS_TIMER_FULL, "part"), 1);
    for (const auto& call : g->calls)
        if (call.image == Img(IMAGE_BONUS_TIMER_FULL))
        {
            EXPECT_EQ(call.source.mWidth, full / 2);
        }
    board->comboTimerStart = 0; // never divided by
    g->calls.clear();
    board->drawScorePanel(g.get());
    EXPECT_EQ(CountCalls(IMAGE_BONUS_TIMER_FULL), 0);
}

TEST_F(BoardDrawTest, TutorialArrowOnlyOnPagesThatHaveOne)
{
    StartGame(MODE_CASUAL);
    board->tutorial = true;
    board->scriptPos = 0; // a segment end: the tutorial waits for a click
    board->scriptCountdown = 0;
    board->tutorialPage = 3;
    board->drawHud(g.get());
    EXPECT_EQ(CountCalls(IMAGE_TUTORIAL_ARROW), 1);
    // The last fade reads page 14, past the 14-entry tables.
    board->tutorialPage = Board::kTutorialPages;
    g->calls.clear();
    board->drawHud(g.get());
    board->drawScorePanel(g.get());
    EXPECT_EQ(CountCalls(IMAGE_TUTORIAL_ARROW), 0);
    // While a script segment runs no arrow shows either.
    board->tutorialPage = 3;
    board->scriptPos = 5;
    board->scriptCountdown = 0;
    g->calls.clear();
    board->drawHud(g.get());
    EXPECT_EQ(CountCalls(IMAGE_TUTORIAL_ARROW), 0);
}

TEST_F(BoardDrawTest, ComboPageArrowStandsAboveTheBonusBarOverThePagePanel)
{
    StartGame(MODE_CASUAL);
    board->tutorial = true;
    board->scriptPos = 20; // the combo page's segment end
    board->scriptCountdown = 0;
    board->tutorialPage = 6;
    board->menuSlide = 100;
    board->bounceHeight = 40;
    board->Draw(g.get());
    ASSERT_EQ(CountCalls(IMAGE_TUTORIAL_ARROW), 1);
    ASSERT_EQ(CountCalls(IMAGE_SPEECH_TAIL), 1);
    size_t arrowAt = 0;
    size_t tailAt = 0;
    for (size_t i = 0; i < g->calls.size(); ++i)
    {
        if (g->calls[i].image == Img(IMAGE_TUTORIAL_ARROW))
            arrowAt = i;
        if (g->calls[i].image == Img(IMAGE_SPEECH_TAIL))
            tailAt = i;
    }
    // Drawn after the page's panel, whose tail lies over that spot.
    EXPECT_GT(arrowAt, tailAt);
    const Image* arrow = Img(IMAGE_TUTORIAL_ARROW);
    const int barTop = 16 + Img(IMAGE_SCORE_BARS)->GetHeight() - Img(IMAGE_BONUS_TIMER_FULL)->GetHeight();
    EXPECT_EQ(g->calls[arrowAt].dest.mX, 1024 - 139 - arrow->GetWidth() / 2);
    EXPECT_EQ(g->calls[arrowAt].dest.mY, barTop - arrow->GetHeight() - 10);
    // Paused: no arrow over the pause menu.
    board->setMenu(MENU_PAUSE);
    g->calls.clear();
    board->Draw(g.get());
    EXPECT_EQ(CountCalls(IMAGE_TUTORIAL_ARROW), 0);
}

TEST_F(BoardDrawTest, CharacterStripDrawsOnlyItsCurrentCelDoubled)
{
    Image* strip = Img(IMAGE_WITCH_BLISS);
    const int cel = strip->GetCelWidth();
    board->moodFrame = strip->mCelColumns + 3; // wraps to frame 3
    board->drawCharacter(g.get(), strip, 885, 752);
    ASSERT_EQ(CountCalls(IMAGE_WITCH_BLISS), 1);
    const auto& call = g->calls.back();
    EXPECT_EQ(call.kind, "part_stretch");
    EXPECT_EQ(call.source, Rect(3 * cel, 0, cel, strip->GetHeight()));
    EXPECT_EQ(call.dest, Rect(885 - cel, 752 - 2 * strip->GetHeight(), 2 * cel, 2 * strip->GetHeight()));
}

// The goldfish's water cooler: half full in Story mode, on any screen; the
// Panic water in play; full otherwise.
TEST_F(BoardDrawTest, TheCoolersWaterFollowsTheModeFirstThenThePlay)
{
    const int room = Img(IMAGE_WATER_COOLER)->GetHeight() - 30;
    auto water = [&] {
        board->character = CHARACTER_GOLDFISH;
        board->mood = MOOD_IDLE;
        g->calls.clear();
        board->drawSidePanel(g.get(), 885, 752);
        for (const auto& call : g->calls)
            if (call.kind == "fill")
                return call.dest.mHeight;
        return -1;
    };
    BusyGame(MODE_PANIC);
    board->glassFill = 100;
    EXPECT_EQ(water(), room * 100 / 300);
    board->enterMenus();
    EXPECT_EQ(water(), room) << "after a Panic game";
    BusyGame(MODE_STORY);
    EXPECT_EQ(water(), room / 2);
    board->enterMenus();
    board->setMenu(MENU_MODE_CHOICE);
    EXPECT_EQ(water(), room / 2) << "after a Story game";
}

TEST_F(BoardDrawTest, FadeCoversTheWholeBoardWithWhite)
{
    board->enterMenus();
    board->startTransition(STATE_STATS, 1);
    Ticks(10);
    board->Draw(g.get());
    const auto& last = g->calls.back();
    EXPECT_EQ(last.kind, "fill");
    EXPECT_EQ(last.dest, Rect(0, 0, 1024, 768));
    EXPECT_EQ(last.n, board->fadeAlpha);

    board->inTransition = false;
    g->calls.clear();
    board->Draw(g.get());
    EXPECT_NE(g->calls.back().dest, Rect(0, 0, 1024, 768));
}

} // namespace
} // namespace Lumo::GameTest

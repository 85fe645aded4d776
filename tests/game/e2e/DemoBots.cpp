#include "DemoBots.h"

#include "game/BoardLayout.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace Lumo::E2e {

namespace {

using Cell = std::pair<int, int>; // column, row
using Path = std::vector<Cell>;

CaptureHook gCaptureHook;

// Notes the current update as the capture of that name.
void Note(GameRun& run, DemoExpectations& expect, const std::string& name)
{
    expect.captures[name] = run.Updates();
    if (gCaptureHook)
        gCaptureHook(name, run);
}

bool MenuReady(const Board& b)
{
    return b.state == STATE_MENUS && !b.inTransition && b.menuTextAlpha >= 255;
}

bool PausedMenuReady(const Board& b)
{
    return b.state == STATE_PAUSED && !b.inTransition && b.menuTextAlpha >= 255;
}

// Ready for the next click on the field: no fall, no intro, no fade, no chain.
bool FieldReady(const Board& b)
{
    return b.state == STATE_PLAYING && !b.inTransition && !b.introShowing && !b.introRunning && !b.fallPending &&
           b.fallDelay <= 0 && !b.smartBombRunning && !b.chainActive && !b.isGameOver && !b.chapterComplete;
}

int CellX(int column)
{
    return Board::columnToX(column, true);
}
int CellY(int row)
{
    return Board::rowToY(row, true);
}

// Chooses a menu item by its text id: moves there, waits a moment, clicks.
bool Choose(GameRun& run, int itemId, std::string& error)
{
    const Board* board = run.GetBoard();
    const int index = board != nullptr ? MenuIndexOf(*board, itemId) : -1;
    if (index < 0)
    {
        error = "menu item " + std::to_string(itemId) + " is not in the current menu";
        return false;
    }
    int x = 0;
    int y = 0;
    MenuItemCentre(*board, index, x, y);
    run.MouseMove(x - 40, y + 6);
    run.Flush();
    run.Pass(1);
    run.Click(x, y);
    run.Pass(1);
    return !run.Ended() || itemId == TEXT_QUIT_GAME;
}

bool Wait(GameRun& run, const std::function<bool(const Board&)>& condition, const char* what, std::string& error,
          int maxUpdates = 20000)
{
    if (run.WaitUntil(condition, maxUpdates))
        return true;
    error = std::string("timed out waiting for ") + what;
    return false;
}

void Idle(GameRun& run, int updates)
{
    for (int i = 0; i < updates && !run.Ended(); ++i)
        run.Pass(1);
}

// The longest run of same-coloured, orthogonally adjacent cells (3 to 6)
// found by a depth-first search; empty when there is none.
class ChainFinder
{
public:
    explicit ChainFinder(const Board& board) : mBoard(board)
    {
        mLastRow = board.mode == MODE_TOAST ? Board::kLastRow - 1 : Board::kLastRow;
    }

    Path Find()
    {
        mBest.clear();
        for (int row = mLastRow; row >= Board::kFirstVisibleRow; --row)
            for (int column = 0; column < Board::kColumns; ++column)
            {
                const int colour = mBoard.cellType(column, row);
                if (colour < BLOB_COLOUR_0 || colour > BLOB_COLOUR_4)
                    continue;
                Path path = {{column, row}};
                Search(path, colour);
            }
        return mBest.size() >= 3 ? mBest : Path();
    }

    // A visible cell of the type, or (-1, -1).
    Cell FindType(int type) const
    {
        for (int row = mLastRow; row >= Board::kFirstVisibleRow; --row)
            for (int column = 0; column < Board::kColumns; ++column)
                if (mBoard.cellType(column, row) == type)
                    return {column, row};
        return {-1, -1};
    }

private:
    void Search(Path& path, int colour)
    {
        if (path.size() > mBest.size())
            mBest = path;
        if (path.size() >= 6)
            return;
        static const int kSteps[4][2] = {{0, 1}, {1, 0}, {0, -1}, {-1, 0}};
        const Cell last = path.back();
        for (const auto& step : kSteps)
        {
            const Cell next = {last.first + step[0], last.second + step[1]};
            if (next.first < 0 || next.first >= Board::kColumns || next.second < Board::kFirstVisibleRow ||
                next.second > mLastRow)
                continue;
            if (mBoard.cellType(next.first, next.second) != colour)
                continue;
            if (std::find(path.begin(), path.end(), next) != path.end())
                continue;
            path.push_back(next);
            Search(path, colour);
            path.pop_back();
        }
    }

    const Board& mBoard;
    int mLastRow = Board::kLastRow;
    Path mBest;
};

// Clicks a special blob (bomb or smart bomb) at the cell.
void ClickCell(GameRun& run, const Cell& cell)
{
    run.Click(CellX(cell.first), CellY(cell.second));
}

// Builds and completes one chain along the path. With captureName set, the
// update with the chain half built is noted as that capture.
void MakeChain(GameRun& run, const Path& path, DemoExpectations& expect, const std::string& captureName)
{
    run.Click(CellX(path.front().first), CellY(path.front().second));
    for (size_t i = 1; i < path.size(); ++i)
    {
        run.MouseMove(CellX(path[i].first) - 5, CellY(path[i].second) + 3);
        run.Flush();
        Idle(run, 3);
        if (!captureName.empty() && i + 1 == path.size())
            Note(run, expect, captureName);
    }
    const Cell& last = path.back();
    run.Click(CellX(last.first), CellY(last.second));
}

// Plays chains until the stop condition holds or `maxChains` were tried.
bool PlayChains(GameRun& run, int maxChains, const std::function<bool(const Board&)>& stop,
                DemoExpectations& expect, const std::string& captureName, int captureAt, std::string& error)
{
    for (int chain = 0; chain < maxChains; ++chain)
    {
        auto ready = [&](const Board& b) { return FieldReady(b) || stop(b) || b.state != STATE_PLAYING; };
        if (!Wait(run, ready, "the field to settle", error))
            return false;
        const Board& board = *run.GetBoard();
        if (stop(board))
            return true;
        if (board.state != STATE_PLAYING)
        {
            error = "left the game unexpectedly";
            return false;
        }
        ChainFinder finder(board);
        const Cell smartBomb = finder.FindType(BLOB_SMART_BOMB);
        const Cell bomb = finder.FindType(BLOB_BOMB);
        if (smartBomb.first >= 0)
        {
            ClickCell(run, smartBomb);
            continue;
        }
        if (bomb.first >= 0 && chain % 4 == 3)
        {
            ClickCell(run, bomb);
            continue;
        }
        const Path path = finder.Find();
        if (path.empty())
        {
            Idle(run, 10); // the game ends when no chain is left
            continue;
        }
        MakeChain(run, path, expect, chain == captureAt ? captureName : std::string());
        Idle(run, 2);
    }
    return true;
}

// From the main menu into a game of the mode, past its introduction panel.
bool StartGame(GameRun& run, int modeItem, DemoExpectations& expect, std::string& error)
{
    if (!Wait(run, MenuReady, "the main menu", error) || !Choose(run, TEXT_START_GAME, error))
        return false;
    if (!Wait(run, MenuReady, "the mode choice", error))
        return false;
    // Hover the mode long enough for its character and description to show.
    const Board& board = *run.GetBoard();
    int x = 0;
    int y = 0;
    MenuItemCentre(board, MenuIndexOf(board, modeItem), x, y);
    run.MouseMove(x + 30, y);
    run.Flush();
    Idle(run, 60);
    if (modeItem == TEXT_CASUAL)
        Note(run, expect, "mode_choice");
    if (!Choose(run, modeItem, error))
        return false;
    auto introShown = [](const Board& b) {
        return b.state == STATE_PLAYING && !b.inTransition && b.introShowing && b.menuTextAlpha >= 255;
    };
    if (!Wait(run, introShown, "the introduction panel", error))
        return false;
    Note(run, expect, "introduction");
    run.Click(512, 400);
    return Wait(run, FieldReady, "the introduction to end", error);
}

bool PlayMenus(GameRun& run, DemoExpectations& expect, std::string& error)
{
    // The splash at the end of its fade-in, the logo risen.
    auto splashShown = [](const Board& b) { return b.state == STATE_SPLASH && b.mUpdateCnt >= 32; };
    if (!Wait(run, splashShown, "the splash", error))
        return false;
    Note(run, expect, "splash");
    if (!Wait(run, MenuReady, "the main menu", error))
        return false;
    Idle(run, 60); // the title letters land
    Note(run, expect, "main_menu");

    if (!Choose(run, TEXT_ABOUT, error))
        return false;
    auto aboutShown = [](const Board& b) { return b.state == STATE_ABOUT && !b.inTransition && b.menuTextAlpha >= 255; };
    if (!Wait(run, aboutShown, "the about screen", error))
        return false;
    Note(run, expect, "about");
    // Drag the scroll column half-way down, then leave with a click.
    const Board& about = *run.GetBoard();
    const int columnX = 512 + BoardLayout::MenuBarWidth(about.menuSlide, about.wobbleAngle, 800) / 2 + 20;
    const int top = about.scrollBarTop + 4;
    run.MouseMove(columnX, top);
    run.MouseDown(columnX, top);
    for (int step = 1; step <= 8; ++step)
        run.MouseMove(columnX, top + step * about.scrollBarLength / 16);
    run.MouseUp(columnX, top + about.scrollBarLength / 2);
    run.Flush();
    Idle(run, 10);
    Note(run, expect, "about_scrolled");
    if (run.GetBoard()->aboutScroll >= 0)
    {
        error = "the about text did not scroll";
        return false;
    }
    run.Click(300, 600);
    if (!Wait(run, MenuReady, "the menus after About", error) || !Choose(run, TEXT_YOUR_STATS, error))
        return false;
    auto statsShown = [](const Board& b) {
        return b.state == STATE_STATS && !b.inTransition && b.menuTextAlpha >= 255 && b.statsSlide >= 100;
    };
    if (!Wait(run, statsShown, "the statistics screen", error))
        return false;
    Note(run, expect, "stats");
    run.Click(512, 700);
    if (!Wait(run, MenuReady, "the menus after the statistics", error) || !Choose(run, TEXT_QUIT_GAME, error))
        return false;
    run.RunToEnd(1, 2000);
    if (!run.Ended())
    {
        error = "Quit did not end the program";
        return false;
    }
    return true;
}

bool PlayCasual(GameRun& run, DemoExpectations& expect, std::string& error)
{
    if (!StartGame(run, TEXT_CASUAL, expect, error))
        return false;
    auto never = [](const Board& b) { return b.isGameOver; };
    if (!PlayChains(run, 12, never, expect, "in_play", 5, error))
        return false;
    if (!Wait(run, FieldReady, "the field to settle", error))
        return false;
    run.Click(139, 294); // the pause button
    if (!Wait(run, PausedMenuReady, "the pause menu", error))
        return false;
    Note(run, expect, "pause");
    if (!Choose(run, TEXT_QUIT, error))
        return false;
    if (!Wait(run, MenuReady, "the menus after Quit", error))
        return false;
    return true;
}

bool PlayToast(GameRun& run, DemoExpectations& expect, std::string& error)
{
    if (!StartGame(run, TEXT_TOAST, expect, error))
        return false;
    auto over = [](const Board& b) { return b.isGameOver; };
    if (!PlayChains(run, 200, over, expect, "toast_in_play", 3, error))
        return false;
    auto menuShown = [](const Board& b) {
        return b.isGameOver && b.gameOverTimer <= 0 && b.menuTextAlpha >= 255 && b.bannerY >= 384 &&
               b.bannerSpeed == 0;
    };
    if (!Wait(run, menuShown, "the game-over menu", error))
        return false;
    Note(run, expect, "game_over");
    if (!Choose(run, TEXT_QUIT, error))
        return false;
    return Wait(run, MenuReady, "the menus after the game over", error);
}

// Review only (not recorded by default): a few chains of Panic and of Story.
bool PlayShort(GameRun& run, int modeItem, DemoExpectations& expect, std::string& error)
{
    if (!StartGame(run, modeItem, expect, error))
        return false;
    auto never = [](const Board& b) { return b.isGameOver; };
    return PlayChains(run, 8, never, expect, modeItem == TEXT_PANIC ? "panic_in_play" : "story_in_play", 6, error);
}

// Review only: screens that the demos do not reach quickly. It sets Board
// fields directly, so its recording is no valid demo.
bool PlayReview(GameRun& run, DemoExpectations& expect, std::string& error)
{
    if (!Wait(run, MenuReady, "the main menu", error) || !Choose(run, TEXT_OPTIONS, error) ||
        !Wait(run, MenuReady, "the options", error))
        return false;
    Note(run, expect, "options");
    run.GetBoard()->eveningFlag = false;
    Idle(run, 2);
    Note(run, expect, "options_night");
    run.GetBoard()->eveningFlag = true;
    if (!Choose(run, TEXT_OPTIONS_BACK, error) || !StartGame(run, TEXT_CASUAL, expect, error))
        return false;
    run.GetBoard()->grid[Board::cellIndex(3, 16)] = BLOB_SMART_BOMB;
    run.Click(CellX(3), CellY(16));
    Idle(run, 80);
    Note(run, expect, "smart_bomb");
    Board& board = *run.GetBoard();
    board.state = STATE_STORY_ENDING;
    board.mode = MODE_STORY;
    board.character = CHARACTER_WITCH;
    board.textPanelHeight = -1;
    board.menuSlide = 0;
    board.menuTextAlpha = 0;
    board.setMood(MOOD_PANIC);
    auto shown = [](const Board& b) { return b.menuTextAlpha >= 255; };
    if (!Wait(run, shown, "the story ending", error))
        return false;
    Idle(run, 120);
    Note(run, expect, "story_ending");
    return true;
}

bool PlayTutorial(GameRun& run, DemoExpectations& expect, std::string& error)
{
    if (!Wait(run, MenuReady, "the main menu", error) || !Choose(run, TEXT_TUTORIAL, error))
        return false;
    auto started = [](const Board& b) { return b.state == STATE_PLAYING && b.tutorial && !b.inTransition; };
    if (!Wait(run, started, "the tutorial", error))
        return false;
    const auto& script = Board::tutorialScript();
    auto waiting = [&script](const Board& b) {
        return b.state != STATE_PLAYING ||
               (!b.inTransition && b.scriptCountdown <= 0 && script[static_cast<size_t>(b.scriptPos)] == -1 &&
                b.menuTextAlpha >= 255);
    };
    for (int page = 0; page < Board::kTutorialPages; ++page)
    {
        if (!Wait(run, waiting, "a tutorial page", error))
            return false;
        if (run.GetBoard()->state != STATE_PLAYING)
        {
            error = "the tutorial ended early";
            return false;
        }
        if (page == 3)
            Note(run, expect, "tutorial");
        if (page == 6 || page == 8 || page == 9 || page == 10 || page == 11)
            Note(run, expect, "tutorial_page" + std::to_string(page));
        run.Click(600, 500);
        Idle(run, 5);
    }
    return Wait(run, MenuReady, "the menus after the tutorial", error);
}

} // namespace

const std::vector<std::string>& ScenarioNames()
{
    // The menus come last: their statistics screen then shows the others' results.
    static const std::vector<std::string> names = {"casual", "toast", "tutorial", "menus"};
    return names;
}

void SetCaptureHook(CaptureHook hook)
{
    gCaptureHook = std::move(hook);
}

bool PlayScenario(const std::string& name, GameRun& run, DemoExpectations& expect, std::string& error)
{
    if (!run.WaitForBoard())
    {
        error = "the game did not start";
        return false;
    }
    if (name == "menus")
        return PlayMenus(run, expect, error);
    if (name == "casual")
        return PlayCasual(run, expect, error);
    if (name == "toast")
        return PlayToast(run, expect, error);
    if (name == "tutorial")
        return PlayTutorial(run, expect, error);
    if (name == "review")
        return PlayReview(run, expect, error);
    if (name == "panic")
        return PlayShort(run, TEXT_PANIC, expect, error);
    if (name == "story")
        return PlayShort(run, TEXT_STORY, expect, error);
    error = "unknown scenario " + name;
    return false;
}

} // namespace Lumo::E2e

#pragma once
// The real game (GameApp with its assets from the working folder) run in this
// process, headless, on the application's virtual clock, the way the program
// runs it: construction, Init with a command line, then main-loop passes.
// Used by the demo recorder and the end-to-end tests. One run per process at a
// time (the application is a process-wide object).
#include "game/Board.h"
#include "game/GameApp.h"
#include "platform/Input.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace Lumo::E2e {

class GameRun
{
public:
    // args: the program's options, e.g. {"-play", "-demofile=x.dmo"}.
    explicit GameRun(const std::vector<std::string>& args);
    ~GameRun();
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;

    GameApp& App() { return *mApp; }
    // The Board once loading has completed, else null.
    Board* GetBoard() { return mApp->board; }
    int Updates() const { return mApp->GetUpdateCount(); }
    bool Ended() const { return mEnded; }

    // One main-loop pass with the clock moved by updates x 10 ms (at most 10
    // updates, then one draw). False once the program has ended.
    bool Pass(int updates = 1);
    // Passes of one update until the Board exists (loading completed) or the
    // program ended; false when it ended first.
    bool WaitForBoard(int maxUpdates = 200000);
    // Single-update passes until the condition holds after an update; false
    // when the program ended or maxUpdates passed first.
    bool WaitUntil(const std::function<bool(const Board&)>& condition, int maxUpdates = 20000);
    // Runs to the end of the program (a demo's end, a quit), with updates
    // per pass (draws only every updates-th update); false after maxUpdates.
    bool RunToEnd(int updatesPerPass, int maxUpdates = 200000);

    // Feeds input as if it came from the window; applied one per pass.
    void Queue(const Platform::InputEvent& event);
    void MouseMove(int x, int y);
    void MouseDown(int x, int y, int button = Platform::MOUSE_LEFT);
    void MouseUp(int x, int y, int button = Platform::MOUSE_LEFT);
    // Move, down, up: three passes.
    void Click(int x, int y, int button = Platform::MOUSE_LEFT);
    // Passes until every queued input has been applied.
    bool Flush();

    // The last drawn frame (0xAARRGGBB rows, the screen's size), or empty.
    std::vector<uint32_t> Frame() const;

private:
    std::unique_ptr<GameApp> mApp;
    bool mEnded = false;
    int mPending = 0; // queued inputs not yet applied
};

// The centre of menu item `index` of the Board's current menu, as the rules
// lay it out.
void MenuItemCentre(const Board& board, int index, int& x, int& y);
// The index of the menu item with the text id in the current menu, or -1.
int MenuIndexOf(const Board& board, int itemId);

} // namespace Lumo::E2e

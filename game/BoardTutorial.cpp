// The tutorial: its fixed starting board ("demo_board") and the script that
// moves the game cursor and clicks while the player reads the pages.
#include "game/Board.h"

#include "game/GameApp.h"
#include "game/DemoBoardFile.h"
#include "platform/DebugOutput.h"

#include <cassert>

namespace Lumo {

namespace {

// Script codes: -1 end of a segment (wait for the player's click), 0 wait 30
// ticks, 1 up, 2 right, 3 down, 4 left (one cell), 5 click, 6 cancel.
constexpr int kEnd = -1;
constexpr int kWait = 0;
constexpr int kUp = 1;
constexpr int kRight = 2;
constexpr int kDown = 3;
constexpr int kLeft = 4;
constexpr int kClick = 5;
constexpr int kCancel = 6;

constexpr int8_t kArrowColumns[Board::kTutorialPages] = {-1, -1, -1, 3, -1, -1, -1, -1, 3, 3, 4, 2, 2, -1};
constexpr int8_t kArrowRows[Board::kTutorialPages] = {-1, -1, -1, 7, -1, -1, -1, -1, 7, 6, 5, 7, 7, -1};

} // namespace

const std::array<int8_t, Board::kScriptLength>& Board::tutorialScript()
{
    static const std::array<int8_t, kScriptLength> script = {
        // pages 0-3: text only
        -1, -1, -1, -1,
        // page 4 (positions 4-9)
        0, 0, 5, 0, 0, -1,
        // page 5 (10-16)
        0, 3, 2, 3, 0, 0, -1,
        // page 6 (17-20)
        0, 5, 0, -1,
        // page 7 (21-41)
        0, 5, 4, 1, 5, 3, 3, 4, 5, 1, 2, 1, 1, 5, 5, 4, 1, 5, 0, 0, -1,
        // page 8 (42-61)
        0, 1, 4, 5, 2, 2, 2, 0, 6, 0, 5, 4, 1, 4, 3, 4, 0, 5, 0, -1,
        // page 9 (62-74)
        0, 3, 3, 2, 5, 2, 3, 3, 4, 3, 5, 0, -1,
        // page 10 (75): text only
        -1,
        // page 11 (76-83)
        0, 2, 2, 1, 0, 5, 0, -1,
        // page 12 (84): text only
        -1,
        // page 13 (85-99)
        0, 4, 4, 1, 1, 0, 5, 0, 0, 0, 0, 0, 0, 0, -1,
        // never reached
        -1, -1, -1,
    };
    return script;
}

int Board::tutorialArrowColumn(int page)
{
    return page >= 0 && page < kTutorialPages ? kArrowColumns[page] : -1;
}

int Board::tutorialArrowRowValue(int page)
{
    return page >= 0 && page < kTutorialPages ? kArrowRows[page] : -1;
}

bool Board::readFile()
{
    Platform::DebugOutput("readFile() \n");
    const std::optional<TutorialBoard> board = DemoBoardFile::Load(kDemoBoardFileName);
    if (!board)
    {
        Platform::DebugOutput("Cannot open file \n");
        // Without its board the tutorial cannot run: say so before the
        // process ends, so the player is not left with a vanished window.
        app->ShowFatalError(std::string("The tutorial board \"") + kDemoBoardFileName +
                            "\" is missing or damaged. Please reinstall the game.");
        app->ExitProcess(1);
        return false;
    }
    for (int i = 0; i < kCells; ++i)
        grid[i] = (*board)[i];
    return true;
}

void Board::stepTutorial()
{
    const auto& script = tutorialScript();
    assert(scriptPos >= 0 && scriptPos < kScriptLength);
    // The code as it stands when the tick begins decides: a segment that ends
    // in this tick waits for a click from the next tick on.
    if (script[scriptPos] != kEnd)
    {
        stepScript();
        return;
    }
    // Waiting at the end of a segment: a click turns the page once its text
    // has fully faded in.
    if (!leftDown)
        return;
    if (menuTextAlpha == 255)
        advanceTutorialPage();
    leftDown = false;
}

void Board::stepScript()
{
    const auto& script = tutorialScript();
    if (scriptCountdown > 0)
    {
        --scriptCountdown;
        cursorX += scriptDX;
        cursorY += scriptDY;
        cursorMoved();
        return;
    }
    if (scriptPos + 1 >= kScriptLength)
        return;
    ++scriptPos;
    scriptDX = scriptDY = 0;
    scriptCountdown = 30;
    switch (script[scriptPos])
    {
    case kEnd:
        scriptCountdown = 0;
        resetMenuSlide();
        break;
    case kClick:
        gameClick();
        break;
    case kCancel:
        cancelChain(true);
        break;
    case kUp:
        scriptDY = -2;
        break;
    case kDown:
        scriptDY = 2;
        break;
    case kRight:
        scriptDX = 2;
        scriptCountdown = 28;
        break;
    case kLeft:
        scriptDX = -2;
        scriptCountdown = 28;
        break;
    case kWait:
    default:
        break;
    }
}

void Board::advanceTutorialPage()
{
    playSound(SOUND_SELECT_OPTION);
    ++tutorialPage;
    if (tutorialPage >= kTutorialPages)
    {
        startTransition(STATE_MENUS, 1);
        return;
    }
    resetMenuSlide();
    if (scriptPos + 1 < kScriptLength)
        ++scriptPos;
    textPanelHeight = -1;
    scriptCountdown = tutorialScript()[scriptPos] != kEnd ? 30 : 0;
}

} // namespace Lumo

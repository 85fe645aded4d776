// The tutorial board reader, and the rules on whatever board it accepts: the
// board is put into a tutorial game whose script then runs through its pages.
#include "game/Board.h"
#include "game/GameApp.h"
#include "game/DemoBoardFile.h"
#include "graphics/Image.h"

#include <cstdlib>

namespace {

// A game over saves nothing here.
class FuzzBoard : public Lumo::Board
{
public:
    using Lumo::Board::Board;
    void saveGameData() override {}
};

class FuzzGameApp : public Lumo::GameApp
{
public:
    FuzzGameApp()
    {
        const auto& table = Lumo::GameImageTable();
        for (int id = 0; id < Lumo::IMAGE_COUNT; ++id)
        {
            auto* image = new Lumo::Image();
            image->mCelColumns = table[id].celColumns;
            image->mCelRows = table[id].celRows;
            image->mWidth = 20 * image->mCelColumns;
            image->mHeight = 20 * image->mCelRows;
            images[id] = image;
        }
        board = new FuzzBoard(this);
        board->Resize(0, 0, mWidth, mHeight);
    }
    void ExitProcess(int exitCode) override { (void)exitCode; }
    void Shutdown() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace Lumo;
    const std::optional<TutorialBoard> parsed = DemoBoardFile::Parse(data, size);
    if (!parsed)
        return 0;
    for (int8_t cell : *parsed)
        if (cell < -1 || cell > 9)
            std::abort();
    static FuzzGameApp* app = new FuzzGameApp();
    Board* board = app->board;
    board->tutorial = false;
    board->mode = size > 154 ? (data[154] % MODE_COUNT) : MODE_CASUAL;
    board->state = STATE_PLAYING;
    board->inTransition = false;
    board->newGame();
    // The tutorial's start, on the board read (as a tutorial game does).
    board->tutorial = true;
    board->introShowing = board->introRunning = false;
    board->tutorialPage = 0;
    board->scriptPos = 0;
    board->scriptCountdown = 0;
    board->cursorX = 512;
    board->cursorY = 384;
    for (int i = 0; i < Board::kCells; ++i)
        board->grid[i] = (*parsed)[i];
    board->countMoves();
    for (int tick = 0; tick < 600 && board->state == STATE_PLAYING; ++tick)
    {
        if (tick % 80 == 79)
            board->leftDown = true; // the player turns the page
        board->Update();
    }
    return 0;
}

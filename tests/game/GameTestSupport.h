#pragma once
// A headless game for the Board's tests: a GameApp that is never Init'ed, with
// small generated images of known sizes, a monospaced font, and recorders for
// sounds, music, shut-down requests and process exits. Each test runs in a
// fresh working folder, so save files and "demo_board" never leak between
// tests.
#include "app/Common.h"
#include "app/Random.h"
#include "audio/MusicInterface.h"
#include "fonts/Font.h"
#include "game/Board.h"
#include "game/GameApp.h"
#include "graphics/Image.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <utility>
#include <string>
#include <vector>

namespace Lumo::GameTest {

// Every character is 10 pixels wide; lines are 30 pixels apart.
class MonoFont : public Font
{
public:
    MonoFont()
    {
        mHeight = 28;
        mAscent = 22;
        mLineSpacingOffset = 2;
    }
    int GetStringWidth(const std::string& text) override { return static_cast<int>(text.size()) * 10; }
    Font* Clone() override { return new MonoFont(*this); }
};

class RecordingMusic : public MusicInterface
{
public:
    bool LoadMusic(int id, const std::string& fileName) override
    {
        events.push_back("load " + std::to_string(id) + " " + fileName);
        return true;
    }
    void PlayMusic(int id, int offset, bool noLoop) override
    {
        events.push_back("play " + std::to_string(id) + " " + std::to_string(offset) + (noLoop ? " once" : " loop"));
        playing = id;
    }
    void StopMusic(int id) override
    {
        events.push_back("stop " + std::to_string(id));
        if (playing == id)
            playing = -1;
    }
    void StopAllMusic() override
    {
        events.push_back("stopall");
        playing = -1;
    }
    bool IsPlaying(int id) override { return playing == id; }
    bool Saw(const std::string& event) const
    {
        return std::find(events.begin(), events.end(), event) != events.end();
    }

    std::vector<std::string> events;
    int playing = -1;
};

// Sizes of the images the rules measure (width, height); every other image
// gets 10 pixels per cel.
struct ImageSize
{
    int id, width, height;
};
inline constexpr ImageSize kRuleImageSizes[] = {
    {IMAGE_COCKTAIL, 100, 160},    {IMAGE_WATER_COOLER, 120, 300}, {IMAGE_BUTTON_PAUSE, 64, 48},
    {IMAGE_MENU_CORNER_TL, 16, 20}, {IMAGE_SPLASH_CLOUD, 600, 200},
};

// Generated images: every cel 10 x 10, the measured ones at their sizes.
inline void FillTestImages(std::array<Image*, IMAGE_COUNT>& images)
{
    const auto& table = GameImageTable();
    for (int id = 0; id < IMAGE_COUNT; ++id)
    {
        auto* image = new Image();
        image->mCelColumns = table[id].celColumns;
        image->mCelRows = table[id].celRows;
        image->mWidth = 10 * image->mCelColumns;
        image->mHeight = 10 * image->mCelRows;
        images[id] = image;
    }
    for (const ImageSize& size : kRuleImageSizes)
    {
        images[size.id]->mWidth = size.width;
        images[size.id]->mHeight = size.height;
    }
}

class TestGameApp : public GameApp
{
public:
    TestGameApp()
    {
        music = new RecordingMusic();
        mMusicInterface = music;
        gameFont = new MonoFont();
        FillTestImages(images);
    }

    void PlaySample(int soundId) override { sounds.push_back(soundId); }
    void Shutdown() override { ++shutdownCalls; }
    void ExitProcess(int exitCode) override { exitCodes.push_back(exitCode); }

    // Creates the Board as loading completion does, without a window.
    Board* MakeBoard()
    {
        board = new Board(this);
        board->Resize(0, 0, mWidth, mHeight);
        return board;
    }

    int CountSound(int id) const { return static_cast<int>(std::count(sounds.begin(), sounds.end(), id)); }

    RecordingMusic* music = nullptr;
    std::vector<int> sounds;
    std::vector<int> exitCodes;
    int shutdownCalls = 0;
};

// A fresh working folder per test.
class ScratchFolder
{
public:
    ScratchFolder()
    {
        static int counter = 0;
        mOld = std::filesystem::current_path();
        mPath = std::filesystem::temp_directory_path() /
                ("tumbrix_game_test_" + std::to_string(Platform::GetProcessId()) + "_" + std::to_string(counter++));
        std::filesystem::remove_all(mPath);
        std::filesystem::create_directories(mPath);
        std::filesystem::current_path(mPath);
    }
    ~ScratchFolder()
    {
        std::filesystem::current_path(mOld);
        std::error_code ignored;
        std::filesystem::remove_all(mPath, ignored);
    }
    const std::filesystem::path& Path() const { return mPath; }

private:
    std::filesystem::path mOld;
    std::filesystem::path mPath;
};

// Cell letters: '0'-'4' colours, 'W' wildcard, 'B' bomb, 'S' smart bomb,
// 'K' skull, 'T' bread, '.' empty.
inline int CellFromChar(char c)
{
    switch (c)
    {
    case 'W': return BLOB_WILDCARD;
    case 'B': return BLOB_BOMB;
    case 'S': return BLOB_SMART_BOMB;
    case 'K': return BLOB_SKULL;
    case 'T': return BLOB_BREAD;
    case '.': return BLOB_EMPTY;
    default: return c - '0';
    }
}

class BoardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SeedRandom(12345);
        SetDataFolder(""); // the save file lives in the test's own working folder
        app = new TestGameApp();
        board = app->MakeBoard();
    }
    void TearDown() override { delete app; }

    // A game of the mode in play, past its introduction, with its music and
    // sounds so far forgotten.
    void StartGame(int mode, int chapter = -1)
    {
        board->tutorial = false;
        board->mode = mode;
        board->chapter = chapter;
        board->state = STATE_PLAYING;
        board->inTransition = false;
        board->newGame();
        board->introShowing = false;
        board->introRunning = false;
        app->sounds.clear();
        app->music->events.clear();
    }

    // Sets rows from `firstRow` on, one string of 7 letters per row; the rows
    // above (down to 0) are filled with `spawnFill`.
    void SetRows(const std::vector<std::string>& rows, int firstRow = 11, char spawnFill = 'K')
    {
        for (int r = 0; r < firstRow; ++r)
            for (int c = 0; c < Board::kColumns; ++c)
                board->grid[Board::cellIndex(c, r)] = CellFromChar(spawnFill);
        for (size_t i = 0; i < rows.size(); ++i)
        {
            ASSERT_EQ(rows[i].size(), 7u);
            for (int c = 0; c < Board::kColumns; ++c)
                board->grid[Board::cellIndex(c, firstRow + static_cast<int>(i))] = CellFromChar(rows[i][c]);
        }
        board->selected.fill(0);
        board->falling.fill(0);
        board->fallOffset.fill(0);
    }
    // The given top rows of the field, completed to 11 rows with rows that hold
    // no chain of their own except the two bottom rows of 3s (so moves remain).
    static std::vector<std::string> Rows(std::vector<std::string> top)
    {
        static const char* const kFiller[11] = {"0101010", "2020202", "0101010", "2020202", "1313131", "4040404",
                                                "0101010", "2020202", "1414141", "3333333", "3333333"};
        for (size_t i = top.size(); i < 11; ++i)
            top.push_back(kFiller[i]);
        return top;
    }
    // The visible field (rows 11-21) as letters.
    std::vector<std::string> Field() const
    {
        static const char kLetters[] = "01234WBSKT";
        std::vector<std::string> rows;
        for (int r = 11; r <= 21; ++r)
        {
            std::string row;
            for (int c = 0; c < Board::kColumns; ++c)
            {
                const int type = board->cellType(c, r);
                row += type < 0 ? '.' : kLetters[type];
            }
            rows.push_back(row);
        }
        return rows;
    }

    static int CellX(int column) { return Board::columnToX(column, true); }
    static int CellY(int row) { return Board::rowToY(row, true); }
    void MoveTo(int column, int row) { board->MouseMove(CellX(column), CellY(row)); }
    void ClickAt(int column, int row)
    {
        MoveTo(column, row);
        board->MouseDown(CellX(column), CellY(row), 1);
        board->MouseUp(CellX(column), CellY(row), 1);
    }
    // Clicks the first cell, moves through the rest and clicks the last again.
    void Chain(const std::vector<std::pair<int, int>>& cells)
    {
        ClickAt(cells.front().first, cells.front().second);
        for (size_t i = 1; i < cells.size(); ++i)
            MoveTo(cells[i].first, cells[i].second);
        ClickAt(cells.back().first, cells.back().second);
    }
    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            board->Update();
    }
    // The centre of item `index` of the main menu (the test images' splash
    // cloud is 200 high).
    static int MainItemY(int index) { return 298 + 56 * index + 24; }
    // A menu click: the hover first, then the press and the release a tick
    // apart, as a player's.
    void ClickMenu(int x, int y)
    {
        board->MouseMove(x, y);
        Ticks(1);
        board->MouseDown(x, y, 1);
        Ticks(1);
        board->MouseUp(x, y, 1);
    }
    // Ticks until the fall has ended (bounded).
    void SettleFall()
    {
        for (int i = 0; i < 400 && (board->fallPending || board->fallDelay > 0); ++i)
            board->Update();
        ASSERT_FALSE(board->fallPending);
    }

    ScratchFolder folder;
    TestGameApp* app = nullptr;
    Board* board = nullptr;
};

// A tutorial board "demo_board" in the working folder whose first chain is
// the script's: a click at (3,16), then down, right, down, and a click that
// completes four cells; with a bomb at (2,15) when asked.
inline void WriteTutorialBoard(bool withBomb = false)
{
    std::vector<uint8_t> cells(154);
    for (int r = 0; r < 22; ++r)
        for (int c = 0; c < 7; ++c)
            cells[r * 7 + c] = static_cast<uint8_t>(r >= 20 ? 3 : (r + c) % 2 == 0 ? 0 : 2);
    for (auto [c, r] : {std::pair{3, 16}, {3, 17}, {4, 17}, {4, 18}})
        cells[r * 7 + c] = 1;
    if (withBomb)
        cells[15 * 7 + 2] = static_cast<uint8_t>(BLOB_BOMB);
    std::ofstream("demo_board", std::ios::binary).write(reinterpret_cast<const char*>(cells.data()), 154);
}

} // namespace Lumo::GameTest

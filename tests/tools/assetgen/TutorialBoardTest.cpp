// The tutorial played through on the generated "demo_board" with the real
// Board: started from the main menu, every page read for a different time
// and turned with a click, under several random seeds. Refills are random and
// the smart bomb's colour depends on when it is clicked, so each run differs;
// every run must make each scripted chain, cancel only where the script
// cancels, fire the bomb and the smart bomb, never end the game, and come
// back to the menus after the last page.
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
#include <string>
#include <vector>

namespace Lumo {
namespace {

class FixedWidthFont : public Font
{
public:
    FixedWidthFont()
    {
        mHeight = 33;
        mAscent = 26;
    }
    int GetStringWidth(const std::string& text) override { return static_cast<int>(text.size()) * 15; }
    Font* Clone() override { return new FixedWidthFont(*this); }
};

// Width and height from a PNG's header.
bool PngSize(const std::string& path, int& width, int& height)
{
    std::vector<uint8_t> bytes;
    if (!Platform::ReadWholeFile(path, bytes) || bytes.size() < 24)
        return false;
    auto be32 = [&](size_t at) {
        return static_cast<int>((uint32_t{bytes[at]} << 24) | (uint32_t{bytes[at + 1]} << 16) |
                                (uint32_t{bytes[at + 2]} << 8) | bytes[at + 3]);
    };
    width = be32(16);
    height = be32(20);
    return true;
}

// The game with the generated images' sizes and cel grids, silent.
class TutorialApp : public GameApp
{
public:
    explicit TutorialApp(const std::string& imageFolder)
    {
        mMusicInterface = new MusicInterface();
        gameFont = new FixedWidthFont();
        const auto& table = GameImageTable();
        for (int id = 0; id < IMAGE_COUNT; ++id)
        {
            auto* image = new Image();
            image->mCelColumns = table[static_cast<size_t>(id)].celColumns;
            image->mCelRows = table[static_cast<size_t>(id)].celRows;
            if (!PngSize(imageFolder + "/" + table[static_cast<size_t>(id)].file + ".png", image->mWidth,
                         image->mHeight))
                image->mWidth = image->mHeight = 0;
            images[static_cast<size_t>(id)] = image;
        }
    }
    void PlaySample(int soundId) override { sounds.push_back(soundId); }
    void ExitProcess(int exitCode) override { exitCodes.push_back(exitCode); }
    int Count(int soundId) const { return static_cast<int>(std::count(sounds.begin(), sounds.end(), soundId)); }

    std::vector<int> sounds;
    std::vector<int> exitCodes;
};

// Runs in a scratch folder holding a copy of "demo_board", so the game's save
// file never lands beside the real game.
class TutorialBoard : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        mBin = std::filesystem::current_path();
        mScratch = std::filesystem::temp_directory_path() /
                   ("tumbrix_tutorial_" + std::to_string(GetParam()) + "_" + std::to_string(Platform::GetProcessId()));
        std::filesystem::remove_all(mScratch);
        std::filesystem::create_directories(mScratch);
        std::filesystem::copy_file(mBin / "demo_board", mScratch / "demo_board");
        std::filesystem::current_path(mScratch);
    }
    void TearDown() override
    {
        std::filesystem::current_path(mBin);
        std::error_code ignored;
        std::filesystem::remove_all(mScratch, ignored);
    }

    std::filesystem::path mBin;
    std::filesystem::path mScratch;
};

TEST_P(TutorialBoard, PlaysThroughWhateverTheRefillsAndReadingTimes)
{
    const int seed = GetParam();
    SeedRandom(static_cast<uint32_t>(seed * 7919 + 13));
    TutorialApp app((mBin / "images").string());
    Board board(&app);
    board.Resize(0, 0, 1024, 768);
    // The mouse rests away from the pause button.
    board.MouseMove(512, 740);

    int ticks = 0;
    auto tick = [&] {
        board.Update();
        ++ticks;
    };
    while (board.state != STATE_MENUS || board.inTransition)
    {
        tick();
        ASSERT_LT(ticks, 2000) << "the menus never came";
    }
    board.takeMenuAction(TEXT_TUTORIAL);
    while (board.state != STATE_PLAYING || board.inTransition)
    {
        tick();
        ASSERT_LT(ticks, 4000) << "the tutorial never started";
    }
    ASSERT_TRUE(board.tutorial);

    // Reading times per page: from a click as soon as the page allows to a
    // long read that spans several smart-bomb colour changes.
    const int kDelays[] = {0, 1, 3, 17, 60, 99, 141, 230, 377, 512};
    uint32_t pick = static_cast<uint32_t>(seed) * 2654435761u + 1;
    const auto& script = Board::tutorialScript();
    int pagesTurned = 0;
    while (board.state == STATE_PLAYING)
    {
        const bool waiting = script[static_cast<size_t>(board.scriptPos)] == -1 && board.scriptCountdown <= 0;
        if (waiting && board.menuTextAlpha == 255 && !board.inTransition)
        {
            pick = pick * 1664525u + 1013904223u;
            const int delay = kDelays[(pick >> 16) % (sizeof kDelays / sizeof kDelays[0])];
            for (int i = 0; i < delay; ++i)
                tick();
            ASSERT_EQ(board.state, STATE_PLAYING);
            board.MouseDown(512, 740, 1);
            tick();
            board.MouseUp(512, 740, 1);
            ++pagesTurned;
        }
        else
        {
            tick();
        }
        ASSERT_FALSE(board.isGameOver) << "page " << board.tutorialPage << ", tick " << ticks;
        ASSERT_LE(app.Count(SOUND_DEACTIVATE_CURSOR), board.scriptPos >= 50 ? 1 : 0)
            << "an unscripted cancel on page " << board.tutorialPage << ", script position " << board.scriptPos;
        ASSERT_LT(ticks, 60000) << "stuck on page " << board.tutorialPage;
    }
    while (board.inTransition)
        tick();

    EXPECT_EQ(board.state, STATE_MENUS);
    EXPECT_EQ(pagesTurned, Board::kTutorialPages);
    EXPECT_EQ(app.Count(SOUND_DEACTIVATE_CURSOR), 1); // the right-click lesson only
    // Chains: four on pages 4-7's script ... every scripted completion, the
    // bomb blast and the smart bomb's sweep.
    EXPECT_EQ(board.stats[STAT_CHAINS_MADE][0], 8);
    EXPECT_EQ(board.stats[STAT_LONGEST_CHAIN][0], 6);
    EXPECT_EQ(app.Count(SOUND_BOMB_EXPLOSION), 1);
    EXPECT_EQ(app.Count(SOUND_SMARTBOMB), 1);
    EXPECT_EQ(app.Count(SOUND_SMARTBOMB_EXPLOSION), 1);
    EXPECT_GE(app.Count(SOUND_SKULL_DEATH), 1); // the skull the bomb page points at
    EXPECT_TRUE(app.exitCodes.empty());
}

INSTANTIATE_TEST_SUITE_P(Seeds, TutorialBoard, ::testing::Values(1, 2, 3, 4, 5, 6, 7, 8));

} // namespace
} // namespace Lumo

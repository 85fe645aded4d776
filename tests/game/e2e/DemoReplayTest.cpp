// End to end: the recorded demos replay through the program's own demo
// playback to the same final screen, score and statistics; the screens they
// pass are captured as PNG files and checked for what must be on them; a demo
// recorded with other game data stops with a clear message and a failed run;
// a recording keeps the player's volumes and replays the same.
#include "DemoExpectations.h"
#include "FrameChecks.h"
#include "GameRun.h"

#include "app/Common.h"
#include "game/BoardLayout.h"
#include "game/GameDataFile.h"
#include "graphics/Image.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/Video.h"
#include "resources/ImageLib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace Lumo::E2e {
namespace {

std::string DataPath(const std::string& file)
{
    return std::string(TUMBRIX_E2E_DATA) + "/" + file;
}

struct Replay
{
    DemoExpectations expect;
    DemoExpectations reached;
    std::map<std::string, std::vector<uint32_t>> frames;
    int exitCode = -1;
    bool ended = false;
    int splashCloudHeight = 0;
};

void SaveCapture(const std::string& name, const std::vector<uint32_t>& frame, int width, int height)
{
    std::filesystem::create_directories(TUMBRIX_E2E_CAPTURES);
    ImageLib::Image image;
    ASSERT_TRUE(image.Allocate(width, height));
    for (size_t i = 0; i < frame.size(); ++i)
        image.GetBits()[i] = frame[i] | 0xFF000000u;
    EXPECT_TRUE(ImageLib::WritePng(std::string(TUMBRIX_E2E_CAPTURES) + "/" + name + ".png", image));
}

// Plays the demo to its end. Draws every tenth update, and every update near
// the captures, which are kept and written as PNG files
// ("testdata/captures/<demo>_<screen>.png" in the build folder).
Replay PlayDemo(const std::string& name)
{
    Replay replay;
    EXPECT_TRUE(replay.expect.Load(DataPath(name + ".expect"))) << name;
    GameRun run({"-play", "-demofile=" + DataPath(name + ".dmo")});
    std::vector<int> pending;
    for (const auto& [captureName, update] : replay.expect.captures)
        pending.push_back(update);
    std::sort(pending.begin(), pending.end());
    while (!run.Ended() && run.Updates() < 1000000)
    {
        const auto next = std::find_if(pending.begin(), pending.end(), [&](int u) { return u >= run.Updates(); });
        const bool near = next != pending.end() && *next - run.Updates() <= 12;
        run.Pass(near ? 1 : 10);
        for (const auto& [captureName, update] : replay.expect.captures)
            if (update == run.Updates() && !run.Ended() && replay.frames.count(captureName) == 0)
            {
                replay.frames[captureName] = run.Frame();
                SaveCapture(name + "_" + captureName, replay.frames[captureName], run.App().mWidth,
                            run.App().mHeight);
            }
    }
    replay.ended = run.Ended();
    if (const Image* cloud = run.App().GetImage(IMAGE_SPLASH_CLOUD))
        replay.splashCloudHeight = cloud->GetHeight();
    replay.exitCode = run.App().GetExitCode();
    if (run.GetBoard() != nullptr)
    {
        replay.reached = DemoExpectations::FromBoard(*run.GetBoard());
        replay.reached.values["updates"] = run.Updates();
    }
    return replay;
}

void ExpectSameValues(const Replay& replay)
{
    ASSERT_TRUE(replay.ended);
    EXPECT_EQ(replay.exitCode, 0);
    for (const auto& [key, value] : replay.expect.values)
    {
        const auto found = replay.reached.values.find(key);
        ASSERT_NE(found, replay.reached.values.end()) << key;
        EXPECT_EQ(found->second, value) << key;
    }
}

const std::vector<uint32_t>& FrameOf(const Replay& replay, const std::string& name)
{
    static const std::vector<uint32_t> none;
    const auto found = replay.frames.find(name);
    EXPECT_NE(found, replay.frames.end()) << "no capture " << name;
    return found != replay.frames.end() ? found->second : none;
}

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// The menu's bars: blue at their left ends, white text in their middles.
void ExpectMenuBars(const FrameView& f, const std::vector<int>& items, int menuId, int splashCloudHeight)
{
    BoardLayout::MenuItemBox boxes[BoardLayout::kMaxMenuItems];
    BoardLayout::LayOutMenu(items.data(), static_cast<int>(items.size()), kHeight, splashCloudHeight, boxes);
    const int centreX = BoardLayout::MenuCentreX(menuId);
    for (size_t i = 0; i < items.size(); ++i)
    {
        const int top = boxes[i].top;
        EXPECT_GT(f.Share(centreX - 200, top + 8, 30, 30, IsBarBlue), 0.8) << "bar " << i;
        EXPECT_GT(f.Count(centreX - 120, top + 10, 240, 32, IsWhite), 40) << "label " << i;
    }
}

TEST(TumbrixDemoTest, MenusDemoShowsEveryScreenAndQuitsWithStatusZero)
{
    const Replay replay = PlayDemo("menus");
    ExpectSameValues(replay);
    EXPECT_EQ(replay.reached.values.at("state"), STATE_QUIT); // the fade to Quit ended the program

    const FrameView splash(FrameOf(replay, "splash"), kWidth, kHeight);
    EXPECT_GT(splash.Share(0, 0, kWidth, 200, IsWhite), 0.95);
    EXPECT_GT(splash.Count(256, 240, 512, 288, [](uint32_t p) { return !IsWhite(p); }), 5000) << "the logo";

    const FrameView menu(FrameOf(replay, "main_menu"), kWidth, kHeight);
    ExpectMenuBars(menu, {5, 6, 7, 8, 9, 10, 11}, MENU_MAIN, replay.splashCloudHeight);
    EXPECT_GT(menu.Share(300, 40, 424, 160, [](uint32_t p) { return Red(p) > 200 && Green(p) > 200; }), 0.5)
        << "the title cloud";

    const FrameView about(FrameOf(replay, "about"), kWidth, kHeight);
    EXPECT_GT(about.Share(130, 200, 20, 300, [](uint32_t p) { return Blue(p) > 200 && Red(p) > 100; }), 0.9)
        << "the about panel";
    EXPECT_GT(about.Count(140, 30, 740, 700, IsWhite), 3000) << "the about text";
    EXPECT_GT(about.Share(961, 100, 6, 500, [](uint32_t p) { return Red(p) < 60 && Green(p) < 80 && Blue(p) < 90; }),
              0.9)
        << "the scroll column";

    const FrameView scrolled(FrameOf(replay, "about_scrolled"), kWidth, kHeight);
    EXPECT_NE(FrameOf(replay, "about"), FrameOf(replay, "about_scrolled"));
    EXPECT_GT(scrolled.Count(140, 30, 740, 700, IsWhite), 3000);

    const FrameView stats(FrameOf(replay, "stats"), kWidth, kHeight);
    const int panelTop = 432 - (336 + 48) / 2;
    for (int row = 0; row < STAT_COUNT; ++row)
    {
        const int baseline = panelTop + 56 * row + 38;
        EXPECT_GT(stats.Count(130, baseline - 28, 400, 32, IsWhite), 30) << "label " << row;
        EXPECT_GT(stats.Count(700, baseline - 28, 190, 32, [](uint32_t p) {
            return Red(p) > 170 && Green(p) > 235 && Blue(p) > 235;
        }),
                  5)
            << "value " << row;
    }
    EXPECT_GT(stats.Share(130, panelTop + 30, 10, 300, IsBarBlue), 0.9) << "the panel";
}

TEST(TumbrixDemoTest, CasualGameReplaysToTheSameScoreAndStatistics)
{
    const Replay replay = PlayDemo("casual");
    ExpectSameValues(replay);
    EXPECT_EQ(replay.reached.values.at("mode"), MODE_CASUAL);
    EXPECT_GT(replay.reached.values.at("total_score"), 0);
    EXPECT_GT(replay.reached.values.at("stat_kept_2"), 5); // chains made

    const FrameView play(FrameOf(replay, "in_play"), kWidth, kHeight);
    int families = 0;
    for (int family = 0; family < 4; ++family)
        if (play.Count(316, 54, 392, 660, [family](uint32_t p) { return BlobFamily(p) == family; }) > 800)
            ++families;
    EXPECT_GE(families, 3) << "blobs of several colours on the field";
    EXPECT_GT(play.Share(316, 54, 392, 660, IsDark), 0.1) << "the black field between the blobs";
    EXPECT_GT(play.Count(760, 30, 250, 160, [](uint32_t p) { return Red(p) > 170 && Green(p) > 240; }), 100)
        << "the score panel's numbers";
    EXPECT_GT(play.Count(790, 440, 190, 320, [](uint32_t p) { return !IsWhite(p) && Green(p) < 200; }), 2000)
        << "the character";

    const FrameView pause(FrameOf(replay, "pause"), kWidth, kHeight);
    ExpectMenuBars(pause, {25, 26, 27}, MENU_PAUSE, replay.splashCloudHeight);
    EXPECT_GT(pause.Share(320, 590, 384, 110, IsDark), 0.95) << "the blobs hidden while paused";
    EXPECT_GT(pause.Count(312, 142, 400, 100, [](uint32_t p) { return !IsDark(p); }), 3000) << "PAUSE";

    const FrameView choice(FrameOf(replay, "mode_choice"), kWidth, kHeight);
    ExpectMenuBars(choice, {18, 19, 20, 21, 22, 23, 24}, MENU_MODE_CHOICE, replay.splashCloudHeight);
    EXPECT_GT(choice.Count(20, 700, 980, 40, IsWhite), 200) << "the scrolling description";
}

TEST(TumbrixDemoTest, ToastGameReplaysToItsGameOverScoreAndStatistics)
{
    const Replay replay = PlayDemo("toast");
    ExpectSameValues(replay);
    EXPECT_EQ(replay.reached.values.at("mode"), MODE_TOAST);

    const FrameView over(FrameOf(replay, "game_over"), kWidth, kHeight);
    ExpectMenuBars(over, {28, 27}, MENU_GAME_OVER, replay.splashCloudHeight);
    EXPECT_GT(over.Count(312, 334, 400, 100, [](uint32_t p) { return Red(p) > 150 && Green(p) < 110; }), 3000)
        << "GAME OVER";
}

TEST(TumbrixDemoTest, TutorialReplaysToItsEndAndBackToTheMenus)
{
    const Replay replay = PlayDemo("tutorial");
    ExpectSameValues(replay);
    EXPECT_EQ(replay.reached.values.at("state"), STATE_MENUS);
    EXPECT_EQ(replay.reached.values.at("tutorial_page"), Board::kTutorialPages);
    EXPECT_GT(replay.reached.values.at("stat_kept_1"), 0); // the tutorial's chains cleared blobs

    const FrameView page(FrameOf(replay, "tutorial"), kWidth, kHeight);
    EXPECT_GT(page.Count(130, 20, 760, 200, IsWhite), 1000) << "the page text";
}

TEST(TumbrixDemoTest, ADemoOfOtherGameDataStopsWithAMessageAndAFailedRun)
{
    Platform::ClearMessageBoxLog();
    GameRun run({"-play", "-demofile=" + DataPath("menus_otherdata.dmo")});
    run.RunToEnd(10, 1000000);
    EXPECT_TRUE(run.Ended());
    EXPECT_EQ(run.GetBoard(), nullptr) << "no game is started";
    EXPECT_EQ(run.App().GetExitCode(), 1);
    bool shown = false;
    for (const Platform::MessageBoxRecord& box : Platform::GetMessageBoxLog())
        shown = shown || box.text == "This demo was recorded with different game data and cannot be played back.";
    EXPECT_TRUE(shown);
}

// Moves to the item of the menu once it is ready, and clicks it.
bool ChooseItem(GameRun& run, int itemId)
{
    if (!run.WaitUntil([](const Board& b) { return b.state == STATE_MENUS && !b.inTransition && b.menuTextAlpha >= 255; }))
        return false;
    const int index = MenuIndexOf(*run.GetBoard(), itemId);
    if (index < 0)
        return false;
    int x = 0;
    int y = 0;
    MenuItemCentre(*run.GetBoard(), index, x, y);
    run.MouseMove(x - 40, y + 6);
    run.Flush();
    run.Pass(1);
    run.Click(x, y);
    return run.Pass(1);
}

GameData SavedRecords(const std::string& path)
{
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(Platform::ReadWholeFile(path, bytes)) << path;
    return GameDataFile::Read(bytes.data(), bytes.size());
}

TEST(TumbrixDemoTest, ARecordingSavesThePlayersVolumesAndReplaysTheSame)
{
    namespace fs = std::filesystem;
    const fs::path folder =
        fs::temp_directory_path() / ("tumbrix_e2e_volumes_" + std::to_string(Platform::GetProcessId()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    // However the test ends, the data folder is the default again and the
    // folder is gone.
    struct Restore
    {
        fs::path folder;
        ~Restore()
        {
            SetDataFolder("");
            std::error_code ignored;
            fs::remove_all(folder, ignored);
        }
    } restore{folder};
    const std::string demo = (folder / "volumes.dmo").string();
    const std::string saveFile = (folder / Board::kSaveFileName).string();
    DemoExpectations recorded;
    int recordedUpdates = 0;
    double moved = 0;
    {
        GameRun run({"-record", "-demofile=" + demo});
        run.App().mWriteSettings = false; // the settings of the other tests stay as they are
        run.App().SetMusicVolume(0.4);    // the player's settings, and no save file yet
        run.App().SetSfxVolume(0.7);
        SetDataFolder(folder.string());
        ASSERT_TRUE(run.WaitForBoard());
        EXPECT_DOUBLE_EQ(run.GetBoard()->musicVolume, 300.0); // a demo carries no settings

        // Options, Back: the volumes that play are saved, not the sliders'.
        ASSERT_TRUE(ChooseItem(run, TEXT_OPTIONS));
        ASSERT_TRUE(ChooseItem(run, TEXT_OPTIONS_BACK));
        GameData saved = SavedRecords(saveFile);
        EXPECT_EQ(saved.musicVolume, 120);
        EXPECT_EQ(saved.soundVolume, 210);

        // A slider the player moves is saved where it was left; the other keeps
        // the volume that plays.
        ASSERT_TRUE(ChooseItem(run, TEXT_OPTIONS));
        ASSERT_TRUE(ChooseItem(run, TEXT_MUSIC_VOLUME));
        moved = run.GetBoard()->musicVolume;
        ASSERT_NE(moved, 300.0);
        ASSERT_TRUE(ChooseItem(run, TEXT_OPTIONS_BACK));
        saved = SavedRecords(saveFile);
        EXPECT_EQ(saved.musicVolume, static_cast<int32_t>(moved));
        EXPECT_EQ(saved.soundVolume, 210);
        EXPECT_DOUBLE_EQ(run.App().GetMusicVolume(), moved / 300.0);
        EXPECT_DOUBLE_EQ(run.App().GetSfxVolume(), 0.7);
        recorded = DemoExpectations::FromBoard(*run.GetBoard());
        recordedUpdates = run.Updates();
    }
    {
        GameRun run({"-play", "-demofile=" + demo});
        ASSERT_TRUE(run.RunToEnd(10));
        EXPECT_EQ(run.App().GetExitCode(), 0);
        ASSERT_NE(run.GetBoard(), nullptr);
        EXPECT_EQ(DemoExpectations::FromBoard(*run.GetBoard()).values, recorded.values);
        EXPECT_EQ(run.Updates(), recordedUpdates);
        EXPECT_DOUBLE_EQ(run.GetBoard()->musicVolume, moved);
    }
    EXPECT_EQ(SavedRecords(saveFile).musicVolume, static_cast<int32_t>(moved)); // the replay wrote nothing
}

} // namespace
} // namespace Lumo::E2e

// GameApp::LoadResources over the generated assets (the test runs in the
// build's bin folder): everything loads with its cel grid; a missing image,
// font or required sound shows its message, asks for shutdown and loads
// nothing after it. Sounds go to a recording sound manager. An application
// deleted while it loads, and one ended from its loader.
#include "game/GameApp.h"

#include "app/LumoAppBase.h"
#include "audio/SoundManager.h"
#include "fonts/Font.h"
#include "graphics/Image.h"
#include "platform/Environment.h"
#include "platform/Video.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <string>
#include <thread>

namespace Lumo {
namespace {

namespace fs = std::filesystem;

// A working folder of links to the assets of the bin folder, leaving out one
// file (a path below it, such as "images/tiles.png").
class AssetFolder
{
public:
    explicit AssetFolder(const std::string& leaveOut)
    {
        mOld = fs::current_path();
        mPath = fs::temp_directory_path() / ("tumbrix_load_test_" + std::to_string(Platform::GetProcessId()));
        fs::remove_all(mPath);
        for (const char* folder : {"images", "sound"})
        {
            fs::create_directories(mPath / folder);
            for (const auto& entry : fs::directory_iterator(mOld / folder))
            {
                const std::string relative = std::string(folder) + "/" + entry.path().filename().string();
                if (relative != leaveOut)
                    fs::create_symlink(entry.path(), mPath / relative);
            }
        }
        fs::current_path(mPath);
    }
    ~AssetFolder()
    {
        fs::current_path(mOld);
        std::error_code ignored;
        fs::remove_all(mPath, ignored);
    }

private:
    fs::path mOld;
    fs::path mPath;
};

// A sound manager that records what is loaded and fails for some names.
class FakeSounds : public SoundManager
{
public:
    explicit FakeSounds(std::vector<std::string> missing) : mMissing(std::move(missing)) {}
    bool HasSoundDevice() override { return false; }
    int FindOrLoadSound(const std::string&) override { return -1; }
    bool LoadSound(unsigned id, const std::string& fileName) override
    {
        ids.push_back(id);
        names.push_back(fileName);
        return std::find(mMissing.begin(), mMissing.end(), fileName) == mMissing.end();
    }
    void UnloadSound(unsigned) override {}
    void SetEffectsVolume(double) override {}
    bool SetDefaultVolume(unsigned, double) override { return true; }
    bool SetDefaultPan(unsigned, int) override { return true; }
    SoundInstance* CreateInstance(unsigned) override { return nullptr; }
    void UnloadAllSounds() override {}
    void DeleteAllInstances() override {}
    double GetMixerVolume() override { return 1.0; }
    void SetMixerVolume(double) override {}
    void SetOwnerWindow(SoundWindowHandle, bool) override {}
    void StopAllInstances() override {}
    int FindFreeSoundId() override { return -1; }
    int CountLoadedSounds() override { return static_cast<int>(ids.size()); }

    std::vector<unsigned> ids;
    std::vector<std::string> names;

private:
    std::vector<std::string> mMissing;
};

std::vector<std::string> Messages()
{
    std::vector<std::string> texts;
    for (const Platform::MessageBoxRecord& box : Platform::GetMessageBoxLog())
        texts.push_back(box.text);
    return texts;
}

class GameAppLoadTest : public ::testing::Test
{
protected:
    void SetUp() override { Platform::ClearMessageBoxLog(); }
};

TEST_F(GameAppLoadTest, LoadsEveryImageWithItsCelGridTheFontAndTheSounds)
{
    AssetFolder folder("");
    SetCommandLineArgs(0, nullptr);
    GameApp app;
    app.Init();
    app.LoadResources();
    EXPECT_FALSE(app.loadFailed);
    EXPECT_FALSE(app.mShutdownRequested);
    EXPECT_TRUE(Messages().empty());
    const auto& table = GameImageTable();
    for (int id = 0; id < IMAGE_COUNT; ++id)
    {
        const Image* image = app.GetImage(id);
        ASSERT_NE(image, nullptr) << table[static_cast<size_t>(id)].file;
        EXPECT_EQ(image->mCelColumns, table[static_cast<size_t>(id)].celColumns) << id;
        EXPECT_EQ(image->mCelRows, table[static_cast<size_t>(id)].celRows) << id;
    }
    // Ids 4 and 5 are two images of the same file.
    EXPECT_NE(app.GetImage(IMAGE_BADGER_PANIC), app.GetImage(IMAGE_BADGER_GAMEOVER));
    EXPECT_EQ(app.GetImage(IMAGE_BADGER_PANIC)->GetWidth(), app.GetImage(IMAGE_BADGER_GAMEOVER)->GetWidth());
    ASSERT_NE(app.gameFont, nullptr);
    EXPECT_GT(app.gameFont->GetStringWidth("Tumbrix"), 0);
    app.Shutdown();
}

TEST_F(GameAppLoadTest, MissingTilesStopTheLoadingWithTheirMessage)
{
    AssetFolder folder("images/tiles.png");
    GameApp app;
    app.LoadResources();
    EXPECT_TRUE(app.loadFailed);
    EXPECT_TRUE(app.mShutdownRequested);
    EXPECT_EQ(Messages(), std::vector<std::string>{"There was an error loading that file!"});
    EXPECT_NE(app.GetImage(IMAGE_TILE_HIGHLIGHT), nullptr); // loaded before the tiles
    EXPECT_EQ(app.GetImage(IMAGE_BOMB_EXPLOSION), nullptr); // nothing after them
    EXPECT_EQ(app.gameFont, nullptr);
}

TEST_F(GameAppLoadTest, AnyMissingImageStopsTheLoadingAndNamesItsPath)
{
    AssetFolder folder("images/developer.png");
    GameApp app;
    app.LoadResources();
    EXPECT_TRUE(app.loadFailed);
    EXPECT_TRUE(app.mShutdownRequested);
    EXPECT_EQ(Messages(), std::vector<std::string>{"There was an error loading images/developer"});
    EXPECT_NE(app.GetImage(IMAGE_MENU_CAP_L), nullptr);
    EXPECT_EQ(app.GetImage(IMAGE_TUTORIAL_ARROW), nullptr);
    EXPECT_EQ(app.gameFont, nullptr);
}

TEST_F(GameAppLoadTest, AMissingFontDescriptionStopsTheLoading)
{
    AssetFolder folder("images/Tumbrix28.txt");
    GameApp app;
    app.LoadResources();
    EXPECT_TRUE(app.loadFailed);
    EXPECT_EQ(app.gameFont, nullptr);
    const std::vector<std::string> messages = Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), "There was an error loading images/Tumbrix28.txt");
}

TEST_F(GameAppLoadTest, SoundsLoadInIdOrderAndOnlyTheBubblesMayBeMissing)
{
    AssetFolder folder("");
    {
        GameApp app;
        auto* sounds = new FakeSounds({"sound/bubble_3"});
        app.mSoundManager = sounds; // owned by the application
        app.LoadResources();
        EXPECT_FALSE(app.loadFailed);
        EXPECT_TRUE(Messages().empty());
        std::vector<unsigned> expected;
        for (unsigned id = 1; id <= 28; ++id)
            if (id != 8)
                expected.push_back(id);
        EXPECT_EQ(sounds->ids, expected);
        EXPECT_EQ(sounds->names.front(), "sound/blob_explosion");
    }
    {
        GameApp app;
        auto* sounds = new FakeSounds({"sound/ready"});
        app.mSoundManager = sounds;
        app.LoadResources();
        EXPECT_TRUE(app.loadFailed);
        EXPECT_TRUE(app.mShutdownRequested);
        EXPECT_EQ(Messages(), std::vector<std::string>{"There was an error loading sound/ready"});
        EXPECT_EQ(sounds->ids.back(), static_cast<unsigned>(SOUND_READY)); // nothing after it
    }
}

// A loader that starts the game's loading only once the application is being
// deleted (asked to stop, or its destructors running), and notes when it has
// ended; the first destructor to run notes whether it had by then.
std::atomic<bool> gLoaderEnded{false};
std::atomic<bool> gDestructorsRunning{false};
bool gLoaderEndedBeforeAnyDestructor = false;

class LateLoaderApp : public GameApp
{
public:
    ~LateLoaderApp() override
    {
        gLoaderEndedBeforeAnyDestructor = gLoaderEnded;
        gDestructorsRunning = true;
    }
    void LoadResources() override
    {
        while (!mShutdownRequested && !gDestructorsRunning)
            std::this_thread::yield();
        GameApp::LoadResources();
        gLoaderEnded = true;
    }
};

TEST_F(GameAppLoadTest, AnApplicationDeletedWhileItLoadsFreesNothingTheLoaderStillFills)
{
    AssetFolder folder("");
    SetCommandLineArgs(0, nullptr);
    gLoaderEnded = false;
    gDestructorsRunning = false;
    gLoaderEndedBeforeAnyDestructor = false;
    auto* app = new LateLoaderApp();
    app->Init();
    app->StartLoading();
    // No Shutdown: the images, the font and the sounds the loader fills are
    // freed only after it has ended.
    delete app;
    EXPECT_TRUE(gLoaderEndedBeforeAnyDestructor);
}

// Calls ExitProcess from the loading thread.
class ExitingLoaderApp : public GameApp
{
public:
    void LoadResources() override { ExitProcess(3); }
};

TEST_F(GameAppLoadTest, ExitProcessOffTheMainThreadAsksTheMainLoopToEndWithItsCode)
{
    SetCommandLineArgs(0, nullptr);
    ExitingLoaderApp app;
    app.StartLoading();
    while (!app.mLoaded)
        std::this_thread::yield();
    EXPECT_TRUE(app.mShutdownRequested);
    EXPECT_FALSE(app.mShutdown); // the main loop ends the run, not the loader
    EXPECT_EQ(app.GetExitCode(), 3);
    EXPECT_FALSE(app.RunOnePass());
    EXPECT_TRUE(app.mShutdown);
    EXPECT_EQ(app.GetExitCode(), 3);
}

} // namespace
} // namespace Lumo

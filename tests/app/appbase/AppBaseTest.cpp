// The application object, headless: loading hand-over, frame pacing on the
// virtual clock, input routing, demo recording and playback, settings, the
// command line, and demo-aware file access.
#include "app/LumoAppBase.h"
#include "app/Random.h"
#include "platform/Clock.h"
#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"
#include "platform/Settings.h"
#include "platform/StopSignal.h"
#include "platform/Video.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"
#include "tests/platform/TempFolder.h"
#include "tests/platform/ThreadState.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace Lumo {
namespace {

// Logs the clicks and the random draws it makes, one per update.
class ClickWidget : public Widget
{
public:
    void Update() override
    {
        Widget::Update();
        draws.push_back(RandomBelow(1000));
    }
    void MouseMove(int x, int y) override { seen.push_back("move " + std::to_string(x) + "," + std::to_string(y)); }
    void MouseDown(int x, int y, int code) override
    {
        clicks.push_back({x, y, code, mUpdateCnt});
        seen.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    }

    struct Click
    {
        int x, y, code, update;
        bool operator==(const Click&) const = default;
    };
    std::vector<Click> clicks;
    std::vector<std::string> seen; // moves and presses, in order
    std::vector<int> draws;
};

class TestApp : public LumoAppBase
{
public:
    explicit TestApp(const std::string& regKey)
    {
        mProdName = "LumoTest";
        mRegKey = regKey;
        mTitle = "Lumo test";
        mWidth = 64;
        mHeight = 48;
    }
    ~TestApp() override
    {
        EndLoadingThread(); // the loader writes loadThread
        if (widget != nullptr)
            mWidgetManager->RemoveWidget(widget);
        delete widget;
    }
    void LoadResources() override { loadThread = std::this_thread::get_id(); }
    void OnLoadingComplete() override
    {
        completeThread = std::this_thread::get_id();
        ++completeCount;
        completeUpdate = GetUpdateCount();
        widget = new ClickWidget();
        widget->Resize(0, 0, mWidth, mHeight);
        mWidgetManager->AddWidget(widget);
    }

    // Installs a virtual clock the test moves, and returns it.
    Platform::VirtualClock* UseVirtualClock()
    {
        auto clock = std::make_unique<Platform::VirtualClock>();
        Platform::VirtualClock* raw = clock.get();
        SetClock(std::move(clock));
        return raw;
    }
    // Passes until loading completed (the loading thread is real).
    void RunUntilLoaded(Platform::VirtualClock* clock)
    {
        for (int i = 0; i < 100000 && !IsLoadingComplete(); ++i)
        {
            if (mLoaded)
                clock->Advance(10);
            RunOnePass();
            std::this_thread::yield();
        }
    }
    Platform::HeadlessVideo* Video() { return dynamic_cast<Platform::HeadlessVideo*>(GetVideo()); }

    std::thread::id loadThread;
    std::thread::id completeThread;
    int completeCount = 0;
    int completeUpdate = -1;
    ClickWidget* widget = nullptr;
};

// A fresh folder for one test in the temporary folder, removed afterwards.
class TestFolder
{
public:
    explicit TestFolder(const std::string& name) : mPath(std::filesystem::temp_directory_path() / "appbase_test" / name)
    {
        std::filesystem::remove_all(mPath);
        std::filesystem::create_directories(mPath);
    }
    ~TestFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(mPath, ignored);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    // The folder, ending with '/'.
    std::string Path() const { return mPath.string() + "/"; }

private:
    std::filesystem::path mPath;
};

Platform::InputEvent Click(int x, int y, int button = Platform::MOUSE_LEFT)
{
    Platform::InputEvent event;
    event.type = Platform::EventType::MouseDown;
    event.x = x;
    event.y = y;
    event.button = button;
    return event;
}

TEST(AppBaseTest, LoadingRunsOnItsThreadAndCompletesOnceOnTheMainThread)
{
    SetCommandLineArgs(0, nullptr);
    TestApp app("LumoTests\\Loading");
    app.Init();
    Platform::VirtualClock* clock = app.UseVirtualClock();
    app.StartLoading();
    app.RunUntilLoaded(clock);
    ASSERT_TRUE(app.IsLoadingComplete());
    EXPECT_NE(app.loadThread, std::this_thread::get_id());
    EXPECT_EQ(app.completeThread, std::this_thread::get_id());
    for (int i = 0; i < 5; ++i)
    {
        clock->Advance(10);
        app.RunOnePass();
    }
    EXPECT_EQ(app.completeCount, 1);
}

TEST(AppBaseTest, FixedStepPacingOnTheVirtualClock)
{
    SetCommandLineArgs(0, nullptr);
    TestApp app("LumoTests\\Pacing");
    app.mLoadingThreadEnabled = false;
    app.Init();
    Platform::VirtualClock* clock = app.UseVirtualClock();
    app.StartLoading();
    app.RunOnePass(); // starts the clock: no time has passed yet
    EXPECT_EQ(app.GetUpdateCount(), 0);

    clock->Advance(10);
    int draws = app.GetDrawCount();
    app.RunOnePass();
    EXPECT_EQ(app.GetUpdateCount(), 1);
    EXPECT_EQ(app.GetDrawCount(), draws + 1);

    clock->Advance(5); // less than a step: no update, no draw
    app.RunOnePass();
    EXPECT_EQ(app.GetUpdateCount(), 1);
    EXPECT_EQ(app.GetDrawCount(), draws + 1);
    clock->Advance(5);
    app.RunOnePass();
    EXPECT_EQ(app.GetUpdateCount(), 2);

    // A long stall is cut to 200 ms, and a draw comes after at most 10 updates.
    clock->Advance(250);
    draws = app.GetDrawCount();
    app.RunOnePass();
    EXPECT_EQ(app.GetUpdateCount(), 12);
    EXPECT_EQ(app.GetDrawCount(), draws + 1);
    app.RunOnePass(); // the rest of the 200 ms, then nothing more
    EXPECT_EQ(app.GetUpdateCount(), 22);
    app.RunOnePass();
    EXPECT_EQ(app.GetUpdateCount(), 22);
}

TEST(AppBaseTest, InputReachesTheWidgetWithClickCodes)
{
    SetCommandLineArgs(0, nullptr);
    TestApp app("LumoTests\\Input");
    app.mLoadingThreadEnabled = false;
    app.Init();
    Platform::VirtualClock* clock = app.UseVirtualClock();
    app.StartLoading();
    app.RunOnePass(); // starts the clock
    clock->Advance(10);
    app.RunOnePass(); // the first update completes loading
    ASSERT_NE(app.widget, nullptr);
    app.Video()->QueueEvent(Click(5, 6));
    app.Video()->QueueEvent(Click(7, 8, Platform::MOUSE_RIGHT));
    app.Video()->QueueEvent(Click(9, 10, Platform::MOUSE_MIDDLE));
    for (int i = 0; i < 3; ++i)
    {
        clock->Advance(10);
        app.RunOnePass(); // one deferred message per pass
    }
    ASSERT_EQ(app.widget->clicks.size(), 3u);
    EXPECT_EQ(app.widget->clicks[0].code, 1);
    EXPECT_EQ(app.widget->clicks[1].code, -1);
    EXPECT_EQ(app.widget->clicks[2].code, 3);
    EXPECT_EQ(app.widget->clicks[0].x, 5);
    EXPECT_EQ(app.widget->clicks[0].y, 6);
}

Platform::InputEvent PointerEvent(Platform::EventType type, int x, int y)
{
    Platform::InputEvent event;
    event.type = type;
    event.x = x;
    event.y = y;
    return event;
}

// The program's command line for recording or playing the demo file.
void UseDemoCommandLine(const char* option, const std::string& demo)
{
    const std::string demoArg = "-demofile=" + demo;
    const char* argv[] = {"test", option, demoArg.c_str()};
    SetCommandLineArgs(3, argv);
}

// A press where the widgets were never told the pointer is (it rested there
// while the window opened, before the widget under it existed) reaches them as
// a move there first, and a recording keeps that move; a press where the
// pointer was seen comes alone.
TEST(AppBaseTest, APressWhereThePointerWasNotSeenComesAfterAMoveThere)
{
    using Platform::EventType;
    const TestFolder scratch("unseen");
    const std::string demo = scratch.Path() + "unseen.dmo";
    UseDemoCommandLine("-record", demo);
    {
        TestApp app("LumoTests\\Input");
        app.mLoadingThreadEnabled = false;
        app.Init();
        Platform::VirtualClock* clock = app.UseVirtualClock();
        app.StartLoading();
        app.Video()->QueueEvent(PointerEvent(EventType::MouseMove, 20, 30)); // before any widget
        app.RunOnePass();
        clock->Advance(10);
        app.RunOnePass();
        ASSERT_NE(app.widget, nullptr);
        for (const Platform::InputEvent& event :
             {PointerEvent(EventType::MouseDown, 20, 30), PointerEvent(EventType::MouseUp, 20, 30),
              PointerEvent(EventType::MouseMove, 40, 41), PointerEvent(EventType::MouseDown, 40, 41),
              PointerEvent(EventType::MouseUp, 40, 41), PointerEvent(EventType::MouseDown, 50, 9)})
            app.Video()->QueueEvent(event);
        for (int i = 0; i < 8; ++i)
        {
            clock->Advance(10);
            app.RunOnePass();
        }
        // A button's release also tells the widget under the pointer of it.
        EXPECT_EQ(app.widget->seen, (std::vector<std::string>{"move 20,30", "down 20,30", "move 20,30", "move 40,41",
                                                                "down 40,41", "move 40,41", "move 50,9", "down 50,9"}));
        app.Shutdown();
    }
    SetCommandLineArgs(0, nullptr);
    DemoFile recorded;
    std::string error;
    ASSERT_TRUE(recorded.Load(demo, error)) << error;
    std::vector<EventType> types;
    for (const DemoRecord& record : recorded.records)
        if (record.kind == DemoRecordKind::Input)
            types.push_back(record.input.type);
    EXPECT_EQ(types, (std::vector<EventType>{EventType::MouseMove, EventType::MouseMove, EventType::MouseDown,
                                             EventType::MouseUp, EventType::MouseMove, EventType::MouseDown,
                                             EventType::MouseUp, EventType::MouseMove, EventType::MouseDown}));
}

// Runs a headless program the way Start does, feeding clicks at given passes.
struct RunResult
{
    std::vector<ClickWidget::Click> clicks;
    std::vector<int> draws;
    int exitCode = 0;
    std::thread::id loadThread;
};

RunResult RunProgram(const std::vector<std::string>& args, const std::vector<std::pair<int, Platform::InputEvent>>& input,
                     int passes)
{
    std::vector<const char*> argv = {"test"};
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    SetCommandLineArgs(static_cast<int>(argv.size()), argv.data());
    TestApp app("LumoTests\\Demo");
    app.Init();
    RunResult result;
    result.exitCode = app.GetExitCode();
    if (result.exitCode != 0)
        return result;
    Platform::VirtualClock* clock = app.UseVirtualClock();
    app.StartLoading();
    app.RunUntilLoaded(clock);
    for (int pass = 0; pass < passes; ++pass)
    {
        for (const auto& [when, event] : input)
            if (when == pass)
                app.Video()->QueueEvent(event);
        clock->Advance(pass % 3 == 0 ? 20 : 10); // uneven pacing: several updates in some passes
        if (!app.RunOnePass())
            break;
    }
    if (app.widget != nullptr)
    {
        result.clicks = app.widget->clicks;
        result.draws = app.widget->draws;
    }
    result.loadThread = app.loadThread;
    app.Shutdown();
    return result;
}

TEST(AppBaseTest, ARecordedDemoReplaysTheSameInputAndRandomDraws)
{
    const TestFolder scratch("demo");
    const std::string folder = scratch.Path();
    const std::string demo = folder + "run.dmo";
    // Positions far off the window (a pointer dragged away) are recorded as
    // applied, within the bound the demo reader accepts.
    const std::vector<std::pair<int, Platform::InputEvent>> input = {
        {2, Click(3, 4)},           {3, Click(66560, -65537)}, {5, Click(10, 11, Platform::MOUSE_RIGHT)},
        {5, Click(12, 13)},         {7, Click(65537, 3)},      {9, Click(1, 1)}};

    RunResult recorded = RunProgram({"-record", "-demofile=" + demo}, input, 30);
    ASSERT_EQ(recorded.clicks.size(), 6u);
    EXPECT_EQ(recorded.clicks[1].x, 65536);
    EXPECT_EQ(recorded.clicks[1].y, -65536);
    EXPECT_EQ(recorded.clicks[4].x, 65536);
    ASSERT_TRUE(Platform::FileExists(demo));

    // Playback ignores live input and repeats the recorded run exactly.
    const std::vector<std::pair<int, Platform::InputEvent>> noise = {{1, Click(30, 30)}};
    RunResult played = RunProgram({"-play", "-demofile=" + demo}, noise, 60);
    EXPECT_EQ(played.clicks, recorded.clicks);
    ASSERT_GE(played.draws.size(), recorded.draws.size());
    played.draws.resize(recorded.draws.size());
    EXPECT_EQ(played.draws, recorded.draws);
}

// This user's process limit lowered to 1 for the scope, as when the user runs
// as many processes and threads as allowed: no thread can start (root is not
// held to the limit).
class NoRoomForAThread
{
public:
    NoRoomForAThread()
    {
        getrlimit(RLIMIT_NPROC, &mSaved);
        rlimit lowered = mSaved;
        lowered.rlim_cur = 1;
        setrlimit(RLIMIT_NPROC, &lowered);
    }
    ~NoRoomForAThread() { setrlimit(RLIMIT_NPROC, &mSaved); }
    NoRoomForAThread(const NoRoomForAThread&) = delete;
    NoRoomForAThread& operator=(const NoRoomForAThread&) = delete;

    static bool ThreadRefused()
    {
        try
        {
            std::thread([] {}).join();
            return false;
        }
        catch (const std::system_error&)
        {
            return true;
        }
    }

private:
    rlimit mSaved{};
};

// When the loading thread cannot be started, loading runs on the main thread,
// with a note that says why, and the run goes on like any other: it ends in
// order, its settings and demo written, and the demo replays alike.
TEST(AppBaseTest, ALoadingThreadThatCannotStartLoadsOnTheMainThread)
{
    const TestFolder scratch("no-thread");
    const std::string demo = scratch.Path() + "run.dmo";
    const std::vector<std::pair<int, Platform::InputEvent>> input = {{2, Click(3, 4)}, {6, Click(10, 11)}};
    Platform::ClearDebugOutput();
    RunResult recorded;
    {
        const NoRoomForAThread limit;
        if (!NoRoomForAThread::ThreadRefused())
            GTEST_SKIP() << "the process limit does not hold for this user (root)";
        recorded = RunProgram({"-record", "-demofile=" + demo}, input, 30);
    }
    EXPECT_EQ(recorded.exitCode, 0);
    EXPECT_EQ(recorded.loadThread, std::this_thread::get_id());
    ASSERT_EQ(recorded.clicks.size(), 2u);
    bool said = false;
    for (const std::string& line : Platform::GetDebugOutputLines())
        said |= line.find("the loading thread could not be started (") != std::string::npos &&
                line.find("); loading on the main thread") != std::string::npos;
    EXPECT_TRUE(said);
    Platform::SettingsStore settings("SOFTWARE\\LumoTests\\Demo");
    ASSERT_TRUE(settings.Load());
    EXPECT_EQ(settings.GetDword("InProgress"), std::optional<uint32_t>(0)) << "the settings were written at the end";

    ASSERT_TRUE(Platform::FileExists(demo));
    RunResult played = RunProgram({"-play", "-demofile=" + demo}, {}, 60);
    EXPECT_EQ(played.exitCode, 0);
    EXPECT_NE(played.loadThread, std::this_thread::get_id());
    EXPECT_EQ(played.clicks, recorded.clicks);
    ASSERT_GE(played.draws.size(), recorded.draws.size());
    played.draws.resize(recorded.draws.size());
    EXPECT_EQ(played.draws, recorded.draws);
}

// A loader that reads files only once the run is ending: the shutdown must wait
// for it before the demo is written, or the demo misses (or races) its reads.
class LateReadingApp : public TestApp
{
public:
    explicit LateReadingApp(std::string file) : TestApp("LumoTests\\Files"), mFile(std::move(file)) {}
    ~LateReadingApp() override { Shutdown(); }
    void LoadResources() override
    {
        while (!mShutdown)
            std::this_thread::yield();
        for (int i = 0; i < kReads; ++i)
        {
            Buffer read;
            if (i == kReads / 2 && IsRecordingDemo())
            {
                Buffer changed; // the file changes while the loader reads
                changed.WriteInt32(1235);
                (void)SaveBufferToFile(mFile, changed);
            }
            answers.push_back(FileExists(mFile) && LoadFileToBuffer(mFile, read) && read.ReadInt32() == 1234 + i % 2);
        }
    }
    static constexpr int kReads = 200;
    std::vector<bool> answers;

private:
    std::string mFile;
};

// Writes the file as an application outside any demo would.
void WriteWithAnApp(const std::string& path, const Buffer& bytes)
{
    SetCommandLineArgs(0, nullptr);
    TestApp writer("LumoTests\\Files");
    ASSERT_TRUE(writer.SaveBufferToFile(path, bytes));
}

TEST(AppBaseTest, PlaybackWritesNoFilesAndAnswersFromTheDemo)
{
    const TestFolder scratch("files");
    const std::string folder = scratch.Path();
    const std::string demo = folder + "files.dmo";
    const std::string data = folder + "data.bin";
    Buffer original;
    original.WriteInt32(1234);
    WriteWithAnApp(data, original);
    {
        UseDemoCommandLine("-record", demo);
        TestApp app("LumoTests\\Files");
        app.Init();
        EXPECT_TRUE(app.FileExists(data));
        Buffer read;
        EXPECT_TRUE(app.LoadFileToBuffer(data, read));
        EXPECT_EQ(read.ReadInt32(), 1234);
        app.Shutdown();
    }
    std::filesystem::remove(data);
    const std::string settingsFile = Platform::SettingsStore("SOFTWARE\\LumoTests\\Files").GetFilePath();
    std::vector<uint8_t> settings;
    ASSERT_TRUE(Platform::ReadWholeFile(settingsFile, settings));
    {
        UseDemoCommandLine("-play", demo);
        TestApp app("LumoTests\\Files");
        app.Init();
        ASSERT_TRUE(app.IsPlayingDemo());
        EXPECT_TRUE(app.FileExists(data)); // the recorded answer, not the disk's
        Buffer read;
        EXPECT_TRUE(app.LoadFileToBuffer(data, read));
        EXPECT_EQ(read.ReadInt32(), 1234);
        Buffer other;
        other.WriteInt32(99);
        EXPECT_TRUE(app.SaveBufferToFile(data, other));
        EXPECT_FALSE(Platform::FileExists(data));
        app.Shutdown();
    }
    // Nor the settings: they stay byte for byte as they were.
    std::vector<uint8_t> after;
    ASSERT_TRUE(Platform::ReadWholeFile(settingsFile, after));
    EXPECT_EQ(std::string(after.begin(), after.end()), std::string(settings.begin(), settings.end()));
}

// A subclass that never waits for its loader itself, whose loader fills a
// member only once the application is asked to stop.
bool gLoadedBeforeDestruction = false;

class ForgetfulApp : public LumoAppBase
{
public:
    ~ForgetfulApp() override { gLoadedBeforeDestruction = mLoaded; }
    void LoadResources() override
    {
        while (!mShutdownRequested)
            std::this_thread::yield();
        filled.assign(4096, 7);
    }
    std::vector<int> filled;
};

TEST(AppBaseTest, DeletingAStartedApplicationWaitsForItsLoaderBeforeAnyDestructor)
{
    gLoadedBeforeDestruction = false;
    auto* app = new ForgetfulApp();
    app->StartLoading();
    delete app; // no Shutdown
    EXPECT_TRUE(gLoadedBeforeDestruction);
}

// An application is made and freed through the class's own allocation: a
// subclass that needs more than the default alignment gets it, and is freed
// as it was made (the sanitizer build checks the pair).
class alignas(4096) OverAlignedApp : public LumoAppBase
{
public:
    char page[4096] = {};
};

TEST(AppBaseTest, AnOverAlignedApplicationGetsAlignedMemory)
{
    for (int i = 0; i < 2; ++i)
    {
        auto* app = new OverAlignedApp();
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(app) % 4096, 0u);
        app->page[4095] = 1;
        delete app;
    }
    auto* plain = new ForgetfulApp();
    delete plain;
}

// The same subclass on the stack: a loader that has finished needs no
// Shutdown, one still at work when the destructors have run stops the program.
TEST(AppBaseTest, AFinishedLoaderNeedsNoShutdownWhileOneStillAtWorkStopsTheProgram)
{
    {
        ForgetfulApp app;
        app.StartLoading();
        app.mShutdownRequested = true; // lets the loader finish
        while (!app.mLoaded)
            std::this_thread::yield();
    } // waited for quietly
    EXPECT_DEATH(
        {
            ForgetfulApp app;
            app.StartLoading();
        },
        "destroyed while its loading thread still runs");
}

TEST(AppBaseTest, AShutdownWaitsForTheLoadingThreadBeforeTheDemoIsWritten)
{
    const TestFolder scratch("late");
    const std::string folder = scratch.Path();
    const std::string demo = folder + "late.dmo";
    const std::string data = folder + "late.bin";
    Buffer original;
    original.WriteInt32(1234);
    WriteWithAnApp(data, original);
    for (const char* option : {"-record", "-play"})
    {
        SCOPED_TRACE(option);
        UseDemoCommandLine(option, demo);
        LateReadingApp app(data);
        app.Init();
        ASSERT_EQ(app.GetExitCode(), 0);
        app.StartLoading();
        app.Shutdown(); // before loading has read anything
        // Every read of the loader is in the demo, and playback answers it
        // from there (the file is gone by then).
        ASSERT_EQ(app.answers.size(), static_cast<size_t>(LateReadingApp::kReads));
        for (int i = 0; i < LateReadingApp::kReads; ++i)
            EXPECT_EQ(app.answers[static_cast<size_t>(i)], (i < LateReadingApp::kReads / 2) == (i % 2 == 0)) << i;
        EXPECT_EQ(app.GetExitCode(), 0);
        std::filesystem::remove(data);
    }
}

// A clock that moves only when told, like the virtual one, but is not virtual:
// the application waits for no loader on it, as in a window.
class SteppedClock final : public Platform::Clock
{
public:
    uint32_t NowMs() override { return now; }
    void SleepMs(uint32_t ms) override { now += ms; }
    bool IsVirtual() const override { return false; }
    uint32_t now = 0;
};

// Gives the application a stepped clock and starts its loading; returns the
// clock.
SteppedClock* StartOnASteppedClock(LumoAppBase& app)
{
    auto clock = std::make_unique<SteppedClock>();
    SteppedClock* raw = clock.get();
    app.SetClock(std::move(clock));
    app.StartLoading();
    return raw;
}

// A slow loader: while recording it ends only once the run has ended, as when
// the player stops the program during the loading. Its game data differ from
// what such a demo holds (none).
class HeldLoaderApp : public TestApp
{
public:
    HeldLoaderApp() : TestApp("LumoTests\\Held") {}
    void LoadResources() override
    {
        while (IsRecordingDemo() && !mShutdown)
            std::this_thread::yield();
        SetAssetHash(77);
    }
};

TEST(AppBaseTest, ARunStoppedBeforeItsLoadingCompletedReplaysToItsEnd)
{
    const TestFolder scratch("unloaded");
    const std::string demo = scratch.Path() + "unloaded.dmo";
    int recordedUpdates = 0;
    {
        UseDemoCommandLine("-record", demo);
        HeldLoaderApp app;
        app.Init();
        SteppedClock* raw = StartOnASteppedClock(app);
        for (int pass = 0; pass < 12; ++pass)
        {
            raw->now += 10;
            ASSERT_TRUE(app.RunOnePass());
        }
        recordedUpdates = app.GetUpdateCount();
        ASSERT_GT(recordedUpdates, 0);
        ASSERT_FALSE(app.IsLoadingComplete());
        app.Shutdown(); // as a stop signal or the window's close button does
        EXPECT_EQ(app.GetExitCode(), 0);
    }
    DemoFile recorded;
    std::string error;
    ASSERT_TRUE(recorded.Load(demo, error)) << error;
    EXPECT_EQ(recorded.loadedUpdate, DemoFile::kNeverLoaded);
    EXPECT_EQ(recorded.totalUpdates, static_cast<uint32_t>(recordedUpdates));

    // Played back headless: loading never completes, so no game data are
    // compared, and the run ends where the recording ended.
    Platform::ClearMessageBoxLog();
    UseDemoCommandLine("-play", demo);
    HeldLoaderApp app;
    app.Init();
    app.Start();
    EXPECT_EQ(app.GetExitCode(), 0);
    EXPECT_EQ(app.completeCount, 0);
    EXPECT_EQ(app.GetUpdateCount(), recordedUpdates);
    EXPECT_TRUE(Platform::GetMessageBoxLog().empty());
}

// A loader that fails, as a missing image fails the game's: it says so in a
// box, ends the run with status 1, and asks the main loop to end it. The test
// says when: it holds the loader until told.
class FailingLoaderApp : public TestApp
{
public:
    FailingLoaderApp() : TestApp("LumoTests\\Failing") {}
    void LoadResources() override
    {
        while (!release && !mShutdown)
            std::this_thread::yield();
        ShowFatalError("There was an error loading images/missing.png");
        SetExitCode(1);
        Shutdown();
    }
    // Runs passes on the stepped clock until the run ends, letting the loader
    // fail once failAt updates have run, and waiting until it has; returns
    // the updates run.
    int RunToTheEnd(SteppedClock* clock, int failAt)
    {
        for (int pass = 0; pass < 1000; ++pass)
        {
            if (!release && GetUpdateCount() >= failAt)
            {
                release = true;
                while (!mLoaded)
                    std::this_thread::yield();
            }
            clock->now += 10;
            if (!RunOnePass())
                return GetUpdateCount();
        }
        return -1;
    }
    std::atomic<bool> release{false};
};

// A demo of a run whose loading failed while its box was open, ended from
// outside (a lost display, a stop signal): every replay ends where the
// recording ended, with the same status, however early or late its loader
// fails this time.
TEST(AppBaseTest, ADemoOfAFailedLoadReplaysToTheSameEndWhenEverItsLoaderFails)
{
    const TestFolder scratch("failed");
    const std::string demo = scratch.Path() + "failed.dmo";
    constexpr int kRecordedUpdates = 30;
    {
        UseDemoCommandLine("-record", demo);
        FailingLoaderApp app;
        app.Init();
        SteppedClock* raw = StartOnASteppedClock(app);
        while (app.GetUpdateCount() < kRecordedUpdates)
        {
            raw->now += 10;
            ASSERT_TRUE(app.RunOnePass());
        }
        app.Shutdown(); // the box still open
        EXPECT_EQ(app.GetExitCode(), 1);
    }
    DemoFile recorded;
    std::string error;
    ASSERT_TRUE(recorded.Load(demo, error)) << error;
    ASSERT_EQ(recorded.loadedUpdate, DemoFile::kNeverLoaded);
    ASSERT_EQ(recorded.totalUpdates, static_cast<uint32_t>(kRecordedUpdates));

    for (const int failAt : {0, 1, 7, kRecordedUpdates - 1})
    {
        SCOPED_TRACE(failAt);
        UseDemoCommandLine("-play", demo);
        FailingLoaderApp app;
        app.Init();
        SteppedClock* raw = StartOnASteppedClock(app);
        EXPECT_EQ(app.RunToTheEnd(raw, failAt), kRecordedUpdates);
        EXPECT_EQ(app.GetExitCode(), 1);
        EXPECT_EQ(app.completeCount, 0);
    }
}

// A loader whose box SDL shows in the program itself, as when it cannot fork a
// copy to show it in: no stop signal closes that box, and nobody answers it.
// The test answers it once the run has ended without the loader.
class BoxedLoaderApp : public TestApp
{
public:
    BoxedLoaderApp() : TestApp("LumoTests\\Boxed") {}
    void LoadResources() override
    {
        loader = Testing::CurrentThreadId();
        SetExitCode(1); // as a failed load does before its box
        LoaderInBox(true);
        inBox = true;
        while (!answered)
            std::this_thread::yield();
        LoaderInBox(false);
        cameBack = true;
    }
    // The run's end, without the loader: the box is answered now, and the
    // loader must not come back into the application, but wait asleep.
    void OnShutdown() override
    {
        answered = true;
        while (!cameBack && Testing::ThreadState(loader) != 'S')
            std::this_thread::yield();
        std::fprintf(stderr, cameBack ? "the loader came back\n" : "saving, the loader waits\n");
    }
    std::atomic<pid_t> loader{0};
    std::atomic<bool> inBox{false};
    std::atomic<bool> answered{false};
    std::atomic<bool> cameBack{false};
};

// A stop signal with that box open ends the run in order, without waiting for
// the answer: the demo is written, and the program ends with the run's status.
TEST(AppBaseTest, AStopSignalEndsTheRunWhileTheLoadersBoxIsShownInTheProgram)
{
    const TestFolder scratch("boxed");
    const std::string demo = scratch.Path() + "boxed.dmo";
    EXPECT_EXIT(
        {
            alarm(60); // only bounds a run that waits for the answer
            UseDemoCommandLine("-record", demo);
            BoxedLoaderApp app;
            app.Init();
            SteppedClock* clock = StartOnASteppedClock(app);
            while (!app.inBox)
                std::this_thread::yield();
            Platform::InstallStopSignalHandlers();
            std::raise(SIGTERM);
            for (int pass = 0; pass < 100; ++pass)
            {
                clock->now += 10;
                app.RunOnePass();
            }
            std::fprintf(stderr, "the run did not end\n");
            std::_Exit(7);
        },
        testing::ExitedWithCode(1), "saving, the loader waits");
    DemoFile recorded;
    std::string error;
    ASSERT_TRUE(recorded.Load(demo, error)) << error;
    EXPECT_EQ(recorded.loadedUpdate, DemoFile::kNeverLoaded);
}

// A demo named by a link is written beside the file the link points to. When
// that folder cannot be written, the recording is refused at the start; when
// it stops being writable during the run, the note at the end says why.
TEST(AppBaseTest, ARecordingLooksWhereItsLinkLeadsAndAFailedWriteSaysWhy)
{
    const TestFolder scratch("linked-demo");
    const std::string folder = scratch.Path();
    const std::string locked = folder + "locked";
    std::filesystem::create_directories(locked);
    std::filesystem::create_symlink("locked/run.dmo", folder + "run.dmo");
    auto lock = [&](bool locking) {
        std::filesystem::permissions(locked, locking ? std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::owner_exec
                                                     : std::filesystem::perms::owner_all);
    };
    lock(true);
    const bool rootWrites = static_cast<bool>(std::ofstream(locked + "/probe"));
    lock(false);
    if (rootWrites)
        GTEST_SKIP() << "read-only folders are writable for this user (root)";

    UseDemoCommandLine("-record", folder + "run.dmo");
    Platform::ClearDebugOutput();
    {
        TestApp app("LumoTests\\Files");
        app.Init();
        EXPECT_TRUE(app.IsRecordingDemo());
        lock(true);
        app.Shutdown();
        lock(false);
        EXPECT_EQ(app.GetExitCode(), 1);
    }
    bool said = false;
    for (const std::string& line : Platform::GetDebugOutputLines())
        said |= line.find("could not write the demo file " + folder + "run.dmo (cannot write " + locked +
                          "/run.dmo: cannot create a file in " + locked + ": Permission denied)") != std::string::npos;
    EXPECT_TRUE(said);

    lock(true);
    {
        TestApp app("LumoTests\\Files");
        app.Init();
        EXPECT_FALSE(app.IsRecordingDemo()) << "refused at the start";
        EXPECT_EQ(app.GetExitCode(), 1);
    }
    lock(false);
    EXPECT_TRUE(std::filesystem::is_empty(locked));
}

TEST(AppBaseTest, ADemoAnswersForTheFileWhereverItsFolderIs)
{
    const TestFolder scratch("moved");
    const std::string folder = scratch.Path();
    const std::string demo = folder + "moved.dmo";
    std::filesystem::create_directories(folder + "old");
    const std::string data = folder + "old/data.bin";
    Buffer original;
    for (int i = 0; i < 100; ++i)
        original.WriteInt32(i);
    WriteWithAnApp(data, original);
    {
        UseDemoCommandLine("-record", demo);
        TestApp app("LumoTests\\Files");
        app.Init();
        EXPECT_TRUE(app.FileExists(data));
        Buffer read;
        EXPECT_TRUE(app.LoadFileToBuffer(data, read, false, 6)); // only the start
        EXPECT_EQ(read.GetDataLen(), 6u);
        app.Shutdown();
    }
    std::filesystem::remove_all(folder + "old");
    {
        UseDemoCommandLine("-play", demo);
        TestApp app("LumoTests\\Files");
        app.Init();
        ASSERT_TRUE(app.IsPlayingDemo());
        EXPECT_TRUE(app.FileExists(folder + "new/data.bin"));
        Buffer read;
        EXPECT_TRUE(app.LoadFileToBuffer(folder + "new/data.bin", read));
        EXPECT_EQ(read.GetDataLen(), 6u);
        EXPECT_EQ(read.ReadInt32(), 0);
        app.Shutdown();
    }
}

TEST(AppBaseTest, SettingsThatCannotBeWrittenSaySoAndTheRunGoesOn)
{
    const TestFolder scratch("settings");
    const std::string folder = scratch.Path();
    {
        std::ofstream blocked(folder + "blocked"); // where the settings folder should be
    }
    const Platform::Testing::ScopedEnv config("LUMO_CONFIG_DIR", (folder + "blocked/config").c_str());
    SetCommandLineArgs(0, nullptr);
    Platform::ClearDebugOutput();
    TestApp app("LumoTests\\Blocked");
    app.Init();
    app.SetMusicVolume(0.25);
    app.Shutdown();
    int notes = 0;
    for (const std::string& line : Platform::GetDebugOutputLines())
        if (line.rfind("SETTINGS: the settings could not be saved (cannot write " + folder + "blocked/config/", 0) == 0 &&
            line.find("settings.ini: cannot create folder " + folder + "blocked/") != std::string::npos)
            ++notes;
    EXPECT_EQ(notes, 2) << "once at start, once at the end";
    EXPECT_EQ(app.GetExitCode(), 0);
}

TEST(AppBaseTest, SettingsSurviveARestart)
{
    {
        SetCommandLineArgs(0, nullptr);
        TestApp app("LumoTests\\Settings");
        app.Init();
        app.SetMusicVolume(0.25);
        app.SetSfxVolume(0.5);
        app.SetMuted(true);
        app.mLoadingThreadEnabled = false;
        Platform::VirtualClock* clock = app.UseVirtualClock();
        (void)clock;
        app.Shutdown();
        app.Start(); // ends at once, writing the settings
    }
    SetCommandLineArgs(0, nullptr);
    TestApp app("LumoTests\\Settings");
    app.Init();
    EXPECT_DOUBLE_EQ(app.GetMusicVolume(), 0.25);
    EXPECT_DOUBLE_EQ(app.GetSfxVolume(), 0.5);
    EXPECT_TRUE(app.IsMuted());
    app.Shutdown();
}

TEST(AppBaseTest, AnUnknownOptionIsAFatalErrorWithTheExactMessage)
{
    Platform::ClearMessageBoxLog();
    const char* argv[] = {"test", "-bogus"};
    SetCommandLineArgs(2, argv);
    TestApp app("LumoTests\\Options");
    app.Init();
    EXPECT_NE(app.GetExitCode(), 0);
    auto boxes = Platform::GetMessageBoxLog();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "FATAL ERROR");
    EXPECT_EQ(boxes[0].text, "Invalid command line parameter: -bogus");
    app.Start(); // returns at once
    EXPECT_EQ(app.GetUpdateCount(), 0);
}

TEST(AppBaseTest, ShutdownOffTheMainThreadOnlyRequestsIt)
{
    SetCommandLineArgs(0, nullptr);
    TestApp app("LumoTests\\Shutdown");
    app.mLoadingThreadEnabled = false;
    app.Init();
    Platform::VirtualClock* clock = app.UseVirtualClock();
    app.StartLoading();
    std::thread other([&app] { app.Shutdown(); });
    other.join();
    EXPECT_TRUE(app.mShutdownRequested);
    EXPECT_FALSE(app.mShutdown);
    clock->Advance(10);
    EXPECT_FALSE(app.RunOnePass());
    EXPECT_TRUE(app.mShutdown);
}


TEST(AppBaseTest, ReplacingTheClockAfterInitKeepsTheSoundManagerWorking)
{
    SetCommandLineArgs(0, nullptr);
    TestApp app("LumoTests\\Clock");
    app.Init();
    Platform::VirtualClock* clock = app.UseVirtualClock(); // the first clock is gone now
    clock->Advance(5000);                                  // past the sound manager's sweep interval
    app.PlaySample(1);                                     // nothing loaded: plays nothing, must not crash
    app.PlaySamplePanned(1, 500);
    EXPECT_EQ(app.GetClock().NowMs(), 5000u);
    app.Shutdown();
}


class KeyApp : public TestApp
{
public:
    KeyApp() : TestApp("LumoTests\\Keys") {}
    bool HandleDebugKey(int keyCode) override
    {
        debugKeys.push_back(keyCode);
        return keyCode == 27;
    }
    std::vector<int> debugKeys;
};

class KeyWidget : public Widget
{
public:
    void KeyDown(int keyCode) override { keys.push_back(keyCode); }
    std::vector<int> keys;
};

Platform::InputEvent Key(int code, bool ctrl = false, bool alt = false)
{
    Platform::InputEvent event;
    event.type = Platform::EventType::KeyDown;
    event.keyCode = code;
    event.ctrl = ctrl;
    event.alt = alt;
    return event;
}

TEST(AppBaseTest, DebugKeysReachTheHookOnlyInDebugKeyMode)
{
    SetCommandLineArgs(0, nullptr);
    KeyApp app;
    app.mLoadingThreadEnabled = false;
    app.Init();
    Platform::VirtualClock* clock = app.UseVirtualClock();
    KeyWidget widget;
    widget.Resize(0, 0, 10, 10);
    app.mWidgetManager->AddWidget(&widget);
    app.mWidgetManager->SetFocus(&widget);

    for (const Platform::InputEvent& event : {Key(27), Key('D', true, true), Key(27), Key('A'),
                                              Key('D', true, true), Key(27)})
    {
        app.QueueInput(event);
        clock->Advance(10);
        app.RunOnePass();
    }
    // Off at start: Escape goes to the widget. On: the hook sees every key and
    // stops Escape. Off again: straight to the widget.
    EXPECT_EQ(app.debugKeys, (std::vector<int>{27, 'A'}));
    EXPECT_EQ(widget.keys, (std::vector<int>{27, 'A', 27}));
    app.mWidgetManager->RemoveWidget(&widget);
    app.Shutdown();
}

TEST(AppBaseTest, MaxUpdatesEndsTheRunInOrder)
{
    SetCommandLineArgs(0, nullptr);
    setenv("LUMO_MAX_UPDATES", "7", 1);
    TestApp app("LumoTests\\MaxUpdates");
    unsetenv("LUMO_MAX_UPDATES");
    app.Init();
    app.Start(); // headless: the virtual clock, one update per pass
    EXPECT_EQ(app.GetUpdateCount(), 7);
    EXPECT_EQ(app.GetExitCode(), 0);
    EXPECT_TRUE(app.mShutdown);
}


// Holds a flag while the left button is down and notes whether an update saw it.
class HoldWidget : public Widget
{
public:
    void MouseDown(int, int, int) override { held = true; }
    void MouseUp(int, int, int) override { held = false; }
    void Update() override
    {
        Widget::Update();
        if (held)
            ++updatesHeld;
    }
    bool held = false;
    int updatesHeld = 0;
};

TEST(AppBaseTest, AClickShorterThanAStepIsStillSeenHeldByAnUpdate)
{
    SetCommandLineArgs(0, nullptr);
    TestApp app("LumoTests\\ShortClick");
    app.mLoadingThreadEnabled = false;
    app.Init();
    Platform::VirtualClock* clock = app.UseVirtualClock();
    HoldWidget widget;
    widget.Resize(0, 0, 10, 10);
    app.mWidgetManager->AddWidget(&widget);
    app.RunOnePass(); // starts the clock

    Platform::InputEvent up = Click(3, 3);
    up.type = Platform::EventType::MouseUp;
    app.QueueInput(Click(3, 3));
    app.QueueInput(up);
    for (int pass = 0; pass < 8; ++pass)
    {
        clock->Advance(4); // most passes run no update
        app.RunOnePass();
    }
    EXPECT_FALSE(widget.held);
    EXPECT_GE(widget.updatesHeld, 1);
    app.mWidgetManager->RemoveWidget(&widget);
    app.Shutdown();
}

} // namespace
} // namespace Lumo

// Feeds bytes to the demo-file reader; a parsed demo is written back and must
// parse again, then plays in the real game (GameApp with the generated assets
// of the build's bin folder), headless on the virtual clock, through the
// program's own demo playback for a few hundred updates. Whatever the reader
// accepts must be safe to replay: positions, click counts, keys and the file
// answers all reach the game.
#include "app/Buffer.h"
#include "app/DemoFile.h"
#include "app/LumoAppBase.h"
#include "game/GameApp.h"
#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/ModuleLoader.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

// At most eight seconds of game time: from loading through the splash, the
// menus and a game's introduction to its first chains takes about 700 updates.
constexpr int kReplayUpdates = 800;
// After its last record a demo plays on this long; most inputs end early.
constexpr uint32_t kSettleUpdates = 100;
// Loading completes by this update at the latest, so the Board exists for
// most of the replay whatever the file says.
constexpr uint32_t kLoadedBy = 20;

struct Setup
{
    ~Setup()
    {
        std::error_code ignored;
        if (!scratch.empty())
            std::filesystem::remove_all(scratch, ignored);
    }
    bool ready = false;
    uint64_t assetHash = 0;
    std::string scratch; // the process's own folder for the demo file
    std::string demoPath;
};

// The game as it is, except that its one way of ending the process at once
// (the tutorial without its board) ends the run instead.
class FuzzGameApp : public Lumo::GameApp
{
public:
    void ExitProcess(int exitCode) override
    {
        SetExitCode(exitCode);
        Shutdown();
    }
};

// One game from construction to deletion, the way the program runs it.
class Run
{
public:
    // The game reads its assets from the working folder: the folder of this
    // program for the run's length, so the fuzzer's own relative paths (the
    // corpus, new units) still work between runs.
    explicit Run(const std::vector<std::string>& args) : mPreviousFolder(Lumo::Platform::GetCurrentFolder())
    {
        (void)Lumo::Platform::SetCurrentFolder(Lumo::Platform::GetExecutableFolder());
        std::vector<const char*> argv = {"tumbrix"};
        for (const std::string& arg : args)
            argv.push_back(arg.c_str());
        Lumo::SetCommandLineArgs(static_cast<int>(argv.size()), argv.data());
        mApp = std::make_unique<FuzzGameApp>();
        mApp->Init();
        if (!mApp->mShutdown)
        {
            mApp->StartLoading();
            mLoading = true;
        }
    }
    ~Run()
    {
        // The program's run joins the loading thread before the game is
        // deleted; driven pass by pass, a run that ends early (a demo of no
        // updates) must wait for it here, or the thread loads into a game
        // being destroyed.
        while (mLoading && !mApp->mLoaded)
            std::this_thread::yield();
        mApp.reset();
        Lumo::SetCommandLineArgs(0, nullptr);
        (void)Lumo::Platform::SetCurrentFolder(mPreviousFolder);
    }
    Lumo::GameApp& App() { return *mApp; }

    // One main-loop pass with the clock moved by `updates` steps; false once
    // the program has ended.
    bool Pass(int updates)
    {
        if (mApp->mShutdown)
            return false;
        if (auto* clock = dynamic_cast<Lumo::Platform::VirtualClock*>(&mApp->GetClock()))
            clock->Advance(static_cast<uint32_t>(updates * 10));
        return mApp->RunOnePass();
    }

private:
    std::string mPreviousFolder;
    std::unique_ptr<FuzzGameApp> mApp;
    bool mLoading = false;
};

// Once per process: headless, scratch data and settings folders unless the
// caller gave some, the assets from the folder of this program, and the hash
// of those assets (a replay needs it to get past the game-data check).
const Setup& GetSetup()
{
    static Setup setup = [] {
        Setup s;
        setenv("LUMO_HEADLESS", "1", 1);
        const std::string scratch = (std::filesystem::temp_directory_path() /
                                     ("lumo_demo_fuzz_" + std::to_string(Lumo::Platform::GetProcessId())))
                                        .string() +
                                    "/";
        setenv("LUMO_DATA_DIR", (scratch + "data").c_str(), 0);
        setenv("LUMO_CONFIG_DIR", (scratch + "config").c_str(), 0);
        (void)Lumo::Platform::CreateDirectories(scratch);
        s.scratch = scratch;
        s.demoPath = scratch + "input.dmo";
        if (!Lumo::Platform::DirectoryExists(Lumo::Platform::GetExecutableFolder() + "images"))
        {
            std::fprintf(stderr, "demo_fuzz: no game assets beside the program; demos are parsed only\n");
            return s;
        }
        // The modules the game opens and frees on every run stay loaded: a
        // module unloaded between inputs would take its coverage counters
        // with it while the fuzzer still reads them.
        for (const char* module : {"dsound.dll", "j2k-codec.dll", "bass.dll", "fmod.dll"})
            (void)Lumo::Platform::LoadModule(module);
        Run probe({});
        for (int i = 0; i < 100000 && !probe.App().IsLoadingComplete(); ++i)
        {
            if (!probe.Pass(1))
                break;
            std::this_thread::yield();
        }
        if (!probe.App().IsLoadingComplete() || probe.App().board == nullptr)
        {
            std::fprintf(stderr, "demo_fuzz: the game did not load; demos are parsed only\n");
            return s;
        }
        s.assetHash = probe.App().RuleAssetHash();
        s.ready = true;
        return s;
    }();
    return setup;
}

void Replay(Lumo::DemoFile demo, const Setup& setup)
{
    demo.assetHash = setup.assetHash;
    demo.loadedUpdate = std::min(demo.loadedUpdate, kLoadedBy);
    demo.totalUpdates = std::max(demo.totalUpdates, demo.loadedUpdate);
    if (!demo.Save(setup.demoPath))
        std::abort();
    uint32_t last = demo.loadedUpdate;
    for (const Lumo::DemoRecord& record : demo.records)
        last = std::max(last, record.update);
    const int end = static_cast<int>(std::min<uint64_t>(kReplayUpdates, uint64_t{last} + kSettleUpdates));
    Run run({"-play", "-demofile=" + setup.demoPath});
    // Ten updates per pass, then a draw: the play field is drawn too.
    while (run.App().GetUpdateCount() < end && run.Pass(10))
    {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Lumo::DemoFile demo;
    std::string error;
    if (!demo.Parse(data, size, error))
        return 0;
    Lumo::Buffer buffer;
    demo.Write(buffer);
    Lumo::DemoFile again;
    if (!again.Parse(buffer.GetDataPtr(), buffer.GetDataLen(), error) || again.records.size() != demo.records.size())
        std::abort();
    const Setup& setup = GetSetup();
    if (setup.ready)
        Replay(std::move(demo), setup);
    return 0;
}

// Determinism: a seeded run with scripted input gives the same state hash on
// every tick when run again, and a run recorded as a demo replays to the same
// hashes through the application's demo playback.
#include "GameTestSupport.h"

#include "platform/Clock.h"
#include "platform/Input.h"
#include "platform/Video.h"
#include "widgets/WidgetManager.h"

#include <thread>

namespace Lumo::GameTest {
namespace {

// A scripted player: where the mouse goes and when it clicks, by tick only.
struct ScriptedEvent
{
    Platform::EventType type;
    int x, y, button;
};

std::vector<ScriptedEvent> ScriptFor(int tick)
{
    std::vector<ScriptedEvent> events;
    auto at = [&](int x, int y, Platform::EventType type, int button = Platform::MOUSE_LEFT) {
        events.push_back({type, x, y, button});
    };
    // Into the menus, "Start game", "Casual", past the intro.
    if (tick == 150 || tick == 260)
        at(512, 298 + 56 + 24, Platform::EventType::MouseMove);
    if (tick == 152)
        at(512, 298 + 56 + 24, Platform::EventType::MouseDown);
    if (tick == 154)
        at(512, 298 + 56 + 24, Platform::EventType::MouseUp);
    if (tick == 262)
        at(384, 298 + 112 + 24, Platform::EventType::MouseMove);
    if (tick == 264)
        at(384, 298 + 112 + 24, Platform::EventType::MouseDown);
    if (tick == 266)
        at(384, 298 + 112 + 24, Platform::EventType::MouseUp);
    if (tick == 400)
        at(512, 384, Platform::EventType::MouseDown);
    if (tick == 402)
        at(512, 384, Platform::EventType::MouseUp);
    // Then a player who tries a row of three every 40 ticks, walking over the
    // field, with a stray right click now and then.
    if (tick > 700)
    {
        const int attempt = tick / 40;
        const int column = attempt % 5;
        const int row = 11 + (attempt * 3) % 11;
        const auto x = [](int c) { return 316 + 28 + 56 * c; };
        const int y = 54 + 30 + 60 * (row - 11);
        switch (tick % 40)
        {
        case 0: at(x(column), y, Platform::EventType::MouseMove); break;
        case 2: at(x(column), y, Platform::EventType::MouseDown); break;
        case 4: at(x(column), y, Platform::EventType::MouseUp); break;
        case 8: at(x(column + 1), y, Platform::EventType::MouseMove); break;
        case 14: at(x(column + 2), y, Platform::EventType::MouseMove); break;
        case 20: at(x(column + 2), y, Platform::EventType::MouseDown); break;
        case 22: at(x(column + 2), y, Platform::EventType::MouseUp); break;
        default: break;
        }
        if (tick % 533 == 0)
            at(500, 300, Platform::EventType::MouseDown, Platform::MOUSE_RIGHT);
    }
    return events;
}

void Apply(Board* board, const ScriptedEvent& e)
{
    const int code = e.button == Platform::MOUSE_RIGHT ? -1 : 1;
    switch (e.type)
    {
    case Platform::EventType::MouseMove: board->MouseMove(e.x, e.y); break;
    case Platform::EventType::MouseDown: board->MouseDown(e.x, e.y, code); break;
    case Platform::EventType::MouseUp: board->MouseUp(e.x, e.y, code); break;
    default: break;
    }
}

std::vector<uint64_t> RunScripted(int ticks)
{
    ScratchFolder folder;
    SeedRandom(2024);
    TestGameApp app;
    Board* board = app.MakeBoard();
    std::vector<uint64_t> hashes;
    for (int tick = 0; tick < ticks; ++tick)
    {
        for (const ScriptedEvent& e : ScriptFor(tick))
            Apply(board, e);
        board->Update();
        hashes.push_back(board->stateHash());
    }
    EXPECT_EQ(board->mode, MODE_CASUAL);
    EXPECT_GT(board->stats[STAT_CHAINS_MADE][1], 0);
    return hashes;
}

TEST(DeterminismTest, ASeededScriptedRunRepeatsTickByTick)
{
    const std::vector<uint64_t> first = RunScripted(6000);
    const std::vector<uint64_t> second = RunScripted(6000);
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i)
        ASSERT_EQ(first[i], second[i]) << "tick " << i;
}

// The same game through the application: loading, the widget manager, the
// main loop on a virtual clock, and demo recording and playback.
class HashingBoard : public Board
{
public:
    using Board::Board;
    void Update() override
    {
        Board::Update();
        hashes.push_back(stateHash());
    }
    std::vector<uint64_t> hashes;
};

class DemoGameApp : public GameApp
{
public:
    DemoGameApp() { mRegKey = "LumoTests\\TumbrixDemo"; }
    void LoadResources() override
    {
        gameFont = new MonoFont();
        FillTestImages(images);
    }
    void ExitProcess(int exitCode) override { exitCodes.push_back(exitCode); }
    void OnLoadingComplete() override
    {
        SetAssetHash(RuleAssetHash());
        hashingBoard = new HashingBoard(this);
        board = hashingBoard;
        board->Resize(0, 0, mWidth, mHeight);
        mWidgetManager->AddWidget(board);
    }
    HashingBoard* hashingBoard = nullptr;
    std::vector<int> exitCodes;
};

std::vector<uint64_t> RunThroughTheApp(const std::vector<std::string>& args, int passes, bool feedInput)
{
    std::vector<const char*> argv = {"tumbrix"};
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    SetCommandLineArgs(static_cast<int>(argv.size()), argv.data());
    DemoGameApp app;
    app.Init();
    EXPECT_EQ(app.GetExitCode(), 0);
    // The game's records go to the test's working folder, not the data folder
    // shared by every test.
    SetDataFolder(std::filesystem::current_path().string());
    // Headless runs on the application's virtual clock (the sound manager keeps
    // a pointer to it, so it is not replaced).
    auto* clock = dynamic_cast<Platform::VirtualClock*>(&app.GetClock());
    if (clock == nullptr)
    {
        ADD_FAILURE() << "not on the virtual clock";
        return {};
    }
    app.StartLoading();
    for (int i = 0; i < 100000 && !app.IsLoadingComplete(); ++i)
    {
        if (app.mLoaded)
            clock->Advance(10);
        app.RunOnePass();
        std::this_thread::yield();
    }
    EXPECT_TRUE(app.IsLoadingComplete());
    auto* video = dynamic_cast<Platform::HeadlessVideo*>(app.GetVideo());
    int fedUpTo = -1; // the script's events up to this tick are queued
    for (int pass = 0; pass < passes && app.hashingBoard != nullptr; ++pass)
    {
        if (feedInput && video != nullptr)
        {
            const int tick = static_cast<int>(app.hashingBoard->hashes.size());
            for (int t = fedUpTo + 1; t <= tick; ++t)
                for (const ScriptedEvent& e : ScriptFor(t))
                {
                    Platform::InputEvent event;
                    event.type = e.type;
                    event.x = e.x;
                    event.y = e.y;
                    event.button = e.button;
                    video->QueueEvent(event);
                }
            fedUpTo = tick;
        }
        clock->Advance(pass % 3 == 0 ? 20 : 10); // uneven pacing: several updates in some passes
        if (!app.RunOnePass())
            break;
    }
    EXPECT_TRUE(app.exitCodes.empty());
    if (app.hashingBoard != nullptr && feedInput)
    {
        // The recorded run really plays: a Casual game with chains made.
        EXPECT_EQ(app.hashingBoard->mode, MODE_CASUAL);
        EXPECT_GT(app.hashingBoard->stats[STAT_CHAINS_MADE][1], 0);
    }
    std::vector<uint64_t> hashes;
    if (app.hashingBoard != nullptr)
        hashes = app.hashingBoard->hashes;
    app.Shutdown();
    SetDataFolder("");
    return hashes;
}

TEST(DeterminismTest, ARecordedDemoReplaysToTheSameHashes)
{
    ScratchFolder folder;
    const std::string demo = (folder.Path() / "game.dmo").string();
    const std::vector<uint64_t> recorded = RunThroughTheApp({"-record", "-demofile=" + demo}, 1500, true);
    ASSERT_GT(recorded.size(), 1000u);
    ASSERT_TRUE(Platform::FileExists(demo));
    const std::vector<uint64_t> played = RunThroughTheApp({"-play", "-demofile=" + demo}, 2500, false);
    ASSERT_GE(played.size(), recorded.size());
    for (size_t i = 0; i < recorded.size(); ++i)
        ASSERT_EQ(played[i], recorded[i]) << "tick " << i;
}

} // namespace
} // namespace Lumo::GameTest

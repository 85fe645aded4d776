// The game's frame in software at 1024 x 768: the recorded Casual game is
// replayed headless and every frame of it is drawn and timed, beside a memcpy
// of one frame in the same run; and the time from start-up to loading
// complete. Prints
//   RATIO frame <memcpy time / mean frame draw time>
//   FRAME mean_ms <mean> worst_ms <worst> frames <count>
//   STARTUP first_s <first start> warm_s <best later start>
// Runs headless (LUMO_HEADLESS=1) on the game's assets, which the build puts
// beside this program; it finds them there from any working folder.
#include "bench/TimeReporter.h"
#include <benchmark/benchmark.h>

#include "game/Board.h"
#include "game/GameApp.h"
#include "graphics/DDImage.h"
#include "graphics/Graphics.h"
#include "graphics/display/DDInterface.h"
#include "platform/Clock.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace Lumo;
using Clock = std::chrono::steady_clock;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

// The game as the program runs it, on the virtual clock: one update and one
// draw a pass.
class Run
{
public:
    explicit Run(const std::vector<std::string>& args)
    {
        std::vector<const char*> argv = {"tumbrix"};
        for (const std::string& arg : args)
            argv.push_back(arg.c_str());
        SetCommandLineArgs(static_cast<int>(argv.size()), argv.data());
        app = std::make_unique<GameApp>();
        app->Init();
        app->StartLoading();
    }
    bool Pass()
    {
        if (auto* clock = dynamic_cast<Platform::VirtualClock*>(&app->GetClock()))
            clock->Advance(10);
        return app->RunOnePass();
    }
    std::unique_ptr<GameApp> app;
};

struct FrameTimes
{
    double sum = 0.0;
    double worst = 0.0;
    long frames = 0;
};
FrameTimes gFrames;
double gFirstStart = 0.0;
double gWarmStart = 0.0;

// Replays the Casual demo; after every update the Board's frame is drawn once
// more into the screen and timed. Returns the total draw time in seconds.
double ReplayCasual(FrameTimes& times)
{
    Run run({"-play", std::string("-demofile=") + TUMBRIX_BENCH_DEMO});
    double total = 0.0;
    while (run.Pass())
    {
        Board* board = run.app->board;
        DDImage* screen = run.app->mDDInterface != nullptr ? run.app->mDDInterface->GetScreenImage() : nullptr;
        if (board == nullptr || screen == nullptr)
            continue;
        Graphics g(screen);
        const auto start = Clock::now();
        board->Draw(&g);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        total += seconds;
        times.sum += seconds;
        times.worst = std::max(times.worst, seconds);
        ++times.frames;
    }
    return total;
}

void BM_memcpy(benchmark::State& state)
{
    std::vector<uint32_t> from(static_cast<size_t>(kWidth) * kHeight, 0xFF336699u);
    std::vector<uint32_t> to(from.size());
    for (auto _ : state)
    {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
}

// Manual time: only the frame draws count; iterations are frames.
void BM_casual_frame(benchmark::State& state)
{
    for (auto _ : state)
    {
        FrameTimes times;
        const double seconds = ReplayCasual(times);
        state.SetIterationTime(times.frames > 0 ? seconds / static_cast<double>(times.frames) : 0.0);
        gFrames.sum += times.sum;
        gFrames.worst = std::max(gFrames.worst, times.worst);
        gFrames.frames += times.frames;
    }
}

// From the application's construction to loading complete; the first run
// fills the decoded-sound cache, the later ones find it warm.
void BM_startup(benchmark::State& state)
{
    for (auto _ : state)
    {
        const auto start = Clock::now();
        Run run({});
        while (!run.app->IsLoadingComplete() && run.Pass())
        {
            if (!run.app->mLoaded)
                std::this_thread::yield();
        }
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        state.SetIterationTime(seconds);
        if (gFirstStart == 0.0)
            gFirstStart = seconds;
        else
            gWarmStart = gWarmStart == 0.0 ? seconds : std::min(gWarmStart, seconds);
    }
}

BENCHMARK(BM_memcpy)->MinTime(0.3);
BENCHMARK(BM_casual_frame)->UseManualTime()->Iterations(2);
BENCHMARK(BM_startup)->UseManualTime()->Iterations(4);

// The game reads its assets from the working folder: the build's bin folder,
// found from this program's own place when started elsewhere.
bool FindGameAssets()
{
    const char* probe = "images/Tumbrix28.txt";
    if (Platform::FileExists(probe))
        return true;
    const std::string folder = Platform::GetExecutableFolder();
    if (Platform::SetCurrentFolder(folder) && Platform::FileExists(probe))
        return true;
    std::fprintf(stderr, "bench_game: the game's assets (%s) are neither in the working folder nor in %s\n", probe,
                 folder.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (!Lumo::Platform::IsHeadless())
    {
        std::fprintf(stderr, "bench_game: run it headless (LUMO_HEADLESS=1): frames are timed on the virtual clock\n");
        return 1;
    }
    if (!FindGameAssets())
        return 1;
    benchmark::Initialize(&argc, argv);
    Lumo::Bench::TimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const auto reference = reporter.times.find("BM_memcpy/min_time:0.300");
    if (reference == reporter.times.end() || gFrames.frames == 0)
    {
        std::fprintf(stderr, "bench_game: %s\n",
                     gFrames.frames == 0 ? "the replay drew no frame" : "the memcpy reference was not measured");
        return 1;
    }
    const double mean = gFrames.sum / static_cast<double>(gFrames.frames);
    std::printf("RATIO frame %.3f\n", reference->second / mean);
    std::printf("FRAME mean_ms %.3f worst_ms %.3f frames %ld\n", mean * 1000.0, gFrames.worst * 1000.0, gFrames.frames);
    if (gFirstStart > 0.0)
        std::printf("STARTUP first_s %.3f warm_s %.3f\n", gFirstStart, gWarmStart);
    return 0;
}

// Full-screen (1024 x 768) software drawing beside memcpy of one frame, in the
// same run. Prints "RATIO <case> <memcpy time / case time>" for each case.
#include "bench/TimeReporter.h"
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "graphics/DDImage.h"
#include "graphics/Graphics.h"

namespace {

using namespace Lumo;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

std::unique_ptr<DDImage> MakeScreen()
{
    auto screen = std::make_unique<DDImage>();
    screen->SetScreenImage(true);
    screen->Create(kWidth, kHeight);
    std::vector<uint32_t> bits(static_cast<size_t>(kWidth) * kHeight);
    for (size_t i = 0; i < bits.size(); ++i)
        bits[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u >> 8);
    screen->SetBits(bits.data(), kWidth, kHeight);
    return screen;
}

// An image whose pixels are opaque, or carry a sprite-like alpha: a third
// transparent, a third opaque, a third translucent (in bands of 32 pixels).
std::unique_ptr<MemoryImage> MakeSource(int width, int height, bool withAlpha)
{
    std::vector<uint32_t> bits(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            uint32_t rgb = static_cast<uint32_t>((x * 7) & 0xFF) << 16 | static_cast<uint32_t>((y * 3) & 0xFF) << 8 |
                           static_cast<uint32_t>((x + y) & 0xFF);
            uint32_t alpha = 255;
            if (withAlpha)
            {
                int band = ((x + y) / 32) % 3;
                alpha = band == 0 ? 0u : band == 1 ? 255u : static_cast<uint32_t>(1 + (x * 5 + y) % 254);
            }
            bits[static_cast<size_t>(y) * width + x] = alpha << 24 | rgb;
        }
    auto image = std::make_unique<MemoryImage>();
    image->SetBits(bits.data(), width, height);
    return image;
}

void BM_memcpy(benchmark::State& state)
{
    std::vector<uint32_t> a(static_cast<size_t>(kWidth) * kHeight, 1u), b(a.size(), 2u);
    for (auto _ : state)
    {
        std::memcpy(b.data(), a.data(), a.size() * sizeof(uint32_t));
        benchmark::DoNotOptimize(b.data());
        benchmark::ClobberMemory();
    }
}

template <class Setup>
void RunDraw(benchmark::State& state, Setup&& draw)
{
    auto screen = MakeScreen();
    Graphics g(screen.get());
    for (auto _ : state)
    {
        draw(g);
        benchmark::DoNotOptimize(screen->GetBits());
        benchmark::ClobberMemory();
    }
}

void BM_opaque(benchmark::State& state)
{
    auto src = MakeSource(kWidth, kHeight, false);
    RunDraw(state, [&](Graphics& g) { g.DrawImage(src.get(), 0, 0); });
}

void BM_alpha(benchmark::State& state)
{
    auto src = MakeSource(kWidth, kHeight, true);
    RunDraw(state, [&](Graphics& g) { g.DrawImage(src.get(), 0, 0); });
}

void BM_tinted(benchmark::State& state)
{
    auto src = MakeSource(kWidth, kHeight, true);
    RunDraw(state, [&](Graphics& g) {
        g.SetImageTinting(true);
        g.SetColor(Color(200, 150, 100, 200));
        g.DrawImage(src.get(), 0, 0);
    });
}

void BM_fill_alpha(benchmark::State& state)
{
    RunDraw(state, [&](Graphics& g) {
        g.SetColor(Color(40, 80, 160, 100));
        g.FillRect(0, 0, kWidth, kHeight);
    });
}

void BM_stretched(benchmark::State& state)
{
    auto src = MakeSource(kWidth / 2, kHeight / 2, true);
    RunDraw(state, [&](Graphics& g) {
        g.SetQuickStretch(true);
        g.DrawImageStretched(src.get(), 0, 0, kWidth, kHeight);
    });
}

void BM_stretched_smooth(benchmark::State& state)
{
    auto src = MakeSource(kWidth / 2, kHeight / 2, true);
    RunDraw(state, [&](Graphics& g) { g.DrawImageStretched(src.get(), 0, 0, kWidth, kHeight); });
}

BENCHMARK(BM_memcpy)->MinTime(0.3);
BENCHMARK(BM_opaque)->MinTime(0.3);
BENCHMARK(BM_alpha)->MinTime(0.3);
BENCHMARK(BM_tinted)->MinTime(0.3);
BENCHMARK(BM_fill_alpha)->MinTime(0.3);
BENCHMARK(BM_stretched)->MinTime(0.3);
BENCHMARK(BM_stretched_smooth)->MinTime(0.3);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    Lumo::Bench::TimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    auto reference = reporter.times.find("BM_memcpy/min_time:0.300");
    if (reference == reporter.times.end())
    {
        std::fprintf(stderr, "bench_graphics: the memcpy reference was not measured\n");
        return 1;
    }
    int ratios = 0;
    const char* cases[][2] = {{"opaque", "BM_opaque"},       {"alpha", "BM_alpha"},
                              {"tinted", "BM_tinted"},       {"fill_alpha", "BM_fill_alpha"},
                              {"stretched", "BM_stretched"}, {"stretched_smooth", "BM_stretched_smooth"}};
    for (auto& c : cases)
    {
        auto found = reporter.times.find(std::string(c[1]) + "/min_time:0.300");
        if (found != reporter.times.end() && found->second > 0.0)
        {
            std::printf("RATIO %s %.3f\n", c[0], reference->second / found->second);
            ++ratios;
        }
    }
    if (ratios == 0)
        std::fprintf(stderr, "bench_graphics: no case was measured\n");
    return ratios > 0 ? 0 : 1;
}

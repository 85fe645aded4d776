// A 256 x 256 ARGB texture (a third opaque, a third translucent, a third
// transparent) drawn as a quad rotated 0.3 rad, about 760 x 540 on screen,
// onto a 1024 x 768 XRGB destination, by the rasteriser and by pixman in the
// same run. Prints Mpixel/s per covered pixel and
// "RATIO <case> <pixman time / our time>" for each case.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "graphics/raster/TriangleStrip.h"

namespace {

using namespace Lumo;

constexpr int kDestWidth = 1024, kDestHeight = 768, kTexSize = 256;
constexpr double kAngle = 0.3, kScaleX = 760.0 / kTexSize, kScaleY = 540.0 / kTexSize;
constexpr double kCentreX = 512.0, kCentreY = 384.0;

struct Case
{
    const char* name;
    bool opaque;   // every texel forced opaque
    bool bilinear;
    int alpha;     // modulation alpha (255: none)
};

const Case kCases[] = {{"nearest-opaque", true, false, 255},
                       {"nearest-blend", false, false, 255},
                       {"bilinear-blend", false, true, 255},
                       {"bilinear-blend-modulated", false, true, 160}};

std::vector<uint32_t> MakeTexture(bool opaque)
{
    std::vector<uint32_t> texels(kTexSize * kTexSize);
    for (int y = 0; y < kTexSize; ++y)
        for (int x = 0; x < kTexSize; ++x)
        {
            const uint32_t rgb = uint32_t((x * 7) & 0xFF) << 16 | uint32_t((y * 3) & 0xFF) << 8 | uint32_t((x + y) & 0xFF);
            const int band = ((x + y) / 32) % 3;
            const uint32_t alpha = opaque || band == 1 ? 255u : band == 0 ? 0u : uint32_t(1 + (x * 5 + y) % 254);
            texels[size_t(y) * kTexSize + size_t(x)] = alpha << 24 | rgb;
        }
    return texels;
}

std::vector<uint32_t> MakeDestination()
{
    std::vector<uint32_t> bits(size_t(kDestWidth) * kDestHeight);
    for (size_t i = 0; i < bits.size(); ++i)
        bits[i] = 0xFF000000u | uint32_t(i * 2654435761u >> 8);
    return bits;
}

// Texel point (s, t) to destination point.
void Place(double s, double t, double& x, double& y)
{
    const double dx = (s - kTexSize / 2.0) * kScaleX, dy = (t - kTexSize / 2.0) * kScaleY;
    x = kCentreX + dx * std::cos(kAngle) - dy * std::sin(kAngle);
    y = kCentreY + dx * std::sin(kAngle) + dy * std::cos(kAngle);
}

struct OurScene
{
    std::vector<uint32_t> texels;
    TriangleTexture texture;
    TriVertex strip[4];

    explicit OurScene(bool opaque) : texels(MakeTexture(opaque))
    {
        texture.bits = texels.data();
        texture.width = texture.height = kTexSize;
        texture.hasTrans = texture.hasAlpha = !opaque;
        const double corner[4][2] = {{0, 0}, {kTexSize, 0}, {0, kTexSize}, {kTexSize, kTexSize}};
        for (int k = 0; k < 4; ++k)
        {
            double x, y;
            Place(corner[k][0], corner[k][1], x, y);
            strip[k] = {float(x), float(y), float(corner[k][0] / kTexSize), float(corner[k][1] / kTexSize), 0};
        }
    }

    void Draw(std::vector<uint32_t>& dest, const Case& c)
    {
        DrawTriangleStrip(strip, 4, &texture, RasterColor{c.alpha, 255, 255, 255}, 0,
                          RasterRect{0, 0, kDestWidth, kDestHeight}, dest.data(), kDestWidth * 4, PIXEL_FORMAT_888,
                          c.bilinear, false);
    }
};

struct PixmanDeleter
{
    void operator()(pixman_image_t* image) const { pixman_image_unref(image); }
};
using PixmanImage = std::unique_ptr<pixman_image_t, PixmanDeleter>;

struct PixmanScene
{
    std::vector<uint32_t> premultiplied;
    PixmanImage source, mask;
    int boxX = 0, boxY = 0, boxW = 0, boxH = 0;

    PixmanScene(bool opaque, const Case& c) : premultiplied(MakeTexture(opaque))
    {
        for (uint32_t& p : premultiplied)
        {
            const uint32_t a = p >> 24;
            const auto mul = [a](uint32_t ch) { return (ch * a + 127) / 255; };
            p = a << 24 | mul((p >> 16) & 0xFF) << 16 | mul((p >> 8) & 0xFF) << 8 | mul(p & 0xFF);
        }
        source.reset(pixman_image_create_bits(PIXMAN_a8r8g8b8, kTexSize, kTexSize, premultiplied.data(),
                                              kTexSize * 4));
        // Destination pixel centre (X + 0.5) is our pixel centre X: map it back to texel space.
        pixman_f_transform f;
        const double sx = 1.0 / kScaleX, sy = 1.0 / kScaleY, co = std::cos(kAngle), si = std::sin(kAngle);
        const double ox = -kCentreX - 0.5, oy = -kCentreY - 0.5;
        f.m[0][0] = sx * co;
        f.m[0][1] = sx * si;
        f.m[0][2] = sx * (co * ox + si * oy) + kTexSize / 2.0;
        f.m[1][0] = -sy * si;
        f.m[1][1] = sy * co;
        f.m[1][2] = sy * (-si * ox + co * oy) + kTexSize / 2.0;
        f.m[2][0] = f.m[2][1] = 0;
        f.m[2][2] = 1;
        pixman_transform t;
        pixman_transform_from_pixman_f_transform(&t, &f);
        pixman_image_set_transform(source.get(), &t);
        pixman_image_set_filter(source.get(), c.bilinear ? PIXMAN_FILTER_BILINEAR : PIXMAN_FILTER_NEAREST, nullptr,
                                0);
        pixman_image_set_repeat(source.get(), PIXMAN_REPEAT_NONE);
        if (c.alpha != 255)
        {
            const pixman_color_t colour = {uint16_t(c.alpha * 257), uint16_t(c.alpha * 257),
                                           uint16_t(c.alpha * 257), uint16_t(c.alpha * 257)};
            mask.reset(pixman_image_create_solid_fill(&colour));
        }
        // The quad's bounding box.
        double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9;
        for (double s : {0.0, double(kTexSize)})
            for (double t2 : {0.0, double(kTexSize)})
            {
                double x, y;
                Place(s, t2, x, y);
                x0 = std::min(x0, x), y0 = std::min(y0, y), x1 = std::max(x1, x), y1 = std::max(y1, y);
            }
        boxX = int(std::floor(x0)), boxY = int(std::floor(y0));
        boxW = int(std::ceil(x1)) + 1 - boxX, boxH = int(std::ceil(y1)) + 1 - boxY;
    }

    void Draw(pixman_image_t* dest)
    {
        pixman_image_composite32(PIXMAN_OP_OVER, source.get(), mask.get(), dest, boxX, boxY, 0, 0, boxX, boxY, boxW,
                                 boxH);
    }
};

PixmanImage WrapDestination(std::vector<uint32_t>& bits)
{
    return PixmanImage(pixman_image_create_bits(PIXMAN_x8r8g8b8, kDestWidth, kDestHeight, bits.data(),
                                                kDestWidth * 4));
}

void BM_Ours(benchmark::State& state, const Case& c)
{
    InitTriangleDrawers();
    OurScene scene(c.opaque);
    std::vector<uint32_t> dest = MakeDestination();
    for (auto _ : state)
    {
        scene.Draw(dest, c);
        benchmark::DoNotOptimize(dest.data());
        benchmark::ClobberMemory();
    }
}

void BM_Pixman(benchmark::State& state, const Case& c)
{
    PixmanScene scene(c.opaque, c);
    std::vector<uint32_t> bits = MakeDestination();
    PixmanImage dest = WrapDestination(bits);
    for (auto _ : state)
    {
        scene.Draw(dest.get());
        benchmark::DoNotOptimize(bits.data());
        benchmark::ClobberMemory();
    }
}

// Draws each case once on both sides from the same destination: counts our
// covered pixels and checks that the two pictures agree within a few levels.
bool CheckAgreement(const Case& c, long& covered)
{
    InitTriangleDrawers();
    OurScene ours(c.opaque);
    PixmanScene theirs(c.opaque, c);
    std::vector<uint32_t> a = MakeDestination(), b = MakeDestination();
    const std::vector<uint32_t> before = a;
    ours.Draw(a, c);
    PixmanImage dest = WrapDestination(b);
    theirs.Draw(dest.get());
    long changedOurs = 0, changedTheirs = 0, far = 0;
    covered = 0;
    // Covered: inside the quad (what our fill rule draws with an opaque texture).
    {
        OurScene cover(true);
        std::vector<uint32_t> mask(a.size(), 0);
        cover.Draw(mask, Case{"", true, false, 255});
        for (size_t i = 0; i < a.size(); ++i)
        {
            if (mask[i] == 0)
                continue;
            ++covered;
            changedOurs += a[i] != before[i];
            changedTheirs += b[i] != before[i];
            int worst = 0;
            for (int shift = 0; shift < 24; shift += 8)
                worst = std::max(worst, std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF)));
            far += worst > 6;
        }
    }
    std::printf("check %-26s covered %ld, changed ours %ld pixman %ld, differing by more than 6 levels %ld\n", c.name,
                covered, changedOurs, changedTheirs, far);
    // Edge pixels, texel boundaries and the alpha thresholds (skip at 8 and
    // below, opaque from 240) differ a little; everything else must match.
    return changedOurs > covered / 2 && changedTheirs > covered / 2 && far < covered / 50;
}

// Keeps each benchmark's time per iteration in seconds: the median when the
// run has repetitions, else the single run.
class CaptureReporter : public benchmark::ConsoleReporter
{
public:
    CaptureReporter() : ConsoleReporter(OO_None) {} // plain text: RATIO lines start their lines
    std::map<std::string, double> seconds;
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
        {
            const double value = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            if (run.run_type == Run::RT_Iteration && run.repetitions <= 1)
                seconds[run.run_name.function_name] = value;
            else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                seconds[run.run_name.function_name] = value;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv)
{
    std::map<std::string, long> covered;
    bool agree = true;
    for (const Case& c : kCases)
    {
        long n = 0;
        agree = CheckAgreement(c, n) && agree;
        covered[c.name] = n;
        benchmark::RegisterBenchmark((std::string("ours/") + c.name).c_str(), BM_Ours, c)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("pixman/") + c.name).c_str(), BM_Pixman, c)
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    CaptureReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const Case& c : kCases)
    {
        const double ours = reporter.seconds[std::string("ours/") + c.name];
        const double theirs = reporter.seconds[std::string("pixman/") + c.name];
        if (ours > 0 && theirs > 0)
            std::printf("MPIXELS %s ours %.1f pixman %.1f\n", c.name, covered[c.name] / ours / 1e6,
                        covered[c.name] / theirs / 1e6);
    }
    int ratios = 0;
    for (const Case& c : kCases)
    {
        const double ours = reporter.seconds[std::string("ours/") + c.name];
        const double theirs = reporter.seconds[std::string("pixman/") + c.name];
        if (ours > 0 && theirs > 0)
        {
            std::printf("RATIO %s %.2f\n", c.name, theirs / ours);
            ++ratios;
        }
    }
    if (!agree)
        std::printf("WARNING: outputs disagree\n");
    if (ratios == 0)
        std::fprintf(stderr, "bench_raster: no case was measured against its reference\n");
    return agree && ratios > 0 ? 0 : 1;
}

// Reading a 1024 x 768 PNG and JPEG through ImageLib::ReadImageFile, beside
// the bare library decode of the same file into a 32-bit pixel array of the
// same layout. Prints "RATIO <format> <bare time / ReadImageFile time>".
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/TimeReporter.h"
#include <benchmark/benchmark.h>
#include <jpeglib.h>
#include <png.h>

#include "platform/Environment.h"
#include "resources/ImageLib.h"

namespace {

using namespace Lumo::ImageLib;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;

std::string gPngPath;
std::string gJpegPath;

// Game-like art: smooth gradients, shapes with soft edges, a little noise.
std::unique_ptr<Image> MakeArt()
{
    auto image = std::make_unique<Image>();
    if (!image->Allocate(kWidth, kHeight))
        return nullptr;
    uint32_t noise = 1;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
        {
            noise = noise * 1664525u + 1013904223u;
            const double d = std::hypot(x % 128 - 64, y % 128 - 64);
            const auto inside = static_cast<uint32_t>(std::clamp(64.0 - d, 0.0, 8.0) * 31);
            const uint32_t r = (uint32_t(x) * 255 / kWidth + inside) & 0xFF;
            const uint32_t g = (uint32_t(y) * 255 / kHeight + (noise >> 29)) & 0xFF;
            const uint32_t b = (inside * 3 + uint32_t(x + y) / 8) & 0xFF;
            const uint32_t a = d < 60 ? 0xFF : 0xFF - uint32_t(std::min(d, 90.0) * 2);
            image->GetBits()[y * kWidth + x] = a << 24 | r << 16 | g << 8 | b;
        }
    return image;
}

// The bare decodes: stdio input, the same 8-bit B, G, R, A output.
void BarePngDecode(const std::string& path, uint32_t* pixels)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    std::vector<png_bytep> rows(kHeight);
    for (int y = 0; y < kHeight; ++y)
        rows[size_t(y)] = reinterpret_cast<png_bytep>(pixels + y * kWidth);
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
}

void BareJpegDecode(const std::string& path, uint32_t* pixels)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    jpeg_decompress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height)
    {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(pixels + size_t(info.output_scanline) * info.output_width);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::fclose(file);
}

void BM_png_bare(benchmark::State& state)
{
    std::vector<uint32_t> pixels(size_t(kWidth) * kHeight);
    for (auto _ : state)
    {
        BarePngDecode(gPngPath, pixels.data());
        benchmark::DoNotOptimize(pixels.data());
    }
}

void BM_png_imagelib(benchmark::State& state)
{
    for (auto _ : state)
    {
        auto image = ReadImageFile(gPngPath, true);
        if (!image)
            state.SkipWithError("PNG not read");
        benchmark::DoNotOptimize(image.get());
    }
}

void BM_jpeg_bare(benchmark::State& state)
{
    std::vector<uint32_t> pixels(size_t(kWidth) * kHeight);
    for (auto _ : state)
    {
        BareJpegDecode(gJpegPath, pixels.data());
        benchmark::DoNotOptimize(pixels.data());
    }
}

void BM_jpeg_imagelib(benchmark::State& state)
{
    for (auto _ : state)
    {
        auto image = ReadImageFile(gJpegPath, true);
        if (!image)
            state.SkipWithError("JPEG not read");
        benchmark::DoNotOptimize(image.get());
    }
}

BENCHMARK(BM_png_bare)->MinTime(0.5);
BENCHMARK(BM_png_imagelib)->MinTime(0.5);
BENCHMARK(BM_jpeg_bare)->MinTime(0.5);
BENCHMARK(BM_jpeg_imagelib)->MinTime(0.5);

} // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("lumo-imagelib-bench-" + std::to_string(Lumo::Platform::GetProcessId()));
    std::filesystem::create_directories(folder);
    gPngPath = (folder / "art.png").string();
    gJpegPath = (folder / "art.jpg").string();
    auto art = MakeArt();
    if (!art || !WritePng(gPngPath, *art) || !WriteJpeg(gJpegPath, *art))
    {
        std::fprintf(stderr, "cannot write the benchmark images to %s\n", folder.c_str());
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    Lumo::Bench::TimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::filesystem::remove_all(folder);
    int ratios = 0;
    for (const char* format : {"png", "jpeg"})
    {
        const auto bare = reporter.times.find(std::string("BM_") + format + "_bare/min_time:0.500");
        const auto ours = reporter.times.find(std::string("BM_") + format + "_imagelib/min_time:0.500");
        if (bare != reporter.times.end() && ours != reporter.times.end() && ours->second > 0.0)
        {
            std::printf("RATIO %s %.3f\n", format, bare->second / ours->second);
            ++ratios;
        }
    }
    if (ratios == 0)
        std::fprintf(stderr, "bench_imagelib: no format was measured against its reference\n");
    return ratios > 0 ? 0 : 1;
}

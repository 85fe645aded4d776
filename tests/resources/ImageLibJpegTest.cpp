#include <algorithm>
#include <cstdlib>
#include <vector>

#include <gtest/gtest.h>
#include <jpeglib.h>

#include "platform/DebugOutput.h"
#include "resources/ImageLib.h"
#include "tests/resources/ImageTestFiles.h"

namespace Lumo::ImageLib {
namespace {

using namespace Testing;

// Every pixel opaque and each channel within the tolerance of expected(x, y).
// With colour, chroma is shared by 16 x 16 blocks and blends at their edges:
// only the inner pixels of each block are compared.
template <class Expected>
void ExpectNear(const Image& image, Expected expected, int tolerance = 6, bool innerOnly = false)
{
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
        {
            if (innerOnly && (x % 16 < 2 || x % 16 > 13 || y % 16 < 2 || y % 16 > 13))
                continue;
            const uint32_t got = image.GetBits()[y * image.GetWidth() + x];
            const uint32_t want = expected(x, y);
            ASSERT_EQ(got >> 24, 0xFFu) << x << "," << y;
            for (int shift = 0; shift < 24; shift += 8)
                ASSERT_NEAR(int(got >> shift & 0xFF), int(want >> shift & 0xFF), tolerance)
                    << x << "," << y << " got " << std::hex << got << " want " << want;
        }
}

// Flat blocks survive JPEG nearly unchanged.
uint8_t Level(int x, int y, int block = 8)
{
    return uint8_t(((x / block) * 3 + (y / block) * 5) % 7 * 40);
}

TEST(ImageLibJpeg, GreyJpegGivesOpaqueGreyPixels)
{
    TestFolder folder;
    Bytes samples;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x)
            samples.push_back(Level(x, y));
    WriteTestJpeg(folder / "grey.jpg", 32, 24, 1, samples);
    auto image = ReadJpeg(folder / "grey.jpg");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetWidth(), 32);
    EXPECT_EQ(image->GetHeight(), 24);
    ExpectNear(*image, [](int x, int y) { return Level(x, y) * 0x010101u; });
}

TEST(ImageLibJpeg, ColourJpegGivesOpaqueRgbPixels)
{
    TestFolder folder;
    Bytes samples;
    auto colour = [](int x, int y) {
        return uint32_t(Level(x, y, 16)) << 16 | uint32_t(Level(x + 16, y, 16)) << 8 | uint32_t(255 - Level(x, y + 16, 16));
    };
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 48; ++x)
            for (int shift : {16, 8, 0})
                samples.push_back(uint8_t(colour(x, y) >> shift));
    WriteTestJpeg(folder / "rgb.jpg", 48, 32, 3, samples);
    auto image = ReadJpeg(folder / "rgb.jpg");
    ASSERT_NE(image, nullptr);
    ExpectNear(*image, colour, 8, true);
}

TEST(ImageLibJpeg, CmykJpegIsConvertedToRgb)
{
    TestFolder folder;
    // Adobe CMYK is stored inverted: 255 is no ink. Left half full magenta
    // ink, right half 50% black.
    Bytes samples;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            samples.insert(samples.end(), x < 8 ? std::initializer_list<uint8_t>{255, 0, 255, 255}
                                                : std::initializer_list<uint8_t>{255, 255, 255, 128});
    WriteTestJpeg(folder / "cmyk.jpg", 16, 16, 4, samples);
    auto image = ReadJpeg(folder / "cmyk.jpg");
    ASSERT_NE(image, nullptr);
    ExpectNear(*image, [](int x, int) { return x < 8 ? 0xFF00FFu : 0x808080u; }, 8);
}

TEST(ImageLibJpeg, CutOffFileStillGivesAnImageAndGarbageGivesNull)
{
    TestFolder folder;
    Bytes samples(64 * 64, 0x80);
    WriteTestJpeg(folder / "full.jpg", 64, 64, 1, samples);
    Bytes bytes = ReadBytes(folder / "full.jpg");
    bytes.resize(bytes.size() - 40);
    WriteBytes(folder / "cut.jpg", bytes);
    Platform::ClearDebugOutput();
    auto image = ReadJpeg(folder / "cut.jpg");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetWidth(), 64);
    EXPECT_EQ(Platform::GetDebugOutputLines().size(), 1u); // the one warning
    for (const Bytes& bad : {Bytes{}, Bytes{0xFF, 0xD8, 0xFF}, Bytes(100, 0x42)})
    {
        WriteBytes(folder / "bad.jpg", bad);
        Platform::ClearDebugOutput();
        EXPECT_EQ(ReadJpeg(folder / "bad.jpg"), nullptr);
        EXPECT_EQ(Platform::GetDebugOutputLines().size(), 1u);
    }
}

// What a JPEG may cost to decode is weighed against its size: a header whose
// data is missing is refused, while real files of any size still decode.

// How the size tests write their files: libjpeg into memory.
struct EncodeOptions
{
    bool progressive = false;
    bool arithmetic = false;
    // Each DC once, then each AC band once: a flat picture then takes about
    // one bit a block, the least a Huffman-coded file can hold.
    bool leastData = false;
    bool fullChroma = false; // 4:4:4 instead of 4:2:0
    // Progressive, with a scan for each AC coefficient of the first component:
    // the most scans over the most blocks for the least data.
    bool scanPerCoefficient = false;
    bool restartEveryBlock = false;
};

// Grey (1 component) or RGB (3, stored as YCbCr) samples at quality 90.
Bytes EncodeJpeg(int width, int height, int components, const Bytes& samples, const EncodeOptions& options)
{
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = components;
    info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    info.arith_code = options.arithmetic;
    info.optimize_coding = options.leastData && !options.arithmetic;
    if (options.fullChroma)
        info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = 1;
    if (options.restartEveryBlock)
        info.restart_interval = 1;
    std::vector<jpeg_scan_info> script;
    if (options.leastData)
    {
        for (int c = 0; c < components; ++c)
            script.push_back({1, {c}, 0, 0, 0, 0});
        for (int c = 0; c < components; ++c)
            script.push_back({1, {c}, 1, 63, 0, 0});
    }
    else if (options.scanPerCoefficient)
    {
        script.push_back({components, {0, 1, 2}, 0, 0, 0, 0});
        for (int k = 1; k < 64; ++k)
            script.push_back({1, {0}, k, k, 0, 0});
        for (int c = 1; c < components; ++c)
            script.push_back({1, {c}, 1, 63, 0, 0});
    }
    if (!script.empty())
    {
        info.scan_info = script.data();
        info.num_scans = static_cast<int>(script.size());
    }
    else if (options.progressive)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height)
    {
        const size_t offset = size_t(info.next_scanline) * size_t(width) * size_t(components);
        auto row = const_cast<JSAMPROW>(samples.data() + offset);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    Bytes bytes(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

// The pixels libjpeg itself makes of the file, with no limits, as 0xAARRGGBB.
std::vector<uint32_t> DecodeWithLibjpeg(const Bytes& bytes, int& width, int& height)
{
    jpeg_decompress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes.data(), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    width = static_cast<int>(info.output_width);
    height = static_cast<int>(info.output_height);
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    while (info.output_scanline < info.output_height)
    {
        auto row = reinterpret_cast<JSAMPROW>(pixels.data() + size_t(info.output_scanline) * size_t(width));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return pixels;
}

// The reader gives exactly what libjpeg gives.
void ExpectDecodesLikeLibjpeg(const TestFolder& folder, const Bytes& bytes)
{
    WriteBytes(folder / "big.jpg", bytes);
    Platform::ClearDebugOutput();
    auto image = ReadJpeg(folder / "big.jpg");
    ASSERT_NE(image, nullptr) << (Platform::GetDebugOutputLines().empty() ? "" : Platform::GetDebugOutputLines()[0]);
    int width = 0;
    int height = 0;
    const std::vector<uint32_t> expected = DecodeWithLibjpeg(bytes, width, height);
    ASSERT_EQ(image->GetWidth(), width);
    ASSERT_EQ(image->GetHeight(), height);
    const auto difference = std::mismatch(expected.begin(), expected.end(), image->GetBits()).first;
    EXPECT_EQ(difference, expected.end()) << "first difference at pixel " << (difference - expected.begin());
}

// Shading, edges and fine grain, so that it codes to a few bits a pixel as
// photographs do.
Bytes PhotoSamples(int width, int height)
{
    Bytes samples(size_t(width) * size_t(height) * 3);
    uint32_t noise = 12345;
    uint8_t* out = samples.data();
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
        {
            noise = noise * 1664525u + 1013904223u;
            const int grain = int(noise >> 27) - 16;
            const int shade = (x / 8 + y / 16) & 0xFF;
            const int edge = (x / 96 + y / 64) % 3 * 40;
            for (int value : {shade + grain, ((x ^ y) >> 4 & 0x7F) + 64 + grain, 255 - shade / 2 - edge + grain})
                *out++ = uint8_t(std::clamp(value, 0, 255));
        }
    return samples;
}

constexpr int kSide = 4096; // the largest square within the pixel bound

TEST(ImageLibJpegCost, LargePhotosDecodeLikeLibjpeg)
{
    TestFolder folder;
    const Bytes samples = PhotoSamples(kSide, kSide);
    for (const bool progressive : {false, true})
    {
        SCOPED_TRACE(progressive ? "progressive" : "baseline");
        const Bytes bytes = EncodeJpeg(kSide, kSide, 3, samples, {.progressive = progressive});
        EXPECT_GT(bytes.size(), 4u << 20); // as much data a pixel as a photograph
        ExpectDecodesLikeLibjpeg(folder, bytes);
    }
}

// A flat picture is the smallest file a real encoder writes for its size,
// and its many scans each still walk every block.
TEST(ImageLibJpegCost, FlatPicturesWithTheLeastDataStillDecode)
{
    TestFolder folder;
    const int blocks = (kSide / 8) * (kSide / 8);
    {
        SCOPED_TRACE("grey, a bit a block");
        const Bytes bytes = EncodeJpeg(kSide, kSide, 1, Bytes(size_t(kSide) * kSide, 0x60), {.leastData = true});
        EXPECT_LT(bytes.size(), blocks / 8 + 1024u);
        ExpectDecodesLikeLibjpeg(folder, bytes);
    }
    Bytes samples(size_t(kSide) * kSide * 3);
    for (size_t i = 0; i < samples.size(); i += 3)
    {
        samples[i] = 0x20;
        samples[i + 1] = 0x90;
        samples[i + 2] = 0xC0;
    }
    {
        SCOPED_TRACE("colour, progressive");
        const Bytes bytes = EncodeJpeg(kSide, kSide, 3, samples, {.progressive = true});
        EXPECT_LT(bytes.size(), 128u << 10);
        ExpectDecodesLikeLibjpeg(folder, bytes);
    }
    {
        SCOPED_TRACE("colour, 66 scans");
        const Bytes bytes = EncodeJpeg(kSide, kSide, 3, samples, {.scanPerCoefficient = true});
        EXPECT_LT(bytes.size(), 64u << 10);
        ExpectDecodesLikeLibjpeg(folder, bytes);
    }
    {
        SCOPED_TRACE("colour, progressive, a restart marker every block");
        ExpectDecodesLikeLibjpeg(folder, EncodeJpeg(kSide / 2, kSide / 2, 3, samples,
                                                    {.progressive = true, .restartEveryBlock = true}));
    }
    {
        // Arithmetic coding has no least size a block: this one is tiny and
        // still needs all its coefficient memory and six passes.
        SCOPED_TRACE("4:4:4 colour, arithmetic");
        const Bytes bytes =
            EncodeJpeg(kSide, kSide, 3, samples, {.arithmetic = true, .leastData = true, .fullChroma = true});
        EXPECT_LT(bytes.size(), 1024u);
        ExpectDecodesLikeLibjpeg(folder, bytes);
    }
}

// JPEG segments put together by hand.
void AddSegment(Bytes& file, uint8_t marker, const Bytes& body)
{
    const size_t length = body.size() + 2;
    for (uint8_t byte : {uint8_t(0xFF), marker, uint8_t(length >> 8), uint8_t(length)})
        file.push_back(byte);
    file.insert(file.end(), body.begin(), body.end());
}

// Start of image, a quantisation table, the frame header of the given kind
// (0xC0 baseline, 0xC2 progressive) for 1x1-sampled components 1..n, and a DC
// and an AC Huffman table of three two-bit codes each.
Bytes JpegHeader(uint8_t frame, int width, int height, int components)
{
    Bytes file{0xFF, 0xD8};
    Bytes table(65, 1);
    table[0] = 0;
    AddSegment(file, 0xDB, table);
    Bytes sof{8, uint8_t(height >> 8), uint8_t(height), uint8_t(width >> 8), uint8_t(width), uint8_t(components)};
    for (int c = 1; c <= components; ++c)
        for (uint8_t byte : {uint8_t(c), uint8_t(0x11), uint8_t(0)})
            sof.push_back(byte);
    AddSegment(file, frame, sof);
    for (uint8_t kind : {0x00, 0x10})
    {
        Bytes huffman(17, 0);
        huffman[0] = kind;
        huffman[2] = 3;
        for (uint8_t symbol : {0, 1, 2})
            huffman.push_back(symbol);
        AddSegment(file, 0xC4, huffman);
    }
    return file;
}

// A scan of components 1..n over coefficients first..last, with no data.
void AddEmptyScan(Bytes& file, int components, uint8_t first, uint8_t last)
{
    Bytes sos{uint8_t(components)};
    for (int c = 1; c <= components; ++c)
        for (uint8_t byte : {uint8_t(c), uint8_t(0)})
            sos.push_back(byte);
    for (uint8_t byte : {first, last, uint8_t(0)})
        sos.push_back(byte);
    AddSegment(file, 0xDA, sos);
}

void AddEnd(Bytes& file)
{
    file.push_back(0xFF);
    file.push_back(0xD9);
}

// One log line, and it is the cost refusal, which comes before any large
// buffer or the picture is taken.
void ExpectRefusedForCost(const TestFolder& folder, const Bytes& bytes)
{
    WriteBytes(folder / "cut.jpg", bytes);
    Platform::ClearDebugOutput();
    EXPECT_EQ(ReadJpeg(folder / "cut.jpg"), nullptr);
    const auto lines = Platform::GetDebugOutputLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("MB to decode"), std::string::npos) << lines[0];
}

TEST(ImageLibJpegCost, LargeHeaderWithoutItsDataIsRefused)
{
    TestFolder folder;
    // A real progressive 4096 x 4096 file cut a few hundred bytes into its
    // first scan, and the same cut of a baseline one.
    Bytes samples(size_t(kSide) * kSide * 3, 0x50);
    for (const bool progressive : {false, true})
    {
        SCOPED_TRACE(progressive ? "progressive" : "baseline");
        Bytes bytes = EncodeJpeg(kSide, kSide, 3, samples, {.progressive = progressive});
        const Bytes startOfScan{0xFF, 0xDA};
        const auto scan = std::search(bytes.begin(), bytes.end(), startOfScan.begin(), startOfScan.end());
        ASSERT_LT(scan + 400, bytes.end());
        bytes.erase(scan + 400, bytes.end());
        AddEnd(bytes);
        ExpectRefusedForCost(folder, bytes);
    }
    {
        SCOPED_TRACE("four components, 65288 x 248, no data");
        Bytes bytes = JpegHeader(0xC0, 65288, 248, 4);
        AddEmptyScan(bytes, 4, 0, 63);
        AddEnd(bytes);
        ExpectRefusedForCost(folder, bytes);
    }
    {
        SCOPED_TRACE("progressive grey, 4096 x 4096, no data");
        Bytes bytes = JpegHeader(0xC2, kSide, kSide, 1);
        AddEmptyScan(bytes, 1, 0, 0);
        AddEnd(bytes);
        ExpectRefusedForCost(folder, bytes);
    }
    {
        // The same header on a small picture costs little and decodes.
        Bytes bytes = JpegHeader(0xC2, 256, 256, 1);
        AddEmptyScan(bytes, 1, 0, 0);
        AddEnd(bytes);
        WriteBytes(folder / "small.jpg", bytes);
        EXPECT_NE(ReadJpeg(folder / "small.jpg"), nullptr);
    }
}

TEST(ImageLibJpegCost, FileOfManyEmptyScansIsRefused)
{
    TestFolder folder;
    // A DC scan, then AC scans without data, each a pass over the picture.
    auto withScans = [](int scans) {
        Bytes bytes = JpegHeader(0xC2, 64, 64, 1);
        AddEmptyScan(bytes, 1, 0, 0);
        for (int i = 1; i < scans; ++i)
            AddEmptyScan(bytes, 1, 1, 63);
        AddEnd(bytes);
        return bytes;
    };
    WriteBytes(folder / "most.jpg", withScans(256));
    Platform::ClearDebugOutput();
    auto image = ReadJpeg(folder / "most.jpg");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetWidth(), 64);
    EXPECT_EQ(Platform::GetDebugOutputLines().size(), 1u); // the missing data
    WriteBytes(folder / "many.jpg", withScans(257));
    Platform::ClearDebugOutput();
    EXPECT_EQ(ReadJpeg(folder / "many.jpg"), nullptr);
    auto lines = Platform::GetDebugOutputLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("JPEG has more than 256 scans"), std::string::npos) << lines[0];

    // 1 KB of scan headers over a picture the memory check lets it have, with
    // a restart marker every block: each scan a pass over 94249 blocks.
    Bytes bytes = JpegHeader(0xC2, 2456, 2456, 1);
    AddSegment(bytes, 0xDD, {0, 1});
    AddEmptyScan(bytes, 1, 0, 0);
    while (bytes.size() < 1010)
        AddEmptyScan(bytes, 1, 1, 63);
    AddEnd(bytes);
    WriteBytes(folder / "passes.jpg", bytes);
    Platform::ClearDebugOutput();
    EXPECT_EQ(ReadJpeg(folder / "passes.jpg"), nullptr);
    lines = Platform::GetDebugOutputLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().find("JPEG scans cover more blocks than a file of 1020 bytes may"), std::string::npos)
        << lines.back();
}

} // namespace
} // namespace Lumo::ImageLib

#include <gtest/gtest.h>

#include "platform/DebugOutput.h"
#include "resources/ImageLib.h"
#include "tests/resources/ImageTestFiles.h"

namespace Lumo::ImageLib {
namespace {

using namespace Testing;

// Entry i of an n-entry table: R = i, G = 255 - i, B = 0x40.
Bytes Table(int entries)
{
    Bytes table(size_t(entries) * 3, 0x40);
    for (size_t i = 0; i < size_t(entries); ++i)
    {
        table[i * 3] = uint8_t(i);
        table[i * 3 + 1] = uint8_t(255 - i);
    }
    return table;
}

uint32_t TableColour(int i)
{
    return 0xFF000000u | uint32_t(i) << 16 | uint32_t(255 - i) << 8 | 0x40;
}

std::vector<uint32_t> Pixels(const Image& image)
{
    return std::vector<uint32_t>(image.GetBits(), image.GetBits() + image.GetWidth() * image.GetHeight());
}

std::unique_ptr<Image> ReadGifBytes(const TestFolder& folder, const Bytes& bytes)
{
    WriteBytes(folder / "t.gif", bytes);
    return ReadGif(folder / "t.gif");
}

// Indices with runs and repeats, so the LZW strings grow long and the table
// fills many times over.
Bytes PatternIndices(size_t count, int colours)
{
    Bytes indices(count);
    uint32_t state = 12345;
    for (size_t i = 0; i < count; ++i)
    {
        state = state * 1103515245u + 12345u;
        indices[i] = (i / 7) % 3 == 0 ? uint8_t(i % size_t(colours)) : uint8_t((state >> 16) % uint32_t(colours));
    }
    return indices;
}

TEST(ImageLibGif, CodeSizesTwoToEightWithFullTablesClearedOrDeferred)
{
    TestFolder folder;
    for (int codeSize = 2; codeSize <= 8; ++codeSize)
        for (bool defer : {false, true})
        {
            const int colours = 1 << codeSize;
            const int width = 150, height = 120; // 18000 pixels: far more than 4096 codes
            const Bytes indices = PatternIndices(size_t(width * height), colours);
            const Bytes lzw = EncodeGifLzw(indices, codeSize, defer);
            auto image = ReadGifBytes(folder, GifBuilder(Table(colours)).Image(width, height, false, codeSize, lzw).Trailer().bytes);
            ASSERT_NE(image, nullptr);
            std::vector<uint32_t> expected;
            for (uint8_t index : indices)
                expected.push_back(TableColour(index));
            EXPECT_EQ(Pixels(*image), expected) << "code size " << codeSize << (defer ? " deferred" : " cleared");
        }
}

TEST(ImageLibGif, KnownSampleDecodes)
{
    // A well-known 10 x 10 sample: white, red and blue blocks, code size 2.
    const Bytes lzw = {0x8C, 0x2D, 0x99, 0x87, 0x2A, 0x1C, 0xDC, 0x33, 0xA0, 0x02, 0x75,
                       0xEC, 0x95, 0xFA, 0xA8, 0xDE, 0x60, 0x8C, 0x04, 0x91, 0x4C, 0x01};
    const char* rows[] = {"1111122222", "1111122222", "1111122222", "1110000222", "1110000222",
                          "2220000111", "2220000111", "2222211111", "2222211111", "2222211111"};
    TestFolder folder;
    auto image = ReadGifBytes(folder, GifBuilder(Table(4)).Image(10, 10, false, 2, lzw).Trailer().bytes);
    ASSERT_NE(image, nullptr);
    std::vector<uint32_t> expected;
    for (const char* row : rows)
        for (const char* c = row; *c; ++c)
            expected.push_back(TableColour(*c - '0'));
    EXPECT_EQ(Pixels(*image), expected);
}

TEST(ImageLibGif, InterlacedRowsComeOutInOrder)
{
    TestFolder folder;
    for (int height : {1, 2, 3, 4, 5, 17})
    {
        const int width = 3;
        // Row r of the picture holds colour r; the file stores rows in pass order.
        std::vector<int> order;
        for (auto [start, step] : {std::pair{0, 8}, std::pair{4, 8}, std::pair{2, 4}, std::pair{1, 2}})
            for (int y = start; y < height; y += step)
                order.push_back(y);
        Bytes indices;
        for (int y : order)
            indices.insert(indices.end(), size_t(width), uint8_t(y));
        const Bytes lzw = EncodeGifLzw(indices, 5);
        auto image = ReadGifBytes(folder, GifBuilder(Table(32)).Image(width, height, true, 5, lzw).Trailer().bytes);
        ASSERT_NE(image, nullptr);
        ASSERT_EQ(image->GetHeight(), height);
        for (int y = 0; y < height; ++y)
            EXPECT_EQ(image->GetBits()[y * width + 1], TableColour(y)) << "height " << height << " row " << y;
    }
}

TEST(ImageLibGif, LocalTableTransparencyAndSkippedExtensions)
{
    TestFolder folder;
    const Bytes lzw = EncodeGifLzw({0, 1, 2, 3}, 2);
    Bytes local;
    for (int i = 0; i < 4; ++i)
        local.insert(local.end(), {0x11, 0x22, uint8_t(i)});
    const Bytes netscape = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    auto image = ReadGifBytes(folder, GifBuilder(Table(4))
                                          .Extension(0xFE, {{}, {'h', 'i'}})
                                          .Extension(0xFF, {netscape, {1, 0, 0}})
                                          .GraphicControl(true, 2)
                                          .Image(4, 1, false, 2, lzw, local)
                                          .Image(9, 9, false, 2, EncodeGifLzw(Bytes(81, 1), 2))
                                          .Trailer()
                                          .bytes);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetWidth(), 4); // the first image only, at its own size
    EXPECT_EQ(Pixels(*image), (std::vector<uint32_t>{0xFF112200, 0xFF112201, 0, 0xFF112203}));
    // No transparency flag, or a graphic-control block too short to hold an index.
    const std::vector<uint32_t> opaque = {TableColour(0), TableColour(1), TableColour(2), TableColour(3)};
    image = ReadGifBytes(folder, GifBuilder(Table(4)).GraphicControl(false, 2).Image(4, 1, false, 2, lzw).Trailer().bytes);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(Pixels(*image), opaque);
    image = ReadGifBytes(folder, GifBuilder(Table(4)).Extension(0xF9, {{1, 0}}).Image(4, 1, false, 2, lzw).Trailer().bytes);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(Pixels(*image), opaque);
    // A later block without the flag keeps the index an earlier one set.
    image = ReadGifBytes(
        folder,
        GifBuilder(Table(4)).GraphicControl(true, 1).GraphicControl(false, 3).Image(4, 1, false, 2, lzw).Trailer().bytes);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(Pixels(*image), (std::vector<uint32_t>{TableColour(0), 0, TableColour(2), TableColour(3)}));
}

TEST(ImageLibGif, IndicesWithoutColourAreTransparentBlack)
{
    TestFolder folder;
    const Bytes lzw = EncodeGifLzw({0, 1, 5, 7}, 3);
    auto image = ReadGifBytes(folder, GifBuilder(Table(4)).Image(4, 1, false, 3, lzw).Trailer().bytes);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(Pixels(*image), (std::vector<uint32_t>{TableColour(0), TableColour(1), 0, 0}));
    image = ReadGifBytes(folder, GifBuilder().Image(4, 1, false, 3, lzw).Trailer().bytes);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(Pixels(*image), (std::vector<uint32_t>(4, 0)));
}

TEST(ImageLibGif, EarlyEndsKeepTheImageWithUndecodedPixelsZero)
{
    TestFolder folder;
    const Bytes full = EncodeGifLzw(PatternIndices(400, 16), 4);
    // Cut data, a first code above the clear code, and a code beyond the table.
    const std::vector<Bytes> streams = {Bytes(full.begin(), full.begin() + 30), Bytes{0x10 | 0x02, 0x00},
                                        Bytes{0x01, 0x1F, 0xFF}};
    for (const Bytes& lzw : streams)
    {
        auto image = ReadGifBytes(folder, GifBuilder(Table(16)).Image(20, 20, false, 4, lzw).Trailer().bytes);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->GetBits()[399], 0u);
    }
    // A sub-block whose count promises more bytes than the file has.
    Bytes cut = GifBuilder(Table(16)).Image(20, 20, false, 4, full).bytes;
    cut.resize(cut.size() - 100);
    auto image = ReadGifBytes(folder, cut);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetBits()[399], 0u);
}

TEST(ImageLibGif, FilesWithoutUsableImageGiveNull)
{
    TestFolder folder;
    const Bytes lzw = EncodeGifLzw({0}, 2);
    Bytes badSignature = GifBuilder(Table(4)).Image(1, 1, false, 2, lzw).bytes;
    badSignature[3] = '9';
    badSignature[4] = '0';
    const std::vector<Bytes> files = {
        GifBuilder(Table(4)).Trailer().Image(1, 1, false, 2, lzw).bytes,
        GifBuilder(Table(4)).bytes,
        GifBuilder(Table(4)).Image(0, 1, false, 2, lzw).bytes,
        GifBuilder(Table(4)).Image(1, 1, false, 12, lzw).bytes,
        badSignature,
        Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x87},
    };
    for (size_t i = 0; i < files.size(); ++i)
    {
        Platform::ClearDebugOutput();
        EXPECT_EQ(ReadGifBytes(folder, files[i]), nullptr) << "file " << i;
        EXPECT_EQ(Platform::GetDebugOutputLines().size(), 1u) << "file " << i;
    }
}

} // namespace
} // namespace Lumo::ImageLib

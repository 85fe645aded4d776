// GIF reader: the first image of a GIF87a or GIF89a file.
#include <array>
#include <cstring>

#include "resources/ImageLib.h"
#include "resources/ImageLibFile.h"
#include "resources/ImageLibGifLzw.h"
#include "resources/ImageLibPixels.h"

namespace Lumo::ImageLib {

namespace {

constexpr int kTrailer = 0x3B;
constexpr int kExtension = 0x21;
constexpr int kImageDescriptor = 0x2C;
constexpr int kGraphicControl = 0xF9;

// Colour indices are bytes, so 256 entries cover every index; entries past the
// file's colour count stay 0 (transparent black).
using Palette = std::array<uint32_t, 256>;

// Reads a colour table of 2^(bits + 1) entries into the palette.
bool ReadColourTable(PFILE* file, int flags, Palette& palette)
{
    const size_t count = size_t{2} << (flags & 7);
    uint8_t rgb[256 * 3];
    if (!ReadExact(file, rgb, count * 3))
        return false;
    palette.fill(0);
    ConvertRow<3>(rgb, palette.data(), count, [](const uint8_t* c) { return PackRgb(c[0], c[1], c[2]); });
    return true;
}

// Skips an extension's sub-blocks; for a graphic-control block, returns its
// transparent index (or -1 when the flag is off or the block is too short).
int SkipExtension(PFILE* file, int label)
{
    uint8_t block[256];
    int lastSize = 0;
    uint8_t last[4] = {};
    while (int size = ReadGifSubBlock(file, block))
    {
        lastSize = size;
        std::memcpy(last, block, size < 4 ? size_t(size) : 4);
    }
    if (label != kGraphicControl || lastSize < 4 || (last[0] & 1) == 0)
        return -1;
    return last[3];
}

struct ImageDescriptor
{
    uint16_t width;
    uint16_t height;
    uint8_t flags;
};

enum class Found
{
    Image,
    NoImage,
};

// Walks the blocks up to the first image descriptor, noting the transparent
// index of the last graphic-control block that sets one.
Found FindImage(PFILE* file, int& transparent)
{
    for (;;)
    {
        const int introducer = PakFileGetChar(file);
        if (introducer < 0 || introducer == kTrailer)
            return Found::NoImage;
        if (introducer == kImageDescriptor)
            return Found::Image;
        if (introducer != kExtension)
            continue;
        const int label = PakFileGetChar(file);
        if (label < 0)
            return Found::NoImage;
        // A graphic-control block without the transparency flag leaves an
        // earlier block's index as it was.
        const int index = SkipExtension(file, label);
        if (index >= 0)
            transparent = index;
    }
}

// Decodes the rows into the (zeroed) pixels; interlaced images in their four
// passes. Rows after the end of the data stay 0. False when it ended early.
bool DecodeRows(GifLzwDecoder& decoder, const Palette& palette, Image& image, bool interlaced)
{
    const int width = image.GetWidth();
    const int height = image.GetHeight();
    auto decodeRow = [&](int y) {
        uint32_t* row = image.GetBits() + size_t(y) * size_t(width);
        for (int x = 0; x < width; ++x)
        {
            const int index = decoder.NextIndex();
            if (index < 0)
                return false;
            row[x] = palette[static_cast<size_t>(index)];
        }
        return true;
    };
    if (!interlaced)
    {
        for (int y = 0; y < height; ++y)
            if (!decodeRow(y))
                return false;
        return true;
    }
    constexpr int kStart[4] = {0, 4, 2, 1};
    constexpr int kStep[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < height; y += kStep[pass])
            if (!decodeRow(y))
                return false;
    return true;
}

} // namespace

std::unique_ptr<Image> ReadGif(const std::string& path)
{
    PakFilePtr file = OpenImageFile(path);
    if (!file)
        return nullptr;
    uint8_t header[13];
    if (!ReadExact(file.get(), header, sizeof(header)) ||
        (std::memcmp(header, "GIF87", 5) != 0 && std::memcmp(header, "GIF89", 5) != 0))
    {
        LogBadImage(path, "not a GIF file");
        return nullptr;
    }
    Palette globalPalette{};
    if ((header[10] & 0x80) != 0 && !ReadColourTable(file.get(), header[10], globalPalette))
    {
        LogBadImage(path, "GIF colour table cut short");
        return nullptr;
    }
    int transparent = -1;
    uint8_t bytes[9];
    if (FindImage(file.get(), transparent) != Found::Image || !ReadExact(file.get(), bytes, sizeof(bytes)))
    {
        LogBadImage(path, "GIF file holds no image");
        return nullptr;
    }
    const ImageDescriptor descriptor{LoadLE16(bytes + 4), LoadLE16(bytes + 6), bytes[8]};
    Palette palette = globalPalette;
    if ((descriptor.flags & 0x80) != 0 && !ReadColourTable(file.get(), descriptor.flags, palette))
    {
        LogBadImage(path, "GIF colour table cut short");
        return nullptr;
    }
    if (transparent >= 0)
        palette[static_cast<size_t>(transparent)] = 0;
    const int minimumCodeSize = PakFileGetChar(file.get());
    if (descriptor.width == 0 || descriptor.height == 0 || minimumCodeSize < 0 ||
        minimumCodeSize > GifLzwDecoder::kMaxMinimumCodeSize)
    {
        LogBadImage(path, "GIF image descriptor not supported");
        return nullptr;
    }
    auto image = std::make_unique<Image>();
    if (!image->Allocate(descriptor.width, descriptor.height, true))
    {
        LogBadImage(path, "GIF image too large");
        return nullptr;
    }
    auto decoder = std::make_unique<GifLzwDecoder>(file.get(), minimumCodeSize);
    if (!DecodeRows(*decoder, palette, *image, (descriptor.flags & 0x40) != 0))
        LogBadImage(path, "GIF image data ended early");
    return image;
}

} // namespace Lumo::ImageLib

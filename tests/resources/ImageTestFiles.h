#pragma once
// Image files made in the tests: encoders over libpng, libjpeg and OpenJPEG,
// and TGA and GIF files put together byte by byte.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "resources/ImageLibImage.h"

struct opj_image;       // OpenJPEG's image and encoder parameters
struct opj_cparameters;

namespace Lumo::ImageLib::Testing {

using Bytes = std::vector<uint8_t>;

// A fresh folder per test under the build tree (tests run in parallel),
// removed afterwards.
class TestFolder
{
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    std::string operator/(const std::string& name) const { return mPath + name; }

private:
    std::string mPath; // ends with '/'
};

void WriteBytes(const std::string& path, const Bytes& bytes);
Bytes ReadBytes(const std::string& path);

// A PNG of the given libpng colour type, bit depth and interlacing; `samples`
// holds the rows packed as PNG stores them (16-bit samples big-endian).
struct PngSpec
{
    PngSpec(int width_, int height_, int colorType_, int bitDepth_, bool interlaced_, Bytes samples_,
            Bytes palette_ = {}, Bytes transparency_ = {})
        : width(width_), height(height_), colorType(colorType_), bitDepth(bitDepth_), interlaced(interlaced_),
          samples(std::move(samples_)), palette(std::move(palette_)), transparency(std::move(transparency_))
    {
    }
    int width;
    int height;
    int colorType;
    int bitDepth;
    bool interlaced;
    Bytes samples;
    Bytes palette;      // R, G, B per entry
    Bytes transparency; // tRNS entries for a palette image
};
void WriteTestPng(const std::string& path, const PngSpec& spec);

// A JPEG of 1 (grey), 3 (RGB) or 4 (CMYK, Adobe-inverted) components at
// quality 95.
void WriteTestJpeg(const std::string& path, int width, int height, int components, const Bytes& samples);

// A 0xAARRGGBB image filled by pixel(x, y).
template <class Pixel>
std::unique_ptr<Image> MakeImage(int width, int height, Pixel pixel)
{
    auto image = std::make_unique<Image>();
    if (!image->Allocate(width, height))
        return nullptr;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image->GetBits()[y * width + x] = pixel(x, y);
    return image;
}

// TGA header fields; the pixels follow an ID field of idLength bytes and a
// colour map of colourMapLength 3-byte entries.
struct TgaSpec
{
    uint8_t idLength = 0;
    uint8_t colourMapType = 0;
    uint8_t imageType = 2;
    uint16_t colourMapLength = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t bitsPerPixel = 32;
    uint8_t descriptor = 0x28;
};
Bytes MakeTga(const TgaSpec& spec, const std::vector<uint32_t>& pixels);

// LZW codes for the colour indices as a GIF encoder writes them, starting with
// a clear code. With deferClear the encoder keeps going without a clear code
// when its table is full; else it clears.
Bytes EncodeGifLzw(const Bytes& indices, int minimumCodeSize, bool deferClear = false);

// Blocks of a GIF file.
struct GifBuilder
{
    Bytes bytes;
    // A colour table holds 2^n R, G, B entries.
    explicit GifBuilder(const Bytes& globalTable = {});
    GifBuilder& GraphicControl(bool transparent, uint8_t index);
    GifBuilder& Extension(uint8_t label, const std::vector<Bytes>& subBlocks);
    // An image descriptor, an optional local table, and the LZW data
    // (minimum code size byte, sub-blocks of up to 255 bytes, terminator).
    GifBuilder& Image(int width, int height, bool interlaced, int minimumCodeSize, const Bytes& lzw,
                      const Bytes& localTable = {});
    GifBuilder& Trailer();
};

// Encodes the image with the parameters into the file (code stream, or JP2
// when jp2 is set) and frees the image; false when OpenJPEG fails.
bool EncodeJpeg2000(const std::string& path, opj_image* image, opj_cparameters& parameters, bool jp2);

// A lossless JPEG 2000 file (code stream, or JP2 when jp2 is set) of 1, 3 or
// 4 components of 8 bits; `samples` interleaved per pixel.
void WriteTestJpeg2000(const std::string& path, int width, int height, int components, const Bytes& samples,
                       bool jp2);

} // namespace Lumo::ImageLib::Testing

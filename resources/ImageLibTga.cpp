// TGA reader: uncompressed 32-bit true-colour images with top-left origin.
#include "resources/ImageLib.h"
#include "resources/ImageLibFile.h"

namespace Lumo::ImageLib {

namespace {

constexpr size_t kHeaderSize = 18;
constexpr uint8_t kTrueColour = 2;      // uncompressed true-colour image type
constexpr uint8_t kAlpha8TopLeft = 0x28; // 8 alpha bits, rows top to bottom

struct TgaHeader
{
    uint8_t idLength;
    uint8_t colourMapType;
    uint8_t imageType;
    uint16_t colourMapLength;
    uint8_t colourMapEntryBits;
    uint16_t width;
    uint16_t height;
    uint8_t bitsPerPixel;
    uint8_t descriptor;
};

TgaHeader ParseHeader(const uint8_t* bytes)
{
    TgaHeader header{};
    header.idLength = bytes[0];
    header.colourMapType = bytes[1];
    header.imageType = bytes[2];
    header.colourMapLength = LoadLE16(bytes + 5);
    header.colourMapEntryBits = bytes[7];
    header.width = LoadLE16(bytes + 12);
    header.height = LoadLE16(bytes + 14);
    header.bitsPerPixel = bytes[16];
    header.descriptor = bytes[17];
    return header;
}

bool IsSupported(const TgaHeader& header)
{
    return header.imageType == kTrueColour && header.colourMapType <= 1 && header.bitsPerPixel == 32 &&
           header.descriptor == kAlpha8TopLeft && header.width > 0 && header.height > 0;
}

// Bytes between the header and the pixels: the ID field and a colour map that
// a true-colour image may carry but does not use.
long SkippedBytes(const TgaHeader& header)
{
    long skipped = header.idLength;
    if (header.colourMapType == 1)
        skipped += long{header.colourMapLength} * ((header.colourMapEntryBits + 7) / 8);
    return skipped;
}

} // namespace

std::unique_ptr<Image> ReadTga(const std::string& path)
{
    PakFilePtr file = OpenImageFile(path);
    if (!file)
        return nullptr;
    uint8_t bytes[kHeaderSize];
    if (!ReadExact(file.get(), bytes, sizeof(bytes)))
    {
        LogBadImage(path, "TGA header cut short");
        return nullptr;
    }
    const TgaHeader header = ParseHeader(bytes);
    if (!IsSupported(header))
    {
        LogBadImage(path, "TGA kind not supported (only uncompressed 32-bit, top-left origin)");
        return nullptr;
    }
    const int64_t pixelBytes = int64_t{header.width} * header.height * 4;
    const std::optional<int64_t> left = BytesLeft(file.get());
    if (!left || *left < SkippedBytes(header) + pixelBytes || PakFileSeek(file.get(), SkippedBytes(header), 1) != 0)
    {
        LogBadImage(path, "TGA pixel data cut short");
        return nullptr;
    }
    auto image = std::make_unique<Image>();
    if (!image->Allocate(header.width, header.height))
    {
        LogBadImage(path, "TGA image too large");
        return nullptr;
    }
    // The file's B, G, R, A bytes are the 0xAARRGGBB words of the image.
    if (!ReadExact(file.get(), image->GetBits(), static_cast<size_t>(pixelBytes)))
    {
        LogBadImage(path, "TGA pixel data cut short");
        return nullptr;
    }
    return image;
}

} // namespace Lumo::ImageLib

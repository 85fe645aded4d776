#include "platform/modules/j2kcodec/J2kStreamLimits.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

namespace Lumo::Platform {

namespace {

// What decoding costs, measured with OpenJPEG 2.5: about 4 bytes a sample of
// every component, plus about 384 bytes a code block (a 4 x 4 block thus costs
// 28 bytes a sample, a 64 x 64 block barely more than 4); reading the main
// header takes up to 4 KB a tile and 4 KB more a tile and component; the
// caller's picture takes 4 bytes a pixel and a JP2 palette 4 bytes a sample
// per column.
constexpr double kBytesPerSample = 4;
constexpr double kBytesPerCodeBlock = 384;
constexpr double kBytesPerTile = 4096;
constexpr double kBytesPerTileComponent = 4096;
constexpr double kBytesPerPixel = 4;

// What a file may cost: 32 MB whatever its size, plus 2 KB a byte of file.
// Real pictures stay well below. A screen-sized picture of four components
// with the usual 64 x 64 code blocks costs about 17 MB, so a flat one that
// compresses to a few hundred bytes still passes (as does 1024 x 1024 with
// four components); photographs compressed as far as 0.1 bit a pixel cost
// about 1.3 KB a byte of file. A crafted file under 1 KB stays under 34 MB,
// which OpenJPEG decodes in well under 100 ms.
constexpr double kBaseBudget = 32.0 * 1024 * 1024;
constexpr double kBudgetPerByte = 2048;

// Every tile has a tile-part: at least a 12-byte SOT segment and a SOD marker.
constexpr uint64_t kMinBytesPerTile = 14;

constexpr uint16_t kSoc = 0xFF4F, kSiz = 0xFF51, kCod = 0xFF52, kCoc = 0xFF53, kSot = 0xFF90, kSod = 0xFF93,
                   kEoc = 0xFFD9;
constexpr uint32_t kJp2Header = 0x6A703268; // "jp2h"
constexpr uint32_t kCodestreamBox = 0x6A703263; // "jp2c"
constexpr uint32_t kPalette = 0x70636C72; // "pclr"
constexpr uint32_t kUnknownExponent = 99;

// Big-endian reads that see nothing past the end.
class ByteView
{
public:
    ByteView(const uint8_t* data, size_t size) : mData(data), mSize(size) {}
    size_t Size() const { return mSize; }
    bool Has(size_t offset, size_t count) const { return offset <= mSize && count <= mSize - offset; }
    uint32_t U8(size_t offset) const { return Has(offset, 1) ? mData[offset] : 0; }
    uint32_t U16(size_t offset) const { return U8(offset) << 8 | U8(offset + 1); }
    uint32_t U32(size_t offset) const { return U16(offset) << 16 | U16(offset + 2); }
    uint64_t U64(size_t offset) const { return uint64_t{U32(offset)} << 32 | U32(offset + 4); }

private:
    const uint8_t* mData;
    size_t mSize;
};

struct Span
{
    size_t begin = 0;
    size_t end = 0;
};

// A JP2 box in [begin, end): its type and contents.
struct Box
{
    uint32_t type = 0;
    Span contents;
};

std::optional<Box> ReadBox(const ByteView& bytes, size_t begin, size_t end)
{
    if (end - begin < 8)
        return std::nullopt;
    uint64_t length = bytes.U32(begin);
    size_t header = 8;
    if (length == 1)
    {
        if (end - begin < 16)
            return std::nullopt;
        length = bytes.U64(begin + 8);
        header = 16;
    }
    else if (length == 0)
        length = end - begin;
    if (length < header || length > end - begin)
        return std::nullopt;
    return Box{bytes.U32(begin + 4), Span{begin + header, begin + size_t(length)}};
}

// The code stream of a JP2 file, and the number of columns of its palette.
std::optional<Span> FindCodestream(const ByteView& bytes, uint32_t& paletteColumns)
{
    static const uint8_t kJp2[] = {0, 0, 0, 0x0C, 'j', 'P', ' ', ' ', 0x0D, 0x0A, 0x87, 0x0A};
    if (bytes.U32(0) == (uint32_t{kSoc} << 16 | kSiz))
        return Span{0, bytes.Size()};
    for (size_t i = 0; i < sizeof(kJp2); ++i)
        if (bytes.U8(i) != kJp2[i])
            return std::nullopt;
    std::optional<Box> box = ReadBox(bytes, 0, bytes.Size());
    for (; box && box->type != kCodestreamBox; box = ReadBox(bytes, box->contents.end, bytes.Size()))
    {
        if (box->type != kJp2Header)
            continue;
        const Span header = box->contents;
        for (std::optional<Box> child = ReadBox(bytes, header.begin, header.end); child;
             child = ReadBox(bytes, child->contents.end, header.end))
            if (child->type == kPalette)
                paletteColumns = std::max(paletteColumns, bytes.U8(child->contents.begin + 2));
    }
    return box ? std::optional<Span>(box->contents) : std::nullopt;
}

// log2 of the smallest code block area any resolution level can have under
// the coding style at `at` (decomposition levels, block width and height
// exponents, style, transform, then precinct sizes when `precincts`).
std::optional<uint32_t> BlockExponent(const ByteView& bytes, size_t at, size_t end, bool precincts)
{
    if (at + 5 > end)
        return std::nullopt;
    const uint32_t levels = bytes.U8(at);
    const uint32_t width = std::min<uint32_t>(bytes.U8(at + 1), 8) + 2;
    const uint32_t height = std::min<uint32_t>(bytes.U8(at + 2), 8) + 2;
    uint32_t exponent = width + height;
    if (!precincts)
        return exponent;
    if (at + 5 + levels + 1 > end)
        return std::nullopt;
    for (uint32_t level = 0; level <= levels; ++level)
    {
        // Past the lowest level a precinct is split between sub-bands of half its size.
        const uint32_t size = bytes.U8(at + 5 + level), shrink = level > 0 ? 1 : 0;
        const uint32_t precinctWidth = (size & 0x0F) - std::min(size & 0x0F, shrink);
        const uint32_t precinctHeight = (size >> 4) - std::min(size >> 4, shrink);
        exponent = std::min(exponent, std::min(width, precinctWidth) + std::min(height, precinctHeight));
    }
    return exponent;
}

// The facts of a code stream that decide what decoding it costs.
class CodestreamFacts
{
public:
    CodestreamFacts(const ByteView& bytes, Span span) : mBytes(bytes), mSpan(span) {}

    bool ReadSize()
    {
        const size_t at = mSpan.begin + 4;
        if (mBytes.U16(mSpan.begin) != kSoc || mBytes.U16(mSpan.begin + 2) != kSiz || !mBytes.Has(at, 38))
            return false;
        const uint32_t count = mBytes.U16(at + 36);
        if (count == 0 || mBytes.U16(at) != 38 + 3 * count || at + 38 + 3 * count > mSpan.end)
            return false;
        mX1 = mBytes.U32(at + 4), mY1 = mBytes.U32(at + 8), mX0 = mBytes.U32(at + 12), mY0 = mBytes.U32(at + 16);
        mTileWidth = mBytes.U32(at + 20), mTileHeight = mBytes.U32(at + 24);
        mTileX0 = mBytes.U32(at + 28), mTileY0 = mBytes.U32(at + 32);
        if (mX1 <= mX0 || mY1 <= mY0 || mTileWidth == 0 || mTileHeight == 0 || mTileX0 > mX0 || mTileY0 > mY0 ||
            uint64_t{mTileX0} + mTileWidth <= mX0 || uint64_t{mTileY0} + mTileHeight <= mY0)
            return false;
        for (uint32_t c = 0; c < count; ++c)
        {
            const uint32_t dx = mBytes.U8(at + 39 + 3 * c), dy = mBytes.U8(at + 40 + 3 * c);
            if (dx == 0 || dy == 0)
                return false;
            mComponents.push_back(Component{dx, dy, kUnknownExponent});
        }
        mHeaderEnd = at + mBytes.U16(at);
        return true;
    }

    // Reads the coding styles of the main header and of every tile-part
    // header. When the walk cannot be completed, every component is taken to
    // have the smallest code blocks there are.
    void ReadCodingStyles()
    {
        std::optional<size_t> at = ReadSegments(mHeaderEnd, mSpan.end, kSot);
        bool complete = false;
        while (at)
        {
            if (*at == mSpan.end || (mBytes.U16(*at) == kEoc && *at + 2 <= mSpan.end))
            {
                complete = true;
                break;
            }
            if (!mBytes.Has(*at, 12) || *at + 12 > mSpan.end || mBytes.U16(*at) != kSot || mBytes.U16(*at + 2) != 10)
                break;
            const uint32_t length = mBytes.U32(*at + 6);
            const size_t tileEnd = length == 0 ? mSpan.end : *at + length;
            if ((length != 0 && (length < kMinBytesPerTile || length > mSpan.end - *at)) ||
                !ReadSegments(*at + 12, tileEnd, kSod))
                break;
            complete = length == 0;
            at = length == 0 ? std::nullopt : std::optional<size_t>(tileEnd);
        }
        for (Component& component : mComponents)
            if (!complete || component.blockExponent == kUnknownExponent)
                component.blockExponent = 0;
    }

    uint64_t Tiles() const
    {
        return ((uint64_t{mX1} - mTileX0 + mTileWidth - 1) / mTileWidth) *
               ((uint64_t{mY1} - mTileY0 + mTileHeight - 1) / mTileHeight);
    }

    size_t Bytes() const { return mSpan.end - mSpan.begin; }

    double Cost(uint32_t paletteColumns) const
    {
        double cost = 0;
        double largest = 0;
        for (const Component& component : mComponents)
        {
            const double samples = double(CeilDiv(mX1, component.dx) - CeilDiv(mX0, component.dx)) *
                                   double(CeilDiv(mY1, component.dy) - CeilDiv(mY0, component.dy));
            cost += samples * (kBytesPerSample + kBytesPerCodeBlock / double(uint64_t{1} << component.blockExponent));
            largest = std::max(largest, samples);
        }
        cost += largest * (kBytesPerPixel + kBytesPerSample * paletteColumns);
        return cost + double(Tiles()) * (kBytesPerTile + kBytesPerTileComponent * double(mComponents.size()));
    }

private:
    struct Component
    {
        uint32_t dx;
        uint32_t dy;
        uint32_t blockExponent; // smallest code block area, log2
    };

    static uint64_t CeilDiv(uint64_t value, uint64_t divisor) { return (value + divisor - 1) / divisor; }

    // Walks marker segments from `at` up to the marker `stop`, taking in their
    // coding styles; the position of `stop`, or nothing when the segments do
    // not lead there.
    std::optional<size_t> ReadSegments(size_t at, size_t end, uint16_t stop)
    {
        while (at + 2 <= end)
        {
            const uint32_t marker = mBytes.U16(at);
            if (marker == stop)
                return at;
            const uint32_t length = mBytes.U16(at + 2);
            if ((marker >> 8) != 0xFF || length < 2 || at + 4 > end || length > end - at - 2)
                return std::nullopt;
            if ((marker == kCod || marker == kCoc) && !ReadCodingStyle(marker, at + 4, at + 2 + length))
                return std::nullopt;
            at += 2 + length;
        }
        return std::nullopt;
    }

    bool ReadCodingStyle(uint32_t marker, size_t at, size_t end)
    {
        if (marker == kCod)
        {
            const std::optional<uint32_t> exponent = BlockExponent(mBytes, at + 5, end, (mBytes.U8(at) & 1) != 0);
            for (Component& component : mComponents)
                component.blockExponent = std::min(component.blockExponent, exponent.value_or(0));
            return exponent.has_value();
        }
        const size_t indexBytes = mComponents.size() < 257 ? 1 : 2;
        const uint32_t index = indexBytes == 1 ? mBytes.U8(at) : mBytes.U16(at);
        const std::optional<uint32_t> exponent =
            BlockExponent(mBytes, at + indexBytes + 1, end, (mBytes.U8(at + indexBytes) & 1) != 0);
        if (!exponent || index >= mComponents.size())
            return false;
        mComponents[index].blockExponent = std::min(mComponents[index].blockExponent, *exponent);
        return true;
    }

    const ByteView& mBytes;
    Span mSpan;
    uint32_t mX0 = 0, mY0 = 0, mX1 = 0, mY1 = 0;
    uint32_t mTileWidth = 0, mTileHeight = 0, mTileX0 = 0, mTileY0 = 0;
    std::vector<Component> mComponents;
    size_t mHeaderEnd = 0;
};

} // namespace

J2kStreamCheck CheckJ2kStream(const uint8_t* data, size_t size)
{
    const ByteView bytes(data, size);
    uint32_t paletteColumns = 0;
    const std::optional<Span> span = FindCodestream(bytes, paletteColumns);
    if (!span)
        return J2kStreamCheck::Malformed;
    CodestreamFacts facts(bytes, *span);
    if (!facts.ReadSize())
        return J2kStreamCheck::Malformed;
    if (facts.Tiles() > facts.Bytes() / kMinBytesPerTile)
        return J2kStreamCheck::OutOfProportion;
    facts.ReadCodingStyles();
    if (facts.Cost(paletteColumns) > kBaseBudget + kBudgetPerByte * double(size))
        return J2kStreamCheck::OutOfProportion;
    return J2kStreamCheck::Accepted;
}

} // namespace Lumo::Platform

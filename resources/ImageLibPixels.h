#pragma once
// The pixel loops of the image readers and writers, in one place: each format
// supplies only the per-pixel conversion.
#include <bit>
#include <cstddef>
#include <cstdint>

namespace Lumo::ImageLib {

// The readers store 0xAARRGGBB words by writing bytes B, G, R, A.
static_assert(std::endian::native == std::endian::little, "ImageLib assumes a little-endian machine");

inline constexpr uint32_t kOpaque = 0xFF000000u;

inline constexpr uint32_t PackRgb(uint32_t r, uint32_t g, uint32_t b)
{
    return kOpaque | (r << 16) | (g << 8) | b;
}

// dst[x] = convert(src + x * SrcBytes) for one row of width pixels.
template <size_t SrcBytes, class Convert>
inline void ConvertRow(const uint8_t* src, uint32_t* dst, size_t width, Convert convert)
{
    for (size_t x = 0; x < width; ++x)
        dst[x] = convert(src + x * SrcBytes);
}

// convert(pixel, dst + x * DstBytes) writes the bytes of each pixel of a row.
template <size_t DstBytes, class Convert>
inline void UnpackRow(const uint32_t* src, uint8_t* dst, size_t width, Convert convert)
{
    for (size_t x = 0; x < width; ++x)
        convert(src[x], dst + x * DstBytes);
}

// pixels[i] = change(pixels[i], i) over count pixels.
template <class Change>
inline void TransformPixels(uint32_t* pixels, size_t count, Change change)
{
    for (size_t i = 0; i < count; ++i)
        pixels[i] = change(pixels[i], i);
}

} // namespace Lumo::ImageLib

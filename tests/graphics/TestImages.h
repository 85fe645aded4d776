#pragma once
// Small helpers for pixel tests: images made from explicit pixels and read
// back pixel by pixel.
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "graphics/DDImage.h"
#include "graphics/MemoryImage.h"

namespace Lumo::Test {

// A width x height image holding the pixels (row-major).
inline std::unique_ptr<MemoryImage> MakeImage(int width, int height, std::initializer_list<uint32_t> pixels)
{
    auto image = std::make_unique<MemoryImage>();
    std::vector<uint32_t> bits(pixels);
    bits.resize(static_cast<size_t>(width) * static_cast<size_t>(height), 0u);
    image->SetBits(bits.data(), width, height);
    return image;
}

// A width x height image of one colour.
inline std::unique_ptr<MemoryImage> MakeFilled(int width, int height, uint32_t pixel)
{
    std::vector<uint32_t> bits(static_cast<size_t>(width) * static_cast<size_t>(height), pixel);
    auto image = std::make_unique<MemoryImage>();
    image->SetBits(bits.data(), width, height);
    return image;
}

// A screen-like destination (0x888) of one colour.
inline std::unique_ptr<DDImage> MakeScreen(int width, int height, uint32_t pixel = 0xFF000000u)
{
    std::vector<uint32_t> bits(static_cast<size_t>(width) * static_cast<size_t>(height), pixel);
    auto image = std::make_unique<DDImage>();
    image->SetScreenImage(true);
    image->SetBits(bits.data(), width, height);
    return image;
}

inline uint32_t PixelAt(MemoryImage& image, int x, int y)
{
    return image.GetBits()[y * image.mWidth + x];
}

// The whole image as a vector (for comparing two images).
inline std::vector<uint32_t> PixelsOf(MemoryImage& image)
{
    const uint32_t* bits = image.GetBits();
    return std::vector<uint32_t>(bits, bits + image.mWidth * image.mHeight);
}

// How many pixels differ from the colour.
inline int CountNot(MemoryImage& image, uint32_t pixel)
{
    const uint32_t* bits = image.GetBits();
    int count = 0;
    for (int i = 0; i < image.mWidth * image.mHeight; ++i)
        count += bits[i] != pixel;
    return count;
}

} // namespace Lumo::Test

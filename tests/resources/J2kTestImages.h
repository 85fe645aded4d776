#pragma once
// JPEG 2000 files of any component layout made with OpenJPEG's encoder, and
// the picture a reader should make of them, worked out sample by sample.
#include <cstdint>
#include <string>
#include <vector>

#include "tests/resources/ImageTestFiles.h"

namespace Lumo::ImageLib::Testing {

// The image area [x0, x1) x [y0, y1) on the reference grid and one sampling
// step (dx, dy) per component; 8-bit samples.
struct J2kLayout
{
    uint32_t x0 = 0;
    uint32_t y0 = 0;
    uint32_t x1 = 0;
    uint32_t y1 = 0;
    struct Step
    {
        uint32_t dx;
        uint32_t dy;
    };
    std::vector<Step> steps;
    bool jp2 = false;
    uint32_t codeBlockSize = 64; // encoder's code block width and height
    uint32_t tileSize = 0;       // 0: one tile

    // Samples of component c in each direction: ceil(x1 / dx) - ceil(x0 / dx).
    uint32_t Columns(size_t c) const;
    uint32_t Rows(size_t c) const;
};

// Per component, its samples row by row.
using J2kSamples = std::vector<Bytes>;

// Distinct, never zero samples for every component of the layout.
J2kSamples MakeJ2kSamples(const J2kLayout& layout);

// A lossless file (one quality layer, no colour transform); grey for one
// component, else sRGB.
void WriteJ2kLayout(const std::string& path, const J2kLayout& layout, const J2kSamples& samples);

// The picture made of the first four components, as 0xAARRGGBB pixels, row by
// row: its size is that of the component with the smallest steps, and each
// picture pixel, at its place on the reference grid, takes from every
// component the sample whose cell (its grid point up to the next one; the
// first cell reaching back to the image's edge) holds that place. Channels:
// grey; grey, alpha; R, G, B; R, G, B, alpha.
struct J2kPicture
{
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint32_t> pixels;
};
J2kPicture ExpectedJ2kPicture(const J2kLayout& layout, const J2kSamples& samples);

// Overwrites one of the 32-bit fields of a code stream's SIZ segment.
enum class SizField
{
    Width = 0, // Xsiz: x1
    Height,    // Ysiz: y1
    X0,
    Y0,
    TileWidth,
    TileHeight,
};
void SetSizField(Bytes& codestream, SizField field, uint32_t value);

} // namespace Lumo::ImageLib::Testing

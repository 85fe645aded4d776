#pragma once
// Turns a decoded OpenJPEG image into 32-bit 0xAARRGGBB pixels.
#include <cstdint>
#include <optional>

#include <openjpeg.h>

namespace Lumo::Platform {

// Size of the picture made from an image's components.
struct J2kGrid
{
    uint32_t width = 0;
    uint32_t height = 0;
    bool operator==(const J2kGrid&) const = default;
};

// The picture's size at a resolution level (0 = full size, each level halves):
// the size of its finest component among the first four, the ones that make
// the picture. A component's size is ceil(x1 / dx) - ceil(x0 / dx) by
// ceil(y1 / dy) - ceil(y0 / dy), with dx and dy doubled per level. Nothing
// when those components cannot share one grid: no component is finest in
// both directions, or another's sampling step is not a whole multiple of the
// finest one's, or one of them has no samples at all.
std::optional<J2kGrid> J2kPictureGrid(const opj_image_t& image, uint32_t level);

// Writes every pixel of the picture decoded at `level` into rows `pitch`
// bytes apart in a buffer of `size` bytes. One component is grey, two grey and
// alpha, three colour (sYCC converted to RGB), four colour and alpha; further
// components are ignored. Coarser (subsampled) components are scaled up to the
// finest one by repeating samples, lined up by their offsets on the image
// grid. Samples of any precision are scaled to 8 bits; without an alpha
// component pixels are opaque. False, with nothing written, when the buffer is
// too small, the components cannot share one grid, or a component's decoded
// samples do not match its expected size.
bool J2kImageToArgb(const opj_image_t& image, uint32_t level, uint8_t* buffer, int64_t size, int64_t pitch);

} // namespace Lumo::Platform

#pragma once
// The texture of a triangle-strip draw: a view of the caller's 32-bit image,
// so the rasteriser does not depend on the image classes.
#include <cstdint>

namespace Lumo {

struct TriangleTexture
{
    // Called first by DrawTriangleStrip when set, with this view: it must bring
    // hasTrans and hasAlpha up to date (the image's alpha check) and may fill in
    // bits, width and height (pixels created on demand). Null: the fields are
    // already current.
    using CheckAlphaFn = void (*)(TriangleTexture& texture);

    const uint32_t* bits = nullptr; // width x height ARGB words, row-major, no gaps between rows
    int32_t width = 0;              // texels; 0 x 0 (or null bits) draws nothing
    int32_t height = 0;
    bool hasTrans = false; // some pixel has alpha 0
    bool hasAlpha = false; // some pixel has alpha 1..254
    CheckAlphaFn checkAlpha = nullptr;
    void* image = nullptr; // the caller's image, for checkAlpha; never touched here
};

} // namespace Lumo

#pragma once
// Scaling of image-font values by a layer's factor: truncated toward zero and
// limited to +-kMaxScaledValue, so absurd sizes and scales stay finite.
//
// Also the size of a layer's rescaled image and the pixel budget that all the
// rescaled images of one font share: a font description names its sizes in a
// few bytes, and without a bound a small description could make a font of
// gigabytes (one layer drawn for point size 1 and shown at 180, copied a
// dozen times). The description reader refuses a font that needs more at its
// default size, and building the layers at another size or scale gives no
// image to the layers that do not fit.
#include <algorithm>
#include <array>
#include <cmath>

#include "fonts/GlyphInfo.h"

namespace Lumo::FontScale {

constexpr double kMaxScaledValue = 65536.0;

// Pixels that all the rescaled layer images of one font may hold together:
// 4 MB at 32 bits, room for the game's font (95 glyphs, 33 pixels tall)
// drawn at four times its size, and little enough that the images are made
// in a few hundredths of a second.
constexpr long long kMaxFontImagePixels = 1LL << 20;
// Longest side of one rescaled layer image.
constexpr long long kMaxScaledImageSide = 1LL << 15;

inline int Scaled(long long value, double factor)
{
    const double scaled = static_cast<double>(value) * factor;
    if (std::isnan(scaled))
        return 0;
    return static_cast<int>(std::clamp(scaled, -kMaxScaledValue, kMaxScaledValue));
}

// Whether a layer drawn for layerPointSize needs an image of its own at the
// font's point size and scale (else it draws from the layer image).
inline bool NeedsRescale(int layerPointSize, int pointSize, double scale)
{
    return scale != 1.0 || (layerPointSize != 0 && layerPointSize != pointSize);
}

// The layer's factor: point size x scale / layer point size, or the scale
// alone for a layer that is never rescaled by point size.
inline double Factor(int layerPointSize, int pointSize, double scale)
{
    if (layerPointSize != 0)
        return static_cast<double>(pointSize) * scale / static_cast<double>(layerPointSize);
    return scale;
}

// A rescaled layer image: the glyphs side by side, each scaled by the factor,
// as tall as the tallest.
struct ScaledStrip
{
    long long width = 0;
    long long height = 0;

    bool SidesFit() const { return width <= kMaxScaledImageSide && height <= kMaxScaledImageSide; }
    long long Pixels() const { return width * height; }
};

inline ScaledStrip ScaledStripOf(const std::array<GlyphInfo, 256>& glyphs, double factor)
{
    ScaledStrip strip;
    for (const GlyphInfo& glyph : glyphs)
    {
        strip.width += std::max(0, Scaled(glyph.mImageRect.mWidth, factor));
        strip.height = std::max<long long>(strip.height, Scaled(glyph.mImageRect.mHeight, factor));
    }
    return strip;
}

// At least the size ScaledStripOf gives, from the glyphs' summed width and
// the tallest glyph alone: the height is exact, the width leaves out the
// truncation of each glyph (so it is exact for whole factors).
inline ScaledStrip ScaledStripBound(long long summedWidth, long long tallest, double factor)
{
    ScaledStrip strip;
    if (!(factor > 0.0))
        return strip; // no glyph has a width
    // A hair of margin covers the rounding of the products.
    const double width = std::floor(static_cast<double>(summedWidth) * factor * (1.0 + 1e-12));
    strip.width = width > static_cast<double>(1LL << 40) ? 1LL << 40 : static_cast<long long>(width);
    strip.height = std::max(0, Scaled(tallest, factor));
    return strip;
}

// What a strip costs against kMaxFontImagePixels; a strip with a side that is
// too long costs more than the whole budget.
inline long long BudgetCost(const ScaledStrip& strip)
{
    return strip.SidesFit() ? strip.Pixels() : kMaxFontImagePixels + 1;
}

} // namespace Lumo::FontScale

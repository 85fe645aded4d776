#include "graphics/raster/TriangleStrip.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "graphics/raster/TriangleClipper.h"

namespace Lumo {

namespace {

struct StripSetup
{
    bool textured = false;
    bool alphaBlend = false;
    bool modulate = false;
    bool vertexColors = false;
    bool bilinear = false;
    int texWidthInt = 0;
    int texHeightInt = 0;
    // Inclusive clip bounds in pixels.
    float left = 0.0f;
    float right = 0.0f;
    float top = 0.0f;
    float bottom = 0.0f;
};

// Truncates toward zero into 32 bits; NaN gives 0, out-of-range values clamp.
int32_t TruncateToInt32(double value)
{
    if (std::isnan(value))
        return 0;
    if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

// A float clamped to [low, high]; cut vertices of huge triangles can land far
// off the bound through rounding.
float ClampCoordinate(float value, float low, float high)
{
    return value < low ? low : (value > high ? high : value);
}

RasterVertex ToRasterVertex(const TriVertex& in, const StripSetup& s)
{
    RasterVertex out;
    out.x = TruncateToInt32(ClampCoordinate(in.x, s.left - 1.0f, s.right + 1.0f) * 65536.0);
    out.y = TruncateToInt32(ClampCoordinate(in.y, s.top - 1.0f, s.bottom + 1.0f) * 65536.0);
    if (s.textured)
    {
        out.u = TruncateToInt32(in.u * s.texWidthInt * 65536.0);
        out.v = TruncateToInt32(in.v * s.texHeightInt * 65536.0);
    }
    if (s.vertexColors)
    {
        out.a = static_cast<int32_t>(((in.colour >> 24) & 0xFF) << 16);
        out.r = static_cast<int32_t>(((in.colour >> 16) & 0xFF) << 16);
        out.g = static_cast<int32_t>(((in.colour >> 8) & 0xFF) << 16);
        out.b = static_cast<int32_t>((in.colour & 0xFF) << 16);
    }
    return out;
}

bool IsFinitePosition(const TriVertex& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y);
}

// Clips one strip triangle and draws the polygon as a fan around its first vertex.
void DrawStripTriangle(const TriVertex* const triangle[3], const StripSetup& s, void* bits, int pitch,
                       const RasterTextureInfo& textureInfo, const RasterColor& colour, PixelFormatCode format,
                       const RasterRect& clip)
{
    for (int k = 0; k < 3; ++k)
        if (!IsFinitePosition(*triangle[k]))
            return;
    ClipList polygon = {};
    const int n = ClipTriangleToRect(triangle, s.left, s.right, s.top, s.bottom, polygon);
    if (n < 3)
        return;
    RasterVertex fixed[kClipListSize];
    for (int k = 0; k < n; ++k)
    {
        if (!IsFinitePosition(*polygon[k]))
            return;
        fixed[k] = ToRasterVertex(*polygon[k], s);
    }
    for (int j = 2; j < n; ++j)
    {
        const RasterVertex fan[3] = {fixed[0], fixed[j - 1], fixed[j]};
        DrawTriangle(s.textured, s.alphaBlend, s.vertexColors, s.modulate, fan, bits, pitch, textureInfo, colour,
                     format, s.bilinear, clip);
    }
}

} // namespace

void DrawTriangleStrip(const TriVertex* vertices, int count, TriangleTexture* texture, const RasterColor& colour,
                       int /*drawMode*/, const RasterRect& clip, void* bits, int pitch, PixelFormatCode format,
                       bool bilinear, bool vertexColors)
{
    StripSetup s;
    const int64_t clipRight = static_cast<int64_t>(clip.x) + clip.width - 1;
    const int64_t clipBottom = static_cast<int64_t>(clip.y) + clip.height - 1;
    s.left = static_cast<float>(clip.x);
    s.top = static_cast<float>(clip.y);
    s.right = static_cast<float>(clipRight);
    s.bottom = static_cast<float>(clipBottom);
    s.modulate = colour.a != 255 || colour.r != 255 || colour.g != 255 || colour.b != 255;
    s.vertexColors = vertexColors;
    s.bilinear = bilinear;

    RasterTextureInfo textureInfo;
    if (texture != nullptr)
    {
        if (texture->checkAlpha != nullptr)
            texture->checkAlpha(*texture);
        s.textured = true;
        s.alphaBlend = texture->hasTrans || texture->hasAlpha || bilinear;
        const uint64_t texels = static_cast<uint64_t>(texture->width > 0 ? texture->width : 0) *
                                static_cast<uint64_t>(texture->height > 0 ? texture->height : 0);
        // An empty (or absurdly large) texture draws nothing.
        if (texture->bits == nullptr || texels == 0 || texels > std::numeric_limits<uint32_t>::max())
            return;
        textureInfo.texels = texture->bits;
        textureInfo.width = texture->width;
        textureInfo.count = static_cast<uint32_t>(texels);
        s.texWidthInt = texture->width;
        s.texHeightInt = texture->height;
    }
    if (count < 3 || vertices == nullptr || bits == nullptr || clipRight < clip.x || clipBottom < clip.y)
        return;

    for (int k = 1; k <= count - 2; ++k)
    {
        const TriVertex* odd[3] = {&vertices[k - 1], &vertices[k], &vertices[k + 1]};
        const TriVertex* even[3] = {&vertices[k - 1], &vertices[k + 1], &vertices[k]};
        DrawStripTriangle((k % 2 == 1) ? odd : even, s, bits, pitch, textureInfo, colour, format, clip);
    }
}

} // namespace Lumo

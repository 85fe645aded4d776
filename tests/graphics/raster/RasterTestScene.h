#pragma once
// Shared helpers of the rasteriser tests: pixel buffers with a guard band and
// the 16 x 16 test square whose attributes interpolate exactly.
#include <cstdint>
#include <vector>

#include "graphics/raster/RasterColor.h"
#include "graphics/raster/RasterRect.h"
#include "graphics/raster/RasterTextureInfo.h"
#include "graphics/raster/RasterVertex.h"
#include "graphics/raster/TriVertex.h"

namespace Lumo::RasterTest {

// A width x height destination of Pixel inside a guard band of kGuard pixels
// on every side, the guard filled with a pattern.
template <class Pixel>
struct GuardedBuffer
{
    static constexpr int kGuard = 8;
    int width, height, stride;
    std::vector<Pixel> store;

    GuardedBuffer(int w, int h, Pixel fill) : width(w), height(h), stride(w + 2 * kGuard)
    {
        store.assign(static_cast<size_t>(stride) * (h + 2 * kGuard), static_cast<Pixel>(0xA5A5A5A5u));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                At(x, y) = fill;
    }
    Pixel& At(int x, int y) { return store[static_cast<size_t>(y + kGuard) * stride + x + kGuard]; }
    void* Bits() { return &At(0, 0); }
    int Pitch() const { return stride * static_cast<int>(sizeof(Pixel)); }
    RasterRect Clip() const { return {0, 0, width, height}; }
    bool GuardIntact() const
    {
        for (int y = 0; y < height + 2 * kGuard; ++y)
            for (int x = 0; x < stride; ++x)
            {
                const bool inside = y >= kGuard && y < kGuard + height && x >= kGuard && x < kGuard + width;
                if (!inside && store[static_cast<size_t>(y) * stride + x] != static_cast<Pixel>(0xA5A5A5A5u))
                    return false;
            }
        return true;
    }
};

inline RasterVertex Fixed(double x, double y, double u, double v, uint32_t argb)
{
    RasterVertex r;
    r.x = static_cast<int32_t>(x * 65536.0);
    r.y = static_cast<int32_t>(y * 65536.0);
    r.u = static_cast<int32_t>(u * 65536.0);
    r.v = static_cast<int32_t>(v * 65536.0);
    r.a = static_cast<int32_t>((argb >> 24) << 16);
    r.r = static_cast<int32_t>(((argb >> 16) & 0xFF) << 16);
    r.g = static_cast<int32_t>(((argb >> 8) & 0xFF) << 16);
    r.b = static_cast<int32_t>((argb & 0xFF) << 16);
    return r;
}

// The two triangles of a 16 x 16 square at the origin, u = x + 0.5 and
// v = y + 0.5 texels: pixel (x, y) samples texel (x, y) at its centre.
inline void SquareTriangles(RasterVertex first[3], RasterVertex second[3], uint32_t argb)
{
    first[0] = Fixed(0, 0, 0.5, 0.5, argb);
    first[1] = Fixed(16, 0, 16.5, 0.5, argb);
    first[2] = Fixed(0, 16, 0.5, 16.5, argb);
    second[0] = Fixed(16, 0, 16.5, 0.5, argb);
    second[1] = Fixed(16, 16, 16.5, 16.5, argb);
    second[2] = Fixed(0, 16, 0.5, 16.5, argb);
}

// The same square as a strip of four float vertices for a 16 x 16 texture.
inline void SquareStrip(TriVertex strip[4], uint32_t argb)
{
    const float lo = 0.5f / 16.0f, hi = 16.5f / 16.0f;
    strip[0] = {0.0f, 0.0f, lo, lo, argb};
    strip[1] = {16.0f, 0.0f, hi, lo, argb};
    strip[2] = {0.0f, 16.0f, lo, hi, argb};
    strip[3] = {16.0f, 16.0f, hi, hi, argb};
}

// A 16 x 16 texture of varied colours whose alphas include every threshold.
inline std::vector<uint32_t> TestTexels()
{
    static const uint32_t kAlphas[] = {0, 1, 8, 9, 10, 100, 128, 200, 238, 239, 240, 241, 254, 255};
    std::vector<uint32_t> texels(256);
    uint32_t seed = 12345;
    for (size_t i = 0; i < texels.size(); ++i)
    {
        seed = seed * 1103515245u + 12345u;
        const uint32_t alpha = kAlphas[(seed >> 8) % (sizeof(kAlphas) / sizeof(kAlphas[0]))];
        texels[i] = (alpha << 24) | ((seed >> 4) & 0x00FFFFFFu);
    }
    return texels;
}

inline RasterTextureInfo InfoOf(const std::vector<uint32_t>& texels, int width)
{
    return {texels.data(), width, static_cast<uint32_t>(texels.size())};
}

} // namespace Lumo::RasterTest

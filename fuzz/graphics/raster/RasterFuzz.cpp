// Fuzz target: triangles from the input bytes (random, slivers, non-finite
// values) drawn through the strip driver and straight through every table
// entry into destinations with guard bands; no guard byte may change.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "graphics/raster/TriangleStrip.h"

namespace {

using namespace Lumo;

constexpr int kGuard = 16;
constexpr uint8_t kGuardByte = 0xA5;

// Reads the input front to back; past its end everything reads zero.
struct Reader
{
    const uint8_t* data;
    size_t size;
    size_t pos = 0;

    uint32_t U32()
    {
        uint32_t v = 0;
        for (int k = 0; k < 4; ++k)
            v |= static_cast<uint32_t>(pos < size ? data[pos++] : 0) << (8 * k);
        return v;
    }
    uint8_t U8() { return pos < size ? data[pos++] : 0; }
    // Raw bits (any float, NaN and infinities included) or a small coordinate.
    float F()
    {
        const uint32_t bits = U32();
        if ((bits & 3) != 0)
            return static_cast<float>(static_cast<int32_t>(bits) >> 18) / 64.0f;
        float f;
        std::memcpy(&f, &bits, sizeof f);
        return f;
    }
};

// A destination of width x height pixels of bytesPerPixel, inside a guard band.
struct Target
{
    int width, height, bytesPerPixel, pitch;
    std::vector<uint8_t> store;

    Target(int w, int h, int bpp, int extraPitch)
        : width(w), height(h), bytesPerPixel(bpp), pitch((w + 2 * kGuard) * bpp + extraPitch),
          store(static_cast<size_t>(pitch) * (h + 2 * kGuard), kGuardByte)
    {
        for (int y = 0; y < h; ++y)
            std::memset(Row(y), 0x40, static_cast<size_t>(w) * bpp);
    }
    uint8_t* Row(int y) { return store.data() + static_cast<size_t>(y + kGuard) * (pitch & ~(bpp() - 1)) + kGuard * bytesPerPixel; }
    int bpp() const { return bytesPerPixel; }
    void* Bits() { return Row(0); }

    void CheckGuard()
    {
        const int rowBytes = pitch & ~(bpp() - 1);
        for (size_t i = 0; i < store.size(); ++i)
        {
            const int y = static_cast<int>(i / rowBytes) - kGuard;
            const int x = (static_cast<int>(i % rowBytes) - kGuard * bytesPerPixel);
            const bool inside = i < static_cast<size_t>(rowBytes) * (height + 2 * kGuard) && y >= 0 && y < height &&
                                x >= 0 && x < width * bytesPerPixel;
            if (!inside && store[i] != kGuardByte)
                std::abort();
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    InitTriangleDrawers();
    Reader in{data, size};
    static const PixelFormatCode kFormats[] = {PIXEL_FORMAT_8888, PIXEL_FORMAT_888, PIXEL_FORMAT_565,
                                               PIXEL_FORMAT_555, PixelFormatCode(0x1234)};
    const uint8_t setup = in.U8();
    const PixelFormatCode format = kFormats[setup % 5];
    const int bpp = (format == PIXEL_FORMAT_565 || format == PIXEL_FORMAT_555) ? 2 : 4;
    const int width = 1 + in.U8() % 48, height = 1 + in.U8() % 48;
    Target target(width, height, bpp, in.U8() % 4);

    // The texture: up to 9 x 9 texels from the input (0 x 0 too).
    const int texW = in.U8() % 10, texH = in.U8() % 10;
    std::vector<uint32_t> texels(static_cast<size_t>(texW) * texH);
    for (uint32_t& t : texels)
        t = in.U32();
    TriangleTexture texture;
    texture.bits = texels.empty() ? nullptr : texels.data();
    texture.width = texW;
    texture.height = texH;
    texture.hasTrans = (setup & 0x08) != 0;
    texture.hasAlpha = (setup & 0x10) != 0;
    const RasterColor colour{in.U8(), in.U8(), in.U8(), in.U8()};

    // The clip: inside the destination.
    const int cx = in.U8() % width, cy = in.U8() % height;
    const RasterRect clip{cx, cy, in.U8() % (width - cx + 1), in.U8() % (height - cy + 1)};

    const int count = in.U8() % 8;
    std::vector<TriVertex> strip(static_cast<size_t>(count));
    for (TriVertex& v : strip)
        v = {in.F(), in.F(), in.F(), in.F(), in.U32()};
    DrawTriangleStrip(strip.data(), count, (setup & 0x20) ? &texture : nullptr, colour, 0, clip, target.Bits(),
                      target.pitch, format, (setup & 0x40) != 0, (setup & 0x80) != 0);
    target.CheckGuard();

    // Raw fixed-point vertices straight into one table entry.
    RasterVertex raw[3];
    for (RasterVertex& v : raw)
    {
        v.x = static_cast<int32_t>(in.U32());
        v.y = static_cast<int32_t>(in.U32());
        if (in.U8() & 1) // keep some within the destination so that they draw
        {
            v.x = static_cast<int32_t>(static_cast<uint32_t>(v.x) % (static_cast<uint32_t>(width + 2) << 16)) - 0x10000;
            v.y = static_cast<int32_t>(static_cast<uint32_t>(v.y) % (static_cast<uint32_t>(height + 2) << 16)) - 0x10000;
        }
        v.a = static_cast<int32_t>(in.U32());
        v.r = static_cast<int32_t>(in.U32());
        v.g = static_cast<int32_t>(in.U32());
        v.b = static_cast<int32_t>(in.U32());
        v.u = static_cast<int32_t>(in.U32());
        v.v = static_cast<int32_t>(in.U32());
    }
    const int entry = in.U8() % kTriangleDrawerCount;
    const int entryBpp = entry >= 64 ? 2 : 4;
    Target direct(width, height, entryBpp, 0);
    const RasterTextureInfo info{texels.data(), texW, static_cast<uint32_t>(texels.size())};
    GetTriangleDrawerTable()[static_cast<size_t>(entry)](raw, direct.Bits(), direct.pitch, info, colour, clip);
    direct.CheckGuard();
    return 0;
}

// Every entry of the filler table against a per-pixel model of the fill rules,
// on a square whose attributes interpolate exactly, and the driver's choice of
// entry.
#include <gtest/gtest.h>

#include <set>

#include "graphics/raster/FillTriangle.h"
#include "graphics/raster/TriangleDrawers.h"
#include "graphics/raster/TriangleStrip.h"
#include "tests/graphics/raster/RasterTestScene.h"

namespace Lumo {
namespace {

using namespace RasterTest;

uint32_t Ch(uint32_t word, int shift)
{
    return (word >> shift) & 0xFF;
}

// What one pixel gets: nothing, an opaque colour, or a blend of rgb at alpha a.
struct Expected
{
    enum Kind { SKIP, OPAQUE, BLEND } kind = SKIP;
    uint32_t rgb = 0; // opaque colour, or the blend source
    uint32_t a = 0;
    bool premultiplied = false;
};

Expected Model(unsigned flags, uint32_t texel, uint32_t vertex, const RasterColor& c)
{
    const bool textured = flags & TRI_TEXTURED, blend = flags & TRI_ALPHA_BLEND;
    const bool vc = flags & TRI_VERTEX_COLOR, mod = flags & TRI_MODULATE, bilinear = flags & TRI_BILINEAR;
    const uint32_t cc[3] = {uint32_t(c.b), uint32_t(c.g), uint32_t(c.r)};
    Expected e;
    if (!textured)
    {
        if (!vc)
            return e;
        int64_t ch[4]; // b, g, r, a in 8.16
        for (int k = 0; k < 4; ++k)
            ch[k] = int64_t(Ch(vertex, 8 * k)) << 16;
        if (mod)
            for (int k = 0; k < 4; ++k)
                ch[k] = (ch[k] * (k == 3 ? c.a : int(cc[k]))) >> 8;
        if (ch[3] <= (8 << 16))
            return e;
        e.rgb = uint32_t(((ch[2] >> 16) << 16) | ((ch[1] >> 16) << 8) | (ch[0] >> 16));
        e.a = uint32_t(ch[3] >> 16);
        e.kind = ch[3] > (240 << 16) ? Expected::OPAQUE : Expected::BLEND;
        return e;
    }
    uint32_t colour = texel, alpha = texel >> 24;
    if (bilinear) // sampled at the texel's centre: one tap of weight 0xFFFE
    {
        const uint32_t w = (0xFFFEu * alpha) >> 16;
        colour = (((Ch(texel, 16) * w) >> 8) << 16) | (((Ch(texel, 8) * w) >> 8) << 8) | ((Ch(texel, 0) * w) >> 8);
        alpha = w;
    }
    const bool factor = vc || mod;
    uint32_t f[3] = {255, 255, 255}, k = 255;
    for (int i = 0; i < 3; ++i)
        f[i] = vc && mod ? (cc[i] * Ch(vertex, 8 * i)) >> 8 : vc ? Ch(vertex, 8 * i) : cc[i];
    k = vc && mod ? (uint32_t(c.a) * (vertex >> 24)) >> 8 : vc ? vertex >> 24 : uint32_t(c.a);
    if (blend && alpha <= 8)
        return e;
    uint32_t source = colour & 0xFFFFFF;
    if (factor)
    {
        source = 0;
        for (int i = 0; i < 3; ++i)
        {
            uint32_t m = (Ch(colour, 8 * i) * f[i]) >> 8;
            if (bilinear)
                m = (m * k) >> 8;
            source |= m << (8 * i);
        }
    }
    e.rgb = source;
    e.premultiplied = bilinear;
    if (!blend && !factor)
        e.kind = Expected::OPAQUE;
    else
    {
        e.a = factor ? (k * (blend ? alpha : 255)) >> 8 : alpha;
        e.kind = e.a >= 240 ? Expected::OPAQUE : Expected::BLEND;
    }
    return e;
}

// The blend and write rules of each destination format, channel by channel.
uint32_t Term(const Expected& e, int shift)
{
    return e.premultiplied ? Ch(e.rgb, shift) : (Ch(e.rgb, shift) * e.a) >> 8;
}

uint32_t Model32(const Expected& e, uint32_t d, bool argb)
{
    if (e.kind == Expected::SKIP)
        return d;
    if (e.kind == Expected::OPAQUE)
        return 0xFF000000u | e.rgb;
    uint32_t out = 0xFF000000u;
    const uint32_t dA = d >> 24, inv = 256 - e.a, outA = 256 - (((256 - dA) * inv) >> 8);
    if (argb && outA == 0)
        return d;
    if (argb)
        out = (outA - 1) << 24;
    for (int s = 0; s <= 16; s += 8)
        out |= (argb ? (((((Ch(d, s) * dA) >> 8) * inv) + (Term(e, s) << 8)) / outA) & 0xFF
                     : ((Ch(d, s) * (255 - e.a)) >> 8) + Term(e, s))
               << s;
    return out;
}

uint32_t Pack16(uint32_t r, uint32_t g, uint32_t b, bool is565)
{
    return is565 ? ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3) : ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
}

uint16_t Model16(const Expected& e, uint16_t d, bool is565)
{
    if (e.kind == Expected::SKIP)
        return d;
    if (e.kind == Expected::OPAQUE)
        return uint16_t(Pack16(Ch(e.rgb, 16), Ch(e.rgb, 8), Ch(e.rgb, 0), is565));
    const uint32_t w = (255 - e.a) >> 3;
    const int gBits = is565 ? 6 : 5;
    const uint32_t dr = (d >> (5 + gBits)) & 31, dg = (d >> 5) & ((1u << gBits) - 1), db = d & 31;
    const uint32_t dest = is565 ? ((dr * w / 32) << 11) | ((dg * w / 32) << 5) | (db * w / 32)
                                : ((dr * w / 32) << 10) | ((dg * w / 32) << 5) | (db * w / 32);
    return uint16_t(dest + Pack16(Term(e, 16), Term(e, 8), Term(e, 0), is565));
}

struct Case
{
    uint32_t vertex;
    RasterColor colour;
};

const Case kCases[] = {{0x80C06030u, {230, 200, 100, 50}}, {0xF5FF8040u, {255, 255, 255, 255}},
                       {0x09FFFFFFu, {10, 255, 128, 0}},   {0xFFFFFFFFu, {241, 255, 255, 255}},
                       {0xFF102030u, {0, 30, 60, 90}}};

uint32_t Dest32(int x, int y)
{
    static const uint32_t kAlpha[] = {0, 1, 128, 254, 255};
    return (kAlpha[(x + 3 * y) % 5] << 24) | ((x * 37 + y * 11) & 0xFF) << 16 | ((x * 5 + y * 91) & 0xFF) << 8 |
           ((x * 201 + y * 3) & 0xFF);
}

template <class Pixel>
void CheckEntry(int index, const Case& c)
{
    SCOPED_TRACE(testing::Message() << "entry " << index << " vertex " << std::hex << c.vertex);
    const int group = index / 32;
    const unsigned flags = unsigned(index % 32);
    const std::vector<uint32_t> texels = TestTexels();
    GuardedBuffer<Pixel> dest(16, 16, 0);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            dest.At(x, y) = Pixel(Dest32(x, y) | (sizeof(Pixel) == 2 ? (x & 1) << 15 : 0));
    RasterVertex first[3], second[3];
    SquareTriangles(first, second, c.vertex);
    const TriangleFiller filler = GetTriangleDrawerTable()[size_t(index)];
    filler(first, dest.Bits(), dest.Pitch(), InfoOf(texels, 16), c.colour, dest.Clip());
    filler(second, dest.Bits(), dest.Pitch(), InfoOf(texels, 16), c.colour, dest.Clip());
    ASSERT_TRUE(dest.GuardIntact());
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
        {
            const Expected e = Model(flags, texels[size_t(y * 16 + x)], c.vertex, c.colour);
            const uint32_t d = Dest32(x, y);
            if constexpr (sizeof(Pixel) == 4)
                ASSERT_EQ(dest.At(x, y), Model32(e, d, group == 0)) << x << "," << y;
            else
                ASSERT_EQ(dest.At(x, y), Model16(e, uint16_t(d | (x & 1) << 15), group == 2)) << x << "," << y;
        }
}

TEST(RasterTable, EveryEntryFollowsThePixelRules)
{
    for (int index = 0; index < kTriangleDrawerCount; ++index)
        for (const Case& c : kCases)
        {
            if (index < 64)
                CheckEntry<uint32_t>(index, c);
            else
                CheckEntry<uint16_t>(index, c);
            if (HasFatalFailure())
                return;
        }
}

TEST(RasterTable, SeventyFillersAndTheEmptyOne)
{
    const auto& table = GetTriangleDrawerTable();
    std::set<TriangleFiller> distinct(table.begin(), table.end());
    EXPECT_EQ(distinct.size(), 71u);
    for (int group = 0; group < 128; group += 32)
        for (unsigned flags = 0; flags < 32; ++flags)
        {
            const TriangleFiller f = table[size_t(group) + flags];
            if (!(flags & TRI_TEXTURED) && !(flags & TRI_VERTEX_COLOR))
                EXPECT_EQ(f, &EmptyFiller);
            else if (!(flags & TRI_TEXTURED)) // alpha-blend and bilinear bits ignored
                EXPECT_EQ(f, table[size_t(group) + (flags & (TRI_VERTEX_COLOR | TRI_MODULATE))]);
            else
                EXPECT_NE(f, &EmptyFiller);
        }
    EXPECT_EQ(table[32 + 16], table[16]); // opaque textured fillers shared by ARGB and XRGB
    EXPECT_EQ(table[32 + 17], table[17]);
    EXPECT_NE(table[32 + 18], table[18]);
}

// The driver picks the entry from texture alpha, bilinear, colour, vertex
// colours and format: its output equals calling that entry directly.
TEST(RasterTable, DriverSelectsTheEntry)
{
    InitTriangleDrawers();
    struct Choice
    {
        uint32_t textureAlpha; // 255: opaque texture, else every texel has this alpha
        bool bilinear, vertexColors;
        RasterColor colour;
        PixelFormatCode format;
        int expected;
    };
    const Choice choices[] = {
        {255, false, false, {255, 255, 255, 255}, PIXEL_FORMAT_8888, 16},
        {255, true, false, {255, 255, 255, 255}, PIXEL_FORMAT_8888, 16 + 8 + 1},
        {128, false, false, {255, 255, 255, 255}, PIXEL_FORMAT_888, 32 + 16 + 8},
        {0, false, false, {255, 255, 255, 255}, PIXEL_FORMAT_565, 64 + 16 + 8},
        {255, false, false, {254, 255, 255, 255}, PIXEL_FORMAT_555, 96 + 16 + 2},
        {255, false, true, {255, 255, 255, 255}, PIXEL_FORMAT_888, 32 + 16 + 4},
        {128, true, true, {200, 10, 20, 30}, PIXEL_FORMAT_565, 64 + 31},
        {255, false, false, {255, 255, 255, 255}, PixelFormatCode(0x1234), 16},
    };
    for (const Choice& c : choices)
    {
        SCOPED_TRACE(c.expected);
        std::vector<uint32_t> texels = TestTexels();
        for (uint32_t& t : texels)
            t = (t & 0xFFFFFF) | (c.textureAlpha << 24);
        TriangleTexture view;
        view.checkAlpha = [](TriangleTexture& t) {
            const auto* image = static_cast<const std::vector<uint32_t>*>(t.image);
            t.bits = image->data();
            t.width = t.height = 16;
            t.hasTrans = t.hasAlpha = false;
            for (uint32_t p : *image)
            {
                t.hasTrans |= (p >> 24) == 0;
                t.hasAlpha |= (p >> 24) > 0 && (p >> 24) < 255;
            }
        };
        view.image = &texels;
        // The clip's last column and row are never drawn: leave room for them.
        GuardedBuffer<uint32_t> viaStrip(17, 17, 0x80402010u), direct(17, 17, 0x80402010u);
        TriVertex strip[4];
        SquareStrip(strip, 0xC0806040u);
        DrawTriangleStrip(strip, 4, &view, c.colour, 0, viaStrip.Clip(), viaStrip.Bits(), viaStrip.Pitch(), c.format,
                          c.bilinear, c.vertexColors);
        RasterVertex first[3], second[3];
        SquareTriangles(first, second, 0xC0806040u);
        const TriangleFiller filler = GetTriangleDrawerTable()[size_t(c.expected)];
        filler(first, direct.Bits(), direct.Pitch(), InfoOf(texels, 16), c.colour, direct.Clip());
        filler(second, direct.Bits(), direct.Pitch(), InfoOf(texels, 16), c.colour, direct.Clip());
        EXPECT_EQ(viaStrip.store, direct.store);
    }
}

TEST(RasterTable, EmptyTableDrawsNothing)
{
    gTriangleDrawers = {};
    GuardedBuffer<uint32_t> dest(16, 16, 0);
    TriVertex strip[4];
    SquareStrip(strip, 0xFFFFFFFFu);
    DrawTriangleStrip(strip, 4, nullptr, {}, 0, dest.Clip(), dest.Bits(), dest.Pitch(), PIXEL_FORMAT_888, false, true);
    EXPECT_EQ(dest.At(5, 5), 0u);
    InitTriangleDrawers();
    DrawTriangleStrip(strip, 4, nullptr, {}, 0, dest.Clip(), dest.Bits(), dest.Pitch(), PIXEL_FORMAT_888, false, true);
    EXPECT_EQ(dest.At(5, 5), 0xFFFFFFFFu);
}

} // namespace
} // namespace Lumo

#pragma once
// The five feature bits of an index into the triangle filler table. The
// destination format group adds 0 (0x8888), 32 (0x888), 64 (0x565) or 96 (0x555).

namespace Lumo {

enum TriangleFlags : unsigned
{
    TRI_BILINEAR = 1,
    TRI_MODULATE = 2,
    TRI_VERTEX_COLOR = 4,
    TRI_ALPHA_BLEND = 8,
    TRI_TEXTURED = 16,
};

inline constexpr int kTriangleDrawerCount = 128;

} // namespace Lumo

#pragma once
// 16.16 fixed-point helpers of the triangle rasteriser. Set-up products are
// formed in 128 bits so that sliver triangles cannot overflow; per-pixel
// attributes wrap in 32 bits like any unsigned counter.
#include <cstdint>

namespace Lumo {

__extension__ typedef __int128 RasterWide;

// The floor of a 16.16 value as a 16.16 value: the low 16 bits cleared
// (-0x8000 gives -0x10000, 0x18000 gives 0x10000).
constexpr int32_t FixedFloor(int32_t value)
{
    return static_cast<int32_t>(static_cast<uint32_t>(value) & 0xFFFF0000u);
}

// The ceiling of a 16.16 value as a 16.16 value.
constexpr int64_t FixedCeil(int64_t value)
{
    return (value + 0xFFFF) & ~int64_t{0xFFFF};
}

// (a * b) >> shift, exact, arithmetic shift.
constexpr RasterWide MulShift(int64_t a, int64_t b, int shift)
{
    return (static_cast<RasterWide>(a) * b) >> shift;
}

// The low 32 bits (two's complement wrap).
constexpr uint32_t Wrap32(RasterWide value)
{
    return static_cast<uint32_t>(value);
}

// The same bits read as signed.
constexpr int32_t AsSigned(uint32_t value)
{
    return static_cast<int32_t>(value);
}

// The integer part of an 8.16 channel, clamped to 0..255.
constexpr uint32_t ChannelOf(uint32_t fixed)
{
    const int32_t whole = AsSigned(fixed) >> 16;
    return whole < 0 ? 0u : (whole > 255 ? 255u : static_cast<uint32_t>(whole));
}

// An 8.16 channel with its integer part clamped to 0..255.
constexpr uint32_t ClampFixedChannel(uint32_t fixed)
{
    const int32_t value = AsSigned(fixed);
    return value < 0 ? 0u : (value > 0xFFFFFF ? 0xFFFFFFu : static_cast<uint32_t>(value));
}

// A channel value clamped to 0..255.
constexpr uint32_t Clamp255(int32_t value)
{
    return value < 0 ? 0u : (value > 255 ? 255u : static_cast<uint32_t>(value));
}

// Each byte channel of a 0x00RRGGBB word times f (0..255), >> 8.
constexpr uint32_t ScaleChannels(uint32_t rgb, uint32_t f)
{
    return ((((rgb & 0x00FF00FFu) * f) >> 8) & 0x00FF00FFu) | ((((rgb & 0x0000FF00u) * f) >> 8) & 0x0000FF00u);
}

} // namespace Lumo

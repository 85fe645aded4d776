#pragma once
// A colour of four channels red, green, blue and alpha, each 0..255. The packed
// form is 0xAARRGGBB. Used by every drawing call and widget.
#include <cstdint>

namespace Lumo {

class Color
{
public:
    // Opaque black.
    constexpr Color() = default;
    // Opaque colour.
    constexpr Color(int red, int green, int blue) : mRed(red), mGreen(green), mBlue(blue) {}
    constexpr Color(int red, int green, int blue, int alpha) : mRed(red), mGreen(green), mBlue(blue), mAlpha(alpha) {}
    // From a packed 0xAARRGGBB value; an alpha byte of 0 means 255, so 0xRRGGBB
    // values are opaque.
    constexpr explicit Color(int argb)
        : mRed((argb >> 16) & 0xFF), mGreen((argb >> 8) & 0xFF), mBlue(argb & 0xFF),
          mAlpha(((argb >> 24) & 0xFF) == 0 ? 255 : (argb >> 24) & 0xFF)
    {
    }
    // From a packed 0xRRGGBB value (the top byte is ignored) and a separate alpha.
    constexpr Color(int rgb, int alpha)
        : mRed((rgb >> 16) & 0xFF), mGreen((rgb >> 8) & 0xFF), mBlue(rgb & 0xFF), mAlpha(alpha)
    {
    }

    constexpr int GetRed() const { return mRed; }
    constexpr int GetGreen() const { return mGreen; }
    constexpr int GetBlue() const { return mBlue; }
    constexpr int GetAlpha() const { return mAlpha; }

    // Packed 0xAARRGGBB (each channel taken modulo 256).
    constexpr uint32_t ToInt() const
    {
        return (static_cast<uint32_t>(mAlpha & 0xFF) << 24) | (static_cast<uint32_t>(mRed & 0xFF) << 16) |
               (static_cast<uint32_t>(mGreen & 0xFF) << 8) | static_cast<uint32_t>(mBlue & 0xFF);
    }

    constexpr bool operator==(const Color& other) const
    {
        return mRed == other.mRed && mGreen == other.mGreen && mBlue == other.mBlue && mAlpha == other.mAlpha;
    }
    // True when any of the four channels differs.
    constexpr bool operator!=(const Color& other) const { return !(*this == other); }

    // Opaque white (255, 255, 255, 255).
    static const Color White;
    // Opaque black (0, 0, 0, 255).
    static const Color Black;

    int mRed = 0;
    int mGreen = 0;
    int mBlue = 0;
    int mAlpha = 255;
};

inline constexpr Color Color::White{255, 255, 255, 255};
inline constexpr Color Color::Black{0, 0, 0, 255};

} // namespace Lumo

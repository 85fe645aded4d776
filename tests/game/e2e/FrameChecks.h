#pragma once
// Checks of captured frames for what must be on screen (panels, the field,
// text), by colour classes over regions rather than exact pixels.
#include <cstdint>
#include <functional>
#include <vector>

namespace Lumo::E2e {

class FrameView
{
public:
    FrameView(const std::vector<uint32_t>& pixels, int width, int height)
        : mPixels(pixels), mWidth(width), mHeight(height)
    {
    }

    uint32_t At(int x, int y) const { return mPixels[static_cast<size_t>(y) * mWidth + x] & 0xFFFFFF; }

    // Pixels of the rectangle (clipped to the frame) for which the test holds.
    int Count(int x, int y, int width, int height, const std::function<bool(uint32_t)>& test) const
    {
        int count = 0;
        for (int row = y; row < y + height; ++row)
            for (int column = x; column < x + width; ++column)
                if (row >= 0 && row < mHeight && column >= 0 && column < mWidth && test(At(column, row)))
                    ++count;
        return count;
    }
    // The share (0..1) of the rectangle's pixels for which the test holds.
    double Share(int x, int y, int width, int height, const std::function<bool(uint32_t)>& test) const
    {
        return width > 0 && height > 0 ? static_cast<double>(Count(x, y, width, height, test)) / (width * height)
                                       : 0.0;
    }

private:
    const std::vector<uint32_t>& mPixels;
    int mWidth;
    int mHeight;
};

inline int Red(uint32_t p) { return static_cast<int>((p >> 16) & 0xFF); }
inline int Green(uint32_t p) { return static_cast<int>((p >> 8) & 0xFF); }
inline int Blue(uint32_t p) { return static_cast<int>(p & 0xFF); }

// Text and white panels: every channel high.
inline bool IsWhite(uint32_t p)
{
    return Red(p) > 235 && Green(p) > 235 && Blue(p) > 235;
}
inline bool IsDark(uint32_t p)
{
    return Red(p) < 50 && Green(p) < 50 && Blue(p) < 50;
}
// The menu bars' blue (0x445599 and its lighter variants over the scenery).
inline bool IsBarBlue(uint32_t p)
{
    return Blue(p) > Red(p) + 30 && Blue(p) > Green(p) + 20 && Blue(p) > 120;
}

// The blob colour families the tiles show: 0 red, 1 yellow, 2 green, 3 blue,
// 4 purple, -1 none.
inline int BlobFamily(uint32_t p)
{
    const int r = Red(p), g = Green(p), b = Blue(p);
    if (r > 150 && g < 90 && b < 110)
        return 0;
    if (r > 170 && g > 170 && b < 110)
        return 1;
    if (g > 150 && r < 120 && b < 140)
        return 2;
    if (b > 170 && r < 130 && g < 150)
        return 3;
    if (r > 150 && b > 170 && g < 100)
        return 4;
    return -1;
}

} // namespace Lumo::E2e

#pragma once
// What every display offers: the size and pixel layout of the screen. The
// screen here is always 32 bits per pixel, 0x00RRGGBB.
#include <cstdint>

namespace Lumo {

class NativeDisplay
{
public:
    virtual ~NativeDisplay() = default;

    int mWidth = 0;
    int mHeight = 0;
    int mRGBBits = 32;
    uint32_t mRedMask = 0x00FF0000;
    uint32_t mGreenMask = 0x0000FF00;
    uint32_t mBlueMask = 0x000000FF;
    int mRedShift = 16;
    int mGreenShift = 8;
    int mBlueShift = 0;
    int mRefreshRate = 60;
};

} // namespace Lumo

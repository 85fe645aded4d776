#pragma once
// Greyscale text coverage: one byte per pixel, 0 = no ink, 255 = solid ink.
// What the system-font layer renders and SysFont composites.
#include <cstdint>
#include <vector>

namespace Lumo::Platform {

class CoverageBitmap
{
public:
    CoverageBitmap() = default;
    // A blank bitmap; sizes below 0 count as 0.
    CoverageBitmap(int width, int height);

    int GetWidth() const { return mWidth; }
    int GetHeight() const { return mHeight; }
    // 0 outside the bitmap.
    uint8_t At(int x, int y) const;
    // Combines the value into the pixel (the larger one wins); nothing
    // outside the bitmap.
    void Merge(int x, int y, uint8_t value);
    const std::vector<uint8_t>& GetPixels() const { return mPixels; }

private:
    int mWidth = 0;
    int mHeight = 0;
    std::vector<uint8_t> mPixels;
};

} // namespace Lumo::Platform

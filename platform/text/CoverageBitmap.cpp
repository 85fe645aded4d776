#include "platform/text/CoverageBitmap.h"

#include <algorithm>

namespace Lumo::Platform {

CoverageBitmap::CoverageBitmap(int width, int height)
    : mWidth(std::max(width, 0)), mHeight(std::max(height, 0)),
      mPixels(static_cast<size_t>(mWidth) * static_cast<size_t>(mHeight), 0)
{
}

uint8_t CoverageBitmap::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= mWidth || y >= mHeight)
        return 0;
    return mPixels[static_cast<size_t>(y) * static_cast<size_t>(mWidth) + static_cast<size_t>(x)];
}

void CoverageBitmap::Merge(int x, int y, uint8_t value)
{
    if (x < 0 || y < 0 || x >= mWidth || y >= mHeight)
        return;
    uint8_t& pixel = mPixels[static_cast<size_t>(y) * static_cast<size_t>(mWidth) + static_cast<size_t>(x)];
    pixel = std::max(pixel, value);
}

} // namespace Lumo::Platform

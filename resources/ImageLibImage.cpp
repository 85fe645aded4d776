#include "resources/ImageLibImage.h"

#include <cassert>
#include <cstdlib>

namespace Lumo::ImageLib {

void Image::FreeDeleter::operator()(uint32_t* bits) const
{
    std::free(bits);
}

bool Image::Allocate(int width, int height, bool zeroed)
{
    assert(width >= 1 && height >= 1);
    const int64_t count = int64_t{width} * int64_t{height};
    if (count > kMaxImagePixels)
        return false;
    // calloc: large zeroed blocks come as untouched zero pages.
    const auto size = static_cast<size_t>(count);
    std::unique_ptr<uint32_t, FreeDeleter> bits(static_cast<uint32_t*>(
        zeroed ? std::calloc(size, sizeof(uint32_t)) : std::malloc(size * sizeof(uint32_t))));
    if (!bits)
        return false;
    mBits = std::move(bits);
    mWidth = width;
    mHeight = height;
    return true;
}

} // namespace Lumo::ImageLib

#include "graphics/DDImage.h"

namespace Lumo {

DDImage::DDImage(ImageRegistry* registry) : MemoryImage(registry) {}

DDImage::DDImage(const MemoryImage& other) : MemoryImage(other) {}

DDImage::DDImage(const DDImage& other) : MemoryImage(other) {}

DDImage::~DDImage() = default;

DDSurface* DDImage::GetSurface()
{
    if (mWidth <= 0 || mHeight <= 0)
        return nullptr;
    if (mSurface == nullptr)
        mSurface = std::make_unique<DDSurface>(this);
    return mSurface.get();
}

bool DDImage::LockSurface()
{
    if (mLockCount > 0)
    {
        ++mLockCount;
        return true;
    }
    DDSurface* surface = GetSurface();
    if (surface == nullptr || !surface->Lock(mLockedSurfaceDesc))
        return false;
    mLockCount = 1;
    return true;
}

void DDImage::UnlockSurface()
{
    if (mLockCount <= 0)
        return;
    if (--mLockCount == 0)
    {
        if (mSurface != nullptr)
            mSurface->Unlock();
        mLockedSurfaceDesc = SurfaceDesc();
        // Whatever was written through the lock is in the pixels.
        PixelsDrawn();
    }
}

void DDImage::FreeMemoryData()
{
    // A palettised image keeps its pixels only in the palette, which is
    // dropped below: rebuild the 32-bit pixels (the surface's) first.
    if (IsPalettized())
        (void)GetBits();
    PixelsDrawn();
}

void DDImage::PurgeBits()
{
    if (mSurface != nullptr)
        return;
    MemoryImage::PurgeBits();
}

} // namespace Lumo

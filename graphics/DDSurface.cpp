#include "graphics/DDSurface.h"

#include "graphics/DDImage.h"

namespace Lumo {

bool DDSurface::Describe(SurfaceDesc& desc) const
{
    uint32_t* bits = mOwner->GetBits();
    if (bits == nullptr)
        return false;
    desc.bits = bits;
    desc.width = mOwner->mWidth;
    desc.height = mOwner->mHeight;
    desc.pitch = mOwner->mWidth * 4;
    desc.format = mOwner->GetPixelFormat();
    return true;
}

bool DDSurface::Lock(SurfaceDesc& desc)
{
    if (mLocked || mDCOut || !Describe(desc))
        return false;
    mLocked = true;
    return true;
}

void DDSurface::Unlock()
{
    mLocked = false;
}

bool DDSurface::GetDC(SurfaceDesc& dc)
{
    if (mLocked || mDCOut || !Describe(dc))
        return false;
    mDCOut = true;
    return true;
}

void DDSurface::ReleaseDC()
{
    mDCOut = false;
}

} // namespace Lumo

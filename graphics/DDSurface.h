#pragma once
// The display surface of a DDImage: a memory surface over the image's own
// 32-bit pixels (there is no video memory here). It can be locked for direct
// pixel access, and it hands out a device context (SurfaceDesc too: the
// pixels, size, pitch and format) for system text output. Locking and the
// device context exclude each other, as on the original display surfaces.
// Owned by its DDImage; used by the thread that uses the image.
#include <cstdint>

#include "graphics/raster/PixelFormatCode.h"

namespace Lumo {

class DDImage;

struct SurfaceDesc
{
    uint32_t* bits = nullptr; // pixel (0, 0)
    int width = 0;
    int height = 0;
    int pitch = 0; // bytes from one row to the next
    PixelFormatCode format = PIXEL_FORMAT_8888;
};

class DDSurface
{
public:
    explicit DDSurface(DDImage* owner) : mOwner(owner) {}
    DDSurface(const DDSurface&) = delete;
    DDSurface& operator=(const DDSurface&) = delete;

    // Fills desc with the pixels; false when already locked, when the device
    // context is out or when the image has no pixels.
    [[nodiscard]] bool Lock(SurfaceDesc& desc);
    void Unlock();
    bool IsLocked() const { return mLocked; }

    // The device context: false while the surface is locked or the context is
    // already out. Give it back with ReleaseDC; what was drawn through it is
    // in the image's pixels.
    [[nodiscard]] bool GetDC(SurfaceDesc& dc);
    void ReleaseDC();
    bool IsDCOut() const { return mDCOut; }

private:
    bool Describe(SurfaceDesc& desc) const;

    DDImage* mOwner;
    bool mLocked = false;
    bool mDCOut = false;
};

} // namespace Lumo

#include "graphics/raster/TriangleDrawers.h"

#include "graphics/raster/TriangleDrawerTable.h"

namespace Lumo {

std::array<TriangleFiller, kTriangleDrawerCount> gTriangleDrawers = {};

const std::array<TriangleFiller, kTriangleDrawerCount>& GetTriangleDrawerTable()
{
    return kTriangleDrawerTable;
}

void InitTriangleDrawers()
{
    gTriangleDrawers = kTriangleDrawerTable;
}

int TriangleFormatGroup(PixelFormatCode format)
{
    switch (format)
    {
    case PIXEL_FORMAT_888:
        return 32;
    case PIXEL_FORMAT_565:
        return 64;
    case PIXEL_FORMAT_555:
        return 96;
    default:
        return 0;
    }
}

void DrawTriangle(bool textured, bool alphaBlend, bool vertexColors, bool modulate, const RasterVertex* vertices,
                  void* bits, int pitch, const RasterTextureInfo& texture, const RasterColor& colour,
                  PixelFormatCode format, bool bilinear, const RasterRect& clip)
{
    const unsigned flags = (textured ? unsigned{TRI_TEXTURED} : 0u) + (alphaBlend ? unsigned{TRI_ALPHA_BLEND} : 0u) +
                           (vertexColors ? unsigned{TRI_VERTEX_COLOR} : 0u) + (modulate ? unsigned{TRI_MODULATE} : 0u) +
                           (bilinear ? unsigned{TRI_BILINEAR} : 0u);
    const int index = static_cast<int>(flags) + TriangleFormatGroup(format);
    const TriangleFiller filler = gTriangleDrawers[index];
    if (filler != nullptr)
        filler(vertices, bits, pitch, texture, colour, clip);
}

} // namespace Lumo

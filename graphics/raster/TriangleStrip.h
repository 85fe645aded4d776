#pragma once
// Software drawing of textured triangle strips: the software path of the
// transformed and triangle blits into 32-bit and 16-bit pixel buffers.
//
// How the graphics layer calls DrawTriangleStrip (Image::BlitMatrix and
// Image::BlitTriangles, argument by argument):
//
//   vertices      TriVertex array: x, y in destination pixels (pixel centres
//                 at whole numbers, the blit's translation already applied),
//                 u, v as fractions 0..1 of the texture's width and height,
//                 colour 0xAARRGGBB.
//                 BlitMatrix: one quad of four vertices in strip order
//                 top-left, top-right, bottom-left, bottom-right.
//                 BlitTriangles: one call per triangle, three vertices.
//   count         number of vertices (4 or 3 above); fewer than 3 draws nothing.
//   texture       a TriangleTexture view of the source MemoryImage (never null
//                 from those blits; null draws untextured, which only draws
//                 with vertex colours). Fill bits/width/height/hasTrans/hasAlpha
//                 or set checkAlpha to a function that runs the image's
//                 CheckAlpha and copies its flags (and GetBits) into the view:
//                   view.image = image;
//                   view.checkAlpha = [](TriangleTexture& t) {
//                       auto* img = static_cast<MemoryImage*>(t.image);
//                       img->CheckAlpha();
//                       t.bits = img->GetBits(); t.width = img->mWidth; t.height = img->mHeight;
//                       t.hasTrans = img->mHasTrans; t.hasAlpha = img->mHasAlpha; };
//                 An empty (0 x 0) texture draws nothing.
//   colour        the blit's Color as RasterColor{.a, .r, .g, .b} (0..255);
//                 opaque white (255, 255, 255, 255) draws unmodulated.
//   drawMode      the blit's DrawMode; ignored: triangles always draw normally.
//   clip          the clip RasterRect (x, y, width, height). It MUST lie inside
//                 the destination (intersect with 0, 0, width, height first):
//                 nothing is written outside columns x .. x + width - 1 and
//                 rows y .. y + height - 1. (Triangles are clipped to the
//                 pixel centres x .. x + width - 1, so a triangle covering the
//                 whole clip leaves its last column and row untouched.)
//   bits          the destination's pixel at column 0, row 0.
//   pitch         bytes from one destination row to the next (>= 0).
//   format        the destination's PixelFormatCode (0x8888 ARGB, 0x888 XRGB,
//                 0x565, 0x555; anything else draws as 0x8888).
//   bilinear      bilinear filtering (the blit's smoothing flag).
//   vertexColors  BlitMatrix: false. BlitTriangles: true when any of the three
//                 colour words is non-zero.
//
// InitTriangleDrawers (TriangleDrawers.h) must have run once before; until then
// nothing is drawn. Main thread only: the clipper's vertex pool is shared.
#include "graphics/raster/PixelFormatCode.h"
#include "graphics/raster/RasterColor.h"
#include "graphics/raster/RasterRect.h"
#include "graphics/raster/TriVertex.h"
#include "graphics/raster/TriangleDrawers.h"
#include "graphics/raster/TriangleTexture.h"

namespace Lumo {

// Draws the strip's triangles (0,1,2), (1,3,2), (2,3,4), (3,5,4) ... clipped to
// clip. Bad input (non-finite coordinates, slivers, huge values) draws less or
// nothing, never outside the clip.
void DrawTriangleStrip(const TriVertex* vertices, int count, TriangleTexture* texture, const RasterColor& colour,
                       int drawMode, const RasterRect& clip, void* bits, int pitch, PixelFormatCode format,
                       bool bilinear, bool vertexColors);

} // namespace Lumo

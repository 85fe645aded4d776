#pragma once
// The table of triangle fillers: one entry per combination of the five
// TriangleFlags and four destination format groups (index = flags + group).
// Untextured entries without vertex colours hold the empty filler.
#include <array>

#include "graphics/raster/PixelFormatCode.h"
#include "graphics/raster/RasterColor.h"
#include "graphics/raster/RasterRect.h"
#include "graphics/raster/RasterTextureInfo.h"
#include "graphics/raster/RasterVertex.h"
#include "graphics/raster/TriangleFlags.h"

namespace Lumo {

// Fills one triangle. vertices: three records; bits: destination pixel (0, 0);
// pitch: bytes per row; texture read only by textured fillers, colour only with
// TRI_MODULATE. clip: nothing is written outside it (it must lie inside the
// destination). Keeps no state; main thread only.
using TriangleFiller = void (*)(const RasterVertex* vertices, void* bits, int pitch, const RasterTextureInfo& texture,
                                const RasterColor& colour, const RasterRect& clip);

// All null until InitTriangleDrawers runs; a null entry draws nothing.
extern std::array<TriangleFiller, kTriangleDrawerCount> gTriangleDrawers;

// The filled table, as InitTriangleDrawers writes it.
const std::array<TriangleFiller, kTriangleDrawerCount>& GetTriangleDrawerTable();

// Fills every entry of gTriangleDrawers; may be called any number of times.
void InitTriangleDrawers();

// The table group of a destination format: 0x888 32, 0x565 64, 0x555 96, else 0.
int TriangleFormatGroup(PixelFormatCode format);

// Builds the table index from the flags and format and calls that entry with
// the three vertices; an empty entry draws nothing.
void DrawTriangle(bool textured, bool alphaBlend, bool vertexColors, bool modulate, const RasterVertex* vertices,
                  void* bits, int pitch, const RasterTextureInfo& texture, const RasterColor& colour,
                  PixelFormatCode format, bool bilinear, const RasterRect& clip);

} // namespace Lumo

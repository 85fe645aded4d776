#pragma once
// The blobs as they appear on the field, shared by the tiles sheet, the
// highlight sheet and the small icons: colours 0-4 (each with its own shape
// and face), the wildcard, bomb, smart bomb (white, to be tinted), skull and
// bread, drawn into a 56 x 60 cel.
#include <cairo.h>

#include "tools/assetgen/Paint.h"

namespace Lumo::AssetGen {

// BlobColourTable of the game, colours 0-4.
Rgb BlobColour(int colour);

// Draws blob `type` (0-9) into the 56 x 60 cel at the origin. frame 0-9 is
// the animation row (0 = at rest); highlighted draws the selected look.
void DrawBlob(cairo_t* cr, int type, int frame, bool highlighted);

// The silhouette of colour blob 0-4 centred on (cx, cy) at scale s (1 = the
// tile size), as a path.
void BlobShapePath(cairo_t* cr, int colour, double cx, double cy, double s);

} // namespace Lumo::AssetGen

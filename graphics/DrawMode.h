#pragma once
// How drawing combines with the destination: normal (alpha blending) or
// additive (the source, weighted by its alpha, is added).

namespace Lumo {

enum DrawMode : int
{
    DRAWMODE_NORMAL = 0,
    DRAWMODE_ADDITIVE = 1,
};

} // namespace Lumo

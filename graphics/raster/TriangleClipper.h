#pragma once
// Clips one triangle against an inclusive rectangle in floating point
// (Sutherland-Hodgman, left, right, top, bottom). New vertices come from a
// shared pool of kClipPoolSize records that is reset for every triangle, so a
// result stays valid only until the next ClipTriangleToRect. Main thread only.
#include "graphics/raster/TriVertex.h"

namespace Lumo {

inline constexpr int kClipPoolSize = 64;
// A vertex list: vertex pointers followed by a null entry. Clipping a triangle
// against four edges yields at most 7 vertices.
inline constexpr int kClipListSize = 16;
using ClipList = const TriVertex* [kClipListSize];

// Clips triangle (three vertices) to left <= x <= right, top <= y <= bottom
// (a vertex on a bound is inside). Writes the polygon to out (null-terminated)
// and returns its vertex count: 0 when the triangle is clipped away, else 3..7.
int ClipTriangleToRect(const TriVertex* const triangle[3], float left, float right, float top, float bottom,
                       ClipList& out);

// One clip stage each: walks the null-terminated input polygon, writes the
// part on the inside of bound to output (null-terminated), returns its count.
int ClipAgainstLeft(ClipList& output, const ClipList& input, float bound);
int ClipAgainstRight(ClipList& output, const ClipList& input, float bound);
int ClipAgainstTop(ClipList& output, const ClipList& input, float bound);
int ClipAgainstBottom(ClipList& output, const ClipList& input, float bound);

// The vertex where the edge from outside to inside crosses x = bound (or
// y = bound), taken from the pool; null when the pool is used up.
const TriVertex* InterpolateAtX(const TriVertex& outside, const TriVertex& inside, float bound);
const TriVertex* InterpolateAtY(const TriVertex& outside, const TriVertex& inside, float bound);

// Records of the pool in use since the last reset (tests).
int ClipPoolCount();

} // namespace Lumo

#include "graphics/raster/TriangleClipper.h"

#include <array>

namespace Lumo {

namespace {

std::array<TriVertex, kClipPoolSize> gClipPool;
int gClipPoolCount = 0;

TriVertex* TakePoolVertex()
{
    if (gClipPoolCount >= kClipPoolSize)
        return nullptr;
    return &gClipPool[gClipPoolCount++];
}

// Each colour channel moves from o toward i by t, truncated.
uint32_t InterpolateColour(uint32_t o, uint32_t i, float t)
{
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8)
    {
        const int oc = static_cast<int>((o >> shift) & 0xFF);
        const int ic = static_cast<int>((i >> shift) & 0xFF);
        const float c = static_cast<float>(oc) + t * static_cast<float>(ic - oc);
        // Within 0..255 for any cut of finite vertices; NaN (from overflowing
        // coordinates) reads 0.
        const uint32_t channel = c >= 0.0f ? (c < 255.0f ? static_cast<uint32_t>(c) : 255u) : 0u;
        result |= channel << shift;
    }
    return result;
}

const TriVertex* Interpolate(const TriVertex& o, const TriVertex& i, float t)
{
    TriVertex* cut = TakePoolVertex();
    if (cut == nullptr)
        return nullptr;
    cut->x = o.x + t * (i.x - o.x);
    cut->y = o.y + t * (i.y - o.y);
    cut->u = o.u + t * (i.u - o.u);
    cut->v = o.v + t * (i.v - o.v);
    cut->colour = InterpolateColour(o.colour, i.colour, t);
    return cut;
}

// One stage: Outside(vertex) says which side is cut away, Cut(outside, inside)
// makes the crossing vertex.
template <class OutsideFn, class CutFn>
int ClipStage(ClipList& output, const ClipList& input, OutsideFn outside, CutFn cut)
{
    int count = 0;
    int n = 0;
    while (n < kClipListSize && input[n] != nullptr)
        ++n;
    for (int k = 0; k < n; ++k)
    {
        const TriVertex& p = *input[k];
        const TriVertex& next = *input[(k + 1) % n];
        const bool pOut = outside(p);
        const bool nOut = outside(next);
        if (!pOut && count < kClipListSize - 1)
            output[count++] = &p;
        if (pOut != nOut && count < kClipListSize - 1)
        {
            const TriVertex* c = pOut ? cut(p, next) : cut(next, p);
            if (c != nullptr)
                output[count++] = c;
        }
    }
    output[count] = nullptr;
    return count;
}

} // namespace

const TriVertex* InterpolateAtX(const TriVertex& outside, const TriVertex& inside, float bound)
{
    return Interpolate(outside, inside, (bound - outside.x) / (inside.x - outside.x));
}

const TriVertex* InterpolateAtY(const TriVertex& outside, const TriVertex& inside, float bound)
{
    return Interpolate(outside, inside, (bound - outside.y) / (inside.y - outside.y));
}

int ClipAgainstLeft(ClipList& output, const ClipList& input, float bound)
{
    return ClipStage(
        output, input, [bound](const TriVertex& p) { return p.x < bound; },
        [bound](const TriVertex& o, const TriVertex& i) { return InterpolateAtX(o, i, bound); });
}

int ClipAgainstRight(ClipList& output, const ClipList& input, float bound)
{
    return ClipStage(
        output, input, [bound](const TriVertex& p) { return p.x > bound; },
        [bound](const TriVertex& o, const TriVertex& i) { return InterpolateAtX(o, i, bound); });
}

int ClipAgainstTop(ClipList& output, const ClipList& input, float bound)
{
    return ClipStage(
        output, input, [bound](const TriVertex& p) { return p.y < bound; },
        [bound](const TriVertex& o, const TriVertex& i) { return InterpolateAtY(o, i, bound); });
}

int ClipAgainstBottom(ClipList& output, const ClipList& input, float bound)
{
    return ClipStage(
        output, input, [bound](const TriVertex& p) { return p.y > bound; },
        [bound](const TriVertex& o, const TriVertex& i) { return InterpolateAtY(o, i, bound); });
}

int ClipTriangleToRect(const TriVertex* const triangle[3], float left, float right, float top, float bottom,
                       ClipList& out)
{
    gClipPoolCount = 0;
    ClipList input = {triangle[0], triangle[1], triangle[2], nullptr};
    ClipList scratch = {};
    if (ClipAgainstLeft(scratch, input, left) < 3)
        return 0;
    if (ClipAgainstRight(out, scratch, right) < 3)
        return 0;
    if (ClipAgainstTop(scratch, out, top) < 3)
        return 0;
    const int count = ClipAgainstBottom(out, scratch, bottom);
    return count < 3 ? 0 : count;
}

int ClipPoolCount()
{
    return gClipPoolCount;
}

} // namespace Lumo

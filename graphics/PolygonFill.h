#pragma once
// Scan conversion of a polygon with integer corners into horizontal spans:
// even-odd rule, a pixel is inside when its centre is. Spans come out clipped
// to the clip rectangle, top row first.
#include <algorithm>
#include <cmath>
#include <vector>

#include "graphics/Rect.h"

namespace Lumo {

// Calls span(y, x0, x1) for each run of pixels x0 .. x1 - 1 of row y.
template <class SpanFn>
void ForEachPolygonSpan(const Point* points, int count, const Rect& clip, SpanFn&& span)
{
    if (count < 3 || clip.IsEmpty())
        return;
    int minY = points[0].mY, maxY = points[0].mY;
    for (int i = 1; i < count; ++i)
    {
        minY = std::min(minY, points[i].mY);
        maxY = std::max(maxY, points[i].mY);
    }
    int top = std::max(minY, clip.mY);
    int bottom = std::min(maxY, clip.Bottom());
    std::vector<double> crossings;
    for (int y = top; y < bottom; ++y)
    {
        const double centre = y + 0.5;
        crossings.clear();
        for (int i = 0; i < count; ++i)
        {
            const Point& a = points[i];
            const Point& b = points[(i + 1) % count];
            if ((a.mY > centre) == (b.mY > centre))
                continue;
            crossings.push_back(a.mX + (centre - a.mY) * (b.mX - a.mX) / static_cast<double>(b.mY - a.mY));
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t k = 0; k + 1 < crossings.size(); k += 2)
        {
            // Pixels whose centre x + 0.5 lies in [left, right).
            double left = std::ceil(crossings[k] - 0.5);
            double right = std::ceil(crossings[k + 1] - 0.5);
            int x0 = static_cast<int>(std::max(left, static_cast<double>(clip.mX)));
            int x1 = static_cast<int>(std::min(right, static_cast<double>(clip.Right())));
            if (x1 > x0)
                span(y, x0, x1);
        }
    }
}

} // namespace Lumo

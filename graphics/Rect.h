#pragma once
// Integer and floating-point rectangles, points and margins: positions, sizes
// and clip areas. A rectangle covers columns x .. x + width - 1 and rows
// y .. y + height - 1; one with a width or height of 0 or less is empty.
#include <algorithm>
#include <cstdint>

namespace Lumo {

class Rect
{
public:
    constexpr Rect() = default;
    constexpr Rect(int x, int y, int width, int height) : mX(x), mY(y), mWidth(width), mHeight(height) {}

    constexpr bool IsEmpty() const { return mWidth <= 0 || mHeight <= 0; }
    constexpr int Right() const { return mX + mWidth; }   // one past the last column
    constexpr int Bottom() const { return mY + mHeight; } // one past the last row

    constexpr bool Contains(int x, int y) const { return x >= mX && y >= mY && x < mX + mWidth && y < mY + mHeight; }

    // The common part; an empty rectangle (width and height 0 at the larger
    // corner) when the two do not overlap.
    // Computed in 64 bits, so huge sizes cannot overflow.
    constexpr Rect Intersection(const Rect& other) const
    {
        int64_t left = std::max(mX, other.mX);
        int64_t top = std::max(mY, other.mY);
        int64_t right = std::min(int64_t{mX} + mWidth, int64_t{other.mX} + other.mWidth);
        int64_t bottom = std::min(int64_t{mY} + mHeight, int64_t{other.mY} + other.mHeight);
        if (right <= left || bottom <= top)
            return Rect(static_cast<int>(left), static_cast<int>(top), 0, 0);
        return Rect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                    static_cast<int>(bottom - top));
    }
    constexpr bool Intersects(const Rect& other) const { return !Intersection(other).IsEmpty(); }

    constexpr bool operator==(const Rect& other) const
    {
        return mX == other.mX && mY == other.mY && mWidth == other.mWidth && mHeight == other.mHeight;
    }
    constexpr bool operator!=(const Rect& other) const { return !(*this == other); }

    int mX = 0;
    int mY = 0;
    int mWidth = 0;
    int mHeight = 0;
};

class Point
{
public:
    constexpr Point() = default;
    constexpr Point(int x, int y) : mX(x), mY(y) {}
    constexpr bool operator==(const Point& other) const { return mX == other.mX && mY == other.mY; }
    constexpr bool operator!=(const Point& other) const { return !(*this == other); }

    int mX = 0;
    int mY = 0;
};

class FloatRect
{
public:
    constexpr FloatRect() = default;
    constexpr FloatRect(double x, double y, double width, double height) : mX(x), mY(y), mWidth(width), mHeight(height) {}

    double mX = 0.0;
    double mY = 0.0;
    double mWidth = 0.0;
    double mHeight = 0.0;
};

// Margins on the four sides, in pixels.
class Insets
{
public:
    constexpr Insets() = default;
    constexpr Insets(int left, int top, int right, int bottom) : mLeft(left), mTop(top), mRight(right), mBottom(bottom) {}

    int mLeft = 0;
    int mTop = 0;
    int mRight = 0;
    int mBottom = 0;
};

} // namespace Lumo

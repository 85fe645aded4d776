#include "widgets/Widget.h"

namespace Lumo {

Widget::Widget() = default;

Widget::~Widget()
{
    if (mParent != nullptr)
        mParent->RemoveWidget(this);
}

void Widget::Resize(int x, int y, int width, int height)
{
    if (mX == x && mY == y && mWidth == width && mHeight == height)
        return;
    // The old area needs repainting as well as the new one.
    if (mParent != nullptr)
        mParent->MarkDirty();
    mX = x;
    mY = y;
    mWidth = width;
    mHeight = height;
    MarkDirty();
}

void Widget::SetVisible(bool visible)
{
    if (mVisible == visible)
        return;
    mVisible = visible;
    if (mParent != nullptr)
        mParent->MarkDirty();
    MarkDirty();
}

void Widget::MouseMove(int x, int y)
{
    (void)x;
    (void)y;
}

void Widget::MouseDrag(int x, int y)
{
    (void)x;
    (void)y;
}

void Widget::MouseDown(int x, int y, int clickCode)
{
    (void)x;
    (void)y;
    (void)clickCode;
    mIsDown = true;
}

void Widget::MouseUp(int x, int y, int clickCode)
{
    (void)x;
    (void)y;
    (void)clickCode;
    mIsDown = false;
}

bool Widget::Contains(int x, int y) const
{
    return x >= 0 && y >= 0 && x < mWidth && y < mHeight;
}

int Widget::CountDigits(int value)
{
    long long v = value < 0 ? -static_cast<long long>(value) : value;
    int digits = 1;
    while (v >= 10)
    {
        v /= 10;
        ++digits;
    }
    return digits;
}

} // namespace Lumo

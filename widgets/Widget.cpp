#include "widgets/Widget.h"

#include "fonts/TextWrap.h"
#include "graphics/Graphics.h"

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

int Widget::DrawWrappedText(Graphics* g, const Rect& rect, const std::string& text, int lineSpacing,
                            int justification)
{
    Font* font = g != nullptr ? g->GetFont() : nullptr;
    if (font == nullptr)
        return 0;
    const auto lines = TextWrap::WrapLines(*font, text, rect.mWidth);
    const int spacing = TextWrap::LineSpacing(*font, lineSpacing);
    int baseline = rect.mY + font->GetAscent();
    for (const TextWrap::WrappedLine& line : lines)
    {
        if (!line.text.empty())
            g->DrawString(line.text, TextWrap::LineX(rect.mX, rect.mWidth, line.width, justification), baseline);
        baseline += spacing;
    }
    return static_cast<int>(lines.size()) * spacing;
}

} // namespace Lumo

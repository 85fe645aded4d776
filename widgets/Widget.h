#pragma once
// A widget: a rectangle in its parent's coordinates that draws itself and
// takes the mouse and keyboard. Mouse coordinates handed to a widget are
// relative to its own top-left corner.
//
// Click codes (MouseDown / MouseUp): the left button gives its click count
// (1 single, 2 double), the right button minus its click count, the middle
// button 3.
#include "widgets/WidgetContainer.h"
#include <string>

#include "graphics/Rect.h"

namespace Lumo {

class Widget : public WidgetContainer
{
public:
    Widget();
    ~Widget() override;

    virtual void Resize(int x, int y, int width, int height);
    virtual void SetVisible(bool visible);

    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    virtual void MouseMove(int x, int y);
    // A move while a button that went down on this widget is held.
    virtual void MouseDrag(int x, int y);
    virtual void MouseDown(int x, int y, int clickCode);
    virtual void MouseUp(int x, int y, int clickCode);
    virtual void MouseWheel(int delta) { (void)delta; }
    virtual void KeyDown(int keyCode) { (void)keyCode; }
    virtual void KeyUp(int keyCode) { (void)keyCode; }
    virtual void KeyChar(char32_t ch) { (void)ch; }
    virtual void GotFocus() { mHasFocus = true; }
    virtual void LostFocus() { mHasFocus = false; }

    // Whether the widget-relative point lies on the widget (the mouse picks the
    // top-most widget for which this is true).
    virtual bool Contains(int x, int y) const;

    // The number of decimal digits of the value (1 below 10; the sign does not count).
    static int CountDigits(int value);

    // Draws the text word-wrapped to the rectangle's width in the Graphics'
    // current font and colour, the first baseline at rect.y + ascent, and
    // returns the height used: lines x line spacing (0 without a font).
    // lineSpacing: pixels from one baseline to the next; negative: the
    // font's own. justification: negative left, 0 centred, positive right.
    // The rectangle's height does not limit the text; drawn outside the
    // visible area it only measures. The wrapping rules are in
    // fonts/TextWrap.h; MeasureWrappedText gives the same height without
    // drawing.
    static int DrawWrappedText(Graphics* g, const Rect& rect, const std::string& text, int lineSpacing,
                               int justification);

    bool mVisible = true;
    bool mMouseVisible = true;
    bool mDisabled = false;
    bool mHasFocus = false;
    bool mIsDown = false;
    bool mIsOver = false;
    int mDownButtons = 0; // bit 0 left, bit 1 right, bit 2 middle
};

} // namespace Lumo

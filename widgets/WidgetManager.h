#pragma once
// The root of the application's widget tree. It updates every widget once per
// fixed update, draws the tree when something in it is dirty, and routes input:
// the mouse goes to the top-most visible, mouse-visible widget under the cursor,
// and while a button is held, to the widget that took the button down (drags);
// keys go to the focused widget. Main thread only.
#include "widgets/WidgetContainer.h"
#include <vector>

namespace Lumo {

class Widget;

class WidgetManager : public WidgetContainer
{
public:
    WidgetManager();
    ~WidgetManager() override;

    // One fixed update step for the whole tree.
    void UpdateFrame();
    // Draws the tree into g when any widget is dirty; true when it drew.
    bool DrawScreen(Graphics* g);
    // Marks the whole tree dirty (after a mode switch, for instance).
    void MarkAllDirty();

    // Input in manager (window) coordinates.
    void MouseMove(int x, int y);
    void MouseDown(int x, int y, int clickCode);
    void MouseUp(int x, int y, int clickCode);
    void MouseWheel(int delta);
    void MouseExit();
    void KeyDown(int keyCode);
    void KeyUp(int keyCode);
    void KeyChar(char32_t ch);

    // The top-most visible, mouse-visible widget under the point, with the
    // point made relative to it; null when none.
    Widget* GetWidgetAt(int x, int y, int* localX = nullptr, int* localY = nullptr) const;
    void SetFocus(Widget* widget);
    Widget* GetFocusWidget() const { return mFocusWidget; }
    Widget* GetOverWidget() const { return mOverWidget; }
    // Whether the widgets were told the pointer is at the point: it was the
    // last position given, and the widget under it there is the one told of
    // it (none appeared or went since).
    bool WasToldOfPointerAt(int x, int y) const;

    // Forgets a widget that leaves the tree (focus, hover, capture).
    void WidgetRemoved(Widget* widget);

    int mLastMouseX = 0;
    int mLastMouseY = 0;

private:
    Widget* FindAt(const WidgetContainer* container, int x, int y, int& localX, int& localY) const;
    void ToLocal(const Widget* widget, int& x, int& y) const;
    void SetOverWidget(Widget* widget);
    static int ButtonBit(int clickCode);

    Widget* mFocusWidget = nullptr;
    Widget* mOverWidget = nullptr;
    Widget* mDownWidget = nullptr;
    int mDownButtons = 0;
};

} // namespace Lumo

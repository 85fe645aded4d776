#include "widgets/WidgetManager.h"

#include "graphics/Graphics.h"
#include "widgets/Widget.h"

namespace Lumo {

WidgetManager::WidgetManager()
{
    mWidgetManager = this;
}

WidgetManager::~WidgetManager()
{
    RemoveAllWidgets();
}

void WidgetManager::UpdateFrame()
{
    std::list<Widget*> children = mWidgets;
    for (Widget* child : children)
        if (HasWidget(child))
            child->UpdateAll();
}

bool WidgetManager::DrawScreen(Graphics* g)
{
    if (!mDirty && !mHasDirtyChild)
        return false;
    DrawAll(g);
    return true;
}

void WidgetManager::MarkAllDirty()
{
    MarkDirty();
    for (Widget* child : mWidgets)
        child->MarkDirty();
}

int WidgetManager::ButtonBit(int clickCode)
{
    if (clickCode == 3)
        return 4;
    return clickCode < 0 ? 2 : 1;
}

Widget* WidgetManager::FindAt(const WidgetContainer* container, int x, int y, int& localX, int& localY) const
{
    const auto& children = container->GetChildren();
    for (auto it = children.rbegin(); it != children.rend(); ++it)
    {
        Widget* child = *it;
        if (!child->mVisible)
            continue;
        int cx = x - child->mX;
        int cy = y - child->mY;
        if (!child->Contains(cx, cy))
            continue;
        if (Widget* inner = FindAt(child, cx, cy, localX, localY))
            return inner;
        if (child->mMouseVisible && !child->mDisabled)
        {
            localX = cx;
            localY = cy;
            return child;
        }
    }
    return nullptr;
}

Widget* WidgetManager::GetWidgetAt(int x, int y, int* localX, int* localY) const
{
    int lx = 0, ly = 0;
    Widget* widget = FindAt(this, x, y, lx, ly);
    if (localX != nullptr)
        *localX = lx;
    if (localY != nullptr)
        *localY = ly;
    return widget;
}

void WidgetManager::ToLocal(const Widget* widget, int& x, int& y) const
{
    for (const WidgetContainer* c = widget; c != nullptr && c != this; c = c->mParent)
    {
        x -= c->mX;
        y -= c->mY;
    }
}

void WidgetManager::SetOverWidget(Widget* widget)
{
    if (widget == mOverWidget)
        return;
    if (mOverWidget != nullptr)
    {
        mOverWidget->mIsOver = false;
        mOverWidget->MouseLeave();
    }
    mOverWidget = widget;
    if (widget != nullptr)
    {
        widget->mIsOver = true;
        widget->MouseEnter();
    }
}

bool WidgetManager::WasToldOfPointerAt(int x, int y) const
{
    return x == mLastMouseX && y == mLastMouseY && GetWidgetAt(x, y) == mOverWidget;
}

void WidgetManager::MouseMove(int x, int y)
{
    mLastMouseX = x;
    mLastMouseY = y;
    if (mDownWidget != nullptr)
    {
        int lx = x, ly = y;
        ToLocal(mDownWidget, lx, ly);
        mDownWidget->MouseDrag(lx, ly);
        return;
    }
    int lx = 0, ly = 0;
    Widget* widget = GetWidgetAt(x, y, &lx, &ly);
    SetOverWidget(widget);
    if (widget != nullptr)
        widget->MouseMove(lx, ly);
}

void WidgetManager::MouseDown(int x, int y, int clickCode)
{
    mLastMouseX = x;
    mLastMouseY = y;
    Widget* target = mDownWidget;
    if (target == nullptr)
        target = GetWidgetAt(x, y);
    if (target == nullptr)
        return;
    mDownWidget = target;
    mDownButtons |= ButtonBit(clickCode);
    target->mDownButtons |= ButtonBit(clickCode);
    if (mFocusWidget != target)
        SetFocus(target);
    int lx = x, ly = y;
    ToLocal(target, lx, ly);
    target->MouseDown(lx, ly, clickCode);
}

void WidgetManager::MouseUp(int x, int y, int clickCode)
{
    mLastMouseX = x;
    mLastMouseY = y;
    Widget* target = mDownWidget;
    if (target == nullptr)
        target = GetWidgetAt(x, y);
    mDownButtons &= ~ButtonBit(clickCode);
    if (target == nullptr)
        return;
    target->mDownButtons &= ~ButtonBit(clickCode);
    if (mDownButtons == 0)
        mDownWidget = nullptr;
    int lx = x, ly = y;
    ToLocal(target, lx, ly);
    target->MouseUp(lx, ly, clickCode);
    if (mDownWidget == nullptr)
        MouseMove(x, y); // the widget under the cursor may have changed
}

void WidgetManager::MouseWheel(int delta)
{
    if (mFocusWidget != nullptr)
        mFocusWidget->MouseWheel(delta);
}

void WidgetManager::MouseExit()
{
    if (mDownWidget == nullptr)
        SetOverWidget(nullptr);
}

void WidgetManager::KeyDown(int keyCode)
{
    if (mFocusWidget != nullptr)
        mFocusWidget->KeyDown(keyCode);
}

void WidgetManager::KeyUp(int keyCode)
{
    if (mFocusWidget != nullptr)
        mFocusWidget->KeyUp(keyCode);
}

void WidgetManager::KeyChar(char32_t ch)
{
    if (mFocusWidget != nullptr)
        mFocusWidget->KeyChar(ch);
}

void WidgetManager::SetFocus(Widget* widget)
{
    if (widget == mFocusWidget)
        return;
    if (mFocusWidget != nullptr)
        mFocusWidget->LostFocus();
    mFocusWidget = widget;
    if (widget != nullptr)
        widget->GotFocus();
}

void WidgetManager::WidgetRemoved(Widget* widget)
{
    if (mFocusWidget == widget)
        mFocusWidget = nullptr;
    if (mOverWidget == widget)
        mOverWidget = nullptr;
    if (mDownWidget == widget)
    {
        mDownWidget = nullptr;
        mDownButtons = 0;
    }
}

} // namespace Lumo

#include "widgets/WidgetContainer.h"

#include "graphics/Graphics.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

#include <algorithm>

namespace Lumo {

WidgetContainer::~WidgetContainer()
{
    // Children are not owned; unlink them so none keeps a dangling parent.
    for (Widget* child : mWidgets)
        child->mParent = nullptr;
}

void WidgetContainer::AddWidget(Widget* widget)
{
    if (widget == nullptr || HasWidget(widget))
        return;
    if (widget->mParent != nullptr)
        widget->mParent->RemoveWidget(widget);
    mWidgets.push_back(widget);
    widget->mParent = this;
    if (mWidgetManager != nullptr)
        widget->AttachedToManager(mWidgetManager);
    widget->MarkDirty();
    MarkDirty();
}

void WidgetContainer::RemoveWidget(Widget* widget)
{
    auto it = std::find(mWidgets.begin(), mWidgets.end(), widget);
    if (it == mWidgets.end())
        return;
    if (widget->mWidgetManager != nullptr)
    {
        WidgetManager* manager = widget->mWidgetManager;
        widget->DetachedFromManager(manager);
        manager->WidgetRemoved(widget);
    }
    mWidgets.erase(it);
    widget->mParent = nullptr;
    MarkDirty();
}

bool WidgetContainer::HasWidget(const Widget* widget) const
{
    return std::find(mWidgets.begin(), mWidgets.end(), widget) != mWidgets.end();
}

void WidgetContainer::RemoveAllWidgets()
{
    while (!mWidgets.empty())
        RemoveWidget(mWidgets.front());
}

void WidgetContainer::AttachedToManager(WidgetManager* manager)
{
    mWidgetManager = manager;
    for (Widget* child : mWidgets)
        child->AttachedToManager(manager);
}

void WidgetContainer::DetachedFromManager(WidgetManager* manager)
{
    for (Widget* child : mWidgets)
    {
        child->DetachedFromManager(manager);
        manager->WidgetRemoved(child);
    }
    mWidgetManager = nullptr;
}

void WidgetContainer::MarkDirty()
{
    mDirty = true;
    if (mParent != nullptr)
        mParent->ChildBecameDirty();
}

void WidgetContainer::ChildBecameDirty()
{
    mHasDirtyChild = true;
    if (mParent != nullptr)
        mParent->ChildBecameDirty();
}

void WidgetContainer::Update()
{
    ++mUpdateCnt;
}

void WidgetContainer::UpdateAll()
{
    Update();
    // A widget may remove itself or others while updating: walk a copy.
    std::list<Widget*> children = mWidgets;
    for (Widget* child : children)
        if (HasWidget(child))
            child->UpdateAll();
}

void WidgetContainer::DrawAll(Graphics* g)
{
    Draw(g);
    for (Widget* child : mWidgets)
    {
        if (!child->mVisible)
            continue;
        Graphics childGraphics(*g);
        childGraphics.Translate(static_cast<float>(child->mX), static_cast<float>(child->mY));
        childGraphics.ClipRect(0, 0, child->mWidth, child->mHeight);
        child->DrawAll(&childGraphics);
    }
    mDirty = false;
    mHasDirtyChild = false;
}

} // namespace Lumo

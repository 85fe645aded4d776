#pragma once
// The part of the widget tree shared by widgets and the widget manager: a
// rectangle, an ordered list of children (last = top-most), dirty marking and
// the per-update counter. Children are linked, not owned: whoever created a
// widget deletes it (after removing it).
#include <list>

namespace Lumo {

class Graphics;
class Widget;
class WidgetManager;

class WidgetContainer
{
public:
    WidgetContainer() = default;
    virtual ~WidgetContainer();
    WidgetContainer(const WidgetContainer&) = delete;
    WidgetContainer& operator=(const WidgetContainer&) = delete;

    // Makes the widget a child, on top of the others; nothing when it is
    // already a child here. A widget that has another parent is moved.
    virtual void AddWidget(Widget* widget);
    // Detaches the widget; nothing when it is not a child here.
    virtual void RemoveWidget(Widget* widget);
    bool HasWidget(const Widget* widget) const;
    void RemoveAllWidgets();
    const std::list<Widget*>& GetChildren() const { return mWidgets; }

    // Called when this container joins or leaves a manager's tree; the base
    // passes the call on to every child.
    virtual void AttachedToManager(WidgetManager* manager);
    virtual void DetachedFromManager(WidgetManager* manager);

    // Requests a redraw: tells the parent that a child became dirty, or sets
    // the own dirty flag when there is no parent.
    virtual void MarkDirty();
    bool IsDirty() const { return mDirty; }

    // One fixed update step: adds 1 to the update counter.
    virtual void Update();
    // Update of this container and then its children (that allow it).
    virtual void UpdateAll();

    virtual void Draw(Graphics* g) { (void)g; }
    // Draws this container and its visible children, each translated to its
    // position and clipped to its rectangle; clears the dirty flags.
    virtual void DrawAll(Graphics* g);

    int mX = 0;
    int mY = 0;
    int mWidth = 0;
    int mHeight = 0;
    int mUpdateCnt = 0;
    bool mDirty = false;
    bool mHasDirtyChild = false;
    bool mUpdateWhilePaused = false;
    WidgetContainer* mParent = nullptr;
    WidgetManager* mWidgetManager = nullptr;

protected:
    void ChildBecameDirty();
    std::list<Widget*> mWidgets;
};

} // namespace Lumo

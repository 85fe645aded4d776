// The widget tree: membership, dirty marking, update counting and input routing.
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace Lumo {
namespace {

// Records what reaches it, widget-relative.
class ProbeWidget : public Widget
{
public:
    explicit ProbeWidget(std::vector<std::string>* log, const char* name) : mLog(log), mName(name) {}
    void MouseMove(int x, int y) override { Note("move", x, y, 0); }
    void MouseDrag(int x, int y) override { Note("drag", x, y, 0); }
    void MouseDown(int x, int y, int code) override
    {
        Widget::MouseDown(x, y, code);
        Note("down", x, y, code);
    }
    void MouseUp(int x, int y, int code) override
    {
        Widget::MouseUp(x, y, code);
        Note("up", x, y, code);
    }
    void KeyDown(int key) override { Note("key", key, 0, 0); }
    void AttachedToManager(WidgetManager* manager) override
    {
        ++attached;
        Widget::AttachedToManager(manager);
    }
    void DetachedFromManager(WidgetManager* manager) override
    {
        ++detached;
        Widget::DetachedFromManager(manager);
    }
    void Draw(Graphics* g) override
    {
        (void)g;
        ++draws;
    }

    int attached = 0;
    int detached = 0;
    int draws = 0;

private:
    void Note(const char* what, int a, int b, int c)
    {
        mLog->push_back(mName + ":" + what + ":" + std::to_string(a) + "," + std::to_string(b) + "," +
                        std::to_string(c));
    }
    std::vector<std::string>* mLog;
    std::string mName;
};

TEST(WidgetTreeTest, AddAndRemoveAreIdempotentAndCallTheHooksOnce)
{
    WidgetManager manager;
    std::vector<std::string> log;
    ProbeWidget widget(&log, "w");
    manager.AddWidget(&widget);
    manager.AddWidget(&widget);
    EXPECT_EQ(manager.GetChildren().size(), 1u);
    EXPECT_EQ(widget.attached, 1);
    EXPECT_EQ(widget.mWidgetManager, &manager);

    manager.RemoveWidget(&widget);
    manager.RemoveWidget(&widget);
    EXPECT_TRUE(manager.GetChildren().empty());
    EXPECT_EQ(widget.detached, 1);
    EXPECT_EQ(widget.mParent, nullptr);
}

TEST(WidgetTreeTest, UpdateCountsAndOnlyDirtyTreesAreDrawn)
{
    WidgetManager manager;
    std::vector<std::string> log;
    ProbeWidget widget(&log, "w");
    widget.Resize(0, 0, 10, 10);
    manager.AddWidget(&widget);
    manager.UpdateFrame();
    manager.UpdateFrame();
    EXPECT_EQ(widget.mUpdateCnt, 2);

    MemoryImage screen;
    screen.Create(16, 16);
    Graphics g(&screen);
    EXPECT_TRUE(manager.DrawScreen(&g));
    EXPECT_EQ(widget.draws, 1);
    EXPECT_FALSE(manager.DrawScreen(&g)); // nothing dirty any more
    EXPECT_EQ(widget.draws, 1);
    widget.MarkDirty();
    EXPECT_TRUE(manager.DrawScreen(&g));
    EXPECT_EQ(widget.draws, 2);
}

TEST(WidgetTreeTest, MouseGoesToTheTopMostWidgetUnderTheCursor)
{
    WidgetManager manager;
    std::vector<std::string> log;
    ProbeWidget bottom(&log, "bottom");
    ProbeWidget top(&log, "top");
    ProbeWidget hidden(&log, "hidden");
    bottom.Resize(0, 0, 100, 100);
    top.Resize(50, 50, 100, 100);
    hidden.Resize(0, 0, 200, 200);
    hidden.SetVisible(false);
    manager.AddWidget(&bottom);
    manager.AddWidget(&top);
    manager.AddWidget(&hidden);

    manager.MouseMove(10, 10);
    manager.MouseMove(60, 70);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "bottom:move:10,10,0");
    EXPECT_EQ(log[1], "top:move:10,20,0");

    top.mMouseVisible = false; // the mouse passes through to what lies below
    log.clear();
    manager.MouseMove(60, 70);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "bottom:move:60,70,0");
}

TEST(WidgetTreeTest, DragsStayWithTheWidgetThatTookTheButton)
{
    WidgetManager manager;
    std::vector<std::string> log;
    ProbeWidget left(&log, "left");
    ProbeWidget right(&log, "right");
    left.Resize(0, 0, 50, 50);
    right.Resize(50, 0, 50, 50);
    manager.AddWidget(&left);
    manager.AddWidget(&right);

    manager.MouseDown(10, 10, 1);
    manager.MouseMove(70, 10); // over the right widget, but the button is held
    manager.MouseUp(70, 10, 1);
    manager.MouseDown(60, 5, -2); // right button, double click
    manager.MouseDown(60, 5, 3);  // middle button while the right is held
    manager.MouseUp(60, 5, -2);
    manager.MouseUp(60, 5, 3);

    std::vector<std::string> expected = {
        "left:down:10,10,1", "left:drag:70,10,0",   "left:up:70,10,1",   "right:move:20,10,0",
        "right:down:10,5,-2", "right:down:10,5,3", "right:up:10,5,-2", "right:up:10,5,3",
        "right:move:10,5,0",
    };
    EXPECT_EQ(log, expected);
}

TEST(WidgetTreeTest, KeysGoToTheWidgetLastClicked)
{
    WidgetManager manager;
    std::vector<std::string> log;
    ProbeWidget a(&log, "a");
    ProbeWidget b(&log, "b");
    a.Resize(0, 0, 10, 10);
    b.Resize(20, 0, 10, 10);
    manager.AddWidget(&a);
    manager.AddWidget(&b);
    manager.KeyDown(65); // nobody has the focus yet
    manager.MouseDown(25, 5, 1);
    manager.MouseUp(25, 5, 1);
    log.clear();
    manager.KeyDown(27);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0], "b:key:27,0,0");

    manager.RemoveWidget(&b); // a removed widget loses the focus
    manager.KeyDown(27);
    EXPECT_EQ(log.size(), 1u);
}

TEST(WidgetTreeTest, CountDigits)
{
    EXPECT_EQ(Widget::CountDigits(0), 1);
    EXPECT_EQ(Widget::CountDigits(9), 1);
    EXPECT_EQ(Widget::CountDigits(10), 2);
    EXPECT_EQ(Widget::CountDigits(99999), 5);
    EXPECT_EQ(Widget::CountDigits(-120), 3);
    EXPECT_EQ(Widget::CountDigits(2147483647), 10);
    EXPECT_EQ(Widget::CountDigits(-2147483647 - 1), 10);
}

} // namespace
} // namespace Lumo

#pragma once
// Callback interface for button widgets: ButtonClicked(id) when a button with
// that id is clicked. Widgets and applications implement it as they need.

namespace Lumo {

class ButtonListener
{
public:
    virtual ~ButtonListener() = default;
    virtual void ButtonClicked(int id) { (void)id; }
    virtual void ButtonPress(int id) { (void)id; }
    virtual void ButtonDepress(int id) { (void)id; }
};

// Callback interface for modal dialogs; the framework shows none of its own, so
// nothing calls it yet, but applications inherit it.
class DialogListener
{
public:
    virtual ~DialogListener() = default;
    virtual void DialogButtonPress(int dialogId, int buttonId) { (void)dialogId; (void)buttonId; }
    virtual void DialogButtonDepress(int dialogId, int buttonId) { (void)dialogId; (void)buttonId; }
};

} // namespace Lumo

#pragma once
// The window and input back end. One implementation over SDL2, one headless
// (chosen by LUMO_HEADLESS or when there is no display), made by
// CreateVideoBackend. All calls come from the main thread, except
// ShowMessageBox, which may be called from the loading thread too. A box
// that a stop signal ends (or one asked for after it) answers MESSAGEBOX_NONE.
#include "platform/Input.h"
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Lumo::Platform {

enum class MessageBoxKind
{
    Ok,        // one OK button; answers MESSAGEBOX_OK
    YesNo,     // answers MESSAGEBOX_YES or MESSAGEBOX_NO
    OkCancel,  // answers MESSAGEBOX_OK or MESSAGEBOX_CANCEL
};

enum MessageBoxAnswer : int
{
    MESSAGEBOX_NONE = 0, // closed unanswered: the program was asked to end
    MESSAGEBOX_OK = 1,
    MESSAGEBOX_CANCEL = 2,
    MESSAGEBOX_YES = 6,
    MESSAGEBOX_NO = 7,
};

struct MessageBoxRecord
{
    std::string caption;
    std::string text;
};

class VideoBackend
{
public:
    virtual ~VideoBackend() = default;

    // Creates (or re-creates, on a mode switch) the window with a client area of
    // width x height. False when no window could be made.
    [[nodiscard]] virtual bool CreateWindow(const std::string& title, int width, int height, bool fullscreen) = 0;
    virtual void DestroyWindow() = 0;
    virtual bool HasWindow() const = 0;
    virtual void SetTitle(const std::string& title) = 0;
    virtual void ShowWindow(bool show) = 0;

    // Appends the pending events to out, oldest first; never blocks.
    virtual void PollEvents(std::vector<InputEvent>& out) = 0;

    // Shows a 32-bit 0x00RRGGBB frame (the top byte is ignored).
    virtual void Present(const uint32_t* pixels, int width, int height, int pitchBytes) = 0;

    virtual void ShowSystemCursor(bool show) = 0;
    // Current mouse position in window pixels; false when unknown.
    virtual bool GetMousePosition(int& x, int& y) const = 0;

    // Modal message box; the headless back end logs it and answers at once (the
    // first button: OK or Yes).
    virtual int ShowMessageBox(const std::string& caption, const std::string& text, MessageBoxKind kind) = 0;

    virtual bool IsHeadless() const = 0;
};

std::unique_ptr<VideoBackend> CreateVideoBackend();

// The headless back end; tests queue input into it and read what it presented.
class HeadlessVideo final : public VideoBackend
{
public:
    bool CreateWindow(const std::string& title, int width, int height, bool fullscreen) override;
    void DestroyWindow() override { mHasWindow = false; }
    bool HasWindow() const override { return mHasWindow; }
    void SetTitle(const std::string& title) override { mTitle = title; }
    void ShowWindow(bool) override {}
    void PollEvents(std::vector<InputEvent>& out) override;
    void Present(const uint32_t* pixels, int width, int height, int pitchBytes) override;
    void ShowSystemCursor(bool show) override { mCursorShown = show; }
    bool GetMousePosition(int& x, int& y) const override;
    int ShowMessageBox(const std::string& caption, const std::string& text, MessageBoxKind kind) override;
    bool IsHeadless() const override { return true; }

    void QueueEvent(const InputEvent& event);
    const std::vector<uint32_t>& GetLastFrame() const { return mFrame; }
    int GetFrameWidth() const { return mFrameWidth; }
    int GetFrameHeight() const { return mFrameHeight; }
    int GetPresentCount() const { return mPresentCount; }
    bool IsCursorShown() const { return mCursorShown; }
    bool IsFullscreen() const { return mFullscreen; }
    const std::string& GetTitle() const { return mTitle; }

private:
    bool mHasWindow = false;
    bool mFullscreen = false;
    bool mCursorShown = true;
    std::string mTitle;
    std::vector<InputEvent> mQueue;
    std::vector<uint32_t> mFrame;
    int mFrameWidth = 0;
    int mFrameHeight = 0;
    int mPresentCount = 0;
    int mMouseX = -1;
    int mMouseY = -1;
};

// Every message box shown headless in this process, oldest first (tests read
// it). Both are safe to call from any thread.
std::vector<MessageBoxRecord> GetMessageBoxLog();
void ClearMessageBoxLog();

} // namespace Lumo::Platform

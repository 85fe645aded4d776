// The headless video back end: no window, nothing blocks. Frames are copied
// into memory, input comes from a queue, and message boxes are logged and
// answered at once.
#include "platform/Video.h"

#include "platform/Environment.h"

#include <cstdio>
#include <cstring>
#include <mutex>

namespace Lumo::Platform {

namespace {

struct MessageBoxLog
{
    std::mutex mutex;
    std::vector<MessageBoxRecord> records;
};

MessageBoxLog& GetLog()
{
    static MessageBoxLog log;
    return log;
}

} // namespace

std::vector<MessageBoxRecord> GetMessageBoxLog()
{
    MessageBoxLog& log = GetLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    return log.records;
}

void ClearMessageBoxLog()
{
    MessageBoxLog& log = GetLog();
    std::lock_guard<std::mutex> lock(log.mutex);
    log.records.clear();
}

bool HeadlessVideo::CreateWindow(const std::string& title, int width, int height, bool fullscreen)
{
    if (width <= 0 || height <= 0)
        return false;
    mTitle = title;
    mFullscreen = fullscreen;
    mHasWindow = true;
    return true;
}

void HeadlessVideo::PollEvents(std::vector<InputEvent>& out)
{
    for (const InputEvent& event : mQueue)
    {
        if (event.type == EventType::MouseMove || event.type == EventType::MouseDown ||
            event.type == EventType::MouseUp)
        {
            mMouseX = event.x;
            mMouseY = event.y;
        }
        out.push_back(event);
    }
    mQueue.clear();
}

void HeadlessVideo::Present(const uint32_t* pixels, int width, int height, int pitchBytes)
{
    if (!pixels || width <= 0 || height <= 0 || pitchBytes < width * 4)
        return;
    mFrame.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    const auto* source = reinterpret_cast<const uint8_t*>(pixels);
    for (int y = 0; y < height; ++y)
        std::memcpy(&mFrame[static_cast<size_t>(y) * static_cast<size_t>(width)],
                    source + static_cast<size_t>(y) * static_cast<size_t>(pitchBytes),
                    static_cast<size_t>(width) * 4);
    mFrameWidth = width;
    mFrameHeight = height;
    ++mPresentCount;
}

bool HeadlessVideo::GetMousePosition(int& x, int& y) const
{
    if (mMouseX < 0)
        return false;
    x = mMouseX;
    y = mMouseY;
    return true;
}

int HeadlessVideo::ShowMessageBox(const std::string& caption, const std::string& text, MessageBoxKind kind)
{
    {
        MessageBoxLog& log = GetLog();
        std::lock_guard<std::mutex> lock(log.mutex);
        log.records.push_back({caption, text});
    }
    // Nobody sees a headless box: its words go to stderr, so a failed run
    // always says why.
    std::fprintf(stderr, "[message box] %s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    return kind == MessageBoxKind::YesNo ? MESSAGEBOX_YES : MESSAGEBOX_OK;
}

void HeadlessVideo::QueueEvent(const InputEvent& event)
{
    mQueue.push_back(event);
}

} // namespace Lumo::Platform

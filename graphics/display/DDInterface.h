#pragma once
// The display: the application's window and its 1024 x 768 (or any size)
// 32-bit screen image. The widget manager draws into the screen image
// (GetScreenImage, a DDImage drawn as 0x888) and Redraw presents it through
// the platform's video back end. Windowed and full screen are switched by
// re-creating the window (Init again). There is no 3D acceleration: a request
// for 3D runs the D3DTester, which fails, and the display runs in software.
//
// Main thread only, except that the display lock (mCritSect) may be taken by
// any thread that touches the screen between frames.
#include <memory>
#include <string>
#include <vector>

#include "graphics/display/D3DInterface.h"
#include "graphics/display/NativeDisplay.h"
#include "platform/CriticalSection.h"

namespace Lumo {

namespace Platform {
class VideoBackend;
}

class DDImage;

class DDInterface : public NativeDisplay
{
public:
    enum Result : int
    {
        RESULT_OK = 0,
        RESULT_FAIL = 1,
        RESULT_DD_CREATE_FAIL = 2,   // no window could be made
        RESULT_SURFACE_FAIL = 3,     // no screen image
        RESULT_INVALID_SIZE = 4,     // width or height below 1
        RESULT_3D_FAIL = 5,          // 3D asked for and not available
    };

    // video: the back end the frames are presented through (not owned; must
    // outlive the display).
    explicit DDInterface(Platform::VideoBackend* video);
    ~DDInterface() override;
    DDInterface(const DDInterface&) = delete;
    DDInterface& operator=(const DDInterface&) = delete;

    // (Re-)creates the window (full screen unless windowed) and a blank screen
    // image of width x height. want3D runs the 3D test, which fails here: the
    // result stays RESULT_OK and Is3D() false. On failure the display has no
    // screen image.
    [[nodiscard]] Result Init(const std::string& title, int width, int height, bool windowed, bool want3D);
    // Destroys the window and the screen image.
    void Cleanup();

    // The image the widget manager draws into; null before Init.
    DDImage* GetScreenImage() const { return mScreenImage.get(); }
    // Presents the screen image under the display lock. False without a
    // screen image or window.
    bool Redraw();
    // The screen's pixels as 0xFFRRGGBB (alpha forced opaque), e.g. for a
    // frame capture. Empty without a screen image.
    std::vector<uint32_t> CopyScreenPixels() const;

    bool IsWindowed() const { return mIsWindowed; }
    bool Is3D() const { return false; }
    D3DInterface* GetD3DInterface() { return &mD3DInterface; }
    const std::string& GetLastTestFailure() const { return mTestFailure; }
    int GetPresentCount() const { return mPresentCount; }

    mutable CriticalSection mCritSect; // guards presentation and the screen between frames

private:
    Platform::VideoBackend* mVideo;
    std::unique_ptr<DDImage> mScreenImage;
    D3DInterface mD3DInterface;
    bool mIsWindowed = true;
    std::string mTestFailure;
    int mPresentCount = 0;
};

} // namespace Lumo

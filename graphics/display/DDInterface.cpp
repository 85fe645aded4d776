#include "graphics/display/DDInterface.h"

#include "graphics/DDImage.h"
#include "graphics/display/D3DTester.h"
#include "platform/DebugOutput.h"
#include "platform/Video.h"

namespace Lumo {

DDInterface::DDInterface(Platform::VideoBackend* video) : mVideo(video) {}

DDInterface::~DDInterface()
{
    Cleanup();
}

DDInterface::Result DDInterface::Init(const std::string& title, int width, int height, bool windowed, bool want3D)
{
    CriticalSectionGuard guard(mCritSect);
    Cleanup();
    if (width <= 0 || height <= 0)
        return RESULT_INVALID_SIZE;
    if (mVideo == nullptr || !mVideo->CreateWindow(title, width, height, !windowed))
    {
        Platform::Log("DISPLAY", "the window could not be created");
        return RESULT_DD_CREATE_FAIL;
    }
    mWidth = width;
    mHeight = height;
    mIsWindowed = windowed;
    mTestFailure.clear();
    if (want3D)
    {
        D3DTester tester;
        if (!tester.RunTest())
        {
            mTestFailure = tester.GetFailureReason();
            Platform::DebugOutput("3D test failed: " + mTestFailure + "\n");
        }
    }

    mScreenImage = std::make_unique<DDImage>();
    mScreenImage->SetScreenImage(true);
    mScreenImage->Create(width, height);
    // The screen starts black and opaque.
    mScreenImage->FillRect(Rect(0, 0, width, height), Color::Black, DRAWMODE_NORMAL);
    mScreenImage->mFilePath = "<screen>";
    mD3DInterface.mScreenImage = mScreenImage.get();
    return RESULT_OK;
}

void DDInterface::Cleanup()
{
    CriticalSectionGuard guard(mCritSect);
    mD3DInterface.mScreenImage = nullptr;
    mScreenImage.reset();
    if (mVideo != nullptr && mVideo->HasWindow())
        mVideo->DestroyWindow();
}

bool DDInterface::Redraw()
{
    CriticalSectionGuard guard(mCritSect);
    if (mScreenImage == nullptr || mVideo == nullptr || !mVideo->HasWindow())
        return false;
    mD3DInterface.EndScene();
    const uint32_t* bits = mScreenImage->GetBits();
    if (bits == nullptr)
        return false;
    mVideo->Present(bits, mScreenImage->mWidth, mScreenImage->mHeight, mScreenImage->mWidth * 4);
    ++mPresentCount;
    return true;
}

std::vector<uint32_t> DDInterface::CopyScreenPixels() const
{
    CriticalSectionGuard guard(mCritSect);
    std::vector<uint32_t> pixels;
    if (mScreenImage == nullptr)
        return pixels;
    const uint32_t* bits = mScreenImage->GetBits();
    if (bits == nullptr)
        return pixels;
    pixels.assign(bits, bits + static_cast<size_t>(mScreenImage->mWidth) * static_cast<size_t>(mScreenImage->mHeight));
    for (uint32_t& p : pixels)
        p |= 0xFF000000u;
    return pixels;
}

} // namespace Lumo

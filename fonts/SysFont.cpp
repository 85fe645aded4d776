#include "fonts/SysFont.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "app/LumoAppBase.h"
#include "fonts/CoveragePainter.h"
#include "graphics/DDImage.h"
#include "graphics/Graphics.h"
#include "graphics/display/DDInterface.h"

namespace Lumo {

namespace {

constexpr int kScreenDpi = 96;

using OpaqueWriter = PixelOps::PixelWriter<PixelOps::DestXrgb, false, false>;
using AlphaWriter = PixelOps::PixelWriter<PixelOps::DestArgb, false, false>;

uint32_t RgbOf(const Color& color)
{
    auto channel = [](int value) { return static_cast<uint32_t>(std::clamp(value, 0, 255)); };
    return (channel(color.mRed) << 16) | (channel(color.mGreen) << 8) | channel(color.mBlue);
}

// The passes of one text: the black shadow first (one pixel right and down),
// then the text itself; simulated bold repeats each one pixel to the right.
template <class Writer>
void PaintPasses(uint32_t* pixels, int pitchPixels, const Rect& clip, const Platform::CoverageBitmap& coverage,
                 int x, int y, uint32_t rgb, bool shadow, bool bold)
{
    const Writer writer{};
    if (shadow)
    {
        CoveragePainter::Paint(pixels, pitchPixels, clip, coverage, x + 1, y + 1, 0, writer);
        if (bold)
            CoveragePainter::Paint(pixels, pitchPixels, clip, coverage, x + 2, y + 1, 0, writer);
    }
    CoveragePainter::Paint(pixels, pitchPixels, clip, coverage, x, y, rgb, writer);
    if (bold)
        CoveragePainter::Paint(pixels, pitchPixels, clip, coverage, x + 1, y, rgb, writer);
}

} // namespace

SysFont::SysFont(const std::string& face, int pointSize, bool bold, bool italic, bool underline)
{
    CreateFontHandle(gAppBase, face, pointSize, 0, bold, italic, underline);
}

SysFont::SysFont(LumoAppBase* app, const std::string& face, int pointSize, int charSet, bool bold, bool italic,
                 bool underline)
{
    // There is no window device context to ask: the screen is 96 dpi.
    CreateFontHandle(app, face, pointSize, charSet, bold, italic, underline);
}

SysFont::SysFont(const SysFont& other)
    : Font(other), mApp(other.mApp), mCharSet(other.mCharSet), mPixelHeight(other.mPixelHeight)
{
    if (other.mFontHandle)
        mFontHandle = Platform::TextFont::Open(other.mFontHandle->GetSpec());
}

SysFont::~SysFont() = default;

int SysFont::PointsToPixels(int pointSize, int dpi)
{
    const long long product = static_cast<long long>(pointSize) * dpi;
    const long long half = product >= 0 ? 36 : -36;
    return static_cast<int>((product + half) / 72);
}

void SysFont::CreateFontHandle(LumoAppBase* app, const std::string& face, int pointSize, int charSet, bool bold,
                               bool italic, bool underline)
{
    mApp = app;
    mCharSet = charSet;
    mPixelHeight = PointsToPixels(pointSize, kScreenDpi);
    Platform::TextFontSpec spec;
    spec.face = face;
    spec.pixelHeight = std::abs(mPixelHeight);
    spec.bold = bold;
    spec.italic = italic;
    spec.underline = underline;
    mFontHandle = Platform::TextFont::Open(spec);
    AdoptMetrics();
    mDrawShadow = false;
    mSimulateBold = false;
}

void SysFont::AdoptMetrics()
{
    mHeight = mFontHandle ? mFontHandle->GetHeight() : 0;
    mAscent = mFontHandle ? mFontHandle->GetAscent() : 0;
}

Font* SysFont::Clone()
{
    return new SysFont(*this);
}

int SysFont::GetStringWidth(const std::string& text)
{
    return mFontHandle ? mFontHandle->MeasureString(text) : 0;
}

Platform::CoverageBitmap SysFont::RenderCoverage(const std::string& text, int columns, int rows)
{
    Platform::CoverageBitmap coverage(columns, rows);
    if (mFontHandle)
        mFontHandle->RenderString(text, 0, 0, coverage);
    return coverage;
}

void SysFont::DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                         const Rect& clipRect)
{
    if (g == nullptr || !mFontHandle || text.empty())
        return;
    Image* destination = g->GetDestImage();
    if (auto* surfaceImage = dynamic_cast<DDImage*>(destination))
        DrawOnSurface(g, surfaceImage, x, y, text, color, clipRect);
    else if (dynamic_cast<MemoryImage*>(destination) != nullptr)
        DrawOffscreen(g, x, y, text, color);
    // Otherwise the placeholder image of a Graphics without a destination.
}

void SysFont::DrawOnSurface(Graphics* g, DDImage* image, int x, int y, const std::string& text,
                            const Color& color, const Rect& clipRect)
{
    DDSurface* surface = image->GetSurface();
    if (surface == nullptr)
        return;
    const bool wasLocked = image->GetLockCount() > 0;
    if (wasLocked)
        surface->Unlock();
    if (mApp != nullptr && image->IsScreenImage() && mApp->Is3DEnabled() && mApp->mDDInterface != nullptr)
        mApp->mDDInterface->GetD3DInterface()->EndScene();

    SurfaceDesc dc;
    if (surface->GetDC(dc))
    {
        const Rect clip = clipRect.Intersection(Rect(0, 0, dc.width, dc.height));
        const int left = static_cast<int>(static_cast<float>(x) + g->GetTransX());
        const int top = static_cast<int>(static_cast<float>(y - mAscent + 1) + g->GetTransY());
        // The device context does not clip to the cell: leave room for
        // overhanging ink.
        const int width = GetStringWidth(text);
        const Platform::CoverageBitmap coverage = RenderCoverage(text, width + mHeight / 2 + 2, mHeight + 1);
        const int pitch = dc.pitch / 4;
        if (dc.format == PIXEL_FORMAT_888)
            PaintPasses<OpaqueWriter>(dc.bits, pitch, clip, coverage, left, top, RgbOf(color), mDrawShadow,
                                      mSimulateBold);
        else
            PaintPasses<AlphaWriter>(dc.bits, pitch, clip, coverage, left, top, RgbOf(color), mDrawShadow,
                                     mSimulateBold);
        surface->ReleaseDC();
        image->FreeMemoryData();
    }
    if (wasLocked)
    {
        SurfaceDesc relocked;
        (void)surface->Lock(relocked);
    }
}

void SysFont::DrawOffscreen(Graphics* g, int x, int y, const std::string& text, const Color& color)
{
    const int textWidth = GetStringWidth(text);
    if (textWidth <= 0 || mHeight <= 0)
        return;
    // One column and row more than the text, so the shadow and bold passes
    // keep their last column and row (two columns for a bold shadow).
    const int width = textWidth + 1 + (mDrawShadow && mSimulateBold ? 1 : 0);
    const int height = mHeight + 1;
    const Platform::CoverageBitmap coverage = RenderCoverage(text, width, height);
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<uint32_t> whiteSide(count, 0xFFFFFFFFu);
    std::vector<uint32_t> blackSide(count, 0xFF000000u);
    const Rect all(0, 0, width, height);
    const uint32_t rgb = RgbOf(color);
    using SideWriter = CoveragePainter::OpaqueTextWriter;
    PaintPasses<SideWriter>(whiteSide.data(), width, all, coverage, 0, 0, rgb, mDrawShadow, mSimulateBold);
    PaintPasses<SideWriter>(blackSide.data(), width, all, coverage, 0, 0, rgb, mDrawShadow, mSimulateBold);
    for (size_t i = 0; i < count; ++i)
        whiteSide[i] = CoveragePainter::CombineSides(whiteSide[i], blackSide[i]);

    MemoryImage text32;
    text32.SetBits(whiteSide.data(), width, height);
    g->DrawImage(&text32, x, y - mAscent);
}

} // namespace Lumo

#pragma once
// A font of the system, drawn with the platform's text layer (FreeType faces
// found through fontconfig; a face that is not installed falls back to the
// closest installed one). The dialogs, the application's overlays and the
// resource manager's "!sys:" fonts use it.
//
// Metrics: the pixel height asked of the system is the point size at the
// resolution (96 dots per inch: 12 points ask for 16 pixels); ascent and
// height are the face's at that size; ascent padding and line-spacing offset
// stay 0. Widths are the sum of the characters' integer advances.
//
// Drawing (y is the baseline):
// - onto a DDImage, through its surface's device context, straight into the
//   surface pixels (the glyph cells' top at y - ascent + 1: one pixel lower
//   than on a memory image);
// - onto any other MemoryImage, rendered off screen into a transparent image
//   (one column and row larger than the text, for the shadow and bold
//   passes) that the Graphics draws at (x, y - ascent);
// - onto the placeholder image of a Graphics made without an image: nothing.
// With draw shadow a black copy is drawn one pixel right and down first; with
// simulate bold every text is drawn a second time one pixel to the right. The
// colour's alpha is not used.
//
// Threads: like any font, used by one thread at a time; the text layer has
// its own lock.
#include <memory>
#include <string>

#include "fonts/Font.h"
#include "platform/text/TextFont.h"

namespace Lumo {

class DDImage;
class LumoAppBase;
class MemoryImage;

class SysFont : public Font
{
public:
    // At 96 dots per inch with the process-wide application (may be null).
    SysFont(const std::string& face, int pointSize, bool bold = false, bool italic = false, bool underline = false);
    // With the given application (may be null). The resolution of its window
    // is 96 dots per inch here; the character set is kept for the record
    // (text is always Windows-1252).
    SysFont(LumoAppBase* app, const std::string& face, int pointSize, int charSet, bool bold, bool italic,
            bool underline);
    // The same face, size and styles with an own system font; the drawing
    // flags start false.
    SysFont(const SysFont& other);
    SysFont& operator=(const SysFont&) = delete;
    ~SysFont() override;

    int GetStringWidth(const std::string& text) override;
    void DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                    const Rect& clipRect) override;
    Font* Clone() override;

    // points x dpi / 72, rounded half away from zero (MulDiv).
    static int PointsToPixels(int pointSize, int dpi);
    // The character height asked of the system, in pixels.
    int GetPixelHeight() const { return mPixelHeight; }
    // The system font; null when no font could be opened (then the metrics
    // are 0 and nothing is measured or drawn).
    Platform::TextFont* GetTextFont() const { return mFontHandle.get(); }

    std::unique_ptr<Platform::TextFont> mFontHandle;
    LumoAppBase* mApp = nullptr;
    bool mDrawShadow = false;
    bool mSimulateBold = false;
    int mCharSet = 0;

private:
    void CreateFontHandle(LumoAppBase* app, const std::string& face, int pointSize, int charSet, bool bold,
                          bool italic, bool underline);
    void AdoptMetrics();
    // The text's coverage with its cell's top-left at (0, 0), in a bitmap of
    // columns x rows (ink beyond it is dropped).
    Platform::CoverageBitmap RenderCoverage(const std::string& text, int columns, int rows);
    void DrawOnSurface(Graphics* g, DDImage* image, int x, int y, const std::string& text, const Color& color,
                       const Rect& clipRect);
    void DrawOffscreen(Graphics* g, int x, int y, const std::string& text, const Color& color);

    int mPixelHeight = 0;
};

} // namespace Lumo

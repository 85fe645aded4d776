#pragma once
// The abstract font through which all text is measured and drawn. The metrics
// (pixels) are set by the concrete fonts; the base measures every text as 0
// and draws nothing. Widgets keep their own copy made with Clone and delete it.
#include <string>

#include "graphics/Color.h"
#include "graphics/Rect.h"

namespace Lumo {

class Graphics;

class Font
{
public:
    Font() = default;
    Font(const Font& other) = default;
    Font& operator=(const Font&) = delete;
    virtual ~Font() {}

    virtual int GetAscent() const { return mAscent; }
    virtual int GetAscentPadding() const { return mAscentPadding; }
    // Height - ascent.
    virtual int GetDescent() const { return mHeight - mAscent; }
    virtual int GetHeight() const { return mHeight; }
    virtual int GetLineSpacingOffset() const { return mLineSpacingOffset; }
    // Height + line-spacing offset.
    virtual int GetLineSpacing() const { return mHeight + mLineSpacingOffset; }

    // Width of the text in pixels; 0 in the base.
    virtual int GetStringWidth(const std::string& text)
    {
        (void)text;
        return 0;
    }
    // GetStringWidth of the one-character string.
    virtual int GetCharWidth(char character) { return GetStringWidth(std::string(1, character)); }
    // GetCharWidth of the character; the previous character is ignored here.
    virtual int GetKernedCharWidth(char character, char previous)
    {
        (void)previous;
        return GetCharWidth(character);
    }

    // Draws the text with its baseline at y (in the Graphics' coordinates), in
    // the colour, inside the clip rectangle (destination pixels). Nothing here.
    virtual void DrawString(Graphics* g, int x, int y, const std::string& text, const Color& color,
                            const Rect& clipRect)
    {
        (void)g;
        (void)x;
        (void)y;
        (void)text;
        (void)color;
        (void)clipRect;
    }

    // A new font of the same kind; the caller owns it.
    virtual Font* Clone() = 0;

    int mAscent = 0;
    int mAscentPadding = 0;
    int mHeight = 0;
    int mLineSpacingOffset = 0;
};

} // namespace Lumo

#pragma once
// Word wrapping for text panels, shared by Widget::DrawWrappedText and the
// pure measure MeasureWrappedText, so a measured height is exactly what a
// draw uses.
//
// Rules: words are separated by blanks (runs of blanks count as one); a '\n'
// ends the line (an empty line stays, a final '\n' adds none); '\r' is
// ignored. A line takes words while "line + ' ' + word" fits the width in
// the font; a word wider than the width stands on a line of its own (it is
// not split). Lines are line spacing apart: a negative line spacing means the
// font's own (Font::GetLineSpacing). The height of a wrapped text is its
// number of lines times the line spacing (0 for an empty text or no font).
// The rectangle's height does not limit the text: lines go on below it.
//
// Depends only on the abstract Font, so the widget layer can use it without
// linking any concrete font.
#include <string>
#include <vector>

#include "fonts/Font.h"

namespace Lumo::TextWrap {

struct WrappedLine
{
    std::string text;
    int width = 0; // in the font, pixels
};

// Justification values of DrawWrappedText.
enum Justification : int
{
    JustifyLeft = -1,  // lines start at the rectangle's left edge (any negative value)
    JustifyCentre = 0, // lines centred in the rectangle's width
    JustifyRight = 1,  // lines end at the rectangle's right edge (any positive value)
};

inline std::vector<WrappedLine> WrapLines(Font& font, const std::string& text, int maxWidth)
{
    std::vector<WrappedLine> lines;
    WrappedLine line;
    bool lineOpen = false;
    std::string word;
    auto placeWord = [&]() {
        if (word.empty())
            return;
        if (!lineOpen)
        {
            line.text = word;
            lineOpen = true;
        }
        else if (font.GetStringWidth(line.text + " " + word) <= maxWidth)
        {
            line.text += " " + word;
        }
        else
        {
            line.width = font.GetStringWidth(line.text);
            lines.push_back(line);
            line.text = word;
        }
        word.clear();
    };
    for (char c : text)
    {
        if (c == '\r')
            continue;
        if (c != ' ' && c != '\n')
        {
            word.push_back(c);
            continue;
        }
        placeWord();
        if (c == '\n')
        {
            line.width = lineOpen ? font.GetStringWidth(line.text) : 0;
            lines.push_back(lineOpen ? line : WrappedLine());
            line = WrappedLine();
            lineOpen = false;
        }
    }
    placeWord();
    if (lineOpen)
    {
        line.width = font.GetStringWidth(line.text);
        lines.push_back(line);
    }
    return lines;
}

inline int LineSpacing(const Font& font, int lineSpacing)
{
    return lineSpacing < 0 ? font.GetLineSpacing() : lineSpacing;
}

// The x of a line of that width in a rectangle (left edge, width).
inline int LineX(int left, int width, int lineWidth, int justification)
{
    if (justification == JustifyCentre)
        return left + (width - lineWidth) / 2;
    if (justification > 0)
        return left + width - lineWidth;
    return left;
}

} // namespace Lumo::TextWrap

namespace Lumo {

// Height of the text word-wrapped to the width in the font, as
// Widget::DrawWrappedText would draw it (line spacing -1: the font's own);
// 0 without a font. Pure: draws nothing.
inline int MeasureWrappedText(Font* font, int width, const std::string& text, int lineSpacing = -1)
{
    if (font == nullptr)
        return 0;
    const auto lines = TextWrap::WrapLines(*font, text, width);
    return static_cast<int>(lines.size()) * TextWrap::LineSpacing(*font, lineSpacing);
}

} // namespace Lumo

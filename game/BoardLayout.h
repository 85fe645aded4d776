#pragma once
// The pure geometry that both the Board's rules and its drawing use: where
// each menu item's bar lies, how wide a bar is at the current slide and
// wobble, whether the mouse is on a bar, and how tall a word-wrapped text is.
// Nothing here reads or writes Board state, so a skipped frame never changes
// what the rules see.
#include <string>
#include <vector>

namespace Lumo {

class Font;

namespace BoardLayout {

constexpr int kMenuGap = 8;           // pixels between two bars
constexpr int kMenuBarHeight = 48;    // an ordinary item's bar
constexpr int kSliderBarHeight = 96;  // the two volume sliders
constexpr int kMenuBarFullWidth = 450;
constexpr int kTextPanelFullWidth = 800;
constexpr int kMaxMenuItems = 7;

struct MenuItemBox
{
    int top = 0;
    int height = 0;
};

// x of the menu's centre: 384 for the mode choice (the side panel stands to
// its right), 512 for every other menu.
int MenuCentreX(int menuId);
// Whether item 0 of the menu is a heading (never hovered, never chosen).
bool MenuHasHeading(int menuId);
// The bar height of a menu item.
int MenuItemBarHeight(int itemId);
// Lays out count items (count <= kMaxMenuItems) for a Board of the height and
// the splash cloud image's height; fills boxes[0..count-1].
void LayOutMenu(const int* items, int count, int boardHeight, int splashCloudHeight, MenuItemBox* boxes);

// The width of a bar whose full width is given, at the slide (0..100 percent)
// and wobble angle (degrees); the wobble makes bars breathe by up to 16 px.
int MenuBarWidth(int menuSlide, int wobbleAngle, int fullWidth);
// Whether the point lies on the bar centred on centreX (edges included).
bool IsOnMenuBar(int x, int y, int centreX, int top, int height, int barWidth);
// Whether the point lies on an image of the size whose centre is at (cx, cy),
// placed as a centred sprite is drawn (edges included).
bool IsOnCentredImage(int x, int y, int cx, int cy, int width, int height);

// Text wrapping, by the rules of Widget::DrawWrappedText (fonts/TextWrap.h),
// so a panel measured here is exactly as tall as the one drawn. No lines
// without a font.
std::vector<std::string> WrapText(Font* font, const std::string& text, int maxWidth);
// Height of the wrapped text: lines times the line spacing (-1: the font's own
// line spacing); 0 for an empty text or without a font.
int WrappedTextHeight(Font* font, const std::string& text, int maxWidth, int lineSpacing);
// The width of the text panels' wrapping rectangle for a menu corner of the width.
int TextPanelWrapWidth(int cornerWidth);
// Width of a text in the font, 0 without a font.
int TextWidth(Font* font, const std::string& text);

} // namespace BoardLayout
} // namespace Lumo

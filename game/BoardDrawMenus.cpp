// Menus and panels: the menu with its bars, sliders and headings, the bar
// itself, the word-wrapped text panels (introductions, tutorial pages, the
// story ending, the about text with its scroll column) and the statistics.
//
// The layout and the hover are the rules' (BoardLayout, hoverItem): drawing
// only reads them.
#include "game/Board.h"

#include "game/BoardDrawSupport.h"
#include "game/BoardLayout.h"
#include "widgets/Widget.h"

#include <algorithm>
#include <string>

namespace Lumo {

using namespace BoardDraw;

namespace {

constexpr int kHeadingColour = 0x8484FF;
constexpr int kBarColour = 0x445599;
constexpr int kHoverColour = 0xB7B9FF;

// The heading's end caps: the cap image left of the bar and its mirror right
// of it.
void DrawHeadingCaps(const Board& board, Graphics* g, int centreX, int top, int barWidth)
{
    Image* cap = Img(board, IMAGE_MENU_CAP_L);
    g->DrawImage(cap, centreX - (barWidth >> 1) - Width(cap), top);
    g->DrawImageMirrored(cap, centreX + (barWidth >> 1), top, true);
}

} // namespace

void Board::drawMenu(Graphics* g)
{
    StateGuard guard(g);
    BoardLayout::MenuItemBox boxes[BoardLayout::kMaxMenuItems];
    const int count = std::clamp(menuItemCount, 0, BoardLayout::kMaxMenuItems);
    BoardLayout::LayOutMenu(menuItems.data(), count, mHeight, Height(Img(*this, IMAGE_SPLASH_CLOUD)), boxes);
    const int centreX = BoardLayout::MenuCentreX(currentMenu);
    const int barWidth = BoardLayout::MenuBarWidth(menuSlide, wobbleAngle, BoardLayout::kMenuBarFullWidth);
    const int reflectionHeight = Height(Img(*this, IMAGE_MENU_BAR_REFLECTION));
    for (int i = 0; i < count; ++i)
    {
        const int item = menuItems[static_cast<size_t>(i)];
        const int top = boxes[i].top;
        int colour = i == hoverItem ? kHoverColour : kBarColour;
        if (i == 0 && BoardLayout::MenuHasHeading(currentMenu))
        {
            colour = kHeadingColour;
            DrawHeadingCaps(*this, g, centreX, top, barWidth);
        }
        drawMenuBar(g, centreX, top, barWidth, boxes[i].height, colour, false, false);
        drawShadowText(g, getText(item), centreX, top + 38, 1, 0xFFFFFF, menuTextAlpha);
        drawMenuBarReflection(g, centreX - (barWidth >> 1), top, barWidth, reflectionHeight);
        if (currentMenu == MENU_OPTIONS && (item == TEXT_MUSIC_VOLUME || item == TEXT_SOUND_VOLUME))
        {
            const bool music = item == TEXT_MUSIC_VOLUME;
            g->SetColor(RgbAlpha(0x000000, menuTextAlpha / 2));
            g->FillRect(362, top + 68, 300, 8);
            g->SetColor(RgbAlpha(0xFFFFFF, menuTextAlpha));
            g->SetImageTinting(true);
            // Both knobs are centred with the music knob's size.
            const Image* musicKnob = Img(*this, IMAGE_MUSIC_SLIDER);
            const int value = static_cast<int>(music ? musicVolume : soundVolume);
            g->DrawImage(Img(*this, music ? IMAGE_MUSIC_SLIDER : IMAGE_SOUND_SLIDER),
                         362 + value - Width(musicKnob) / 2, top + 72 - Height(musicKnob) / 2);
            g->SetImageTinting(false);
        }
    }
}

void Board::drawMenuBar(Graphics* g, int centreX, int top, int width, int height, int rgb, bool highlighted,
                        bool prompt)
{
    if (width <= 0 || height <= 0)
        return; // a bar that has not started to slide in
    StateGuard guard(g);
    Image* cornerTop = Img(*this, IMAGE_MENU_CORNER_TL);
    Image* cornerBottom = Img(*this, IMAGE_MENU_CORNER_BL);
    const int cornerWidth = Width(cornerTop);
    const int cornerHeight = Height(cornerTop);
    const int left = centreX - width / 2;
    const int rightCornerX = left + width - cornerWidth;
    g->SetColor(RgbAlpha(rgb, highlighted ? 255 : 220));
    g->SetImageTinting(true);
    g->DrawImage(cornerTop, left, top);
    g->DrawImageMirrored(cornerTop, rightCornerX, top, true);
    g->DrawImage(cornerBottom, left, top + height - Height(cornerBottom));
    g->DrawImageMirrored(cornerBottom, rightCornerX, top + height - Height(cornerBottom), true);
    if (highlighted)
    {
        Image* tail = Img(*this, IMAGE_SPEECH_TAIL);
        g->DrawImage(tail, centreX + width / 2 - cornerWidth - Width(tail), top + height);
    }
    g->FillRect(left + cornerWidth, top, width - 2 * cornerWidth, height);
    if (height > BoardLayout::kMenuBarHeight)
    {
        g->FillRect(left, top + cornerHeight, cornerWidth, height - 2 * cornerHeight);
        g->FillRect(rightCornerX, top + cornerHeight, cornerWidth, height - 2 * cornerHeight);
    }
    if (highlighted || prompt)
    {
        Image* push = Img(*this, IMAGE_PUSH_FIRE);
        const int cels = push != nullptr ? push->mCelColumns * push->mCelRows : 0;
        if (cels > 0)
        {
            g->SetColor(RgbAlpha(0xFFFFFF, blinkAlpha));
            g->DrawImageCelIndex(push, centreX + width / 2 - cornerWidth / 2 - push->GetCelWidth(),
                                 top + height - cornerHeight / 2 - push->GetCelHeight(), twentiethTick % cels);
        }
    }
}

void Board::drawTextPanel(Graphics* g, int textId, bool centred, int justification, int offset)
{
    StateGuard guard(g);
    g->SetFont(app->gameFont);
    const Image* corner = Img(*this, IMAGE_MENU_CORNER_TL);
    const int cornerWidth = Width(corner);
    const int cornerHeight = Height(corner);
    // The rules measure the panel when its text changes; a panel drawn before
    // that is measured here without keeping the value.
    const int textHeight = textPanelHeight >= 1 ? textPanelHeight : measureTextPanel(textId);
    const int top = (centred ? 384 - textHeight / 2 - cornerHeight : cornerHeight) + offset;
    const bool highlighted = !(centred || textId == TEXT_ABOUT_TEXT || state == STATE_STATS);
    drawMenuBar(g, 512, top, BoardLayout::MenuBarWidth(menuSlide, wobbleAngle, BoardLayout::kTextPanelFullWidth),
                textHeight + 2 * cornerHeight, centred ? kBarColour : kHeadingColour, highlighted, true);
    if (menuSlide >= 100)
    {
        const std::string text = getText(textId);
        const int wrapWidth = BoardLayout::TextPanelWrapWidth(cornerWidth);
        g->SetColor(RgbAlpha(0x000000, menuTextAlpha));
        Widget::DrawWrappedText(g, Rect(cornerWidth + 114, top + 21, wrapWidth, 400), text, -1, justification);
        g->SetColor(RgbAlpha(0xFFFFFF, menuTextAlpha));
        Widget::DrawWrappedText(g, Rect(cornerWidth + 112, top + 19, wrapWidth, 400), text, -1, justification);
    }
    if (textHeight > mHeight)
    {
        // Only a text taller than the Board (the about text) scrolls.
        const int columnX = 2 * cornerWidth + 912;
        g->SetColor(RgbAlpha(0x000000, 200));
        g->FillRect(columnX, scrollBarTop, 8, scrollBarLength);
        Image* knob = Img(*this, IMAGE_MUSIC_SLIDER);
        g->DrawImage(knob, columnX + 4 - Width(knob) / 2,
                     scrollBarTop + scrollPercent * scrollBarLength / 100 - Height(knob) / 2);
    }
}

void Board::drawStats(Graphics* g)
{
    StateGuard guard(g);
    const Image* corner = Img(*this, IMAGE_MENU_CORNER_TL);
    const int cornerWidth = Width(corner);
    const int cornerHeight = Height(corner);
    const int headingWidth = BoardLayout::MenuBarWidth(menuSlide, wobbleAngle, BoardLayout::kMenuBarFullWidth);
    const int panelWidth = BoardLayout::MenuBarWidth(menuSlide, wobbleAngle, BoardLayout::kTextPanelFullWidth);
    const int panelHeight = statBarLength(7) + 2 * cornerHeight;
    const int panelTop = 432 - panelHeight / 2;
    const int headingTop = panelTop / 2 - 24;

    DrawHeadingCaps(*this, g, 512, headingTop, headingWidth);
    drawMenuBar(g, 512, headingTop, headingWidth, BoardLayout::kMenuBarHeight, kHeadingColour, false, false);
    drawShadowText(g, getText(TEXT_YOUR_STATS), 512, headingTop + 38, 1, 0xFFFFFF, menuTextAlpha);
    drawMenuBarReflection(g, 512 - (headingWidth >> 1), headingTop, headingWidth,
                          Height(Img(*this, IMAGE_MENU_BAR_REFLECTION)));

    drawMenuBar(g, 512, panelTop, panelWidth, panelHeight, kBarColour, false, true);
    for (int i = 0; i < STAT_COUNT; ++i)
    {
        const int y = panelTop + 56 * i + 38;
        drawShadowText(g, getText(TEXT_STAT_LABEL + i), 512 - panelWidth / 2 + cornerWidth, y, 0, 0xFFFFFF,
                       menuTextAlpha);
        drawShadowText(g, std::to_string(stats[static_cast<size_t>(i)][1]), 512 + panelWidth / 2 - cornerWidth, y, 2,
                       0xC0FFFF, menuTextAlpha);
    }
}

} // namespace Lumo

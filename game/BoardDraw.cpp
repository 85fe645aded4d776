// The Board's frame: the background, what the current screen shows, then the
// white fade overlay; and the drawing primitives every screen uses (sprites,
// shadowed text, the bar reflection, the character strips).
//
// Drawing never writes a field the rules read: the menu hover, the text panel
// heights and the highest colour come from the rules (BoardLayout), so a
// skipped frame never changes the game. Every routine gives back the Graphics
// settings it changed (draw mode, tinting, quick stretch, clip);
// drawShadowText leaves its colour set.
#include "game/Board.h"

#include "fonts/Font.h"
#include "game/BoardDrawSupport.h"
#include "game/BoardLayout.h"
#include "game/FixedTrig.h"

#include <algorithm>

namespace Lumo {

using namespace BoardDraw;

namespace {

// The splash: white, with the developer logo growing upwards from its bottom
// edge. Left open how fast it rises: we let it rise over the first 25 ticks
// of the splash, while the opening fade from white runs, and keep it whole
// for the rest. Frame-rate independent: it follows the Board's tick.
void DrawSplash(Board& board, Graphics* g)
{
    StateGuard guard(g);
    board.splashReveal = std::clamp(board.mUpdateCnt * 4, 0, 100);
    g->SetColor(Color::White);
    g->FillRect(0, 0, board.mWidth, board.mHeight);
    Image* logo = Img(board, IMAGE_DEVELOPER);
    const int width = Width(logo);
    const int fullHeight = Height(logo);
    const int height = fullHeight * board.splashReveal / 100;
    if (width <= 0 || height <= 0)
        return; // nothing revealed yet: no zero-size stretch
    g->SetQuickStretch(true);
    const int bottom = 384 + fullHeight / 2;
    g->DrawImageStretched(logo, 512 - width / 2, bottom - height, width, height);
}

// The title screen: the title, the menu and, in the mode choice, the
// character of the hovered mode with its scrolling description.
void DrawMenuScreen(Board& board, Graphics* g)
{
    const int w = board.mWidth;
    const int h = board.mHeight;
    board.drawTitle(g);
    board.drawMenu(g);
    if (board.currentMenu == MENU_MODE_CHOICE)
    {
        board.drawSidePanel(g, w - (w - 609) / 2, h - 96);
        board.drawMenuBar(g, 512, h - 72, w * 3 / 2, 48, 0x445599, false, false);
        if (board.hoverItem != -1)
            board.drawShadowText(g, board.getText(board.hoverItem + TEXT_MODE_DESCRIPTION), board.tickerX, h - 34, 0,
                                 0xFFFFFF, board.fadeInAlpha);
    }
    board.drawCursor(g, true, board.mouseX, board.mouseY);
}

} // namespace

void Board::Draw(Graphics* g)
{
    StateGuard guard(g);
    drawBackground(g);
    switch (state)
    {
    case STATE_SPLASH:
        DrawSplash(*this, g);
        break;
    case STATE_MENUS:
        DrawMenuScreen(*this, g);
        break;
    case STATE_PLAYING:
    case STATE_PAUSED:
        drawScorePanel(g);
        drawPlayField(g);
        drawExplosions(g);
        drawSidePanel(g, mWidth - 139, 752);
        drawCombo(g);
        drawHud(g);
        drawPlayOverlay(g);
        break;
    case STATE_STORY_ENDING:
        drawSidePanel(g, mWidth - 139, 752);
        drawTextPanel(g, TEXT_STORY_ENDING, false, -1, 0);
        drawCursor(g, true, mouseX, mouseY);
        drawExplosions(g);
        break;
    case STATE_STATS:
        drawStats(g);
        drawCursor(g, true, mouseX, mouseY);
        break;
    case STATE_ABOUT:
        drawTextPanel(g, TEXT_ABOUT_TEXT, false, 0, aboutScroll);
        drawCursor(g, true, mouseX, mouseY);
        break;
    default:
        break;
    }
    g->SetColor(Color::White);
    g->SetFont(app->gameFont);
    if (inTransition)
    {
        g->SetColor(RgbAlpha(0xFFFFFF, fadeAlpha));
        g->FillRect(0, 0, mWidth, mHeight);
    }
}

void Board::drawPlayOverlay(Graphics* g)
{
    (void)g; // nothing is drawn over the finished frame
}

void Board::resetDrawModes(Graphics* g)
{
    g->SetQuickStretch(false);
    g->SetImageTinting(false);
}

void Board::drawSprite(Graphics* g, Image* image, int x, int y, int alpha, int additive, int percent, int centred,
                       int rotated, int pulsing)
{
    if (alpha == 0 || image == nullptr)
        return;
    // Everything changed here is given back at the end (the pulse's quick
    // stretch included), so callers need no reset.
    StateGuard guard(g);
    const Color oldColour = g->GetColor();
    int w = image->GetWidth();
    int h = image->GetHeight();
    if (additive > 0)
        g->SetDrawMode(DRAWMODE_ADDITIVE);
    if (pulsing > 0)
    {
        g->SetQuickStretch(true);
        computeSinCos(pulseAngle);
        const int breathe = (sinValue * 16) >> 10;
        w += breathe;
        h += breathe;
    }
    if (centred > 0 && percent >= 100)
    {
        x -= w >> 1;
        y -= h >> 1;
    }
    const bool tinted = alpha > 0 && alpha != 255;
    if (tinted)
    {
        g->SetColor(RgbAlpha(0xFFFFFF, alpha));
        g->SetImageTinting(true);
    }
    if (rotated > 0)
    {
        g->DrawImageRotated(image, x, y, swingAngle);
    }
    else
    {
        if (percent != 100)
        {
            g->SetQuickStretch(true);
            w = image->GetWidth() * percent / 100;
            x -= w / 2;
            h = image->GetHeight() * percent / 100;
            y -= h / 2;
        }
        // A zero or negative size (the smart-bomb circle at charge 0) draws
        // nothing.
        if (w > 0 && h > 0)
            g->DrawImageStretched(image, x, y, w, h);
    }
    if (tinted)
        g->SetColor(oldColour);
}

void Board::drawShadowText(Graphics* g, const std::string& text, int x, int y, int alignment, int rgb, int alpha)
{
    if (text.empty())
        return;
    Font* font = app->gameFont;
    g->SetFont(font);
    const int width = BoardLayout::TextWidth(font, text);
    if (alignment == 1 || alignment == 3)
        x -= width / 2;
    else if (alignment == 2)
        x -= width;
    g->SetColor(RgbAlpha(0x000000, alpha));
    g->DrawString(text, x + 2, y + 2);
    g->SetColor(RgbAlpha(rgb, alpha)); // stays set for the caller
    g->DrawString(text, x, y);
}

void Board::drawMenuBarReflection(Graphics* g, int x, int y, int width, int height)
{
    StateGuard guard(g);
    g->SetQuickStretch(true);
    if (width > 0 && height > 0)
        g->DrawImageStretched(Img(*this, IMAGE_MENU_BAR_REFLECTION), x, y, width, height);
}

void Board::drawCharacter(Graphics* g, Image* image, int x, int y)
{
    if (image == nullptr || image->mCelColumns <= 0)
        return;
    StateGuard guard(g);
    const Color oldColour = g->GetColor();
    if (fadeInAlpha < 255)
    {
        g->SetColor(RgbAlpha(0xFFFFFF, fadeInAlpha));
        g->SetImageTinting(true);
    }
    const int celWidth = image->GetCelWidth();
    const int height = image->GetHeight();
    g->SetQuickStretch(true);
    g->SetClipRect(x - celWidth, 0, 2 * celWidth, mHeight);
    // The current frame of the strip, doubled. Stretching only that cel puts
    // exactly the pixels the doubled whole strip would show through the clip,
    // without visiting the rest of the strip.
    const int frame = moodFrame % image->mCelColumns;
    g->DrawImagePartStretched(image, Rect(x - celWidth, y - 2 * height, 2 * celWidth, 2 * height),
                              Rect(frame * celWidth, 0, celWidth, height));
    g->SetColor(oldColour);
}

} // namespace Lumo

// The Board's drawing. The frame composition and every draw routine come with
// the game's assets; until then the Board draws nothing. Drawing never writes
// a field the rules read.
#include "game/Board.h"

namespace Lumo {

void Board::Draw(Graphics* g)
{
    (void)g;
}

void Board::drawBackground(Graphics* g) { (void)g; }
void Board::drawPlayField(Graphics* g) { (void)g; }
void Board::drawSidePanel(Graphics* g, int x, int y) { (void)g; (void)x; (void)y; }
void Board::drawHud(Graphics* g) { (void)g; }
void Board::drawCursor(Graphics* g, bool menuCursor, int x, int y) { (void)g; (void)menuCursor; (void)x; (void)y; }
void Board::drawPlayOverlay(Graphics* g) { (void)g; }
void Board::drawExplosions(Graphics* g) { (void)g; }
void Board::resetDrawModes(Graphics* g) { (void)g; }
void Board::drawCombo(Graphics* g) { (void)g; }
void Board::drawScorePanel(Graphics* g) { (void)g; }
void Board::drawTitle(Graphics* g) { (void)g; }
void Board::drawMenu(Graphics* g) { (void)g; }
void Board::drawSmartBomb(Graphics* g) { (void)g; }
void Board::drawStats(Graphics* g) { (void)g; }

void Board::drawSprite(Graphics* g, Image* image, int x, int y, int alpha, int additive, int percent, int centred,
                       int rotated, int pulsing)
{
    (void)g, (void)image, (void)x, (void)y, (void)alpha, (void)additive, (void)percent, (void)centred,
        (void)rotated, (void)pulsing;
}

void Board::drawMenuBar(Graphics* g, int centreX, int top, int width, int height, int rgb, bool highlighted,
                        bool prompt)
{
    (void)g, (void)centreX, (void)top, (void)width, (void)height, (void)rgb, (void)highlighted, (void)prompt;
}

void Board::drawShadowText(Graphics* g, const std::string& text, int x, int y, int alignment, int rgb, int alpha)
{
    (void)g, (void)text, (void)x, (void)y, (void)alignment, (void)rgb, (void)alpha;
}

void Board::drawTextPanel(Graphics* g, int textId, bool centred, int justification, int offset)
{
    (void)g, (void)textId, (void)centred, (void)justification, (void)offset;
}

void Board::drawMenuBarReflection(Graphics* g, int x, int y, int width, int height)
{
    (void)g, (void)x, (void)y, (void)width, (void)height;
}

void Board::drawCharacter(Graphics* g, Image* image, int x, int y)
{
    (void)g, (void)image, (void)x, (void)y;
}

} // namespace Lumo

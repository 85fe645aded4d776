// The scenery behind every screen (sky, ground, drifting clouds, the beach)
// and the title with its bouncing letters.
#include "game/Board.h"

#include "game/BoardDrawSupport.h"

#include <array>

namespace Lumo {

using namespace BoardDraw;

void Board::drawBackground(Graphics* g)
{
    StateGuard guard(g);
    // eveningFlag set: the day scenery (the option then offers "Evening").
    const bool day = eveningFlag;
    const int w = mWidth;
    const int h = mHeight;
    g->SetColor(day ? Color(33, 142, 255) : Color(111, 101, 194));
    g->FillRect(0, 0, w, h / 2);
    g->SetColor(day ? Color(252, 238, 167) : Color(125, 107, 157));
    g->FillRect(0, h / 2, w, h / 2);

    // The day images' sizes serve both variants.
    const Image* cloudDay = Img(*this, IMAGE_CLOUD_DAY);
    Image* cloud = Img(*this, day ? IMAGE_CLOUD_DAY : IMAGE_CLOUD_NIGHT);
    const int cloudWidth = Width(cloudDay);
    if (cloudWidth > 0)
    {
        // The remainder keeps the sign of cloudScroll (0 or negative): the
        // row drifts left one pixel every third tick.
        const int shift = cloudScroll % cloudWidth;
        for (int i = 0; i <= w / cloudWidth + 1; ++i)
            g->DrawImage(cloud, cloudWidth * i + shift, 384 - Height(cloudDay));
    }
    Image* tile = Img(*this, day ? IMAGE_BEACH_DAY_TILE : IMAGE_BEACH_NIGHT_TILE);
    const int tileWidth = Width(Img(*this, IMAGE_BEACH_DAY_TILE));
    if (tileWidth > 0)
        for (int i = 0; i <= w / tileWidth; ++i)
            g->DrawImage(tile, tileWidth * i, 384);
    g->DrawImage(Img(*this, day ? IMAGE_BEACH_DAY_RIGHT : IMAGE_BEACH_NIGHT_RIGHT),
                 w - Width(Img(*this, IMAGE_BEACH_DAY_RIGHT)), 384);
}

void Board::drawTitle(Graphics* g)
{
    static constexpr std::array<int, kTitleLetters> kLetterX = {-185, -138, -71, -40, 23, 52, 115};
    StateGuard guard(g);
    drawSprite(g, Img(*this, IMAGE_SPLASH_CLOUD), 512, 120, 255, 0, 100, 1, 0, 1);
    Image* letters = Img(*this, IMAGE_LOGO_LETTERS);
    const int letterWidth = Width(letters) / kTitleLetters;
    const int letterHeight = Height(letters);
    if (letterWidth <= 0 || letterHeight <= 0)
        return;
    for (int i = 0; i < kTitleLetters; ++i)
    {
        // Drawn at its own size, so the stretch of the letter is a plain copy.
        g->DrawImagePart(letters, 512 + kLetterX[static_cast<size_t>(i)],
                         letterOffset[static_cast<size_t>(i)] - letterHeight / 2 + 120,
                         Rect(letterWidth * i, 0, letterWidth, letterHeight));
    }
}

} // namespace Lumo

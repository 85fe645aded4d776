// The play field and what plays over it: the blobs, the border, the toaster,
// the cancel feedback and the flying toast; explosions, particles, the smart
// bomb and the combo number.
#include "game/Board.h"

#include "game/BoardDrawSupport.h"
#include "graphics/raster/TriangleDrawers.h"
#include "widgets/Widget.h"

#include <array>

namespace Lumo {

using namespace BoardDraw;

namespace {

constexpr int kFieldX = 316;
constexpr int kFieldY = 54;
constexpr int kFieldWidth = 392;
constexpr int kFieldHeight = 660;
constexpr int kCellWidth = 56;
constexpr int kCellHeight = 60;
constexpr int kTileTypes = 10;

// The smart bomb's scream cel for each ray index 0..21.
constexpr std::array<int, 22> kScreamCels = {0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 2, 3, 4, 5, 6, 7, 6, 7, 6, 7, 6, 7};

// One blob: its tile cel, or its highlight while a chain blinks.
void DrawBlob(Board& board, Graphics* g, int index, int x, int y)
{
    const int type = board.grid[static_cast<size_t>(index)];
    const bool isSelected = board.selected[static_cast<size_t>(index)] != 0;
    if (type < 0 || type >= kTileTypes)
        return;
    const bool smartBomb = type == BLOB_SMART_BOMB;
    if (smartBomb)
    {
        g->SetColor(RgbAlpha(BlobColour(board.smartBombColour), 255));
        g->SetImageTinting(true);
    }
    if (board.chainActive && board.cursorFrame < 10 && isSelected)
    {
        Image* highlight = Img(board, IMAGE_TILE_HIGHLIGHT);
        if (HasCel(highlight, type))
            g->DrawImageCelIndex(highlight, x, y, type);
    }
    else
    {
        Image* tiles = Img(board, IMAGE_TILES);
        const int frame = isSelected ? 0 : board.cellFrame[static_cast<size_t>(index)] / 2;
        if (tiles != nullptr && frame >= 0 && frame < tiles->mCelRows)
        {
            const int celWidth = tiles->GetCelWidth();
            const int celHeight = tiles->GetCelHeight();
            const Rect source(type * celWidth, frame * celHeight, celWidth, celHeight);
            if (celWidth == kCellWidth && celHeight == kCellHeight)
                g->DrawImagePart(tiles, x, y, source); // the stretch is 1:1
            else
                g->DrawImagePartStretched(tiles, Rect(x, y, kCellWidth, kCellHeight), source);
        }
    }
    if (smartBomb)
        g->SetImageTinting(false);
}

} // namespace

void Board::drawPlayField(Graphics* g)
{
    StateGuard guard(g);
    g->SetClipRect(kFieldX, kFieldY, kFieldWidth, kFieldHeight);
    g->SetColor(Color::Black);
    g->FillRect(kFieldX, kFieldY, kFieldWidth, kFieldHeight);
    // Paused outside the tutorial the blobs are hidden. The highest colour is
    // the rules' own (computed where the smart bomb reads it), not written here.
    if (state != STATE_PAUSED || tutorial)
    {
        for (int column = 0; column < kColumns; ++column)
        {
            for (int row = 0; row < kRows; ++row)
            {
                const int index = cellIndex(column, row);
                if (grid[static_cast<size_t>(index)] == BLOB_EMPTY)
                    continue;
                int x = columnToX(column, false);
                int y = rowToY(row, false);
                if (!isGameOver && movesFound < 4 && column == sparkleCol && row == sparkleRow)
                {
                    x += shakeX; // with few moves left one random cell trembles
                    y += shakeY;
                }
                if (fallPending && falling[static_cast<size_t>(index)] != 0)
                    y += fallOffset[static_cast<size_t>(index)];
                if (y + kCellHeight > kFieldY)
                    DrawBlob(*this, g, index, x, y);
            }
        }
        if (isGameOver && gameOverTimer > 0)
        {
            // A flash cell holding no colour or wildcard (type -1 or above 5)
            // has no highlight cel: nothing is drawn for it.
            Image* highlight = Img(*this, IMAGE_TILE_HIGHLIGHT);
            const int type = cellType(flashCol, flashRow);
            if (HasCel(highlight, type))
                g->DrawImageCelIndex(highlight, columnToX(flashCol, false), rowToY(flashRow, false), type);
        }
    }
    g->SetClipRect(0, 0, mWidth, mHeight);

    Image* top = Img(*this, IMAGE_BORDER_TOP);
    Image* side = Img(*this, IMAGE_BORDER_LEFT);
    g->DrawImage(top, 512 - Width(top) / 2, kFieldY - Height(top));
    g->DrawImage(side, kFieldX - Width(side), kFieldY);
    g->DrawImageMirrored(side, kFieldX + kFieldWidth, kFieldY, true);
    // The bottom border is the top one upside down, through the software
    // rasteriser (its table is filled before every use, as it is cheap).
    InitTriangleDrawers();
    Matrix3 flip;
    flip.m[1][1] = -1.0f;
    g->DrawImageTransformed(top, flip, 512.0f, kFieldY + kFieldHeight + Height(top) / 2.0f);

    if (mode == MODE_TOAST)
    {
        Image* toaster = Img(*this, IMAGE_BOARD_TOASTER);
        g->DrawImage(toaster, kFieldX, kFieldY + kFieldHeight - Height(toaster));
    }
    if (cancelAlpha > 0)
    {
        // The exclamation shows the cancelled chain's colour; a chain with no
        // colour yet (-2) or none at all (-3) shows the bubble alone.
        Image* speech = Img(*this, IMAGE_BLOB_SPEECH);
        Image* mark = Img(*this, IMAGE_BLOB_EXCLAMATION);
        g->SetColor(RgbAlpha(0xFFFFFF, cancelAlpha));
        g->SetImageTinting(true);
        g->DrawImage(speech, cancelX - Width(speech) / 2 + shakeX, cancelY - Height(speech) + shakeY);
        if (HasCel(mark, cancelColour))
            g->DrawImageCelIndex(mark, cancelX - mark->GetCelWidth() / 2 + shakeX,
                                 cancelY - Height(speech) / 2 + shakeY - Height(mark) / 2, cancelColour);
        g->SetImageTinting(false);
    }
    if (toastFlying)
    {
        Image* toast = Img(*this, IMAGE_TOAST_ANIM);
        if (toast != nullptr && toast->mCelColumns > 0)
            g->DrawImageCelIndex(toast, toastX - toast->GetCelWidth() / 2, toastY, toastFrame % toast->mCelColumns);
    }
}

void Board::drawExplosions(Graphics* g)
{
    StateGuard guard(g);
    if (explosionsRunning)
    {
        Image* bomb = Img(*this, IMAGE_BOMB_EXPLOSION);
        Image* skull = Img(*this, IMAGE_SKULL_DEATH);
        for (int i = 0; i < explosionCount && i < kMaxExplosions; ++i)
        {
            const int type = explosionType[static_cast<size_t>(i)];
            // Bomb frames past the strip's last cel (the bomb strip is shorter
            // than the skull one that times the animation) draw nothing.
            Image* image = type == BLOB_BOMB ? bomb : type == BLOB_SKULL ? skull : nullptr;
            const int cel = type == BLOB_BOMB ? explosionFrame2 : explosionFrame;
            if (!HasCel(image, cel))
                continue;
            g->DrawImageCelIndex(image, explosionX[static_cast<size_t>(i)] - image->GetCelWidth() / 2,
                                 explosionY[static_cast<size_t>(i)] - image->GetCelHeight() / 2, cel);
        }
    }
    if (smartBombRunning)
        drawSmartBomb(g);

    Image* dot = Img(*this, IMAGE_BLOB_PARTICLE);
    Image* stars = Img(*this, IMAGE_INTRO_STARS);
    const int starCel = stars != nullptr && stars->mCelRows > 0 ? slowTick % stars->mCelRows : 0;
    g->SetDrawMode(DRAWMODE_ADDITIVE);
    for (const Particle& p : particles)
    {
        const int x = p.x >> 16;
        const int y = p.y >> 16;
        if (y >= mHeight || p.type < 0)
            continue;
        if (p.type < BLOB_WILDCARD)
        {
            g->SetColor(RgbAlpha(BlobColour(p.type), 255));
            g->SetImageTinting(true);
            g->DrawImage(dot, x, y);
        }
        else
        {
            g->SetImageTinting(false);
            if (HasCel(stars, starCel))
                g->DrawImageCelIndex(stars, x - Width(stars) / 2, y - stars->GetCelHeight() / 2, starCel);
        }
    }
}

void Board::drawSmartBomb(Graphics* g)
{
    StateGuard guard(g);
    const Color bombColour = RgbAlpha(BlobColour(smartBombColour), 255);
    g->SetClipRect(kFieldX, kFieldY, kFieldWidth, kFieldHeight);
    g->SetColor(bombColour);
    struct Pass
    {
        int centreX, centreY, apexX, apexY;
    };
    // The first pass in the bomb's colour, the second in white 8 pixels up
    // and left of it.
    static constexpr Pass kPasses[2] = {{520, 392, 522, 392}, {512, 384, 512, 384}};
    for (const Pass& pass : kPasses)
    {
        if (smartBombCharge >= 100)
        {
            for (int ray = 0; ray < 360; ray += 45)
            {
                Point points[3];
                points[0] = Point(pass.apexX, pass.apexY);
                const int angles[2] = {ray - smartBombRayCount + smartBombAngle, ray + smartBombRayCount + smartBombAngle};
                for (int k = 0; k < 2; ++k)
                {
                    computeSinCos(angles[k]);
                    points[k + 1] = Point(pass.centreX - ((sinValue * mWidth) >> 10),
                                          pass.centreY + ((cosValue * mWidth) >> 10));
                }
                g->FillPolygon(points, 3, true);
            }
        }
        g->SetImageTinting(true);
        drawSprite(g, Img(*this, IMAGE_SMARTBOMB_CIRCLE), pass.centreX, pass.centreY, -1, 0, smartBombCharge, 1, 0, 0);
        g->SetColor(Color::White);
    }
    if (smartBombCharge >= 100)
    {
        Image* scream = Img(*this, IMAGE_SMARTBOMB_SCREAM);
        const int index = smartBombRayIndex >= 0 && smartBombRayIndex < static_cast<int>(kScreamCels.size())
                              ? kScreamCels[static_cast<size_t>(smartBombRayIndex)]
                              : -1;
        g->SetColor(bombColour);
        if (HasCel(scream, index))
            g->DrawImageCelIndex(scream, 512 - scream->GetCelWidth() / 2, 384 - scream->GetHeight() / 2, index);
    }
}

void Board::drawCombo(Graphics* g)
{
    if (!comboPopupActive)
        return;
    StateGuard guard(g);
    Image* digits = Img(*this, IMAGE_COMBO_NUMBERS);
    Image* label = Img(*this, IMAGE_TEXT_COMBO);
    g->SetColor(RgbAlpha(0xFFFFFF, comboPopupAlpha));
    g->SetImageTinting(true);
    const int y = mode == MODE_STORY ? 335 : 430;
    const int x0 = 139 - comboPopupX;
    g->DrawImage(label, x0 - Width(label) / 2, y + Height(digits));
    const int digitWidth = Width(digits) / 10;
    if (digits == nullptr || digitWidth <= 0 || comboPopupValue <= 0)
        return;
    const int count = Widget::CountDigits(comboPopupValue);
    int x = x0 + (count * digitWidth) / 2 - digitWidth;
    for (int value = comboPopupValue; value > 0; value /= 10)
    {
        g->DrawImageCelIndex(digits, x, y, value % 10);
        x -= digitWidth;
    }
}

} // namespace Lumo

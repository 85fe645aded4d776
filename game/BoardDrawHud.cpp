// The play screen around the field: the score and statistics panels, the
// character's side panel (with the goldfish's water cooler and the gorilla's
// toaster), the HUD (Story glass, banners, popups, pause, introduction and
// tutorial) and the cursors.
#include "game/Board.h"

#include "fonts/Font.h"
#include "game/BoardDrawSupport.h"

#include <algorithm>
#include <string>

namespace Lumo {

using namespace BoardDraw;

namespace {

// The tutorial page about combos, whose arrow points at the bonus timer bar.
constexpr int kComboTutorialPage = 6;

// Baseline of score panel row n.
int PanelRowY(int row)
{
    return Board::buttonCentreX(row) + 38;
}

bool MouseOverField(const Board& board)
{
    return board.mouseX >= 316 && board.mouseX <= 707 && board.mouseY >= 54 && board.mouseY <= 713;
}

// The tutorial waits for the player's click: its script stands on a segment
// end. (The countdown alone also reaches 0 for one tick between two script
// steps, which would flash the page text and the arrow in mid-segment.)
bool TutorialWaiting(const Board& board)
{
    const auto& script = Board::tutorialScript();
    const bool atEnd = board.scriptPos >= 0 && board.scriptPos < Board::kScriptLength &&
                       script[static_cast<size_t>(board.scriptPos)] == -1;
    return board.scriptCountdown <= 0 && atEnd;
}

// The Story glass: the umbrella and orange behind it, then the glass twice,
// its lower part tinted with the drink up to the fill level.
void DrawCocktail(Board& board, Graphics* g)
{
    Image* glass = Img(board, IMAGE_COCKTAIL);
    const int width = Width(glass);
    const int height = Height(glass);
    const int left = 139;
    const int top = 752 - height;
    Image* umbrella = Img(board, IMAGE_UMBRELLA);
    Image* orange = Img(board, IMAGE_ORANGE);
    g->DrawImage(umbrella, left - Width(umbrella) / 2, top - Height(umbrella) / 2);
    g->DrawImage(orange, left + width - Width(orange) / 2, top - Height(orange) / 2);
    const int capacity = board.chapter * 48 + 128;
    const int fill = capacity > 0 ? std::clamp((height * 1000 / capacity) * board.glassFill / 1000, 0, height) : 0;
    g->SetImageTinting(true);
    g->SetClipRect(left, 752 - fill, width, fill);
    g->SetColor(Color(167, 5, 165, 200));
    g->DrawImage(glass, left, top);
    g->SetClipRect(left, top, width, height - fill);
    g->SetColor(Color(255, 255, 255, 200));
    g->DrawImage(glass, left, top);
    g->SetClipRect(0, 0, board.mWidth, board.mHeight);
    g->SetImageTinting(false);
}

// The banners that drop in over the field. Left open where they go: READY
// zooms in at the centre with the intro's zoom and fades as the intro goes
// on; GO then drops from above on the banner's y and fades with the second
// banner alpha; GAME OVER, TOAST! and LEVEL UP drop on the banner's y.
void DrawBanners(Board& board, Graphics* g)
{
    if (board.introRunning)
    {
        board.drawSprite(g, Img(board, IMAGE_TEXT_READY), 512, 384, board.bannerAlpha, 0, board.introZoom, 1, 0, 0);
        if (board.introZoom >= 100)
            board.drawSprite(g, Img(board, IMAGE_TEXT_GO), 512, board.bannerY, board.bannerAlpha2, 0, 100, 1, 0, 0);
    }
    if (board.popupAlpha > 0)
        board.drawShadowText(g, std::to_string(board.chainScore), board.popupX, board.popupY, 1, 0xFFFFFF,
                             board.popupAlpha);
    if (board.isGameOver && board.gameOverTimer <= 0)
        board.drawSprite(g, Img(board, IMAGE_TEXT_GAMEOVER), 512, board.bannerY, 255, 0, 100, 1, 0, 0);
    if (board.toastFlying)
        board.drawSprite(g, Img(board, IMAGE_TEXT_TOAST), 512, board.bannerY, board.toastBannerAlpha, 0, 100, 1, 0,
                         0);
}

// The introduction or tutorial page panel, when one shows.
void DrawIntroPanel(Board& board, Graphics* g)
{
    int textId = -1;
    if (board.tutorial)
    {
        if (TutorialWaiting(board) && board.tutorialPage >= 0 && board.tutorialPage < Board::kTutorialPages)
            textId = TEXT_TUTORIAL_PAGE + board.tutorialPage;
    }
    else if (board.introShowing)
    {
        textId = board.mode == MODE_STORY ? TEXT_STORY_INTRO + board.chapter : TEXT_MODE_INTRO + board.mode;
    }
    if (textId != -1)
        board.drawTextPanel(g, textId, false, -1, 0);
}

// Top of the bonus timer bar: its bottom lies on the score panel's bottom.
int BonusBarTop(const Board& board)
{
    return 16 + Height(Img(board, IMAGE_SCORE_BARS)) - Height(Img(board, IMAGE_BONUS_TIMER_FULL));
}

// The tutorial's arrow. Left open where it sits: it stands in the cell
// (column, 22 - row value) with its tip on that cell's bottom edge, pointing
// at the blob below it that the page talks about, and hops by a quarter of
// the bounce offset. The tables have 14 pages: on page 14 (the last fade)
// there is no arrow.
//
// The combo page points at the bonus timer bar instead, standing above it.
// It is drawn here, after the page's panel, and not with the score panel:
// the panel's tail lies right over that spot and would hide it. It hops by a
// quarter of the bounce offset too: the whole 105-pixel hop would carry it
// under the panel.
void DrawTutorialArrow(Board& board, Graphics* g)
{
    if (!TutorialWaiting(board))
        return;
    Image* arrow = Img(board, IMAGE_TUTORIAL_ARROW);
    if (board.tutorialPage == kComboTutorialPage)
    {
        g->DrawImage(arrow, board.mWidth - 139 - Width(arrow) / 2,
                     BonusBarTop(board) - Height(arrow) - board.bounceHeight / 4);
        return;
    }
    const int column = Board::tutorialArrowColumn(board.tutorialPage);
    const int rowValue = Board::tutorialArrowRowValue(board.tutorialPage);
    if (column < 0 || rowValue < 0)
        return;
    const int x = Board::columnToX(column, true);
    const int tipY = Board::rowToY(22 - rowValue, false) + 58 - board.bounceHeight / 4;
    g->DrawImage(arrow, x - Width(arrow) / 2, tipY - Height(arrow));
}

} // namespace

void Board::drawScorePanel(Graphics* g)
{
    StateGuard guard(g);
    Image* scoreBars = Img(*this, IMAGE_SCORE_BARS);
    Image* statBars = Img(*this, IMAGE_STAT_BARS);
    const int scoreX = mWidth - 139;
    g->SetColor(RgbAlpha(0xFFFFFF, hudAlpha));
    g->SetImageTinting(true);
    g->DrawImage(scoreBars, scoreX - Width(scoreBars) / 2, 16);
    g->DrawImage(statBars, 139 - Width(statBars) / 2, 16);
    const int scoreRight = scoreX + Width(scoreBars) / 2 - 16;
    drawShadowText(g, std::to_string(highScores[static_cast<size_t>(std::clamp(mode, 0, MODE_COUNT - 1))]), scoreRight,
                   PanelRowY(0), 2, 0xFFFF80, hudAlpha);
    drawShadowText(g, std::to_string(totalScore), scoreRight, PanelRowY(1), 2, 0xC0FFFF, hudAlpha);
    const int statLeft = 139 - Width(statBars) / 2 + 16;
    const int shown[3] = {STAT_CHAINS_MADE, STAT_LONGEST_CHAIN, STAT_BIGGEST_COMBO};
    for (int row = 0; row < 3; ++row)
        drawShadowText(g, std::to_string(stats[static_cast<size_t>(shown[row])][0]), statLeft, PanelRowY(row), 0,
                       0xFFFFFF, hudAlpha);

    Image* timerBar = Img(*this, IMAGE_BONUS_TIMER_FULL);
    const int barTop = BonusBarTop(*this);
    // No bar without a start value to divide by.
    if (comboTimer > 0 && comboTimerStart > 0 && timerBar != nullptr)
    {
        const int barWidth = std::clamp((Width(timerBar) * 1000 / comboTimerStart) * comboTimer / 1000, 0,
                                        Width(timerBar));
        g->SetColor(RgbAlpha(0xFFFFFF, hudAlpha));
        g->DrawImagePart(timerBar, scoreX - Width(timerBar) / 2, barTop, Rect(0, 0, barWidth, Height(timerBar)));
    }
    g->SetImageTinting(false);
    // The combo page's arrow above the bar is drawn with the HUD, over the
    // page's panel (DrawTutorialArrow).
    if (!isGameOver)
        drawSprite(g, Img(*this, IMAGE_BUTTON_PAUSE), 139, 294, pauseHover ? 255 : 128, 0, 100, 1, 0, 0);
}

void Board::drawSidePanel(Graphics* g, int x, int y)
{
    if (character < CHARACTER_BADGER || character > CHARACTER_WITCH || mood < MOOD_IDLE || mood > MOOD_GAMEOVER)
        return; // no character (-1), or 5 from hovering "Back"
    StateGuard guard(g);
    Image* strip = Img(*this, character * 6 + mood);
    switch (character)
    {
    case CHARACTER_GOLDFISH:
    {
        Image* cooler = Img(*this, IMAGE_WATER_COOLER);
        const int coolerWidth = Width(cooler);
        const int coolerHeight = Height(cooler);
        // Story mode keeps the tank half full on every screen; otherwise the
        // Panic water shows in play, and a full tank elsewhere.
        const bool inPlay = state == STATE_PLAYING || state == STATE_PAUSED;
        const int level = std::clamp(mode == MODE_STORY ? 150 : inPlay ? glassFill : 300, 0, 300);
        const int waterHeight = std::max(0, (coolerHeight - 30) * level / 300);
        const int surface = y - 6 - waterHeight;
        const int fishHeight = 2 * Height(strip);
        drawCharacter(g, strip, x, waterHeight < fishHeight ? y : surface + fishHeight);
        g->SetColor(RgbAlpha(0x2892FF, fadeInAlpha / 2));
        g->SetImageTinting(true);
        const int waterLeft = x - coolerWidth / 2 + 6;
        g->FillRect(waterLeft, surface, coolerWidth - 12, waterHeight);
        Image* waves = Img(*this, IMAGE_WATER_ANIM);
        const int waveWidth = waves != nullptr ? waves->GetCelWidth() : 0;
        if (waveWidth > 0 && waves->mCelRows > 0)
        {
            const int frame = panelTick % waves->mCelRows;
            for (int i = 0; (i + 1) * waveWidth <= coolerWidth - 12; ++i)
                g->DrawImageCelIndex(waves, waterLeft + i * waveWidth, surface - waves->GetCelHeight(), frame);
        }
        g->SetImageTinting(false);
        g->DrawImage(cooler, x - coolerWidth / 2, y - coolerHeight);
        g->SetColor(eveningFlag ? Color(252, 238, 167) : Color(125, 107, 157));
        g->SetImageTinting(true);
        g->DrawImage(Img(*this, IMAGE_WATERCOOLER_MASK), x - coolerWidth / 2, y - coolerHeight);
        break;
    }
    case CHARACTER_GORILLA:
    {
        Image* toaster = Img(*this, IMAGE_TOASTER);
        g->SetColor(RgbAlpha(0xFFFFFF, fadeInAlpha));
        g->SetImageTinting(true);
        g->DrawImage(toaster, x - Width(toaster) / 2, y - Height(toaster));
        g->SetImageTinting(false);
        if (mode != MODE_STORY)
            drawShadowText(g, std::to_string(toastMovesLeft), x, y - 46, 1, 0xFFFFFF, hudAlpha);
        drawCharacter(g, strip, x, y - Height(toaster) * 75 / 100 + (mood == MOOD_GAMEOVER ? 104 : 0));
        break;
    }
    default:
        drawCharacter(g, strip, x, y);
        break;
    }
}

void Board::drawHud(Graphics* g)
{
    StateGuard guard(g);
    const bool paused = state == STATE_PAUSED;
    if (energyBallMoving)
    {
        // Left open where the ball is drawn: centred on its position, its
        // three cels cycling every third tick.
        Image* ball = Img(*this, IMAGE_ENERGY_BALL);
        if (ball != nullptr && ball->mCelColumns > 0)
            g->DrawImageCelIndex(ball, energyBallX - ball->GetCelWidth() / 2, energyBallY - ball->GetCelHeight() / 2,
                                 energyBallTick % ball->mCelColumns);
    }
    if (mode == MODE_STORY && chapter < 5)
        DrawCocktail(*this, g);
    if (paused)
    {
        g->SetColor(Color(0, 0, 0, 100));
        g->FillRect(0, 0, mWidth, mHeight);
        drawSprite(g, Img(*this, IMAGE_TEXT_PAUSE), 512, 192, 255, 0, 100, 1, 0, 0);
        drawMenu(g);
    }
    else
    {
        DrawBanners(*this, g);
        DrawIntroPanel(*this, g);
    }
    if (isGameOver && gameOverTimer <= 0)
        drawMenu(g);
    const bool gameCursor = !tutorial && !introShowing && !isGameOver && !chapterComplete && MouseOverField(*this) &&
                            !paused;
    drawCursor(g, !gameCursor, mouseX, mouseY);
    if (tutorial)
    {
        if (!paused)
        {
            drawCursor(g, false, cursorX, cursorY);
            DrawTutorialArrow(*this, g);
        }
        drawSprite(g, Img(*this, IMAGE_TEXT_TUTORIAL), 139, 714, std::clamp(blinkAlpha, 0, 255), 0, 100, 1, 0, 0);
    }
    if (chapterComplete && !paused)
        drawSprite(g, Img(*this, IMAGE_TEXT_LEVEL_UP), 512, bannerY, 255, 0, 100, 1, 0, 0);
}

void Board::drawCursor(Graphics* g, bool menuCursor, int x, int y)
{
    StateGuard guard(g);
    if (menuCursor)
    {
        g->DrawImage(Img(*this, IMAGE_HAND), x, y);
        return;
    }
    Image* stars = Img(*this, IMAGE_INTRO_STARS);
    if (introBurst && state != STATE_PAUSED && stars != nullptr && stars->mCelRows > 0)
    {
        // Left open how the stars move: they fly out from the cursor with the
        // burst's radius, turning with the pulse angle, and fade with its
        // strength.
        g->SetColor(RgbAlpha(0xFFFFFF, introBurstStrength / 4));
        g->SetImageTinting(true);
        for (int k = 0; k < 4; ++k)
        {
            computeSinCos(pulseAngle * 2 + 90 * k);
            const int cx = x - introBurstRadius * sinValue / 1024;
            const int cy = y + introBurstRadius * cosValue / 1024;
            g->DrawImageCelIndex(stars, cx - stars->GetCelWidth() / 2, cy - stars->GetCelHeight() / 2,
                                 k % stars->mCelRows);
        }
        g->SetImageTinting(false);
    }
    Image* cursor = Img(*this, chainActive ? IMAGE_CURSOR_ON : IMAGE_CURSOR_OFF);
    if (cursor != nullptr && cursor->mCelRows > 0)
    {
        const int cel = cursorFrame % cursor->mCelRows;
        const int left = x - cursor->GetCelWidth() / 2;
        const int top = y - cursor->GetCelHeight() / 2;
        // A chain with no colour yet (wildcards only) cycles through the five.
        const int chainRgb = BlobColour(chainColour >= 0 ? chainColour : twentiethTick % 5);
        const int passes = comboTimer > 0 ? 4 : 2;
        for (int n = 0; n < passes; ++n)
        {
            if (chainActive)
                g->SetColor(RgbAlpha(chainRgb, 180));
            else
                g->SetColor(RgbAlpha(0xFFFFFF, 255 - 32 * n));
            g->SetImageTinting(chainActive || n > 0);
            g->DrawImageCelIndex(cursor, left, top, cel);
        }
        g->SetImageTinting(false);
    }
    if (!chainActive)
        return;
    const bool blinkOff = cursorTick % 5 == 0;
    if (mode == MODE_SKULL && (chainLength == 3 || chainLength >= 5))
    {
        Image* icon = Img(*this, chainLength == 3 ? IMAGE_SKULL_ICON : IMAGE_BOMB_ICON);
        if (!blinkOff)
            g->DrawImage(icon, x - Width(icon) / 2, y - Height(icon) / 2);
    }
    else if (mode != MODE_SKULL && !(blinkOff && chainLength >= 3))
    {
        const Font* font = app->gameFont;
        const int ascent = font != nullptr ? font->GetAscent() : 0;
        drawShadowText(g, std::to_string(chainLength), x, y + ascent / 2, 1, 0xFFFFFF, 255);
    }
}

} // namespace Lumo

// The Board's construction, cells, blob generation, statistics helpers and the
// application services the rules use.
#include "game/Board.h"

#include "app/Random.h"
#include "audio/MusicInterface.h"
#include "game/BoardLayout.h"
#include "game/GameApp.h"
#include "graphics/Image.h"

#include <algorithm>
#include <cassert>
#include <limits>

namespace Lumo {

Board::Board(GameApp* theApp) : app(theApp)
{
    assert(theApp != nullptr);
    grid.fill(BLOB_EMPTY);
    // Parked far below any widget height until the first game parks them.
    for (Particle& p : particles)
        p.y = 32767 * 65536;
    loadGameData();
    state = STATE_SPLASH;
    startTransition(-1, -1);
    mood = MOOD_IDLE;
    mode = MODE_STORY;
    moodFrame = 0;
}

Board::~Board() = default;

void Board::AttachedToManager(WidgetManager* manager)
{
    Widget::AttachedToManager(manager);
}

void Board::DetachedFromManager(WidgetManager* manager)
{
    Widget::DetachedFromManager(manager);
}

void Board::ButtonClicked(int id)
{
    // The Board never creates a button of its own, so there is no label to
    // toggle: every id is ignored.
    (void)id;
}

bool Board::isCursorInField() const
{
    return cursorX >= 316 && cursorX <= 707 && cursorY >= 54 && cursorY <= 713;
}

bool Board::isCellVisible(int column, int row) const
{
    const int lastVisible = mode == MODE_TOAST ? kLastRow - 1 : kLastRow;
    return column >= 0 && column < kColumns && row >= kFirstVisibleRow && row <= lastVisible;
}

int Board::matchClass(int type)
{
    if (type >= BLOB_COLOUR_0 && type <= BLOB_COLOUR_4)
        return type;
    if (type == BLOB_WILDCARD)
        return -2;
    if (type == BLOB_EMPTY || (type >= BLOB_BOMB && type <= BLOB_BREAD))
        return -3;
    return type;
}

void Board::generateBlob(int column, int row)
{
    int32_t& cell = grid[cellIndex(column, row)];
    if (mode == MODE_STORY && chapterComplete)
    {
        cell = BLOB_EMPTY;
        return;
    }
    if (mode == MODE_TOAST && row == kLastRow)
    {
        cell = BLOB_SKULL;
        return;
    }
    if (wildcardChance != -1 && RandomBelow(wildcardChance) == 0)
    {
        cell = BLOB_WILDCARD;
        return;
    }
    if (bombChance != -1 && RandomBelow(bombChance) == 0)
    {
        cell = BLOB_BOMB;
        return;
    }
    if (skullChance != -1)
    {
        RandomBelow(skullChance); // drawn and not used: it keeps the sequence
        if (row < kFirstVisibleRow && movesFound > 4 && RandomBelow(std::max(1, skullChance / 10)) == 0)
        {
            cell = BLOB_SKULL;
            return;
        }
    }
    cell = RandomBelow(colourCount);
}

void Board::applyModeParameters()
{
    struct Params
    {
        int colours, wildcard, bomb, skull;
    };
    static const Params kStory[5] = {
        {4, 30, 100, 1000}, {4, 50, 100, 800}, {5, 50, 100, 800}, {5, 100, 100, 800}, {5, 200, 100, 500}};
    Params p{colourCount, wildcardChance, bombChance, skullChance};
    switch (mode)
    {
    case MODE_STORY:
        if (chapter < 0 || chapter > 4)
            return; // a chapter outside 0-4 keeps the values as they were
        p = kStory[chapter];
        if (chapter == 3)
            eveningFlag = !eveningFlag; // chapter 3 flips the scenery
        break;
    case MODE_CASUAL:
    case MODE_PANIC:
        p = {4, 30, 100, 800};
        break;
    case MODE_TOAST:
        p = {3, 30, -1, -1};
        break;
    case MODE_SKULL:
        p = {4, 30, -1, -1};
        break;
    default:
        return;
    }
    colourCount = p.colours;
    wildcardChance = p.wildcard;
    bombChance = p.bomb;
    skullChance = p.skull;
}

int Board::computeHighestColour() const
{
    int highest = 0;
    for (int32_t type : grid)
    {
        if (type == BLOB_EMPTY)
            continue;
        highest = std::max(highest, type < BLOB_WILDCARD ? static_cast<int>(type) : 0);
    }
    return highest;
}

void Board::addStat(int stat, int which, int delta)
{
    if (which == 1 && tutorial)
        return;
    const int value = stats[stat][which] + delta;
    stats[stat][which] = static_cast<int16_t>(std::clamp(value, -32768, 32767));
}

void Board::maxStat(int stat, int which, int value)
{
    if (which == 1 && tutorial)
        return;
    const int clamped = std::min(value, 32767);
    if (clamped > stats[stat][which])
        stats[stat][which] = static_cast<int16_t>(clamped);
}

void Board::keepBestStat(int stat)
{
    if (tutorial)
        return;
    stats[stat][1] = std::max(stats[stat][0], stats[stat][1]);
}

void Board::raiseHighScore()
{
    if (!tutorial)
        highScores[mode] = std::max(highScores[mode], totalScore);
}

void Board::playSound(int soundId)
{
    app->PlaySample(soundId);
}

void Board::stopMusic(int musicId)
{
    if (app->mMusicInterface != nullptr)
        app->mMusicInterface->StopMusic(musicId);
}

void Board::playMusic(int musicId, bool loop)
{
    if (app->mMusicInterface == nullptr)
        return;
    (void)app->mMusicInterface->LoadMusic(musicId, GameMusicFile(musicId));
    app->mMusicInterface->PlayMusic(musicId, 0, !loop);
}

int Board::imageWidth(int imageId) const
{
    const Image* image = app->GetImage(imageId);
    return image != nullptr ? image->GetWidth() : 0;
}

int Board::imageHeight(int imageId) const
{
    const Image* image = app->GetImage(imageId);
    return image != nullptr ? image->GetHeight() : 0;
}

int Board::imageCelColumns(int imageId) const
{
    // A missing image counts as one cel of size 0.
    const Image* image = app->GetImage(imageId);
    return image != nullptr ? image->mCelColumns : 1;
}

int Board::gameTextWidth(const std::string& text) const
{
    return BoardLayout::TextWidth(app->gameFont, text);
}

void Board::parkParticles()
{
    for (Particle& p : particles)
        p = Particle{0, 0, mHeight * 65536, 0, 0, 0};
    nextParticle = 0;
}

void Board::clearExplosionQueue()
{
    explosionType.fill(0);
    explosionX.fill(0);
    explosionY.fill(0);
    explosionCount = 0;
}

} // namespace Lumo

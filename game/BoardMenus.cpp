// The menus: their items, hover, per-tick animation and every item's action.
#include "game/Board.h"

#include "audio/SoundManager.h"
#include "game/BoardLayout.h"
#include "game/GameApp.h"
#include "platform/DebugOutput.h"

#include <algorithm>

namespace Lumo {

void Board::setMenu(int menuId)
{
    if (isGameOver && menuId != MENU_GAME_OVER)
        return;
    currentMenu = menuId;
    hoverItem = -1;
    lastHoverItem = -1;
    resetMenuSlide();
    leftDown = false;
    menuItemsFor(menuId);
    if (menuId == MENU_PAUSE)
        state = STATE_PAUSED;
}

void Board::menuItemsFor(int menuId)
{
    static const int kMain[] = {5, 6, 7, 8, 9, 10, 11};
    static const int kModeChoice[] = {18, 19, 20, 21, 22, 23, 24};
    static const int kOptions[] = {12, 13, 14, 15, 16, 17};
    static const int kPause[] = {25, 26, 27};
    static const int kGameOver[] = {28, 27};
    const int* items = nullptr;
    int count = 0;
    switch (menuId)
    {
    case MENU_MAIN: items = kMain; count = 7; break;
    case MENU_MODE_CHOICE: items = kModeChoice; count = 7; break;
    case MENU_OPTIONS: items = kOptions; count = 6; break;
    case MENU_PAUSE: items = kPause; count = 3; break;
    case MENU_GAME_OVER: items = kGameOver; count = 2; break;
    default: return; // keeps the previous list
    }
    std::copy(items, items + count, menuItems.begin());
    menuItemCount = count;
}

void Board::resetMenuSlide()
{
    menuSlide = 0;
    statsSlide = 0;
    wobbleAngle = 0;
    menuTextAlpha = 0;
}

int Board::menuBarWidth(int fullWidth)
{
    computeSinCos(wobbleAngle);
    return BoardLayout::MenuBarWidth(menuSlide, wobbleAngle, fullWidth);
}

bool Board::hitTestMenuItem(int index, int top, int height)
{
    if (inTransition)
        return false;
    const int barWidth = menuBarWidth(BoardLayout::kMenuBarFullWidth);
    if (!BoardLayout::IsOnMenuBar(mouseX, mouseY, BoardLayout::MenuCentreX(currentMenu), top, height, barWidth))
        return false;
    hoverItem = index;
    if (currentMenu == MENU_MODE_CHOICE)
        character = index - 1; // "Back" gives 5: no character
    if (index != lastHoverItem)
    {
        playSound(SOUND_CHANGE_OPTION);
        lastHoverItem = index;
        if (currentMenu == MENU_MODE_CHOICE)
        {
            fadeInAlpha = 0;
            tickerX = 32;
            tickerDelay = 400;
        }
    }
    return true;
}

void Board::computeMenuHover()
{
    // Only where a menu is on screen: the menus, the pause menu, and the
    // game-over menu once the game-over timer has run out.
    const bool menuShown = state == STATE_MENUS || state == STATE_PAUSED ||
                           (state == STATE_PLAYING && isGameOver && gameOverTimer <= 0);
    if (!menuShown)
        return;
    BoardLayout::MenuItemBox boxes[BoardLayout::kMaxMenuItems];
    const int count = std::clamp(menuItemCount, 0, BoardLayout::kMaxMenuItems);
    BoardLayout::LayOutMenu(menuItems.data(), count, mHeight, imageHeight(IMAGE_SPLASH_CLOUD), boxes);
    hoverItem = -1;
    const int first = BoardLayout::MenuHasHeading(currentMenu) ? 1 : 0;
    for (int i = first; i < count; ++i)
        hitTestMenuItem(i, boxes[i].top, boxes[i].height);
}

void Board::updateTitleLetters()
{
    for (int i = 0; i < kTitleLetters; ++i)
    {
        letterOffset[i] += letterSpeed[i];
        if (letterOffset[i] < 0)
        {
            letterSpeed[i] += 2;
            continue;
        }
        letterSpeed[i] = -(letterSpeed[i] >> 1);
        letterOffset[i] = 0;
        if (letterSpeed[i] != 0)
            playSound(SOUND_BOUNCE);
    }
}

void Board::updateTicker()
{
    if (currentMenu != MENU_MODE_CHOICE || hoverItem == -1)
        return;
    if (--tickerDelay >= 0)
        return;
    --tickerX;
    if (tickerX < -gameTextWidth(getText(hoverItem + TEXT_MODE_DESCRIPTION)))
        tickerX = mWidth;
}

void Board::updateMenu(bool clickAllowed)
{
    if (state == STATE_MENUS && currentMenu != MENU_PAUSE && mUpdateCnt % 3 == 0)
        updateTitleLetters();
    if (menuSlide < 100)
        menuSlide += ((100 - menuSlide) >> 3) + 1;
    if (statsSlide < 100)
        statsSlide += ((100 - statsSlide) >> 4) + 1;
    if (menuSlide >= 100 && menuTextAlpha < 255)
        menuTextAlpha += ((255 - menuTextAlpha) >> 4) + 1;
    wobbleAngle += 2;
    updateTicker();
    if (clickAllowed && leftDown && hoverItem != -1 && menuTextAlpha >= 255)
    {
        Platform::DebugOutput("takeMenuAction \n");
        const int index = std::clamp(hoverItem, 0, BoardLayout::kMaxMenuItems - 1);
        takeMenuAction(menuItems[index]);
    }
}

void Board::dragVolumeSlider(bool music)
{
    if (mouseX < 362 || mouseX > 662)
        return;
    if (music)
    {
        musicVolume = mouseX - 362;
        musicSliderShowsDefault = false;
        app->SetMusicVolume(musicVolume / 300.0);
        return;
    }
    soundVolume = mouseX - 362;
    soundSliderShowsDefault = false;
    app->SetSfxVolume(soundVolume / 300.0);
    if (mUpdateCnt % 80 == 0)
        playSound(SOUND_STAR_EXPLOSION); // a level check while dragging
}

void Board::quitGame()
{
    if (app->mSoundManager != nullptr)
        app->mSoundManager->StopAllInstances();
    totalScore += score;
    score = 0;
    raiseHighScore();
    saveGameData();
    startTransition(STATE_MENUS, 1);
}

void Board::takeMenuAction(int itemId)
{
    if (inTransition || itemId == -1)
        return;
    switch (itemId)
    {
    case TEXT_START_GAME:
        character = CHARACTER_NONE;
        tutorial = false;
        mood = MOOD_IDLE;
        setMenu(MENU_MODE_CHOICE);
        break;
    case TEXT_TUTORIAL:
        tutorial = true;
        mode = MODE_CASUAL;
        character = CHARACTER_BADGER;
        startTransition(STATE_PLAYING, 1);
        break;
    case TEXT_OPTIONS:
        setMenu(MENU_OPTIONS);
        break;
    case TEXT_YOUR_STATS:
        startTransition(STATE_STATS, 1);
        break;
    case TEXT_ABOUT:
        textPanelHeight = -1;
        startTransition(STATE_ABOUT, 1);
        break;
    case TEXT_QUIT_GAME:
        saveChangedGameData(); // e.g. options left with the right button
        startTransition(STATE_QUIT, 1);
        break;
    case TEXT_MUSIC_VOLUME:
    case TEXT_SOUND_VOLUME:
        // The slider follows the held button every tick: no sound, and
        // leftDown stays set.
        dragVolumeSlider(itemId == TEXT_MUSIC_VOLUME);
        return;
    case TEXT_SCENERY:
        eveningFlag = !eveningFlag;
        break;
    case TEXT_WINDOWED:
        app->SwitchScreenMode(!app->mIsWindowed, false, false);
        break;
    case TEXT_OPTIONS_BACK:
        saveGameData();
        setMenu(MENU_MAIN);
        break;
    case TEXT_STORY:
    case TEXT_CASUAL:
    case TEXT_PANIC:
    case TEXT_TOAST:
    case TEXT_SKULL:
        // Chapter -1: the first fade into play passes the Story glass test
        // (the menus leave the glass at 300) and starts chapter 0.
        mode = itemId - TEXT_STORY;
        chapter = -1;
        character = itemId - TEXT_STORY;
        startTransition(STATE_PLAYING, 1);
        break;
    case TEXT_MODE_BACK:
        setMenu(MENU_MAIN);
        break;
    case TEXT_RESUME:
        state = STATE_PLAYING;
        break;
    case TEXT_RESTART:
        startTransition(STATE_PLAYING, 1);
        break;
    case TEXT_QUIT:
        quitGame();
        break;
    case TEXT_RETRY:
        totalScore = 0;
        startTransition(STATE_PLAYING, 1);
        break;
    default:
        break; // headings and unknown ids: only the sound below
    }
    playSound(SOUND_SELECT_OPTION);
    leftDown = false;
}

} // namespace Lumo

// Mouse input: what each button does on each screen, and the click on the
// play field.
#include "game/Board.h"

#include "app/InputBounds.h"
#include "game/GameApp.h"
#include "platform/DebugOutput.h"

#include <algorithm>

namespace Lumo {

void Board::MouseMove(int x, int y)
{
    // A position far off the board (a pointer grabbed while dragging, damaged
    // input) is pulled in: the rules and the drawing offset the cursor by at
    // most a screen's size, so nothing can overflow, and every position a
    // screen can show keeps its exact value.
    x = BoundInputPosition(x);
    y = BoundInputPosition(y);
    mouseX = x;
    mouseY = y;
    if (tutorial)
        return; // the tutorial moves the game cursor itself
    cursorX = x;
    cursorY = y;
    cursorMoved();
}

void Board::MouseDrag(int x, int y)
{
    MouseMove(x, y);
}

void Board::MouseDown(int x, int y, int clickCode)
{
    if (inTransition)
    {
        Platform::DebugOutput("We're in a transition!!!\n");
        return;
    }
    Widget::MouseDown(x, y, clickCode);
    if (clickCode == 3)
    {
        middleDown = true;
        return;
    }
    if (clickCode > 0)
    {
        leftDown = true;
        if (state == STATE_PLAYING)
        {
            if (pauseHover)
            {
                setMenu(MENU_PAUSE);
                leftDown = false;
                playSound(SOUND_SELECT_OPTION);
            }
            else if (tutorial || isGameOver)
            {
                // The tutorial reads leftDown itself; the game-over menu
                // reads it in its update.
            }
            else if (!chapterComplete)
            {
                playFieldClick();
            }
            else if (bannerY >= 384 && bannerSpeed == 0)
            {
                startTransition(chapter < 4 ? STATE_PLAYING : STATE_STORY_ENDING, 1);
                playSound(SOUND_SELECT_OPTION);
            }
        }
        else if (state == STATE_STORY_ENDING)
        {
            playSound(SOUND_SELECT_OPTION);
            startTransition(STATE_MENUS, 1);
            leftDown = false;
        }
        return;
    }
    if (clickCode < 0)
    {
        if (state == STATE_MENUS && currentMenu != MENU_MAIN)
        {
            takeMenuAction(TEXT_MODE_BACK);
        }
        else if (state == STATE_PLAYING && !tutorial)
        {
            rightDown = true;
            if (chainActive)
                cancelChain(true);
        }
        else if (state == STATE_STATS || state == STATE_ABOUT)
        {
            startTransition(STATE_MENUS, 1);
        }
    }
}

void Board::MouseUp(int x, int y, int clickCode)
{
    Widget::MouseUp(x, y, clickCode);
    if (clickCode == 3)
    {
        middleDown = false;
    }
    else if (clickCode > 0)
    {
        leftDown = false;
        // Releasing the button over a chain of three or more completes it.
        if (state == STATE_PLAYING && !tutorial && chainActive && chainLength >= 3)
            gameClick();
    }
    else if (clickCode < 0)
    {
        rightDown = false;
    }
}

void Board::playFieldClick()
{
    if (smartBombRunning)
        return;
    if (introShowing)
    {
        introShowing = false;
        playSound(SOUND_SELECT_OPTION);
        playSound(SOUND_READY);
        return;
    }
    if (introRunning)
        return;
    if (fallPending)
    {
        leftDown = false; // dropped, not queued
        return;
    }
    if (fallDelay > 0)
        return;
    gameClick();
    leftDown = false;
}

} // namespace Lumo

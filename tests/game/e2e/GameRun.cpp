#include "GameRun.h"

#include "game/BoardLayout.h"
#include "graphics/DDImage.h"
#include "graphics/display/DDInterface.h"
#include "platform/Clock.h"

#include <algorithm>
#include <thread>

namespace Lumo::E2e {

GameRun::GameRun(const std::vector<std::string>& args)
{
    std::vector<const char*> argv = {"tumbrix"};
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    SetCommandLineArgs(static_cast<int>(argv.size()), argv.data());
    mApp = std::make_unique<GameApp>();
    mApp->Init();
    mApp->mStartupTest3D = true;
    if (mApp->mShutdown)
    {
        mEnded = true;
        return;
    }
    mApp->StartLoading();
}

GameRun::~GameRun()
{
    // Ended as the program ends, so the game saves what changed (a recorder's
    // next run reads it) and the demo is written.
    mApp->Shutdown();
    mApp.reset();
    SetCommandLineArgs(0, nullptr);
}

bool GameRun::Pass(int updates)
{
    if (mEnded)
        return false;
    auto* clock = dynamic_cast<Platform::VirtualClock*>(&mApp->GetClock());
    if (clock != nullptr)
        clock->Advance(static_cast<uint32_t>(std::clamp(updates, 1, 10) * 10));
    const bool hadPending = mPending > 0;
    if (!mApp->RunOnePass())
        mEnded = true;
    if (hadPending)
        --mPending; // a pass applies one queued input
    return !mEnded;
}

bool GameRun::WaitForBoard(int maxUpdates)
{
    for (int i = 0; i < maxUpdates; ++i)
    {
        if (mApp->IsLoadingComplete())
            return GetBoard() != nullptr;
        if (!Pass(1))
            return false;
        // While the loading thread works the passes run with nothing to do:
        // give it the processor.
        if (!mApp->mLoaded)
            std::this_thread::yield();
    }
    return false;
}

bool GameRun::WaitUntil(const std::function<bool(const Board&)>& condition, int maxUpdates)
{
    for (int i = 0; i < maxUpdates; ++i)
    {
        if (GetBoard() != nullptr && condition(*GetBoard()))
            return true;
        if (!Pass(1))
            return false;
    }
    return GetBoard() != nullptr && condition(*GetBoard());
}

bool GameRun::RunToEnd(int updatesPerPass, int maxUpdates)
{
    const int limit = Updates() + maxUpdates;
    while (!mEnded && Updates() < limit)
        Pass(updatesPerPass);
    return mEnded;
}

void GameRun::Queue(const Platform::InputEvent& event)
{
    mApp->QueueInput(event);
    ++mPending;
}

void GameRun::MouseMove(int x, int y)
{
    Platform::InputEvent event;
    event.type = Platform::EventType::MouseMove;
    event.x = x;
    event.y = y;
    Queue(event);
}

void GameRun::MouseDown(int x, int y, int button)
{
    Platform::InputEvent event;
    event.type = Platform::EventType::MouseDown;
    event.x = x;
    event.y = y;
    event.button = button;
    Queue(event);
}

void GameRun::MouseUp(int x, int y, int button)
{
    Platform::InputEvent event;
    event.type = Platform::EventType::MouseUp;
    event.x = x;
    event.y = y;
    event.button = button;
    Queue(event);
}

void GameRun::Click(int x, int y, int button)
{
    MouseMove(x, y);
    MouseDown(x, y, button);
    MouseUp(x, y, button);
    Flush();
}

bool GameRun::Flush()
{
    while (mPending > 0)
        if (!Pass(1))
            return false;
    return true;
}

std::vector<uint32_t> GameRun::Frame() const
{
    DDImage* screen = mApp->mDDInterface != nullptr ? mApp->mDDInterface->GetScreenImage() : nullptr;
    if (screen == nullptr || screen->GetBits() == nullptr)
        return {};
    const uint32_t* bits = screen->GetBits();
    return std::vector<uint32_t>(bits, bits + static_cast<size_t>(screen->GetWidth()) * screen->GetHeight());
}

void MenuItemCentre(const Board& board, int index, int& x, int& y)
{
    BoardLayout::MenuItemBox boxes[BoardLayout::kMaxMenuItems];
    const int count = std::clamp(board.menuItemCount, 0, BoardLayout::kMaxMenuItems);
    BoardLayout::LayOutMenu(board.menuItems.data(), count, board.mHeight,
                            board.app->GetImage(IMAGE_SPLASH_CLOUD)->GetHeight(), boxes);
    x = BoardLayout::MenuCentreX(board.currentMenu);
    y = boxes[std::clamp(index, 0, count - 1)].top + boxes[std::clamp(index, 0, count - 1)].height / 2;
}

int MenuIndexOf(const Board& board, int itemId)
{
    for (int i = 0; i < board.menuItemCount && i < BoardLayout::kMaxMenuItems; ++i)
        if (board.menuItems[static_cast<size_t>(i)] == itemId)
            return i;
    return -1;
}

} // namespace Lumo::E2e

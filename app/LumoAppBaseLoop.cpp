// The main loop of the application: input pumping, deferred messages, the
// fixed-step update and draw pacing, and the loading-completed hand-over.
#include "app/LumoAppBase.h"

#include "app/InputBounds.h"
#include "app/Random.h"
#include "audio/MusicInterface.h"
#include "graphics/DDImage.h"
#include "graphics/Graphics.h"
#include "graphics/display/DDInterface.h"
#include "platform/DebugOutput.h"
#include "platform/DisplayLoss.h"
#include "platform/StopSignal.h"
#include "platform/Video.h"
#include "widgets/Widget.h"
#include "widgets/WidgetManager.h"

#include <algorithm>

namespace Lumo {

namespace {

constexpr uint32_t kUpdateStepMs = 10;     // one fixed update
constexpr uint32_t kMaxElapsedMs = 200;    // longer gaps are cut to this
constexpr int kMaxUpdatesWithoutDraw = 10; // then a draw comes first

} // namespace

void LumoAppBase::QueueInput(const Platform::InputEvent& event)
{
    mDeferredMessages.push_back(event);
}

bool LumoAppBase::RunOnePass()
{
    // A display that another thread found gone ends the process here, saved.
    Platform::EndIfDisplayLost();
    // SIGTERM, SIGINT or SIGHUP ends the run like the window's close button.
    if (Platform::StopSignalReceived() && !mShutdown)
    {
        Platform::DebugOutput("Stop signal received: ending the run\n");
        Shutdown();
    }
    if (ShutdownRequestDue())
        ShutdownOnMainThread();
    if (mShutdown)
        return false;

    std::vector<Platform::InputEvent> events;
    if (mVideo)
        mVideo->PollEvents(events);
    for (const Platform::InputEvent& event : events)
    {
        // While a demo plays back, the player's own input is ignored; only a
        // close request still ends the program.
        if (mPlayingDemo && event.type != Platform::EventType::Quit)
            continue;
        mDeferredMessages.push_back(event);
    }

    // One deferred message per pass. After a button message the next one waits
    // for an update, so a click shorter than a step (a tap, a scripted click)
    // is still seen held by the widgets' per-update logic.
    if (!mDeferredMessages.empty() && !mHoldInputUntilUpdate)
    {
        Platform::InputEvent event = mDeferredMessages.front();
        mDeferredMessages.pop_front();
        ProcessDeferredMessage(event);
        if (event.type == Platform::EventType::MouseDown || event.type == Platform::EventType::MouseUp)
            mHoldInputUntilUpdate = true;
        if (mShutdown)
            return false;
    }

    const uint32_t now = mClock->NowMs();
    if (!mTimeStarted)
    {
        mTimeStarted = true;
        mLastTime = now;
    }
    uint32_t elapsed = now - mLastTime;
    mLastTime = now;
    elapsed = std::min(elapsed, kMaxElapsedMs);
    mAccumulated = std::min(mAccumulated + elapsed, kMaxElapsedMs);

    int updates = 0;
    while (mAccumulated >= kUpdateStepMs && !mShutdown)
    {
        if (mUpdatesSinceDraw >= kMaxUpdatesWithoutDraw)
            break;
        DoUpdate();
        mAccumulated -= kUpdateStepMs;
        ++updates;
        ++mUpdatesSinceDraw;
        if (ShutdownRequestDue())
            ShutdownOnMainThread();
    }

    if (mShutdown)
        return false;
    if (updates > 0 || mUpdatesSinceDraw >= kMaxUpdatesWithoutDraw)
        DoDraw();
    else if (!mClock->IsVirtual())
        mClock->SleepMs(kUpdateStepMs - mAccumulated); // the virtual clock moves only when told

    return !mShutdown;
}

void LumoAppBase::DoUpdate()
{
    if (mPlayingDemo)
        ReplayDueDemoRecords();
    CheckLoadingComplete();
    if (mShutdown)
        return;

    ++mUpdateCount;
    mHoldInputUntilUpdate = false;
    if (mWidgetManager != nullptr)
        mWidgetManager->UpdateFrame();
    if (mMusicInterface != nullptr)
        mMusicInterface->Update();
    RenderHeadlessAudio();

    for (Widget* widget : mSafeDeleteList)
        delete widget;
    mSafeDeleteList.clear();

    if (mPlayingDemo && mDemoPos >= mDemo.records.size() && mUpdateCount >= static_cast<int>(mDemo.totalUpdates))
    {
        Platform::DebugOutput("Demo playback finished\n");
        Shutdown();
    }
    if (mMaxUpdates > 0 && mUpdateCount >= mMaxUpdates)
        Shutdown();
}

void LumoAppBase::DoDraw()
{
    mUpdatesSinceDraw = 0;
    if (mDDInterface == nullptr || mWidgetManager == nullptr)
        return;
    DDImage* screen = mDDInterface->GetScreenImage();
    if (screen == nullptr)
        return;
    {
        Graphics g(screen);
        (void)mWidgetManager->DrawScreen(&g);
    }
    ++mDrawCount;
    CaptureFrameIfAsked();
    mDDInterface->Redraw();
}

void LumoAppBase::CheckLoadingComplete()
{
    if (mLoadingCompleteCalled || !mLoadingThreadStarted)
        return;
    if (mPlayingDemo)
    {
        // Loading completes at the update it completed at when recorded, so the
        // run repeats exactly; wait for the thread if it is slower this time.
        // A run that ended before its loading completed never completes it
        // here either: it plays on to its end as it was recorded.
        if (mDemo.loadedUpdate == DemoFile::kNeverLoaded ||
            static_cast<uint32_t>(mUpdateCount) < mDemo.loadedUpdate)
            return;
    }
    else if (!mLoaded && !mClock->IsVirtual())
    {
        return;
    }
    // On the virtual clock loading takes no game time: the first update waits
    // here for the loading thread, so a headless run gives the same frames
    // and sound at every update, however fast the machine loads.
    EndLoadingThread();
    if (!mLoaded)
        return; // left to the process's end: the run is ending without it
    mLoadingCompleteCalled = true;
    if (mPlayingDemo && !mShutdownRequested && mDemo.assetHash != mAssetHash)
    {
        ShowFatalError("This demo was recorded with different game data and cannot be played back.");
        mExitCode = 1;
        Shutdown();
        return;
    }
    if (mRecordingDemo)
    {
        mDemo.loadedUpdate = static_cast<uint32_t>(mUpdateCount);
        mDemo.assetHash = mAssetHash;
    }
    OnLoadingComplete();
}

bool LumoAppBase::ShutdownRequestDue() const
{
    if (!mShutdownRequested || mShutdown)
        return false;
    // In playback the loader's own end of the run (a failed load) waits for
    // the update at which loading completes, or for the demo's end when it
    // never completed: taken when the thread gets there, it would end each
    // replay at another update.
    return !mPlayingDemo || mLoadingCompleteCalled;
}

void LumoAppBase::SafeDeleteWidget(Widget* widget)
{
    if (widget == nullptr)
        return;
    if (widget->mParent != nullptr)
        widget->mParent->RemoveWidget(widget);
    if (std::find(mSafeDeleteList.begin(), mSafeDeleteList.end(), widget) == mSafeDeleteList.end())
        mSafeDeleteList.push_back(widget);
}

void LumoAppBase::ProcessDeferredMessage(const Platform::InputEvent& event)
{
    if (event.type == Platform::EventType::Quit)
    {
        Shutdown();
        return;
    }
    // Recorded as applied, so every demo written is one its reader accepts.
    const Platform::InputEvent bounded = BoundInput(event);
    // Widgets act where they were last told the pointer is. A press where
    // they were not told of it (the pointer rested there as the window
    // opened, or a widget appeared under it) reaches them as a move there
    // first, recorded too, so playback repeats it.
    if (bounded.type == Platform::EventType::MouseDown && mWidgetManager != nullptr &&
        !mWidgetManager->WasToldOfPointerAt(bounded.x, bounded.y))
    {
        Platform::InputEvent move;
        move.type = Platform::EventType::MouseMove;
        move.x = bounded.x;
        move.y = bounded.y;
        move.shift = bounded.shift;
        move.ctrl = bounded.ctrl;
        move.alt = bounded.alt;
        if (mRecordingDemo)
            RecordInput(move);
        ApplyInput(move);
    }
    if (mRecordingDemo)
        RecordInput(bounded);
    ApplyInput(bounded);
}

void LumoAppBase::ApplyInput(const Platform::InputEvent& rawEvent)
{
    WidgetManager* wm = mWidgetManager;
    if (wm == nullptr)
        return;
    // A position far off the screen (a pointer grabbed while dragging) is
    // pulled in, so no widget's arithmetic on it can overflow.
    const Platform::InputEvent event = BoundInput(rawEvent);
    using Platform::EventType;
    switch (event.type)
    {
    case EventType::MouseMove:
        wm->MouseMove(event.x, event.y);
        break;
    case EventType::MouseDown:
    case EventType::MouseUp:
    {
        // Widgets take a small count: 1 single, 2 double; right is negative.
        int code = std::clamp(event.clickCount, 1, 2);
        if (event.button == Platform::MOUSE_RIGHT)
            code = -code;
        else if (event.button == Platform::MOUSE_MIDDLE)
            code = 3;
        if (event.type == EventType::MouseDown)
            wm->MouseDown(event.x, event.y, code);
        else
            wm->MouseUp(event.x, event.y, code);
        break;
    }
    case EventType::MouseWheel:
        wm->MouseWheel(event.wheel);
        break;
    case EventType::MouseLeave:
        wm->MouseExit();
        break;
    case EventType::KeyDown:
        if (event.ctrl && event.alt && event.keyCode == 'D')
        {
            mDebugKeysEnabled = !mDebugKeysEnabled;
            Platform::DebugOutput(mDebugKeysEnabled ? "Debug keys on\n" : "Debug keys off\n");
            break;
        }
        if ((mDebugKeysEnabled || mPlayingDemo) && HandleDebugKey(event.keyCode))
            break;
        wm->KeyDown(event.keyCode);
        break;
    case EventType::KeyUp:
        wm->KeyUp(event.keyCode);
        break;
    case EventType::KeyChar:
        wm->KeyChar(static_cast<char32_t>(event.ch));
        break;
    case EventType::Quit:
    case EventType::FocusGained:
    case EventType::FocusLost:
        break;
    }
}

} // namespace Lumo

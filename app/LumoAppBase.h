#pragma once
// The framework's application object: one per process (gAppBase). It owns the
// window and display, the widget manager, the sound manager, the music player,
// the resource manager and the shared images; runs the fixed-step main loop;
// loads resources on a thread; keeps the per-user settings; records and plays
// back demos. Everything runs on the main thread unless a member says otherwise.
#include "app/Buffer.h"
#include "app/CommandLine.h"
#include "app/CursorKind.h"
#include "app/DemoFile.h"
#include "platform/Clock.h"
#include "platform/CriticalSection.h"
#include "platform/Input.h"
#include "widgets/ButtonListener.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <vector>

namespace Lumo {

namespace Platform {
class VideoBackend;
class SettingsStore;
} // namespace Platform

class DDImage;
class DDInterface;
class Image;
class MemoryImage;
class MusicInterface;
class ResourceManager;
class SharedImageHandle;
class SharedImageMap;
class SoundManager;
class Widget;
class WidgetManager;

// The application's per-user settings, kept under "SOFTWARE\\" + the registry
// key (the platform's stand-in of the registry).
using RegistrySettings = Platform::SettingsStore;

class LumoAppBase : public ButtonListener, public DialogListener
{
public:
    LumoAppBase();
    ~LumoAppBase() override;
    // Deleting an application first asks its loader to stop and waits for it,
    // before any destructor runs: the loader fills members of the subclasses,
    // which their destructors free.
    static void operator delete(LumoAppBase* app, std::destroying_delete_t);
    // The allocation that pairs with it, and the release of that memory when
    // a constructor throws (no object to destroy then).
    static void* operator new(std::size_t size);
    static void operator delete(void* memory);
    // The same for a subclass that needs more than the default alignment.
    static void* operator new(std::size_t size, std::align_val_t alignment);
    static void operator delete(void* memory, std::align_val_t alignment);
    LumoAppBase(const LumoAppBase&) = delete;
    LumoAppBase& operator=(const LumoAppBase&) = delete;

    // Start-up: settings, command line, pack file, random seed, demo, window
    // and display, then the sound manager and the music player. A fatal error
    // (bad command line, no window) shows its box and sets mShutdown.
    virtual void Init();
    // Starts the loading thread, runs the main loop until shutdown, then writes
    // the settings. Returns when the program ends.
    virtual void Start();
    // On the main thread: ends the program in order. Off it: only sets the
    // shutdown-request flag, which the main loop acts on.
    virtual void Shutdown();

    // Body of the loading thread; empty in the base.
    virtual void LoadResources() {}
    // Runs once on the main thread after the loading thread has ended.
    virtual void OnLoadingComplete() {}
    // Runs once on the main thread when an orderly shutdown begins (any way
    // out: a menu, the window's close button, SIGTERM/SIGINT/SIGHUP, a lost
    // display, the update limit), after the loading thread has ended and
    // before the music stops and the settings are written. After a lost
    // display it must make no display call.
    virtual void OnShutdown() {}
    // A key-down, before the widgets see it, only while the debug-key mode is
    // on (Ctrl+Alt+D) or a demo plays back. True stops the key.
    virtual bool HandleDebugKey(int keyCode);
    virtual MusicInterface* MakeMusicPlayer();

    void SetCursorKind(CursorKind kind);
    CursorKind GetCursorKind() const { return mCursorKind; }
    // Modal box captioned by the text "FATAL_ERROR"; any thread; does not end
    // the program. False when the box was closed unanswered, as the program
    // was asked to end (a stop signal): nothing is to be done on its behalf.
    bool ShowFatalError(const std::string& text);
    // Message box; any thread. Returns the button (Platform::MessageBoxAnswer),
    // MESSAGEBOX_NONE when a stop signal closed it. The end of the run after a
    // stop signal does not wait for the answer of a box of the loading thread.
    int MessageBox(const std::string& caption, const std::string& text, int kind = 0);
    // The text for an id, or the built-in default.
    std::string LookupText(const std::string& id, const std::string& defaultText) const;

    // Reads an image file (any format ImageLib reads) into a new display image
    // named by the path; null when nothing could be read. Any thread.
    DDImage* LoadImageFile(const std::string& path, bool commitBits = true);
    SharedImageHandle AcquireSharedImage(const std::string& name, const std::string& variant, bool* created);
    // A new display image with a copy of the whole image; the caller owns it.
    DDImage* DuplicateImage(Image* image);
    bool Is3DEnabled() const { return false; }

    virtual void PlaySample(int soundId);
    virtual void PlaySamplePanned(int soundId, int pan);
    void SetMusicVolume(double volume);
    void SetSfxVolume(double volume);
    double GetMusicVolume() const { return mMusicVolume; }
    double GetSfxVolume() const { return mSfxVolume; }
    void SetMuted(bool muted);
    bool IsMuted() const { return mMuted; }
    void SwitchScreenMode(bool windowed, bool is3D, bool force = false);

    // Demo-aware file access: answers are recorded into a demo being recorded
    // and taken from a demo being played back. A demo names a file without its
    // folder, so it replays wherever the data folder is.
    bool FileExists(const std::string& path);
    // Reads the file, or only its first maxBytes.
    bool LoadFileToBuffer(const std::string& path, Buffer& buffer, bool bypassDemo = false,
                          size_t maxBytes = SIZE_MAX);
    // Writes atomically (temporary file, then rename), making the file's folder
    // first when it is missing. While a demo plays back nothing is written and
    // the answer is true, so a replay never overwrites the player's files. On
    // failure, error (when given) says why, naming the file.
    bool SaveBufferToFile(const std::string& path, const Buffer& buffer, std::string* error = nullptr);

    // Objects that may still be on the call stack: deleted after the update.
    void SafeDeleteWidget(Widget* widget);

    // --- Main loop pieces (public so tests can drive them on a virtual clock).
    // One pass: pump input, replay due demo records, apply one deferred
    // message, then the fixed-step process. False once the program should end.
    bool RunOnePass();
    // Starts the loading thread (or loads right here when the thread is
    // switched off or cannot be started); Start calls it, tests may call it
    // before driving passes.
    void StartLoading();
    // One fixed update (10 ms of game time).
    void DoUpdate();
    // One draw of the dirty widgets into the screen, then present.
    void DoDraw();
    Platform::Clock& GetClock() { return *mClock; }
    void SetClock(std::unique_ptr<Platform::Clock> clock);
    Platform::VideoBackend* GetVideo() { return mVideo.get(); }
    int GetUpdateCount() const { return mUpdateCount; }
    int GetDrawCount() const { return mDrawCount; }
    bool IsLoadingComplete() const { return mLoadingCompleteCalled; }
    bool IsPlayingDemo() const { return mPlayingDemo; }
    bool IsRecordingDemo() const { return mRecordingDemo; }
    // Feeds one platform event as if it came from the window (tests, demos).
    void QueueInput(const Platform::InputEvent& event);
    // A 64-bit hash of what the game's rules read from the assets; stored in a
    // recorded demo and checked on playback. Set by the game after loading.
    void SetAssetHash(uint64_t hash) { mAssetHash = hash; }

    // 0 after a clean run; non-zero when start-up failed (bad command line,
    // no window, a required resource missing): the entry function returns it.
    // Any thread.
    int GetExitCode() const { return mExitCode; }
    void SetExitCode(int code) { mExitCode = code; }
    // True on the thread that created the application.
    bool IsMainThread() const { return std::this_thread::get_id() == mMainThreadId; }

    // Identity (set by the application's constructor).
    std::string mProdName = "Product";
    std::string mProductVersion = "1.0";
    std::string mTitle = "LumoAppFramework";
    std::string mRegKey;
    int mWidth = 640;
    int mHeight = 480;

    // Flags.
    std::atomic<bool> mShutdown{false};
    std::atomic<bool> mShutdownRequested{false}; // set off the main thread
    std::atomic<bool> mLoaded{false};            // the loading thread ended
    bool mStartupTest3D = false;
    bool mIsWindowed = true;
    bool mUseFMod = false;     // music and MP3 through the FMOD stand-in
    bool mNoSound = false;     // no sound manager device and the silent player
    bool mDebugKeysEnabled = false;
    bool mLoadingThreadEnabled = true;

    // Owned services.
    WidgetManager* mWidgetManager = nullptr;
    ResourceManager* mResourceManager = nullptr;
    SoundManager* mSoundManager = nullptr;
    MusicInterface* mMusicInterface = nullptr;
    DDInterface* mDDInterface = nullptr;
    Buffer mDemoBuffer;

    // Settings kept in the per-user store.
    double mMusicVolume = 0.85;
    double mSfxVolume = 0.85;
    bool mMuted = false;
    bool mWaitForVSync = false;
    bool mCustomCursors = true;
    int mPreferredX = -1;
    int mPreferredY = -1;
    bool mIs3D = false;
    bool mWriteSettings = true;

    CommandLineOptions mOptions;

protected:
    void ReadSettings();
    void WriteSettings();
    void SaveSettings();
    void ProcessDeferredMessage(const Platform::InputEvent& event);
    void ApplyInput(const Platform::InputEvent& event);
    void ReplayDueDemoRecords();
    void CheckLoadingComplete();
    // True when a shutdown asked for off the main thread is to be taken now.
    bool ShutdownRequestDue() const;
    // Waits for the loading thread. Deleting does so before any destructor;
    // an application that is not deleted (one on the stack) calls it first
    // thing in its destructor, so the loader never outlives its members. The
    // base's destructor waits for a loader that has finished, and stops the
    // program when one still runs by then (the members it fills are gone).
    // Once the display is lost, a loader still at work is left to the
    // process's end (it may be held in a display call, or waiting outside
    // Xlib after meeting the loss): the wait watches for the loss. So it
    // does for a stop signal while the loader's box is open, which the
    // signal cannot close when SDL shows it in the program itself.
    void EndLoadingThread();
    // Ends the run in order: waits for the loading thread, then the game's
    // hook, the music, the codec, the settings and the demo. Every way out
    // passes here, the destructor too; later calls only wait for loading.
    // When the loader was left behind (a stop signal, its box open), the
    // program then ends, with the run's exit status.
    void ShutdownOnMainThread();
    // Whether the run has ended without waiting for its loader any more.
    bool LoaderLeftBehind();
    // The loading thread enters or leaves a message box; leaving it, a loader
    // left behind waits for the process's end.
    void LoaderInBox(bool inBox);
    void FinishDemo();
    bool CreateMainWindow();
    void CaptureFrameIfAsked();
    void RenderHeadlessAudio();
    void LoadingThreadProc();
    void RecordInput(const Platform::InputEvent& event);
    bool StartDemo();
    void ApplyVolumes();
    static std::vector<std::string> SplitCaptureList(const std::string& text);

private:
    // Hands the current clock to those who keep a clock pointer (the sound
    // manager's channel sweep), so SetClock never leaves them a dangling one.
    class ClockProxy final : public Platform::Clock
    {
    public:
        explicit ClockProxy(LumoAppBase& app) : mApp(app) {}
        uint32_t NowMs() override { return mApp.mClock->NowMs(); }
        void SleepMs(uint32_t ms) override { mApp.mClock->SleepMs(ms); }
        bool IsVirtual() const override { return mApp.mClock->IsVirtual(); }

    private:
        LumoAppBase& mApp;
    };

    std::unique_ptr<Platform::Clock> mClock;
    ClockProxy mClockProxy{*this};
    std::unique_ptr<Platform::VideoBackend> mVideo;
    std::unique_ptr<RegistrySettings> mSettings;
    std::unique_ptr<SharedImageMap> mSharedImages;
    std::thread mLoadingThread;
    std::mutex mLoadedMutex; // with mLoadedChanged: the end of the loader, and the two below
    std::condition_variable mLoadedChanged;
    bool mLoaderInBox = false;      // the loader waits for a box's answer
    bool mLoaderLeftBehind = false; // the run ended without waiting for the loader
    std::thread::id mMainThreadId = std::this_thread::get_id();

    bool mLoadingThreadStarted = false;
    bool mLoadingCompleteCalled = false;
    bool mInitDone = false;
    bool mShutdownDone = false;
    CursorKind mCursorKind = CursorKind::Pointer;
    std::atomic<int> mExitCode{0};

    std::deque<Platform::InputEvent> mDeferredMessages;
    bool mHoldInputUntilUpdate = false; // a button message waits for an update
    uint32_t mLastTime = 0;
    uint32_t mAccumulated = 0;
    bool mTimeStarted = false;
    std::atomic<int> mUpdateCount{0};
    int mDrawCount = 0;
    int mUpdatesSinceDraw = 0;
    long mMaxUpdates = 0;
    long mLoadingDelayMs = 0; // LUMO_LOADING_DELAY_MS: a slow loader, for tests
    std::vector<Widget*> mSafeDeleteList;

    // Demos.
    std::atomic<bool> mRecordingDemo{false}; // the loader reads it while the end clears it
    bool mPlayingDemo = false;
    std::string mDemoFileName;
    DemoFile mDemo;             // recorded so far, or being played
    CriticalSection mDemoLock;  // guards mDemo's records against the loading thread
    size_t mDemoPos = 0;        // next input record to play
    size_t mDemoFilePos = 0;    // next file answer to play
    uint64_t mAssetHash = 0;
    uint32_t mRandomSeed = 0;

    // Frame capture (LUMO_CAPTURE_DIR, LUMO_CAPTURE_FRAMES).
    std::string mCaptureDir;
    std::vector<int> mCaptureFrames;
};

extern LumoAppBase* gAppBase;
// The instance handle the entry function stores before anything else; the
// framework keeps it for its windows (unused on this platform).
extern void* gHInstance;
// gDSoundLibrary, the DirectSound module handle, is declared with the sound
// manager (audio/DSoundManager.h).

// The program's arguments, stored by the entry function before Init reads them.
void SetCommandLineArgs(int argc, const char* const* argv);

} // namespace Lumo

// The application object: construction, start-up, the run, shutdown and the
// per-user settings.
#include "app/LumoAppBase.h"

#include "app/Common.h"
#include "app/Random.h"
#include "app/pak/PakInterface.h"
#include "audio/BassMusicInterface.h"
#include "audio/DSoundManager.h"
#include "audio/FModMusicInterface.h"
#include "audio/MusicInterface.h"
#include "graphics/SharedImageMap.h"
#include "graphics/display/DDInterface.h"
#include "platform/ChildProcesses.h"
#include "platform/DebugOutput.h"
#include "platform/DisplayLoss.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include "platform/ModuleLoader.h"
#include "platform/Settings.h"
#include "platform/StopSignal.h"
#include "platform/Video.h"
#include "platform/audio/Mixer.h"
#include "resources/ImageLib.h"
#include "resources/ResourceManager.h"
#include "widgets/WidgetManager.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <system_error>
#include <utility>

namespace Lumo {

LumoAppBase* gAppBase = nullptr;
void* gHInstance = nullptr;

namespace {

std::vector<std::string>& CommandLineArgs()
{
    static std::vector<std::string> args;
    return args;
}

// The pack file registered for the whole process, when "main.pak" was found.
std::unique_ptr<PakInterface>& ProcessPak()
{
    static std::unique_ptr<PakInterface> pak;
    return pak;
}

// The display went away: the run ends in order as for any other way out,
// while the video back end makes no more display calls.
void EndRunForLostDisplay()
{
    if (gAppBase != nullptr)
        gAppBase->Shutdown();
}

// The applications made with more than the default alignment, with theirs:
// the destroying delete, which knows only the object, frees each as it was
// allocated.
struct OverAlignedList
{
    std::mutex mutex;
    std::vector<std::pair<void*, std::align_val_t>> made;
};

OverAlignedList& OverAlignedApps()
{
    static OverAlignedList list;
    return list;
}

std::optional<std::align_val_t> TakeOverAlignment(void* memory)
{
    OverAlignedList& list = OverAlignedApps();
    std::lock_guard<std::mutex> lock(list.mutex);
    for (auto it = list.made.begin(); it != list.made.end(); ++it)
    {
        if (it->first == memory)
        {
            const std::align_val_t alignment = it->second;
            list.made.erase(it);
            return alignment;
        }
    }
    return std::nullopt;
}

// The run's length, as a finished run notes it (tests compare replays by it).
void NoteRunLength(int updates, int draws)
{
    Platform::DebugOutputF("Updates: %d, draws: %d\n", updates, draws);
}

// Set on the loading thread, for the boxes it shows.
thread_local bool tOnLoadingThread = false;

uint32_t VolumeToSetting(double volume)
{
    return static_cast<uint32_t>(std::lround(std::clamp(volume, 0.0, 1.0) * 100.0));
}

} // namespace

void SetCommandLineArgs(int argc, const char* const* argv)
{
    CommandLineArgs().clear();
    for (int i = 1; i < argc; ++i)
        CommandLineArgs().emplace_back(argv[i]);
}

LumoAppBase::LumoAppBase()
{
    gAppBase = this;
    Platform::SetDisplayLostHandler(&EndRunForLostDisplay);
    Platform::IgnoreBrokenPipes();
    mClock = std::make_unique<Platform::SystemClock>();
    if (Platform::IsHeadless())
        mClock = std::make_unique<Platform::VirtualClock>();
    mWidgetManager = new WidgetManager();
    mResourceManager = new ResourceManager(this);
    mSharedImages = std::make_unique<SharedImageMap>();
    ImageLib::OpenJpeg2000Codec();
    gDSoundLibrary = Platform::LoadModule("dsound.dll");
    // LUMO_AUDIO=off|fmod|bass: no sound, music (and MP3 sounds) through FMOD,
    // or music through BASS (the default).
    const std::string audio = ToLowerCase(Platform::GetEnv("LUMO_AUDIO").value_or("bass"));
    mNoSound = audio == "off";
    mUseFMod = audio == "fmod";
    mMaxUpdates = Platform::GetEnvInt("LUMO_MAX_UPDATES", 0);
    mLoadingDelayMs = std::clamp(Platform::GetEnvInt("LUMO_LOADING_DELAY_MS", 0), 0L, 60000L);
    mCaptureDir = Platform::GetEnv("LUMO_CAPTURE_DIR").value_or("");
    for (const std::string& item : SplitCaptureList(Platform::GetEnv("LUMO_CAPTURE_FRAMES").value_or("")))
    {
        int frame = 0;
        if (StringToInt(item, frame))
            mCaptureFrames.push_back(frame);
    }
}

void* LumoAppBase::operator new(std::size_t size)
{
    return ::operator new(size);
}

void LumoAppBase::operator delete(void* memory)
{
    ::operator delete(memory);
}

void* LumoAppBase::operator new(std::size_t size, std::align_val_t alignment)
{
    void* memory = ::operator new(size, alignment);
    try
    {
        std::lock_guard<std::mutex> lock(OverAlignedApps().mutex);
        OverAlignedApps().made.emplace_back(memory, alignment);
    }
    catch (...)
    {
        ::operator delete(memory, alignment);
        throw;
    }
    return memory;
}

void LumoAppBase::operator delete(void* memory, std::align_val_t alignment)
{
    (void)TakeOverAlignment(memory);
    ::operator delete(memory, alignment);
}

void LumoAppBase::operator delete(LumoAppBase* app, std::destroying_delete_t)
{
    app->mShutdownRequested = true;
    app->EndLoadingThread();
    void* whole = dynamic_cast<void*>(app);
    app->~LumoAppBase(); // virtual: the whole object, most derived first
    if (const std::optional<std::align_val_t> alignment = TakeOverAlignment(whole))
        ::operator delete(whole, *alignment);
    else
        ::operator delete(whole);
}

LumoAppBase::~LumoAppBase()
{
    if (mLoadingThread.joinable() && !mLoaded)
    {
        // The subclass's destructor left the loader running over members it
        // has already freed: a fault in the program, stopped here before it
        // does harm unseen. A loader that has finished is simply waited for.
        Platform::Notice("APP", "destroyed while its loading thread still runs");
        std::abort();
    }
    ShutdownOnMainThread();

    delete mResourceManager;
    mResourceManager = nullptr;
    delete mWidgetManager;
    mWidgetManager = nullptr;
    delete mMusicInterface;
    mMusicInterface = nullptr;
    delete mSoundManager;
    mSoundManager = nullptr;
    delete mDDInterface;
    mDDInterface = nullptr;
    mSharedImages.reset();
    Platform::Mixer::ShutdownIfCreated();
    if (gDSoundLibrary != nullptr)
    {
        Platform::FreeModule(gDSoundLibrary);
        gDSoundLibrary = nullptr;
    }
    if (mVideo)
        mVideo->DestroyWindow();
    if (GetSharedPakInterface() == ProcessPak().get())
        SetSharedPakInterface(nullptr);
    ProcessPak().reset();
    if (gAppBase == this)
        gAppBase = nullptr;
}

std::vector<std::string> LumoAppBase::SplitCaptureList(const std::string& text)
{
    std::vector<std::string> items;
    std::string current;
    for (char c : text)
    {
        if (c == ',')
        {
            items.push_back(current);
            current.clear();
        }
        else if (c != ' ')
        {
            current += c;
        }
    }
    if (!current.empty())
        items.push_back(current);
    return items;
}

void LumoAppBase::Init()
{
    if (mInitDone)
        return;
    mInitDone = true;

    mSettings = std::make_unique<RegistrySettings>("SOFTWARE\\" + mRegKey);
    ReadSettings();

    SetDataFolder(Platform::GetUserDataFolder(mProdName));

    std::string error;
    if (!ParseCommandLine(CommandLineArgs(), mOptions, error))
    {
        mVideo = Platform::CreateVideoBackend();
        ShowFatalError(error);
        mExitCode = 1;
        mShutdown = true;
        mShutdownDone = true;
        mWriteSettings = false;
        return;
    }
    if (mOptions.changeDir)
        (void)Platform::SetCurrentFolder(Platform::GetExecutableFolder());

    if (Platform::FileExists("main.pak"))
    {
        auto pak = std::make_unique<PakInterface>();
        if (pak->AddPakFile("main.pak"))
        {
            ProcessPak() = std::move(pak);
            SetSharedPakInterface(ProcessPak().get());
        }
        else
        {
            Platform::Log("PAK", "main.pak is damaged; reading from the folders instead");
        }
    }

    mRandomSeed = static_cast<uint32_t>(
        std::chrono::steady_clock::now().time_since_epoch().count() & 0xFFFFFFFF);
    if (mClock->IsVirtual())
        mRandomSeed = 4357;
    if (!StartDemo())
    {
        mExitCode = 1;
        mShutdown = true;
        mShutdownDone = true;
        mWriteSettings = false;
        return;
    }
    SeedRandom(mRandomSeed);

    mVideo = Platform::CreateVideoBackend();
    if (!CreateMainWindow())
    {
        ShowFatalError("Failed to create the main window.");
        mExitCode = 1;
        mShutdown = true;
        mShutdownDone = true;
        return;
    }

    mSoundManager = new DSoundManager(mNoSound ? nullptr : reinterpret_cast<SoundWindowHandle>(this), mUseFMod,
                                      &mClockProxy);
    mMusicInterface = MakeMusicPlayer();
    ApplyVolumes();

    // A replay leaves the player's settings as they were.
    if (mSettings && !mPlayingDemo)
    {
        mSettings->SetDword("InProgress", 1);
        SaveSettings();
    }
}

bool LumoAppBase::CreateMainWindow()
{
    delete mDDInterface;
    mDDInterface = new DDInterface(mVideo.get());
    const bool want3D = mIs3D && !mStartupTest3D;
    if (mDDInterface->Init(mTitle, mWidth, mHeight, mIsWindowed, want3D) != DDInterface::RESULT_OK)
    {
        // Full screen may fail where a window works.
        if (mIsWindowed || mDDInterface->Init(mTitle, mWidth, mHeight, true, false) != DDInterface::RESULT_OK)
            return false;
        mIsWindowed = true;
    }
    mVideo->ShowSystemCursor(mCursorKind != CursorKind::Hidden);
    if (mWidgetManager != nullptr)
        mWidgetManager->MarkAllDirty();
    return true;
}

MusicInterface* LumoAppBase::MakeMusicPlayer()
{
    void* window = reinterpret_cast<SoundWindowHandle>(this);
    if (mNoSound)
        return new MusicInterface();
    if (mUseFMod)
        return new FModMusicInterface(window);
    return new BassMusicInterface(window);
}

void LumoAppBase::Start()
{
    if (mShutdown)
        return;
    Platform::InstallStopSignalHandlers();
    StartLoading();
    if (mVideo)
        mVideo->ShowWindow(true);

    auto* virtualClock = dynamic_cast<Platform::VirtualClock*>(mClock.get());
    while (RunOnePass())
    {
        // On the virtual clock each pass is exactly one update and one draw.
        if (virtualClock != nullptr)
            virtualClock->Advance(10);
    }
    ShutdownOnMainThread();
    // Another thread met a lost display while the run was ending (a box of the
    // loader, while the end waited for it): all is saved, so the program ends
    // as for any lost display.
    Platform::EndIfDisplayLost();
    NoteRunLength(mUpdateCount, mDrawCount);
}

void LumoAppBase::StartLoading()
{
    if (mLoadingThreadStarted)
        return;
    mLoadingThreadStarted = true;
    if (mLoadingThreadEnabled)
    {
        try
        {
            mLoadingThread = std::thread([this] {
                tOnLoadingThread = true;
                LoadingThreadProc();
            });
            return;
        }
        catch (const std::system_error& error)
        {
            // No room for one more thread (the user's process limit): loading
            // runs right here, as with the thread switched off, and the run
            // goes on like any other.
            Platform::Notice("APP", std::string("the loading thread could not be started (") + error.what() +
                                        "); loading on the main thread");
        }
    }
    LoadingThreadProc();
}

void LumoAppBase::EndLoadingThread()
{
    if (!mLoadingThread.joinable())
        return;
    // With the display gone, a loader still at work may be held for good:
    // in a display call, or asleep outside Xlib after meeting the loss. A
    // stop signal cannot close a box that SDL shows in the program itself
    // (when it cannot fork a copy to show it), and nobody may answer it. The
    // wait looks at both now and then; a loader left in its box never comes
    // back into the application, and the process ends right after the save.
    bool loaded = false;
    {
        std::unique_lock<std::mutex> lock(mLoadedMutex);
        while (!mLoaded && !Platform::DisplayLost() && !(mLoaderInBox && Platform::StopSignalReceived()))
            mLoadedChanged.wait_for(lock, std::chrono::milliseconds(20));
        loaded = mLoaded;
        mLoaderLeftBehind = !loaded;
    }
    if (!loaded)
    {
        mLoadingThread.detach();
        return;
    }
    mLoadingThread.join();
}

void LumoAppBase::LoadingThreadProc()
{
    if (mLoadingDelayMs > 0)
        Platform::SleepMs(static_cast<uint32_t>(mLoadingDelayMs));
    LoadResources();
    std::lock_guard<std::mutex> lock(mLoadedMutex);
    mLoaded = true;
    mLoadedChanged.notify_all();
}

void LumoAppBase::Shutdown()
{
    if (!IsMainThread())
    {
        mShutdownRequested = true;
        return;
    }
    ShutdownOnMainThread();
}

void LumoAppBase::ShutdownOnMainThread()
{
    mShutdown = true;
    // Whatever way the run ends, loading has finished before anything below
    // runs: the game's save, the codec's close, the settings and the demo all
    // touch what the loading thread may still be using.
    EndLoadingThread();
    if (mShutdownDone)
        return;
    mShutdownDone = true;
    OnShutdown();
    if (mMusicInterface != nullptr)
        mMusicInterface->StopAllMusic();
    ImageLib::CloseJpeg2000Codec();
    if (mWriteSettings && mInitDone)
        WriteSettings();
    // The recording is complete once the updates have stopped; written here,
    // so a failure still reaches the exit status.
    if (mRecordingDemo)
        FinishDemo();
    // The window goes last: should the display be gone by now, everything is
    // saved before the first display call finds out.
    if (mVideo)
        mVideo->ShowWindow(false);
    // A loader left in its box still holds this object: the program ends
    // here, saved, with the status the run has. (After a lost display it ends
    // where the loss was met.)
    if (LoaderLeftBehind() && !Platform::DisplayLost())
    {
        NoteRunLength(mUpdateCount, mDrawCount);
        Platform::EndProgramNow(GetExitCode());
    }
}

bool LumoAppBase::LoaderLeftBehind()
{
    std::lock_guard<std::mutex> lock(mLoadedMutex);
    return mLoaderLeftBehind;
}

void LumoAppBase::LoaderInBox(bool inBox)
{
    std::unique_lock<std::mutex> lock(mLoadedMutex);
    mLoaderInBox = inBox;
    // Once the run has ended without it, the loader waits for the process's
    // end, which follows the save.
    if (!inBox)
        mLoadedChanged.wait(lock, [this] { return !mLoaderLeftBehind; });
}

void LumoAppBase::ReadSettings()
{
    if (!mSettings || !mSettings->Load())
        return;
    auto dword = [this](const char* name) { return mSettings->GetDword(name); };
    if (auto v = dword("MusicVolume"))
        mMusicVolume = std::min(*v, 100u) / 100.0;
    if (auto v = dword("SfxVolume"))
        mSfxVolume = std::min(*v, 100u) / 100.0;
    if (auto v = dword("Muted"))
        mMuted = *v != 0;
    if (auto v = dword("ScreenMode"))
        mIsWindowed = *v == 0;
    if (auto v = dword("PreferredX"))
        mPreferredX = static_cast<int>(*v);
    if (auto v = dword("PreferredY"))
        mPreferredY = static_cast<int>(*v);
    if (auto v = dword("CustomCursors"))
        mCustomCursors = *v != 0;
    if (auto v = dword("WaitForVSync"))
        mWaitForVSync = *v != 0;
    if (auto v = dword("Is3D"))
        mIs3D = *v != 0;
}

void LumoAppBase::WriteSettings()
{
    if (!mSettings || mPlayingDemo)
        return;
    mSettings->SetDword("MusicVolume", VolumeToSetting(mMusicVolume));
    mSettings->SetDword("SfxVolume", VolumeToSetting(mSfxVolume));
    mSettings->SetDword("Muted", mMuted ? 1 : 0);
    mSettings->SetDword("ScreenMode", mIsWindowed ? 0 : 1);
    mSettings->SetDword("PreferredX", static_cast<uint32_t>(mPreferredX));
    mSettings->SetDword("PreferredY", static_cast<uint32_t>(mPreferredY));
    mSettings->SetDword("CustomCursors", mCustomCursors ? 1 : 0);
    mSettings->SetDword("WaitForVSync", mWaitForVSync ? 1 : 0);
    mSettings->SetDword("Is3D", mIs3D ? 1 : 0);
    mSettings->SetDword("InProgress", 0);
    SaveSettings();
}

void LumoAppBase::SaveSettings()
{
    // A failed write says why; the program goes on, and the next write (at
    // the end of the run) tries again.
    std::string error;
    if (!mSettings->Save(&error))
        Platform::Notice("SETTINGS", "the settings could not be saved (" + error + ")");
}

bool LumoAppBase::HandleDebugKey(int keyCode)
{
    (void)keyCode;
    return false;
}

void LumoAppBase::SetCursorKind(CursorKind kind)
{
    mCursorKind = kind;
    if (mVideo)
        mVideo->ShowSystemCursor(kind != CursorKind::Hidden);
}

std::string LumoAppBase::LookupText(const std::string& id, const std::string& defaultText) const
{
    (void)id;
    return defaultText;
}

int LumoAppBase::MessageBox(const std::string& caption, const std::string& text, int kind)
{
    const auto boxKind = static_cast<Platform::MessageBoxKind>(kind);
    if (!mVideo)
    {
        Platform::HeadlessVideo fallback;
        return fallback.ShowMessageBox(caption, text, boxKind);
    }
    if (!tOnLoadingThread)
        return mVideo->ShowMessageBox(caption, text, boxKind);
    // The end of the run does not wait for the answer of the loader's box
    // after a stop signal.
    LoaderInBox(true);
    const int answer = mVideo->ShowMessageBox(caption, text, boxKind);
    LoaderInBox(false);
    return answer;
}

bool LumoAppBase::ShowFatalError(const std::string& text)
{
    Platform::DebugOutput(text + "\n");
    return MessageBox(LookupText("FATAL_ERROR", "FATAL ERROR"), text,
                      static_cast<int>(Platform::MessageBoxKind::Ok)) != Platform::MESSAGEBOX_NONE;
}

void LumoAppBase::SwitchScreenMode(bool windowed, bool is3D, bool force)
{
    (void)is3D; // no 3D acceleration here
    if (!force && windowed == mIsWindowed)
        return;
    mIsWindowed = windowed;
    if (mVideo && !CreateMainWindow())
    {
        mIsWindowed = true;
        if (!CreateMainWindow())
            ShowFatalError("Failed to create the main window.");
    }
}

void LumoAppBase::SetClock(std::unique_ptr<Platform::Clock> clock)
{
    mClock = std::move(clock);
    mTimeStarted = false;
    mAccumulated = 0;
}

} // namespace Lumo

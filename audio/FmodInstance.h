#pragma once
// The process-wide holder of the FMOD library (our "fmod.dll" stand-in,
// bin/libfmod.so): loads it by name, resolves its 30 entry points by their
// decorated export names ("_FSOUND_Init@12") into this table, and frees the
// library with its last user. The music player and the sound manager's MP3
// reader call FMOD only through gFmodInstance.
//
// A missing library or entry ends the program after one message box (see
// AudioLibraryError.h). Acquire/Release run on the main thread; the count is
// atomic.
#include "platform/ModuleLoader.h"
#include "platform/audio/FmodApi.h"
#include <atomic>
#include <cstdint>

namespace Lumo {

constexpr const char* kFmodLibraryPath = "fmod.dll";

class FMOD_INSTANCE
{
public:
    // An empty table without a library (every entry null); tests fill it.
    FMOD_INSTANCE() = default;
    // Loads the library at path and resolves every entry; mModule stays null
    // when it cannot be loaded.
    explicit FMOD_INSTANCE(const char* path);
    virtual ~FMOD_INSTANCE();
    FMOD_INSTANCE(const FMOD_INSTANCE&) = delete;
    FMOD_INSTANCE& operator=(const FMOD_INSTANCE&) = delete;

    Platform::ModuleHandle mModule = nullptr;

    FmodSetBufferSizeFunction FSOUND_SetBufferSize = nullptr;
    FmodSetHWNDFunction FSOUND_SetHWND = nullptr;
    FmodInitFunction FSOUND_Init = nullptr;
    FmodCloseFunction FSOUND_Close = nullptr;
    FmodSampleLoadFunction FSOUND_Sample_Load = nullptr;
    FmodSampleAllocFunction FSOUND_Sample_Alloc = nullptr;
    FmodSampleFreeFunction FSOUND_Sample_Free = nullptr;
    FmodSampleLockFunction FSOUND_Sample_Lock = nullptr;
    FmodSampleUnlockFunction FSOUND_Sample_Unlock = nullptr;
    FmodSampleSetLoopPointsFunction FSOUND_Sample_SetLoopPoints = nullptr;
    FmodSampleGetLengthFunction FSOUND_Sample_GetLength = nullptr;
    FmodSampleGetDefaultsFunction FSOUND_Sample_GetDefaults = nullptr;
    FmodSampleGetModeFunction FSOUND_Sample_GetMode = nullptr;
    FmodPlaySoundFunction FSOUND_PlaySound = nullptr;
    FmodStopSoundFunction FSOUND_StopSound = nullptr;
    FmodSetVolumeFunction FSOUND_SetVolume = nullptr;
    FmodSetPausedFunction FSOUND_SetPaused = nullptr;
    FmodSetLoopModeFunction FSOUND_SetLoopMode = nullptr;
    FmodIsPlayingFunction FSOUND_IsPlaying = nullptr;
    FmodStreamOpenFileFunction FSOUND_Stream_OpenFile = nullptr;
    FmodStreamCloseFunction FSOUND_Stream_Close = nullptr;
    FmodStreamPlayFunction FSOUND_Stream_Play = nullptr;
    FmodLoadSongFunction FMUSIC_LoadSong = nullptr;
    FmodPlaySongFunction FMUSIC_PlaySong = nullptr;
    FmodStopSongFunction FMUSIC_StopSong = nullptr;
    FmodSetLoopingFunction FMUSIC_SetLooping = nullptr;
    FmodSetOrderFunction FMUSIC_SetOrder = nullptr;
    FmodSetSongPausedFunction FMUSIC_SetPaused = nullptr;
    FmodSetMasterVolumeFunction FMUSIC_SetMasterVolume = nullptr;
    FmodSongIsPlayingFunction FMUSIC_IsPlaying = nullptr;

private:
    template <typename Function>
    void Require(Function& entry, const char* decoratedName);
    void ResolveEntries();
};

extern FMOD_INSTANCE* gFmodInstance;
extern std::atomic<int32_t> gFmodInstanceCount;

// Counts a user; the first one loads the library ("fmod.dll" in the program).
// A library that cannot be loaded ends the program with "Can't find fmod.dll.".
void AcquireFmodInstance(const char* libraryPath = kFmodLibraryPath);
// Counts a user off; the last one frees the library.
void ReleaseFmodInstance();
// Ends the program with "<name> function not found in fmod.dll" when the
// entry is null.
void RequireFmodFunction(void* entry, const char* name);

} // namespace Lumo

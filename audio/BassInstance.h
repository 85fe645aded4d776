#pragma once
// The process-wide holder of the BASS music library (our "bass.dll" stand-in,
// bin/libbass.so): it loads the library by name, resolves every entry point
// the program uses into this table and frees the library with its last user.
// The music player calls BASS only through gBassInstance.
//
// A missing library or a missing required entry ends the program after one
// message box (see AudioLibraryError.h). Optional entries stay null:
// BASS_SetGlobalVolumes or BASS_SetVolume (one of the two must exist),
// BASS_SetConfig and BASS_GetConfig, and (newer generation only)
// BASS_PluginLoad, BASS_ChannelGetLength, BASS_ChannelPreBuf.
//
// Generations: a library with BASS_SetConfig is of the newer generation; its
// BASS_Init and BASS_MusicLoad take the newer argument lists and fill BASS_Init
// and BASS_MusicLoad (the Old fields stay null); an older library fills only
// the Old fields.
//
// Acquire/Release run on the main thread; the count is atomic.
#include "platform/ModuleLoader.h"
#include "platform/audio/BassApi.h"
#include <atomic>
#include <cstdint>

namespace Lumo {

constexpr const char* kBassLibraryPath = ".\\bass.dll";

class BASS_INSTANCE
{
public:
    // An empty table without a library (every entry null); tests fill it.
    BASS_INSTANCE() = default;
    // Loads the library at path and resolves its entries; mModule stays null
    // when it cannot be loaded.
    explicit BASS_INSTANCE(const char* path);
    virtual ~BASS_INSTANCE();
    BASS_INSTANCE(const BASS_INSTANCE&) = delete;
    BASS_INSTANCE& operator=(const BASS_INSTANCE&) = delete;

    Platform::ModuleHandle mModule = nullptr;
    bool mNewerGeneration = false;

    BassGetVersionFunction BASS_GetVersion = nullptr;
    BassInitOldFunction BASS_InitOld = nullptr;
    BassInitFunction BASS_Init = nullptr;
    BassFreeFunction BASS_Free = nullptr;
    BassStopFunction BASS_Stop = nullptr;
    BassStartFunction BASS_Start = nullptr;
    BassSetGlobalVolumesFunction BASS_SetGlobalVolumes = nullptr;
    BassSetVolumeFunction BASS_SetVolume = nullptr;
    BassGetVolumeFunction BASS_GetVolume = nullptr;
    BassGetInfoFunction BASS_GetInfo = nullptr;
    BassSetConfigFunction BASS_SetConfig = nullptr;
    BassGetConfigFunction BASS_GetConfig = nullptr;
    BassChannelStopFunction BASS_ChannelStop = nullptr;
    BassChannelPlayFunction BASS_ChannelPlay = nullptr;
    BassChannelPauseFunction BASS_ChannelPause = nullptr;
    BassChannelSetAttributesFunction BASS_ChannelSetAttributes = nullptr;
    BassChannelGetAttributesFunction BASS_ChannelGetAttributes = nullptr;
    BassChannelSetPositionFunction BASS_ChannelSetPosition = nullptr;
    BassChannelGetPositionFunction BASS_ChannelGetPosition = nullptr;
    BassChannelSetFlagsFunction BASS_ChannelSetFlags = nullptr;
    BassChannelIsActiveFunction BASS_ChannelIsActive = nullptr;
    BassChannelSlideAttributesFunction BASS_ChannelSlideAttributes = nullptr;
    BassChannelIsSlidingFunction BASS_ChannelIsSliding = nullptr;
    BassChannelGetLevelFunction BASS_ChannelGetLevel = nullptr;
    BassChannelSetFXFunction BASS_ChannelSetFX = nullptr;
    BassChannelRemoveFXFunction BASS_ChannelRemoveFX = nullptr;
    BassChannelGetLengthFunction BASS_ChannelGetLength = nullptr;
    BassChannelGetDataFunction BASS_ChannelGetData = nullptr;
    BassChannelPreBufFunction BASS_ChannelPreBuf = nullptr;
    BassChannelSetSyncFunction BASS_ChannelSetSync = nullptr;
    BassChannelRemoveSyncFunction BASS_ChannelRemoveSync = nullptr;
    BassMusicLoadOldFunction BASS_MusicLoadOld = nullptr;
    BassMusicLoadFunction BASS_MusicLoad = nullptr;
    BassMusicFreeFunction BASS_MusicFree = nullptr;
    BassStreamCreateFileFunction BASS_StreamCreateFile = nullptr;
    BassStreamFreeFunction BASS_StreamFree = nullptr;
    BassFXSetParametersFunction BASS_FXSetParameters = nullptr;
    BassFXGetParametersFunction BASS_FXGetParameters = nullptr;
    BassMusicGetAttributeFunction BASS_MusicGetAttribute = nullptr;
    BassMusicSetAttributeFunction BASS_MusicSetAttribute = nullptr;
    BassMusicGetOrdersFunction BASS_MusicGetOrders = nullptr;
    BassMusicGetOrderPositionFunction BASS_MusicGetOrderPosition = nullptr;
    BassPluginLoadFunction BASS_PluginLoad = nullptr;
    BassSampleLoadFunction BASS_SampleLoad = nullptr;
    BassSampleFreeFunction BASS_SampleFree = nullptr;
    BassSampleSetInfoFunction BASS_SampleSetInfo = nullptr;
    BassSampleGetInfoFunction BASS_SampleGetInfo = nullptr;
    BassSampleGetChannelFunction BASS_SampleGetChannel = nullptr;
    BassSampleStopFunction BASS_SampleStop = nullptr;
    BassErrorGetCodeFunction BASS_ErrorGetCode = nullptr;

private:
    template <typename Function>
    void Require(Function& entry, const char* name);
    template <typename Function>
    void Find(Function& entry, const char* name);
    void ResolveEntries();
};

// The holder while anyone uses BASS, else null.
extern BASS_INSTANCE* gBassInstance;
// Its users.
extern std::atomic<int32_t> gBassInstanceCount;

// Counts a user; the first one loads the library (libraryPath: the library's
// name, ".\\bass.dll" in the program). A library that cannot be loaded ends
// the program with "Can't find bass.dll.".
void AcquireBassInstance(const char* libraryPath = kBassLibraryPath);
// Counts a user off; the last one frees the library.
void ReleaseBassInstance();
// Ends the program with "<name> function not found in bass.dll" when the
// entry is null.
void RequireBassFunction(void* entry, const char* name);

} // namespace Lumo

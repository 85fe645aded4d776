#include "audio/BassInstance.h"
#include "app/Common.h"
#include "audio/AudioLibraryError.h"

namespace Lumo {

BASS_INSTANCE* gBassInstance = nullptr;
std::atomic<int32_t> gBassInstanceCount{0};

template <typename Function>
void BASS_INSTANCE::Find(Function& entry, const char* name)
{
    entry = reinterpret_cast<Function>(Platform::GetModuleEntry(mModule, name));
}

template <typename Function>
void BASS_INSTANCE::Require(Function& entry, const char* name)
{
    Find(entry, name);
    RequireBassFunction(reinterpret_cast<void*>(entry), name);
}

BASS_INSTANCE::BASS_INSTANCE(const char* path)
{
    mModule = Platform::LoadModule(path);
    if (mModule)
        ResolveEntries();
}

void BASS_INSTANCE::ResolveEntries()
{
    // BASS_Init and BASS_MusicLoad take other arguments in the older
    // generation: which form they are is known only at the end.
    void* init = nullptr;
    void* musicLoad = nullptr;
    Require(init, "BASS_Init");
    Require(BASS_Free, "BASS_Free");
    Require(BASS_Stop, "BASS_Stop");
    Require(BASS_Start, "BASS_Start");
    Find(BASS_SetGlobalVolumes, "BASS_SetGlobalVolumes");
    Find(BASS_SetVolume, "BASS_SetVolume");
    if (!BASS_SetGlobalVolumes && !BASS_SetVolume)
        FailAudioLibrary("Neither BASS_SetGlobalVolumes or BASS_SetVolume found in bass.dll");
    Find(BASS_SetConfig, "BASS_SetConfig");
    Find(BASS_GetConfig, "BASS_GetConfig");
    Require(BASS_GetVolume, "BASS_GetVolume");
    Require(BASS_GetInfo, "BASS_GetInfo");
    Require(BASS_GetVersion, "BASS_GetVersion");
    Require(BASS_ChannelStop, "BASS_ChannelStop");
    Require(BASS_ChannelPlay, "BASS_ChannelPlay");
    Require(BASS_ChannelPause, "BASS_ChannelPause");
    Require(BASS_ChannelSetAttributes, "BASS_ChannelSetAttributes");
    Require(BASS_ChannelGetAttributes, "BASS_ChannelGetAttributes");
    Require(BASS_ChannelSetPosition, "BASS_ChannelSetPosition");
    Require(BASS_ChannelGetPosition, "BASS_ChannelGetPosition");
    Require(BASS_ChannelIsActive, "BASS_ChannelIsActive");
    Require(BASS_ChannelSetFlags, "BASS_ChannelSetFlags");
    Require(BASS_ChannelSlideAttributes, "BASS_ChannelSlideAttributes");
    Require(BASS_ChannelIsSliding, "BASS_ChannelIsSliding");
    Require(BASS_ChannelGetLevel, "BASS_ChannelGetLevel");
    Require(BASS_ChannelSetSync, "BASS_ChannelSetSync");
    Require(BASS_ChannelRemoveSync, "BASS_ChannelRemoveSync");
    Require(BASS_ChannelGetData, "BASS_ChannelGetData");
    Require(BASS_FXSetParameters, "BASS_FXSetParameters");
    Require(BASS_FXGetParameters, "BASS_FXGetParameters");
    Require(BASS_ChannelSetFX, "BASS_ChannelSetFX");
    Require(BASS_ChannelRemoveFX, "BASS_ChannelRemoveFX");
    Require(musicLoad, "BASS_MusicLoad");
    Require(BASS_MusicFree, "BASS_MusicFree");
    Require(BASS_MusicGetAttribute, "BASS_MusicGetAttribute");
    Require(BASS_MusicSetAttribute, "BASS_MusicSetAttribute");
    Require(BASS_StreamCreateFile, "BASS_StreamCreateFile");
    Require(BASS_StreamFree, "BASS_StreamFree");
    Require(BASS_MusicGetOrders, "BASS_MusicGetOrders");
    Require(BASS_MusicGetOrderPosition, "BASS_MusicGetOrderPosition");
    Require(BASS_SampleLoad, "BASS_SampleLoad");
    Require(BASS_SampleFree, "BASS_SampleFree");
    Require(BASS_SampleSetInfo, "BASS_SampleSetInfo");
    Require(BASS_SampleGetInfo, "BASS_SampleGetInfo");
    Require(BASS_SampleGetChannel, "BASS_SampleGetChannel");
    Require(BASS_SampleStop, "BASS_SampleStop");
    Require(BASS_ErrorGetCode, "BASS_ErrorGetCode");

    mNewerGeneration = BASS_SetConfig != nullptr;
    if (mNewerGeneration)
    {
        BASS_Init = reinterpret_cast<BassInitFunction>(init);
        BASS_MusicLoad = reinterpret_cast<BassMusicLoadFunction>(musicLoad);
        Find(BASS_PluginLoad, "BASS_PluginLoad");
        Find(BASS_ChannelGetLength, "BASS_ChannelGetLength");
        Find(BASS_ChannelPreBuf, "BASS_ChannelPreBuf");
    }
    else
    {
        BASS_InitOld = reinterpret_cast<BassInitOldFunction>(init);
        BASS_MusicLoadOld = reinterpret_cast<BassMusicLoadOldFunction>(musicLoad);
    }
}

BASS_INSTANCE::~BASS_INSTANCE()
{
    if (mModule)
        Platform::FreeModule(mModule);
}

void AcquireBassInstance(const char* libraryPath)
{
    ++gBassInstanceCount;
    if (gBassInstance)
        return;
    gBassInstance = new BASS_INSTANCE(libraryPath);
    if (!gBassInstance->mModule)
        FailAudioLibrary("Can't find bass.dll.");
}

void ReleaseBassInstance()
{
    if (!gBassInstance)
        return;
    if (--gBassInstanceCount < 1)
    {
        delete gBassInstance;
        gBassInstance = nullptr;
    }
}

void RequireBassFunction(void* entry, const char* name)
{
    if (!entry)
        FailAudioLibrary(FormatString("%s function not found in bass.dll", name));
}

} // namespace Lumo

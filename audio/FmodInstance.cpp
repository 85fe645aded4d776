#include "audio/FmodInstance.h"
#include "app/Common.h"
#include "audio/AudioLibraryError.h"

namespace Lumo {

FMOD_INSTANCE* gFmodInstance = nullptr;
std::atomic<int32_t> gFmodInstanceCount{0};

template <typename Function>
void FMOD_INSTANCE::Require(Function& entry, const char* decoratedName)
{
    entry = reinterpret_cast<Function>(Platform::GetModuleEntry(mModule, decoratedName));
    RequireFmodFunction(reinterpret_cast<void*>(entry), FormatString("\"%s\"", decoratedName).c_str());
}

FMOD_INSTANCE::FMOD_INSTANCE(const char* path)
{
    mModule = Platform::LoadModule(path);
    if (mModule)
        ResolveEntries();
}

void FMOD_INSTANCE::ResolveEntries()
{
    // Exported as "_" + name + "@" + the byte count of the arguments.
    Require(FSOUND_SetBufferSize, "_FSOUND_SetBufferSize@4");
    Require(FSOUND_SetHWND, "_FSOUND_SetHWND@4");
    Require(FSOUND_Init, "_FSOUND_Init@12");
    Require(FSOUND_Close, "_FSOUND_Close@0");
    Require(FSOUND_Sample_Load, "_FSOUND_Sample_Load@16");
    Require(FSOUND_Sample_Alloc, "_FSOUND_Sample_Alloc@28");
    Require(FSOUND_Sample_Free, "_FSOUND_Sample_Free@4");
    Require(FSOUND_Sample_Lock, "_FSOUND_Sample_Lock@28");
    Require(FSOUND_Sample_Unlock, "_FSOUND_Sample_Unlock@20");
    Require(FSOUND_Sample_SetLoopPoints, "_FSOUND_Sample_SetLoopPoints@12");
    Require(FSOUND_Sample_GetLength, "_FSOUND_Sample_GetLength@4");
    Require(FSOUND_Sample_GetDefaults, "_FSOUND_Sample_GetDefaults@20");
    Require(FSOUND_Sample_GetMode, "_FSOUND_Sample_GetMode@4");
    Require(FSOUND_PlaySound, "_FSOUND_PlaySound@8");
    Require(FSOUND_StopSound, "_FSOUND_StopSound@4");
    Require(FSOUND_SetVolume, "_FSOUND_SetVolume@8");
    Require(FSOUND_SetPaused, "_FSOUND_SetPaused@8");
    Require(FSOUND_SetLoopMode, "_FSOUND_SetLoopMode@8");
    Require(FSOUND_IsPlaying, "_FSOUND_IsPlaying@4");
    Require(FSOUND_Stream_OpenFile, "_FSOUND_Stream_OpenFile@12");
    Require(FSOUND_Stream_Close, "_FSOUND_Stream_Close@4");
    Require(FSOUND_Stream_Play, "_FSOUND_Stream_Play@8");
    Require(FMUSIC_LoadSong, "_FMUSIC_LoadSong@4");
    Require(FMUSIC_PlaySong, "_FMUSIC_PlaySong@4");
    Require(FMUSIC_StopSong, "_FMUSIC_StopSong@4");
    Require(FMUSIC_SetLooping, "_FMUSIC_SetLooping@8");
    Require(FMUSIC_SetOrder, "_FMUSIC_SetOrder@8");
    Require(FMUSIC_SetPaused, "_FMUSIC_SetPaused@8");
    Require(FMUSIC_SetMasterVolume, "_FMUSIC_SetMasterVolume@8");
    Require(FMUSIC_IsPlaying, "_FMUSIC_IsPlaying@4");
}

FMOD_INSTANCE::~FMOD_INSTANCE()
{
    if (mModule)
        Platform::FreeModule(mModule);
}

void AcquireFmodInstance(const char* libraryPath)
{
    ++gFmodInstanceCount;
    if (gFmodInstance)
        return;
    gFmodInstance = new FMOD_INSTANCE(libraryPath);
    if (!gFmodInstance->mModule)
        FailAudioLibrary("Can't find fmod.dll.");
}

void ReleaseFmodInstance()
{
    if (!gFmodInstance)
        return;
    if (--gFmodInstanceCount < 1)
    {
        delete gFmodInstance;
        gFmodInstance = nullptr;
    }
}

void RequireFmodFunction(void* entry, const char* name)
{
    if (!entry)
        FailAudioLibrary(FormatString("%s function not found in fmod.dll", name));
}

} // namespace Lumo

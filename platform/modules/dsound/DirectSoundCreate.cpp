// The exported entry of the DirectSound stand-in module.
#include "platform/modules/dsound/StandInSoundDevice.h"
#include <new>

extern "C" __attribute__((visibility("default"))) Lumo::DSResult DirectSoundCreate(const void* device,
                                                                                  Lumo::IDirectSound** sound,
                                                                                  void* outer)
{
    if (!sound || outer || device) // only the default device exists
        return Lumo::DSERR_INVALIDPARAM;
    *sound = new (std::nothrow) Lumo::Platform::StandInSoundDevice();
    return *sound ? Lumo::DS_OK : Lumo::DSERR_OUTOFMEMORY;
}

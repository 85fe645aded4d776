#pragma once
// The device object of the DirectSound stand-in. Every device of the process
// plays through the one mixer (platform/audio/Mixer.h).
#include "platform/audio/DirectSoundApi.h"
#include <atomic>

namespace Lumo::Platform {

class StandInSoundDevice final : public IDirectSound
{
public:
    StandInSoundDevice();

    uint32_t CooperativeLevel() const { return mLevel; }

    uint32_t AddRef() override;
    uint32_t Release() override;
    DSResult SetCooperativeLevel(void* window, uint32_t level) override;
    DSResult CreateSoundBuffer(const DSBufferDesc* desc, IDirectSoundBuffer** buffer, void* outer) override;
    DSResult DuplicateSoundBuffer(IDirectSoundBuffer* source, IDirectSoundBuffer** duplicate) override;

private:
    ~StandInSoundDevice() override = default;

    std::atomic<uint32_t> mReferences{1};
    std::atomic<uint32_t> mLevel{0};
};

// Whether a secondary buffer of this format can be made (PCM, 1 or 2
// channels, 8 or 16 bits, 100..100000 Hz, a matching block align).
bool IsPlayableFormat(const DSWaveFormat& format);

} // namespace Lumo::Platform

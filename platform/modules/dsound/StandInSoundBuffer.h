#pragma once
// A sound buffer of the DirectSound stand-in: the primary buffer (the output
// format, no samples) or a static secondary buffer that plays shared sample
// bytes through one voice of the process's mixer.
#include "platform/audio/DirectSoundApi.h"
#include "platform/audio/Mixer.h"
#include <atomic>
#include <memory>
#include <mutex>

namespace Lumo::Platform {

class StandInSoundDevice;

class StandInSoundBuffer final : public IDirectSoundBuffer
{
public:
    // The primary buffer; holds a reference to its device.
    explicit StandInSoundBuffer(StandInSoundDevice* device);
    // A secondary buffer over the data (shared with duplicates).
    StandInSoundBuffer(std::shared_ptr<SampleData> data, uint32_t flags);

    // A new buffer over the same data with this one's settings; null when
    // the mixer refuses a voice.
    StandInSoundBuffer* Duplicate();
    bool IsPrimary() const { return mDevice != nullptr; }
    bool HasVoice() const { return mVoice != 0; }

    uint32_t AddRef() override;
    uint32_t Release() override;
    DSResult GetFormat(DSWaveFormat* format) override;
    DSResult GetFrequency(uint32_t* hz) override;
    DSResult GetVolume(int32_t* volume) override;
    DSResult GetPan(int32_t* pan) override;
    DSResult GetStatus(uint32_t* status) override;
    DSResult GetCurrentPosition(uint32_t* play, uint32_t* write) override;
    DSResult SetCurrentPosition(uint32_t position) override;
    DSResult SetFormat(const DSWaveFormat* format) override;
    DSResult SetVolume(int32_t volume) override;
    DSResult SetPan(int32_t pan) override;
    DSResult SetFrequency(uint32_t hz) override;
    DSResult Play(uint32_t reserved, uint32_t priority, uint32_t flags) override;
    DSResult Stop() override;
    DSResult Lock(uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1, void** part2, uint32_t* bytes2,
                  uint32_t flags) override;
    DSResult Unlock(void* part1, uint32_t bytes1, void* part2, uint32_t bytes2) override;

private:
    ~StandInSoundBuffer() override;
    void ApplyGains();
    bool Owns(const void* pointer, uint32_t bytes) const;

    std::atomic<uint32_t> mReferences{1};
    StandInSoundDevice* mDevice = nullptr; // primary buffer only
    DSWaveFormat mPrimaryFormat;
    std::shared_ptr<SampleData> mData;     // secondary buffer only
    VoiceId mVoice = 0;
    uint32_t mFlags = 0;
    std::mutex mLock;                      // guards the settings below
    int32_t mVolume = 0;
    int32_t mPan = 0;
};

} // namespace Lumo::Platform

#pragma once
// The interface of our DirectSound stand-in (the "dsound.dll" module): the
// device and buffer objects the sound manager drives, their result codes and
// flags. The module and its users share this header; the module's only export
// is DirectSoundCreate (see DirectSoundCreateFunction).
//
// Objects are reference-counted: Release frees an object with its last
// reference; a duplicated buffer shares the sample bytes of its source.
// Buffers are safe to use from any thread (the mixer lock guards playback).
#include <cstdint>

namespace Lumo {

using DSResult = int32_t;

constexpr DSResult DS_OK = 0;
constexpr DSResult DSERR_ALLOCATED = DSResult(0x8878000Au);
constexpr DSResult DSERR_OUTOFMEMORY = DSResult(0x8007000Eu);
constexpr DSResult DSERR_INVALIDPARAM = DSResult(0x80070057u);
constexpr DSResult DSERR_INVALIDCALL = DSResult(0x88780032u);
constexpr DSResult DSERR_UNINITIALIZED = DSResult(0x887800AAu);

inline bool DSSucceeded(DSResult result)
{
    return result >= 0;
}

// Buffer description flags.
constexpr uint32_t kDSBufferPrimary = 0x0001;
constexpr uint32_t kDSBufferStatic = 0x0002;
constexpr uint32_t kDSBufferSoftware = 0x0008;
constexpr uint32_t kDSBufferFrequencyControl = 0x0020;
constexpr uint32_t kDSBufferPanControl = 0x0040;
constexpr uint32_t kDSBufferVolumeControl = 0x0080;
constexpr uint32_t kDSBufferGlobalFocus = 0x8000;
// What the sound manager asks for every sound buffer (0x80EA).
constexpr uint32_t kDSSoundBufferFlags = kDSBufferStatic | kDSBufferSoftware | kDSBufferFrequencyControl |
                                         kDSBufferPanControl | kDSBufferVolumeControl | kDSBufferGlobalFocus;

// Cooperative levels.
constexpr uint32_t kDSLevelNormal = 1;
constexpr uint32_t kDSLevelPriority = 2;

// Play flag and status bits.
constexpr uint32_t kDSPlayLooping = 0x1;
constexpr uint32_t kDSStatusPlaying = 0x1;
constexpr uint32_t kDSStatusLooping = 0x4;

// Ranges: volume in hundredths of a decibel (-10000 is silence), pan in
// hundredths of a decibel of the other side's attenuation, frequency in Hz,
// buffer size in bytes.
constexpr int32_t kDSVolumeMin = -10000;
constexpr int32_t kDSVolumeMax = 0;
constexpr int32_t kDSPanLeft = -10000;
constexpr int32_t kDSPanRight = 10000;
constexpr uint32_t kDSFrequencyMin = 100;
constexpr uint32_t kDSFrequencyMax = 100000;
constexpr uint32_t kDSBufferSizeMax = 0x0FFFFFFF;

// PCM wave format (formatTag 1).
struct DSWaveFormat
{
    uint16_t formatTag = 1;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;
    uint16_t bitsPerSample = 0;
};

struct DSBufferDesc
{
    uint32_t structSize = sizeof(DSBufferDesc);
    uint32_t flags = 0;
    uint32_t bufferBytes = 0;            // 0 for the primary buffer
    const DSWaveFormat* format = nullptr; // null for the primary buffer
};

class IDirectSoundBuffer
{
public:
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;
    virtual DSResult GetFormat(DSWaveFormat* format) = 0;
    virtual DSResult GetFrequency(uint32_t* hz) = 0;
    virtual DSResult GetVolume(int32_t* volume) = 0;
    virtual DSResult GetPan(int32_t* pan) = 0;
    // Status bits kDSStatusPlaying / kDSStatusLooping.
    virtual DSResult GetStatus(uint32_t* status) = 0;
    // Play position and the position from which it is safe to write, in bytes.
    virtual DSResult GetCurrentPosition(uint32_t* play, uint32_t* write) = 0;
    virtual DSResult SetCurrentPosition(uint32_t position) = 0;
    // Primary buffer only: the output format asked for (the mixer always
    // produces 44100 Hz 16-bit stereo). Needs the priority level.
    virtual DSResult SetFormat(const DSWaveFormat* format) = 0;
    virtual DSResult SetVolume(int32_t volume) = 0; // kDSVolumeMin..kDSVolumeMax
    virtual DSResult SetPan(int32_t pan) = 0;       // kDSPanLeft..kDSPanRight
    virtual DSResult SetFrequency(uint32_t hz) = 0; // kDSFrequencyMin..kDSFrequencyMax
    // flags: kDSPlayLooping or 0; reserved and priority must be 0.
    virtual DSResult Play(uint32_t reserved, uint32_t priority, uint32_t flags) = 0;
    virtual DSResult Stop() = 0;
    // Gives write access to `bytes` bytes from `offset`, wrapping at the end
    // into a second region (part2 null when there is none). The bytes are
    // shared with every duplicate. Unlock ends the access.
    virtual DSResult Lock(uint32_t offset, uint32_t bytes, void** part1, uint32_t* bytes1, void** part2,
                          uint32_t* bytes2, uint32_t flags) = 0;
    virtual DSResult Unlock(void* part1, uint32_t bytes1, void* part2, uint32_t bytes2) = 0;

protected:
    virtual ~IDirectSoundBuffer() = default;
};

class IDirectSound
{
public:
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;
    // window: the owner (any non-null handle); level kDSLevelNormal or kDSLevelPriority.
    virtual DSResult SetCooperativeLevel(void* window, uint32_t level) = 0;
    // outer must be null.
    virtual DSResult CreateSoundBuffer(const DSBufferDesc* desc, IDirectSoundBuffer** buffer, void* outer) = 0;
    // A new buffer over the same sample bytes, stopped at position 0, with the
    // source's format, frequency, volume and pan.
    virtual DSResult DuplicateSoundBuffer(IDirectSoundBuffer* source, IDirectSoundBuffer** duplicate) = 0;

protected:
    virtual ~IDirectSound() = default;
};

// The module's entry "DirectSoundCreate": device null = the default device;
// outer must be null.
using DirectSoundCreateFunction = DSResult (*)(const void* device, IDirectSound** sound, void* outer);

} // namespace Lumo

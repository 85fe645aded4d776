#pragma once
// PCM sample data that voices play. One SampleData may be shared by several
// voices (duplicated sound buffers); it is reference-counted through
// std::shared_ptr and freed with its last user.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Lumo::Platform {

// channels 1 or 2; bitsPerSample 8 (unsigned) or 16 (signed little-endian);
// sampleRate in Hz.
struct PcmFormat
{
    uint16_t channels = 2;
    uint16_t bitsPerSample = 16;
    uint32_t sampleRate = 44100;

    uint32_t BlockAlign() const { return uint32_t(channels) * bitsPerSample / 8; }
    bool IsValid() const
    {
        return (channels == 1 || channels == 2) && (bitsPerSample == 8 || bitsPerSample == 16) && sampleRate > 0;
    }
};

class SampleData
{
public:
    // size bytes of silence in the given (valid) format; throws std::bad_alloc.
    SampleData(const PcmFormat& format, size_t size)
        : mFormat(format), mBytes(size, format.bitsPerSample == 8 ? uint8_t(0x80) : uint8_t(0))
    {
    }

    const PcmFormat& Format() const { return mFormat; }
    // The bytes may be written while no voice plays them (sound loading).
    uint8_t* Bytes() { return mBytes.data(); }
    const uint8_t* Bytes() const { return mBytes.data(); }
    size_t Size() const { return mBytes.size(); }
    // Whole frames; a trailing partial frame is never played.
    size_t Frames() const { return mBytes.size() / mFormat.BlockAlign(); }

private:
    PcmFormat mFormat;
    std::vector<uint8_t> mBytes;
};

} // namespace Lumo::Platform

#include "platform/audio/CaptureWav.h"
#include <cstring>

namespace Lumo::Platform {
namespace {

uint8_t* Put16(uint8_t* p, uint32_t value)
{
    p[0] = uint8_t(value);
    p[1] = uint8_t(value >> 8);
    return p + 2;
}

uint8_t* Put32(uint8_t* p, uint32_t value)
{
    return Put16(Put16(p, value & 0xFFFF), value >> 16);
}

uint8_t* PutTag(uint8_t* p, const char* tag)
{
    std::memcpy(p, tag, 4);
    return p + 4;
}

} // namespace

std::vector<uint8_t> MakeCaptureWav(const int16_t* samples, size_t frames)
{
    constexpr uint32_t kRate = 44100;
    constexpr uint32_t kBlock = 4;
    constexpr size_t kHeader = 44;
    // A RIFF size field is 32 bits: longer captures keep their first ~6 hours.
    const size_t maxFrames = (0xFFFFFFFFu - 36) / kBlock;
    if (frames > maxFrames)
        frames = maxFrames;
    const uint32_t dataBytes = uint32_t(frames * kBlock);

    std::vector<uint8_t> out(kHeader + dataBytes);
    uint8_t* p = PutTag(out.data(), "RIFF");
    p = Put32(p, dataBytes + 36);
    p = PutTag(p, "WAVE");
    p = PutTag(p, "fmt ");
    p = Put32(p, 16);
    p = Put16(p, 1); // PCM
    p = Put16(p, 2);
    p = Put32(p, kRate);
    p = Put32(p, kRate * kBlock);
    p = Put16(p, kBlock);
    p = Put16(p, 16);
    p = PutTag(p, "data");
    p = Put32(p, dataBytes);
    for (size_t i = 0; i < frames * 2; ++i)
        p = Put16(p, uint16_t(samples[i]));
    return out;
}

} // namespace Lumo::Platform

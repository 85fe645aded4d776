#pragma once
// The inner mixing loop, one template for every source format: resamples one
// voice by linear interpolation and adds it, with its left/right gains, into
// an interleaved stereo float accumulator (sample units of 16-bit audio).
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace Lumo::Platform {

struct VoiceCursor
{
    uint64_t position = 0; // 32.32 fixed point, in source frames
    uint64_t step = uint64_t(1) << 32;
    float gainLeft = 1.0f;
    float gainRight = 1.0f;
};

template <int Bits>
inline float ReadSample(const uint8_t* p)
{
    if constexpr (Bits == 8)
    {
        return float(int(p[0]) - 128) * 256.0f;
    }
    else
    {
        int16_t value;
        std::memcpy(&value, p, sizeof value);
        return float(value);
    }
}

// Mixes n output frames from `frames` source frames. At the end a looping
// voice wraps to frame 0; a one-shot stops as soon as it passes its last
// frame and the function answers false (the rest of acc is left alone). Interpolation past the last frame
// uses frame 0 when looping and the last frame otherwise.
template <int Channels, int Bits>
bool MixVoice(const uint8_t* data, size_t frames, bool looping, VoiceCursor& cursor, float* acc, size_t n)
{
    constexpr size_t kBlock = size_t(Channels) * Bits / 8;
    constexpr size_t kChannelBytes = Bits / 8;
    constexpr float kFracScale = 1.0f / 4294967296.0f;
    const uint64_t end = uint64_t(frames) << 32;
    if (frames == 0)
        return false;
    uint64_t pos = cursor.position;
    const float gl = cursor.gainLeft;
    const float gr = cursor.gainRight;
    for (size_t i = 0; i < n; ++i)
    {
        if (pos >= end)
        {
            if (!looping)
            {
                cursor.position = end;
                return false;
            }
            pos %= end;
        }
        const size_t index = size_t(pos >> 32);
        size_t next = index + 1;
        if (next >= frames)
            next = looping ? 0 : index;
        const float frac = float(uint32_t(pos)) * kFracScale;
        const uint8_t* a = data + index * kBlock;
        const uint8_t* b = data + next * kBlock;
        const float left0 = ReadSample<Bits>(a);
        const float left = left0 + (ReadSample<Bits>(b) - left0) * frac;
        float right = left;
        if constexpr (Channels == 2)
        {
            const float right0 = ReadSample<Bits>(a + kChannelBytes);
            right = right0 + (ReadSample<Bits>(b + kChannelBytes) - right0) * frac;
        }
        acc[2 * i] += left * gl;
        acc[2 * i + 1] += right * gr;
        pos += cursor.step;
        if (pos >= end && !looping)
        {
            cursor.position = end;
            return false;
        }
    }
    cursor.position = pos;
    return true;
}

// Dispatch on the source format (channels 1/2, bits 8/16).
inline bool MixVoiceAnyFormat(int channels, int bits, const uint8_t* data, size_t frames, bool looping,
                              VoiceCursor& cursor, float* acc, size_t n)
{
    if (channels == 1)
        return bits == 8 ? MixVoice<1, 8>(data, frames, looping, cursor, acc, n)
                         : MixVoice<1, 16>(data, frames, looping, cursor, acc, n);
    return bits == 8 ? MixVoice<2, 8>(data, frames, looping, cursor, acc, n)
                     : MixVoice<2, 16>(data, frames, looping, cursor, acc, n);
}

} // namespace Lumo::Platform

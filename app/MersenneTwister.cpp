#include "app/MersenneTwister.h"

#include <cassert>

namespace Lumo {

namespace {
constexpr int kShift = 397;
constexpr uint32_t kMatrixA = 0x9908B0DFu;
constexpr uint32_t kUpperMask = 0x80000000u;
constexpr uint32_t kLowerMask = 0x7FFFFFFFu;
} // namespace

void MersenneTwister::SRand(uint32_t seed)
{
    mState[0] = seed;
    for (int i = 1; i < kStateSize; ++i)
    {
        const uint32_t previous = mState[i - 1];
        mState[i] = 1812433253u * (previous ^ (previous >> 30)) + static_cast<uint32_t>(i);
    }
    mIndex = kStateSize;
}

void MersenneTwister::Regenerate()
{
    for (int i = 0; i < kStateSize; ++i)
    {
        const uint32_t y = (mState[i] & kUpperMask) | (mState[(i + 1) % kStateSize] & kLowerMask);
        mState[i] = mState[(i + kShift) % kStateSize] ^ (y >> 1) ^ ((y & 1u) ? kMatrixA : 0u);
    }
    mIndex = 0;
}

uint32_t MersenneTwister::Next()
{
    if (mIndex >= kStateSize)
        Regenerate();
    uint32_t y = mState[mIndex++];
    y ^= y >> 11;
    y ^= (y << 7) & 0x9D2C5680u;
    y ^= (y << 15) & 0xEFC60000u;
    y ^= y >> 18;
    return y;
}

uint32_t MersenneTwister::NextBelow(uint32_t n)
{
    assert(n >= 1);
    return n == 0 ? 0 : Next() % n;
}

} // namespace Lumo

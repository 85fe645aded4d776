#pragma once
// MT19937, the 32-bit Mersenne Twister. Seeding is the reference
// initialisation (init_genrand), so seed 5489 gives 3499211612 first, like
// std::mt19937. A generator is a plain value; one thread at a time may use it.
#include <cstdint>

namespace Lumo {

class MersenneTwister
{
public:
    static constexpr uint32_t kDefaultSeed = 4357;

    MersenneTwister() { SRand(kDefaultSeed); }
    explicit MersenneTwister(uint32_t seed) { SRand(seed); }

    // Restarts the sequence from the seed.
    void SRand(uint32_t seed);
    // The next 32-bit output.
    uint32_t Next();
    // Next() % n, for n >= 1 (asserted). The plain remainder is part of the
    // recorded demos' behaviour: do not change it.
    uint32_t NextBelow(uint32_t n);

private:
    static constexpr int kStateSize = 624;
    void Regenerate();

    uint32_t mState[kStateSize] = {};
    int mIndex = kStateSize;
};

} // namespace Lumo

#include "app/Random.h"

#include "app/MersenneTwister.h"

#include <cassert>
#include <utility>

namespace Lumo {

namespace {

MersenneTwister gRandom;
uint64_t gDrawCount = 0;
RandomDrawObserver gObserver;

} // namespace

int RandomBelow(int n)
{
    assert(n >= 1);
    if (n < 1)
        return 0;
    const int result = static_cast<int>(gRandom.NextBelow(static_cast<uint32_t>(n)));
    ++gDrawCount;
    if (gObserver)
        gObserver(n, result);
    return result;
}

void SeedRandom(uint32_t seed)
{
    gRandom.SRand(seed);
}

uint64_t GetRandomDrawCount()
{
    return gDrawCount;
}

void SetRandomDrawObserver(RandomDrawObserver observer)
{
    gObserver = std::move(observer);
}

} // namespace Lumo

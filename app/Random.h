#pragma once
// The application's one random-number generator: a global MersenneTwister
// (seed 4357 until SeedRandom is called). Every random choice of the game goes
// through RandomBelow in a fixed order, so a demo that records the seed repeats
// the whole sequence. Main thread only.
#include <cstdint>
#include <functional>

namespace Lumo {

// A number 0..n-1 for n >= 1 (asserted; n < 1 gives 0): the next 32-bit output
// of the global generator modulo n (MersenneTwister::NextBelow). Demo playback
// depends on this exact mapping.
int RandomBelow(int n);

// Restarts the global generator from the seed. The draw count keeps running.
void SeedRandom(uint32_t seed);

// The number of RandomBelow calls since the program started (demo checks).
uint64_t GetRandomDrawCount();

// Called after every RandomBelow with n and the result (the demo recorder can
// log or compare draws). An empty function removes the observer.
using RandomDrawObserver = std::function<void(int n, int result)>;
void SetRandomDrawObserver(RandomDrawObserver observer);

} // namespace Lumo

// The monotonic system clock in milliseconds.
#include "platform/Clock.h"

#include <chrono>
#include <thread>

namespace Lumo::Platform {

uint32_t GetTickCountMs()
{
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(static_cast<uint64_t>(ms)); // wraps every ~49.7 days
}

void SleepMs(uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

uint32_t SystemClock::NowMs()
{
    return GetTickCountMs();
}

void SystemClock::SleepMs(uint32_t ms)
{
    Platform::SleepMs(ms);
}

} // namespace Lumo::Platform

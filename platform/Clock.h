#pragma once
// Millisecond clocks for frame pacing. The system clock reads the monotonic
// time; the virtual clock only moves when told to (headless runs and tests), so
// a run on it is the same every time (the application lets no virtual time
// pass while its loading thread works).
#include <cstdint>
#include <memory>

namespace Lumo::Platform {

class Clock
{
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; wraps like GetTickCount.
    virtual uint32_t NowMs() = 0;
    // Waits (system clock) or moves time forward (virtual clock).
    virtual void SleepMs(uint32_t ms) = 0;
    virtual bool IsVirtual() const = 0;
};

class SystemClock final : public Clock
{
public:
    uint32_t NowMs() override;
    void SleepMs(uint32_t ms) override;
    bool IsVirtual() const override { return false; }
};

class VirtualClock final : public Clock
{
public:
    uint32_t NowMs() override { return mNow; }
    void SleepMs(uint32_t ms) override { mNow += ms; }
    bool IsVirtual() const override { return true; }
    void Advance(uint32_t ms) { mNow += ms; }

private:
    uint32_t mNow = 0;
};

// Milliseconds of the monotonic system clock (GetTickCount's stand-in).
uint32_t GetTickCountMs();
void SleepMs(uint32_t ms);

} // namespace Lumo::Platform

#pragma once
// A recursive lock (the critical section of the framework) and its scope guard.
#include <mutex>

namespace Lumo {

class CriticalSection
{
public:
    void Enter() { mMutex.lock(); }
    void Leave() { mMutex.unlock(); }
    bool TryEnter() { return mMutex.try_lock(); }

private:
    std::recursive_mutex mMutex;
};

class CriticalSectionGuard
{
public:
    explicit CriticalSectionGuard(CriticalSection& section) : mSection(section) { mSection.Enter(); }
    ~CriticalSectionGuard() { mSection.Leave(); }
    CriticalSectionGuard(const CriticalSectionGuard&) = delete;
    CriticalSectionGuard& operator=(const CriticalSectionGuard&) = delete;

private:
    CriticalSection& mSection;
};

} // namespace Lumo

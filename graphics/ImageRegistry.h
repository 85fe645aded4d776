#pragma once
// The application's set of images: every MemoryImage made with a registry adds
// itself on construction and removes itself on destruction. The application
// owns the registry; it must outlive the images registered with it. Any thread
// (the set has its own lock).
#include <cstddef>
#include <functional>
#include <set>

#include "platform/CriticalSection.h"

namespace Lumo {

class MemoryImage;

class ImageRegistry
{
public:
    ImageRegistry() = default;
    ImageRegistry(const ImageRegistry&) = delete;
    ImageRegistry& operator=(const ImageRegistry&) = delete;

    void Add(MemoryImage* image);
    void Remove(MemoryImage* image);
    bool Contains(const MemoryImage* image) const;
    size_t GetCount() const;
    // Calls visit for every registered image under the lock; visit must not
    // create or delete images.
    void ForEach(const std::function<void(MemoryImage*)>& visit) const;

private:
    mutable CriticalSection mLock;
    std::set<MemoryImage*> mImages;
};

} // namespace Lumo

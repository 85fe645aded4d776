#pragma once
// Shared images: an image kept once in the application's SharedImageMap and
// referred to by counted handles.
//
// SharedImageHandle refers either to a SharedImage record (counted) or to an
// unshared image pointer (not owned, not counted). Copying a handle takes a
// counted reference; assigning an image pointer refers to it without owning
// it; Release drops the reference and empties the handle. The map must outlive
// its handles. Handles may be copied and released on any thread.
#include <atomic>
#include <memory>

#include "graphics/Image.h"

namespace Lumo {

class SharedImage
{
public:
    std::unique_ptr<Image> mImage; // null when the file could not be loaded
    std::atomic<int> mRefCount{0};
};

class SharedImageHandle
{
public:
    SharedImageHandle() = default;
    // Takes a counted reference to the record (null gives an empty handle).
    explicit SharedImageHandle(SharedImage* shared);
    SharedImageHandle(const SharedImageHandle& other);
    SharedImageHandle(SharedImageHandle&& other) noexcept;
    SharedImageHandle& operator=(const SharedImageHandle& other);
    SharedImageHandle& operator=(SharedImageHandle&& other) noexcept;
    // Refers to the image without owning or counting it.
    SharedImageHandle& operator=(Image* unshared);
    ~SharedImageHandle();

    // The unshared image, else the shared record's image, else null.
    Image* GetImage() const;
    Image* operator->() const { return GetImage(); }
    explicit operator bool() const { return GetImage() != nullptr; }
    SharedImage* GetSharedImage() const { return mShared; }

    // Drops the reference and empties the handle.
    void Release();

private:
    SharedImage* mShared = nullptr;
    Image* mUnshared = nullptr;
};

} // namespace Lumo

#include "graphics/ImageRegistry.h"

namespace Lumo {

void ImageRegistry::Add(MemoryImage* image)
{
    CriticalSectionGuard guard(mLock);
    mImages.insert(image);
}

void ImageRegistry::Remove(MemoryImage* image)
{
    CriticalSectionGuard guard(mLock);
    mImages.erase(image);
}

bool ImageRegistry::Contains(const MemoryImage* image) const
{
    CriticalSectionGuard guard(mLock);
    return mImages.count(const_cast<MemoryImage*>(image)) != 0;
}

size_t ImageRegistry::GetCount() const
{
    CriticalSectionGuard guard(mLock);
    return mImages.size();
}

void ImageRegistry::ForEach(const std::function<void(MemoryImage*)>& visit) const
{
    CriticalSectionGuard guard(mLock);
    for (MemoryImage* image : mImages)
        visit(image);
}

} // namespace Lumo

#include "graphics/SharedImage.h"

#include <utility>

namespace Lumo {

SharedImageHandle::SharedImageHandle(SharedImage* shared) : mShared(shared)
{
    if (mShared != nullptr)
        mShared->mRefCount.fetch_add(1);
}

SharedImageHandle::SharedImageHandle(const SharedImageHandle& other) : SharedImageHandle(other.mShared)
{
    mUnshared = other.mUnshared;
}

SharedImageHandle::SharedImageHandle(SharedImageHandle&& other) noexcept
    : mShared(std::exchange(other.mShared, nullptr)), mUnshared(std::exchange(other.mUnshared, nullptr))
{
}

SharedImageHandle& SharedImageHandle::operator=(const SharedImageHandle& other)
{
    if (this != &other)
    {
        SharedImageHandle copy(other);
        *this = std::move(copy);
    }
    return *this;
}

SharedImageHandle& SharedImageHandle::operator=(SharedImageHandle&& other) noexcept
{
    if (this != &other)
    {
        Release();
        mShared = std::exchange(other.mShared, nullptr);
        mUnshared = std::exchange(other.mUnshared, nullptr);
    }
    return *this;
}

SharedImageHandle& SharedImageHandle::operator=(Image* unshared)
{
    Release();
    mUnshared = unshared;
    return *this;
}

SharedImageHandle::~SharedImageHandle()
{
    Release();
}

Image* SharedImageHandle::GetImage() const
{
    if (mUnshared != nullptr)
        return mUnshared;
    if (mShared != nullptr)
        return mShared->mImage.get();
    return nullptr;
}

void SharedImageHandle::Release()
{
    if (mShared != nullptr)
        mShared->mRefCount.fetch_sub(1);
    mShared = nullptr;
    mUnshared = nullptr;
}

} // namespace Lumo

#include "graphics/SharedImageMap.h"

#include <cctype>

namespace Lumo {

SharedImageMap::~SharedImageMap() = default;

SharedImageMap::Key SharedImageMap::MakeKey(const std::string& name, const std::string& variant)
{
    std::string upper = name;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return Key(upper, variant);
}

SharedImageHandle SharedImageMap::Acquire(const std::string& name, const std::string& variant, const Loader& loader,
                                          bool& created)
{
    Key key = MakeKey(name, variant);
    CriticalSectionGuard guard(mLock);
    auto found = mImages.find(key);
    if (found != mImages.end())
    {
        created = false;
        return SharedImageHandle(found->second.get());
    }
    created = true;
    std::unique_ptr<Image> image = loader ? loader(name) : nullptr;
    if (image == nullptr)
        return SharedImageHandle();
    auto record = std::make_unique<SharedImage>();
    record->mImage = std::move(image);
    SharedImage* shared = record.get();
    mImages.emplace(key, std::move(record));
    return SharedImageHandle(shared);
}

size_t SharedImageMap::GetCount() const
{
    CriticalSectionGuard guard(mLock);
    return mImages.size();
}

int SharedImageMap::GetRefCount(const std::string& name, const std::string& variant) const
{
    CriticalSectionGuard guard(mLock);
    auto found = mImages.find(MakeKey(name, variant));
    return found == mImages.end() ? -1 : found->second->mRefCount.load();
}

size_t SharedImageMap::PurgeUnused()
{
    CriticalSectionGuard guard(mLock);
    size_t purged = 0;
    for (auto it = mImages.begin(); it != mImages.end();)
    {
        if (it->second->mRefCount.load() <= 0)
        {
            it = mImages.erase(it);
            ++purged;
        }
        else
        {
            ++it;
        }
    }
    return purged;
}

} // namespace Lumo

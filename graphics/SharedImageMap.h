#pragma once
// The application's shared images, keyed by the upper-cased name and the
// variant. Acquire returns a counted handle and loads the image through the
// given loader the first time a key is asked for. Records whose count dropped
// to 0 keep their image until PurgeUnused; the destructor deletes every image
// (no handle may outlive the map). Any thread.
#include <cstddef>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "graphics/SharedImage.h"
#include "platform/CriticalSection.h"

namespace Lumo {

class SharedImageMap
{
public:
    // Loads the image for a name; null when it cannot be loaded.
    using Loader = std::function<std::unique_ptr<Image>(const std::string& name)>;

    SharedImageMap() = default;
    ~SharedImageMap();
    SharedImageMap(const SharedImageMap&) = delete;
    SharedImageMap& operator=(const SharedImageMap&) = delete;

    // The shared image for (upper-cased name, variant). When the key is not
    // shared yet, loader(name) is called (under the map's lock) and created is
    // set to true; otherwise created is false. When the loader gives null, the
    // handle's image is null and nothing is kept, so a later call tries again.
    SharedImageHandle Acquire(const std::string& name, const std::string& variant, const Loader& loader,
                              bool& created);

    // Number of records kept.
    size_t GetCount() const;
    // Counted references of a key; -1 when it is not kept.
    int GetRefCount(const std::string& name, const std::string& variant) const;
    // Deletes the records nobody refers to; returns how many.
    size_t PurgeUnused();

private:
    using Key = std::pair<std::string, std::string>;
    static Key MakeKey(const std::string& name, const std::string& variant);

    mutable CriticalSection mLock;
    std::map<Key, std::unique_ptr<SharedImage>> mImages;
};

} // namespace Lumo

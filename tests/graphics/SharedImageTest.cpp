#include <gtest/gtest.h>

#include "graphics/MemoryImage.h"
#include "graphics/SharedImageMap.h"

namespace Lumo {

namespace {

struct CountingLoader
{
    int calls = 0;
    bool fail = false;

    SharedImageMap::Loader Get()
    {
        return [this](const std::string&) -> std::unique_ptr<Image> {
            ++calls;
            if (fail)
                return nullptr;
            auto image = std::make_unique<MemoryImage>();
            image->Create(1, 1);
            return image;
        };
    }
};

} // namespace

TEST(SharedImageMapTest, NameIsUpperCasedAndLoadedOnce)
{
    SharedImageMap map;
    CountingLoader loader;
    bool created = false;
    SharedImageHandle a = map.Acquire("images/Tiles", "", loader.Get(), created);
    EXPECT_TRUE(created);
    ASSERT_NE(a.GetImage(), nullptr);
    SharedImageHandle b = map.Acquire("IMAGES/tiles", "", loader.Get(), created);
    EXPECT_FALSE(created);
    EXPECT_EQ(a.GetImage(), b.GetImage());
    EXPECT_EQ(loader.calls, 1);
    EXPECT_EQ(map.GetRefCount("images/tiles", ""), 2);

    SharedImageHandle other = map.Acquire("images/tiles", "small", loader.Get(), created);
    EXPECT_TRUE(created);
    EXPECT_NE(other.GetImage(), a.GetImage());
    EXPECT_EQ(map.GetCount(), 2u);
}

TEST(SharedImageMapTest, HandlesCountCopiesAndReleases)
{
    SharedImageMap map;
    CountingLoader loader;
    bool created = false;
    SharedImageHandle a = map.Acquire("x", "", loader.Get(), created);
    {
        SharedImageHandle copy = a;
        SharedImageHandle assigned;
        assigned = copy;
        EXPECT_EQ(map.GetRefCount("x", ""), 3);
        SharedImageHandle moved = std::move(assigned);
        EXPECT_EQ(map.GetRefCount("x", ""), 3);
        EXPECT_EQ(assigned.GetImage(), nullptr);
    }
    EXPECT_EQ(map.GetRefCount("x", ""), 1);
    a.Release();
    EXPECT_EQ(a.GetImage(), nullptr);
    EXPECT_EQ(map.GetRefCount("x", ""), 0);
    EXPECT_EQ(map.GetCount(), 1u); // kept until purged
    SharedImageHandle again = map.Acquire("x", "", loader.Get(), created);
    EXPECT_FALSE(created);
    EXPECT_EQ(map.PurgeUnused(), 0u);
    again.Release();
    EXPECT_EQ(map.PurgeUnused(), 1u);
    EXPECT_EQ(map.GetRefCount("x", ""), -1);
}

TEST(SharedImageMapTest, FailedLoadGivesNullAndIsRetried)
{
    SharedImageMap map;
    CountingLoader loader;
    loader.fail = true;
    bool created = false;
    SharedImageHandle handle = map.Acquire("missing", "", loader.Get(), created);
    EXPECT_TRUE(created);
    EXPECT_EQ(handle.GetImage(), nullptr);
    EXPECT_FALSE(handle);
    EXPECT_EQ(map.GetCount(), 0u);
    map.Acquire("missing", "", loader.Get(), created);
    EXPECT_EQ(loader.calls, 2);
}

TEST(SharedImageHandleTest, UnsharedImageIsReferredToNotOwned)
{
    MemoryImage image;
    SharedImageHandle handle;
    handle = &image;
    EXPECT_EQ(handle.GetImage(), &image);
    SharedImageHandle copy = handle;
    EXPECT_EQ(copy.GetImage(), &image);
    handle.Release();
    EXPECT_EQ(handle.GetImage(), nullptr);
    EXPECT_EQ(copy.GetImage(), &image);
}

} // namespace Lumo

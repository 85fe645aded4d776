// MemoryImage and DDImage: pixels, alpha flags, palettes, purging, copies,
// the registry and the display surface.
#include <gtest/gtest.h>

#include "graphics/DDImage.h"
#include "graphics/ImageRegistry.h"
#include "tests/graphics/TestImages.h"

namespace Lumo {
using namespace Test;

TEST(MemoryImageTest, CreateMakesBlankPixelsOnDemand)
{
    MemoryImage image;
    EXPECT_EQ(image.GetBits(), nullptr);
    image.Create(3, 2);
    ASSERT_NE(image.GetBits(), nullptr);
    EXPECT_EQ(CountNot(image, 0u), 0);
    EXPECT_TRUE(image.mHasTrans);
    image.Create(-1, 5);
    EXPECT_EQ(image.mWidth, 0);
    EXPECT_EQ(image.GetBits(), nullptr);
}

TEST(MemoryImageTest, CheckAlphaFindsTransparentAndTranslucentPixels)
{
    auto opaque = MakeImage(2, 1, {0xFF000000u, 0xFFFFFFFFu});
    EXPECT_FALSE(opaque->mHasTrans);
    EXPECT_FALSE(opaque->mHasAlpha);
    auto holes = MakeImage(2, 1, {0x00000000u, 0xFFFFFFFFu});
    EXPECT_TRUE(holes->mHasTrans);
    EXPECT_FALSE(holes->mHasAlpha);
    auto soft = MakeImage(2, 1, {0x01000000u, 0xFEFFFFFFu});
    EXPECT_FALSE(soft->mHasTrans);
    EXPECT_TRUE(soft->mHasAlpha);
}

TEST(MemoryImageTest, BitsChangedRechecksUnlessFlagsAreForced)
{
    auto image = MakeFilled(2, 2, 0xFFFFFFFFu);
    image->GetBits()[3] = 0x80FFFFFFu;
    image->BitsChanged();
    EXPECT_TRUE(image->mHasAlpha);

    image->mForceAlphaFlags = true;
    image->mHasAlpha = false;
    image->GetBits()[0] = 0u;
    image->BitsChanged();
    EXPECT_FALSE(image->mHasAlpha);
    EXPECT_FALSE(image->mHasTrans);
}

TEST(MemoryImageTest, SetBitsWithoutCommitDefersTheCheck)
{
    MemoryImage image;
    const uint32_t bits[2] = {0x00000000u, 0xFF000000u};
    image.SetBits(bits, 2, 1, false);
    EXPECT_TRUE(image.mAlphaCheckDue);
    image.CheckAlpha();
    EXPECT_TRUE(image.mHasTrans);
    EXPECT_EQ(PixelAt(image, 1, 0), 0xFF000000u);
}

TEST(MemoryImageTest, PalletizeIsLosslessUpTo256Colours)
{
    std::vector<uint32_t> bits;
    for (uint32_t i = 0; i < 256; ++i)
        bits.push_back((i << 24) | (i * 0x010203u & 0xFFFFFFu));
    bits.push_back(bits[7]); // a repeated colour adds no entry
    MemoryImage image;
    image.SetBits(bits.data(), 257, 1);
    ASSERT_TRUE(image.Palletize());
    EXPECT_TRUE(image.IsPalettized());
    EXPECT_FALSE(image.HasBits());
    EXPECT_EQ(image.GetColorIndices()[256], image.GetColorIndices()[7]);
    EXPECT_EQ(PixelsOf(image), bits);
    EXPECT_TRUE(image.Palletize()); // already palettised
}

TEST(MemoryImageTest, PalletizeRefusesMoreThan256Colours)
{
    std::vector<uint32_t> bits;
    for (uint32_t i = 0; i < 257; ++i)
        bits.push_back(0xFF000000u | i);
    MemoryImage image;
    image.SetBits(bits.data(), 257, 1);
    EXPECT_FALSE(image.Palletize());
    EXPECT_FALSE(image.IsPalettized());
    EXPECT_TRUE(image.HasBits());
    EXPECT_EQ(PixelsOf(image), bits);
}

TEST(MemoryImageTest, PurgeBitsFreesPixelsOnlyWhenThePaletteHoldsThem)
{
    auto image = MakeImage(2, 1, {0xFF010101u, 0x00000000u});
    image->PurgeBits();
    EXPECT_TRUE(image->HasBits()); // nothing else holds them
    image->mWantPalettize = true;
    image->PurgeBits();
    EXPECT_TRUE(image->IsPalettized());
    EXPECT_FALSE(image->HasBits());
    EXPECT_EQ(PixelAt(*image, 0, 0), 0xFF010101u);
}

TEST(MemoryImageTest, DrawingIntoAPalettisedImageDropsThePalette)
{
    auto image = MakeImage(2, 1, {0xFF010101u, 0xFF020202u});
    ASSERT_TRUE(image->Palletize());
    image->FillRect(Rect(0, 0, 1, 1), Color(9, 9, 9), DRAWMODE_NORMAL);
    EXPECT_FALSE(image->IsPalettized());
    image->PurgeBits();
    EXPECT_EQ(PixelAt(*image, 0, 0), 0xFF090909u);
    EXPECT_EQ(PixelAt(*image, 1, 0), 0xFF020202u);
}

TEST(MemoryImageTest, CopyHoldsTheSameImage)
{
    auto image = MakeImage(2, 2, {1u, 2u, 3u, 0x80000004u});
    image->mCelColumns = 2;
    image->mAnimationInfo = std::make_unique<AnimationInfo>();
    image->mAnimationInfo->mFrameDelay = 42;
    MemoryImage copy(*image);
    EXPECT_EQ(PixelsOf(copy), PixelsOf(*image));
    EXPECT_EQ(copy.mCelColumns, 2);
    ASSERT_NE(copy.mAnimationInfo, nullptr);
    EXPECT_NE(copy.mAnimationInfo.get(), image->mAnimationInfo.get());
    EXPECT_EQ(copy.mAnimationInfo->mFrameDelay, 42);
    copy.GetBits()[0] = 9u;
    EXPECT_EQ(PixelAt(*image, 0, 0), 1u);

    DDImage duplicate(*image);
    EXPECT_EQ(PixelsOf(duplicate), PixelsOf(*image));
    EXPECT_EQ(duplicate.GetPixelFormat(), PIXEL_FORMAT_8888);
}

TEST(MemoryImageTest, RegistryCountsLiveImages)
{
    ImageRegistry registry;
    {
        MemoryImage a(&registry);
        DDImage b(&registry);
        EXPECT_EQ(registry.GetCount(), 2u);
        MemoryImage copy(a);
        EXPECT_TRUE(registry.Contains(&copy));
        EXPECT_EQ(registry.GetCount(), 3u);
        MemoryImage unregistered;
        EXPECT_EQ(registry.GetCount(), 3u);
    }
    EXPECT_EQ(registry.GetCount(), 0u);
}

TEST(DDImageTest, SurfaceLiesOverThePixelsAndLocksAreCounted)
{
    DDImage empty;
    EXPECT_EQ(empty.GetSurface(), nullptr);

    DDImage image;
    image.Create(3, 2);
    DDSurface* surface = image.GetSurface();
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(image.GetSurface(), surface);

    ASSERT_TRUE(image.LockSurface());
    ASSERT_TRUE(image.LockSurface());
    EXPECT_EQ(image.GetLockCount(), 2);
    EXPECT_TRUE(surface->IsLocked());
    EXPECT_EQ(image.GetLockedSurfaceDesc().bits, image.GetBits());
    EXPECT_EQ(image.GetLockedSurfaceDesc().pitch, 12);
    SurfaceDesc dc;
    EXPECT_FALSE(surface->GetDC(dc)); // no device context while locked
    image.GetLockedSurfaceDesc().bits[4] = 0xFF123456u;
    image.UnlockSurface();
    EXPECT_TRUE(surface->IsLocked());
    image.UnlockSurface();
    EXPECT_FALSE(surface->IsLocked());
    EXPECT_EQ(PixelAt(image, 1, 1), 0xFF123456u);

    // A locked surface can be unlocked for system text and locked again.
    ASSERT_TRUE(image.LockSurface());
    surface->Unlock();
    ASSERT_TRUE(surface->GetDC(dc));
    EXPECT_FALSE(surface->Lock(dc));
    dc.bits[0] = 0xFFABCDEFu;
    surface->ReleaseDC();
    image.FreeMemoryData();
    SurfaceDesc relock;
    ASSERT_TRUE(surface->Lock(relock));
    EXPECT_EQ(relock.bits[0], 0xFFABCDEFu);
    image.UnlockSurface();
    EXPECT_EQ(image.GetLockCount(), 0);
}

TEST(DDImageTest, FreeMemoryDataKeepsTheImageOfAPalettisedImage)
{
    DDImage image;
    const uint32_t pixels[2] = {0xFF010101u, 0x80020202u};
    image.SetBits(pixels, 2, 1);
    ASSERT_TRUE(image.Palletize());
    image.FreeMemoryData();
    EXPECT_FALSE(image.IsPalettized());
    EXPECT_EQ(PixelAt(image, 0, 0), 0xFF010101u);
    EXPECT_EQ(PixelAt(image, 1, 0), 0x80020202u);
}

TEST(DDImageTest, ScreenImageDrawsAs888AndKeepsItsPixelsWhenPurged)
{
    DDImage screen;
    screen.Create(2, 1);
    EXPECT_EQ(screen.GetPixelFormat(), PIXEL_FORMAT_8888);
    screen.SetScreenImage(true);
    EXPECT_EQ(screen.GetPixelFormat(), PIXEL_FORMAT_888);
    ASSERT_NE(screen.GetSurface(), nullptr);
    screen.mWantPalettize = true;
    screen.PurgeBits();
    EXPECT_TRUE(screen.HasBits());
}

} // namespace Lumo

// Reading resource files into records: defaults, ids, groups, attributes,
// animations, redefinition and the error texts.
#include "platform/Environment.h"
#include "resources/ResourceManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/resources/resourcemanager/ResourceTestSupport.h"

namespace Lumo {
namespace {

using namespace ResourceTest;

// Reading needs no application.
class ResourceManagerReadTest : public ::testing::Test
{
protected:
    TestResourceManager manager{nullptr};
};

TEST_F(ResourceManagerReadTest, DefaultsIdsAndGroups)
{
    ASSERT_TRUE(manager.ParseResourcesText(R"(<?xml version="1.0"?>
<!-- the menu's things -->
<ResourceManifest>
  <Resources id="menu">
    <SetDefaults path="images\" idprefix="IMG_"/>
    <Image path="logo.png"/>
    <Image id="BACK" path="back.jpg" variant="v2"/>
    <Image id="CODE" path="!program"/>
    <SetDefaults path="" idprefix=""/>
    <Sound id="CLICK" path="sound/click"/>
  </Resources>
  <Resources id="game"><Image path="tiles.png"></Image></Resources>
</ResourceManifest>)",
                                           "menu.xml"))
        << manager.GetErrorText();
    EXPECT_FALSE(manager.HadError());
    ASSERT_NE(manager.Image("IMG_logo"), nullptr);
    EXPECT_EQ(manager.Image("IMG_logo")->mPath, "images/logo.png");
    EXPECT_EQ(manager.Image("IMG_logo")->mResGroup, "menu");
    EXPECT_EQ(manager.Image("IMG_BACK")->mVariant, "v2");
    EXPECT_EQ(manager.Image("IMG_BACK")->mXMLAttributes.at("path"), "back.jpg");
    EXPECT_TRUE(manager.Image("IMG_CODE")->mFromProgram);
    EXPECT_EQ(manager.Image("IMG_CODE")->mPath, "!program");
    // An empty default path clears it rather than pointing at the root.
    EXPECT_EQ(manager.Sound("CLICK")->mPath, "sound/click");
    EXPECT_EQ(manager.Image("tiles")->mResGroup, "game");
    EXPECT_EQ(manager.GroupIds("menu"), (std::vector<std::string>{"IMG_logo", "IMG_BACK", "IMG_CODE", "CLICK"}));
}

TEST_F(ResourceManagerReadTest, ImageAttributes)
{
    ASSERT_TRUE(manager.ParseGroup("g", R"(
      <Image id="A" path="a.png" nopal a4r4g4b4 a8r8g8b8 ddsurface nobits2d minsubdivide alphaimage="a_mask.png"
             alphagrid="grid.png" alphacolor="FF00FF00"/>
      <Image id="B" path="b.png" nobits3d alphacolor="zz"/>
      <Image id="C" path="c.png" rows="2" cols="3" anim="LOOP" framedelay="40" begindelay="5" enddelay="7"/>
      <Image id="D" path="d.png" rows="3" anim="pingpong" perframedelay="10,20,30"/>
      <Image id="E" path="e.png" rows="4" anim="once" framemap="3,1,9,-1"/>)"))
        << manager.GetErrorText();
    const auto* a = manager.Image("A");
    EXPECT_FALSE(a->mPalletize);
    EXPECT_TRUE(a->mA4R4G4B4 && a->mA8R8G8B8 && a->mDDSurface && a->mMinimizeSubdivisions);
    EXPECT_TRUE(a->mPurgeBits); // no 3D here: "nobits2d" counts
    EXPECT_EQ(a->mAlphaImage, "a_mask.png");
    EXPECT_EQ(a->mAlphaGridImage, "grid.png");
    EXPECT_EQ(a->mAlphaColor, 0x00FF00u); // alpha bits dropped
    const auto* b = manager.Image("B");
    EXPECT_TRUE(b->mPalletize);
    EXPECT_FALSE(b->mPurgeBits);
    EXPECT_EQ(b->mAlphaColor, 0xFFFFFFu);
    EXPECT_EQ(b->mAnimInfo.mAnimType, ANIMATION_NONE);

    const auto* c = manager.Image("C");
    EXPECT_EQ(c->mRows, 2);
    EXPECT_EQ(c->mCols, 3);
    EXPECT_EQ(c->mAnimInfo.mAnimType, ANIMATION_LOOP);
    EXPECT_EQ(c->mAnimInfo.mFrameCount, 3);
    EXPECT_EQ(c->mAnimInfo.mPerFrameDelay, (std::vector<int>{45, 40, 47}));
    const auto* d = manager.Image("D");
    EXPECT_EQ(d->mAnimInfo.mFrameMap, (std::vector<int>{0, 1, 2, 1}));
    EXPECT_EQ(d->mAnimInfo.mPerFrameDelay, (std::vector<int>{10, 20, 30, 20}));
    EXPECT_EQ(manager.Image("E")->mAnimInfo.mFrameMap, (std::vector<int>{3, 1}));
}

TEST_F(ResourceManagerReadTest, SoundAndFontAttributes)
{
    ASSERT_TRUE(manager.ParseGroup("g", R"(
      <Sound id="S1" path="s1"/>
      <Sound id="S2" path="s2" volume="0" pan="-300"/>
      <Sound id="S3" path="s3" volume="0.25"/>
      <Font id="SYS" path="!sys:DejaVu Sans" size="12" bold italic shadow underline/>
      <Font id="IMG" path="fonts/num.txt" image="fonts/num.png" tags="a, b" bold/>
      <Font id="REF" path="!ref:SYS"/>)"))
        << manager.GetErrorText();
    EXPECT_EQ(manager.Sound("S1")->mVolume, -1.0);
    EXPECT_EQ(manager.Sound("S1")->mPanning, 0);
    EXPECT_EQ(manager.Sound("S2")->mVolume, 0.0);
    EXPECT_EQ(manager.Sound("S2")->mPanning, -300);
    EXPECT_EQ(manager.Sound("S3")->mVolume, 0.25);
    const auto* sys = manager.FontRecord("SYS");
    EXPECT_TRUE(sys->mSysFont);
    EXPECT_EQ(sys->mPath, "DejaVu Sans");
    EXPECT_EQ(sys->mSize, 12);
    EXPECT_TRUE(sys->mBold && sys->mItalic && sys->mShadow && sys->mUnderline);
    const auto* image = manager.FontRecord("IMG");
    EXPECT_FALSE(image->mSysFont);
    EXPECT_FALSE(image->mBold); // styles belong to system fonts
    EXPECT_EQ(image->mImagePath, "fonts/num.png");
    EXPECT_EQ(image->mTags, "a, b");
    EXPECT_EQ(manager.FontRecord("REF")->mPath, "!ref:SYS");
}

struct ErrorCase
{
    const char* body;
    const char* error;
};

TEST_F(ResourceManagerReadTest, ElementErrors)
{
    const std::vector<ErrorCase> cases = {
        {"<Image/>", "No path specified."},
        {"<Image path=\"\"/>", "No path specified."},
        {"<Image path=\"a\" rows=\"0\"/>", "Invalid rows or cols."},
        {"<Image path=\"a\" cols=\"-2\"/>", "Invalid rows or cols."},
        {"<Image path=\"a\" rows=\"100000\"/>", "Invalid rows or cols."},
        {"<Image path=\"a\" anim=\"bounce\"/>", "Invalid animation type."},
        {"<Font path=\"!sys:Arial\"/>", "SysFont needs point size"},
        {"<Font path=\"!sys:Arial\" size=\"0\"/>", "SysFont needs point size"},
        {"<Bogus/>", "Invalid Section 'Bogus'"},
        {"loose text", "Element Not Expected 'loose text'"},
        {"<Image path=\"a\"><Image path=\"b\"/></Image>", "Unexpected element found."},
        {"<Image path=\"a\"></Sound>", "End 'Sound' Doesn't Match Start 'Image'"},
        {"<Image path=\"a\"/><Image path=\"a\"/>", "Resource already defined."},
    };
    for (const ErrorCase& c : cases)
    {
        TestResourceManager fresh(nullptr);
        EXPECT_FALSE(fresh.ParseGroup("g", c.body)) << c.body;
        EXPECT_TRUE(fresh.HadError());
        EXPECT_EQ(fresh.GetErrorText(), std::string(c.error) + " on Line 1 in File 'test.xml'") << c.body;
    }
}

TEST_F(ResourceManagerReadTest, FileErrors)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"", "Unexpected End of File on Line 1 in File 'f.xml'"},
        {"<Resources id=\"g\"/>", "Expecting ResourceManifest tag on Line 1 in File 'f.xml'"},
        {"<ResourceManifest>\n<Resources/>", "No id specified. on Line 2 in File 'f.xml'"},
        {"<ResourceManifest>\n<Group/>", "Invalid Section 'Group' on Line 2 in File 'f.xml'"},
        {"<ResourceManifest><Resources id=\"g\">\n\n", "Unexpected End of File on Line 3 in File 'f.xml'"},
        {"<ResourceManifest>\n<Resources id=\"g\"><Image path=\"a\" x=\"\xC3\"/>",
         "Unexpected End of File on Line 2 in File 'f.xml'"},
    };
    for (const auto& [text, error] : cases)
    {
        TestResourceManager fresh(nullptr);
        EXPECT_FALSE(fresh.ParseResourcesText(text, "f.xml")) << text;
        EXPECT_EQ(fresh.GetErrorText(), error) << text;
    }
    EXPECT_FALSE(manager.ParseResourcesFile("no/such/resources.xml"));
    EXPECT_EQ(manager.GetErrorText(), "Failed to open resource file: no/such/resources.xml");
}

TEST_F(ResourceManagerReadTest, RepeatedIdKeepsTheFirstOrUpdatesIt)
{
    EXPECT_FALSE(manager.ParseGroup("g", "<Image id=\"X\" path=\"first.png\"/><Image id=\"X\" path=\"second.png\"/>"));
    EXPECT_EQ(manager.Image("X")->mPath, "first.png");
    EXPECT_EQ(manager.Count(), 1u);

    TestResourceManager redefining(nullptr);
    redefining.SetAllowRedefinition(true);
    EXPECT_TRUE(redefining.ParseGroup(
        "g", "<Image id=\"X\" path=\"first.png\" rows=\"2\"/><Image id=\"X\" path=\"second.png\" cols=\"3\"/>"));
    EXPECT_FALSE(redefining.HadError());
    EXPECT_EQ(redefining.Image("X")->mPath, "second.png");
    EXPECT_EQ(redefining.Image("X")->mRows, 1);
    EXPECT_EQ(redefining.Image("X")->mCols, 3);
    EXPECT_EQ(redefining.GroupIds("g"), (std::vector<std::string>{"X"}));
}

TEST_F(ResourceManagerReadTest, ProgramMadeLookups)
{
    ASSERT_TRUE(manager.ParseGroup("g", "<Image id=\"P\" path=\"!program\"/><Sound id=\"Q\" path=\"!program\"/>"
                                        "<Font id=\"R\" path=\"!program\"/>"));
    EXPECT_TRUE(manager.LoadGroup("g")); // nothing to load
    EXPECT_THROW((void)manager.GetImageOrThrow("P"), ResourceManagerException);
    manager.SetAllowProgramMadeLookups(true);
    EXPECT_EQ(manager.GetImageOrThrow("P").GetImage(), nullptr);
    EXPECT_EQ(manager.GetSoundIdOrThrow("Q"), -1);
    EXPECT_EQ(manager.GetFontOrThrow("R"), nullptr);
    EXPECT_THROW((void)manager.GetSoundIdOrThrow("missing"), ResourceManagerException);
}

TEST_F(ResourceManagerReadTest, ParseIntList)
{
    std::vector<int> list = {7};
    ResourceManager::ParseIntList("10,20,30", list);
    EXPECT_EQ(list, (std::vector<int>{10, 20, 30}));
    ResourceManager::ParseIntList("", list);
    EXPECT_EQ(list, (std::vector<int>{0}));
    ResourceManager::ParseIntList(" 5,,x, -6,99999999999", list);
    EXPECT_EQ(list, (std::vector<int>{5, 0, 0, -6, 2147483647}));
}

TEST_F(ResourceManagerReadTest, ReadsAFileOnDisk)
{
    const auto path = std::filesystem::temp_directory_path() /
                      ("lumo-resfile-" + std::to_string(Platform::GetProcessId()) + ".xml");
    std::ofstream(path, std::ios::binary) << "<ResourceManifest><Resources id=\"g\">\n"
                                             "<Image path=\"a.png\"/>\n<Image path=\"a.png\"/>\n"
                                             "</Resources></ResourceManifest>";
    EXPECT_FALSE(manager.ParseResourcesFile(path.string()));
    EXPECT_EQ(manager.GetErrorText(), "Resource already defined. on Line 3 in File '" + path.string() + "'");
    std::filesystem::remove(path);
    // The reader is gone: later errors carry no position.
    EXPECT_FALSE(manager.LoadGroup("g"));
    EXPECT_EQ(manager.GetErrorText(), "Failed to load image: a.png");
}

} // namespace
} // namespace Lumo

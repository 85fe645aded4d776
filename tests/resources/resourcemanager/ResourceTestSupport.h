#pragma once
// Shared pieces of the resource-manager tests: a headless application that
// serves generated images from a scratch folder, a sound manager that only
// keeps books, and a manager whose records can be looked at.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <string>

#include "app/LumoAppBase.h"
#include "platform/Environment.h"
#include "audio/SoundManager.h"
#include "resources/ImageLib.h"
#include "resources/ResourceManager.h"

namespace Lumo::ResourceTest {

// Loads the sounds it was told exist; plays nothing.
class FakeSoundManager : public SoundManager
{
public:
    bool HasSoundDevice() override { return false; }
    int FindOrLoadSound(const std::string& fileName) override
    {
        const int id = FindFreeSoundId();
        return id >= 0 && LoadSound(static_cast<unsigned>(id), fileName) ? id : -1;
    }
    bool LoadSound(unsigned id, const std::string& fileName) override
    {
        if (available.count(fileName) == 0 || id >= kMaxSounds)
            return false;
        loaded[id] = fileName;
        ++loadCount;
        return true;
    }
    void UnloadSound(unsigned id) override
    {
        loaded.erase(id);
        volumes.erase(id);
        pans.erase(id);
    }
    void SetEffectsVolume(double) override {}
    bool SetDefaultVolume(unsigned id, double volume) override
    {
        volumes[id] = volume;
        return true;
    }
    bool SetDefaultPan(unsigned id, int pan) override
    {
        pans[id] = pan;
        return true;
    }
    SoundInstance* CreateInstance(unsigned) override { return nullptr; }
    void UnloadAllSounds() override { loaded.clear(); }
    void DeleteAllInstances() override {}
    double GetMixerVolume() override { return 1.0; }
    void SetMixerVolume(double) override {}
    void SetOwnerWindow(SoundWindowHandle, bool) override {}
    void StopAllInstances() override {}
    int FindFreeSoundId() override
    {
        for (int id = 0; id < freeIdLimit; ++id)
            if (loaded.count(static_cast<unsigned>(id)) == 0)
                return id;
        return -1;
    }
    int CountLoadedSounds() override { return static_cast<int>(loaded.size()); }

    std::set<std::string> available;
    std::map<unsigned, std::string> loaded;
    std::map<unsigned, double> volumes;
    std::map<unsigned, int> pans;
    int loadCount = 0;
    int freeIdLimit = static_cast<int>(kMaxSounds);
};

// A headless application with the fake sound manager, and a scratch folder
// for the images and files a test generates.
class FakeApp : public LumoAppBase
{
public:
    FakeApp()
    {
        static int counter = 0;
        mFolder = std::filesystem::temp_directory_path() /
                  ("lumo-resource-test-" + std::to_string(Platform::GetProcessId()) + "-" +
                   std::to_string(counter++) + "-" + std::to_string(reinterpret_cast<uintptr_t>(this)));
        std::filesystem::create_directories(mFolder);
        mSoundManager = sounds = new FakeSoundManager();
    }
    ~FakeApp() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(mFolder, ignored);
    }

    std::string Folder() const { return mFolder.string(); }
    std::string File(const std::string& name) const { return (mFolder / name).string(); }
    std::string WriteText(const std::string& name, const std::string& text) const
    {
        std::ofstream(File(name), std::ios::binary) << text;
        return File(name);
    }
    // Writes a width x height PNG with pixel(x, y) as 0xAARRGGBB.
    std::string ServeImage(const std::string& name, int width, int height,
                           const std::function<uint32_t(int, int)>& pixel) const
    {
        ImageLib::Image image;
        EXPECT_TRUE(image.Allocate(width, height));
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.GetBits()[y * width + x] = pixel(x, y);
        EXPECT_TRUE(ImageLib::WritePng(File(name), image));
        return File(name);
    }
    std::string ServeImage(const std::string& name, int width, int height, uint32_t color = 0xFF336699) const
    {
        return ServeImage(name, width, height, [color](int, int) { return color; });
    }

    FakeSoundManager* sounds;

private:
    std::filesystem::path mFolder;
};

// Opens up the records for inspection.
class TestResourceManager : public ResourceManager
{
public:
    using ResourceManager::ResourceManager;

    ImageRes* Image(const std::string& id) { return static_cast<ImageRes*>(FindRes(mImageMap, id)); }
    SoundRes* Sound(const std::string& id) { return static_cast<SoundRes*>(FindRes(mSoundMap, id)); }
    FontRes* FontRecord(const std::string& id) { return static_cast<FontRes*>(FindRes(mFontMap, id)); }
    size_t Count() const { return mImageMap.size() + mSoundMap.size() + mFontMap.size(); }
    std::vector<std::string> GroupIds(const std::string& group)
    {
        std::vector<std::string> ids;
        for (BaseRes* record : mResGroupMap[group])
            ids.push_back(record->mId);
        return ids;
    }
    // Reads the elements as the body of one "Resources" section.
    bool ParseGroup(const std::string& group, const std::string& body)
    {
        return ParseResourcesText("<ResourceManifest><Resources id=\"" + group + "\">" + body +
                                      "</Resources></ResourceManifest>",
                                  "test.xml");
    }
    int onLoadedCount = 0;
    void OnResourceLoaded(BaseRes*) override { ++onLoadedCount; }
};

} // namespace Lumo::ResourceTest

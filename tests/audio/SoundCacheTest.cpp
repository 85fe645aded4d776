// The decoded-sound cache: its bytes, where it goes, when it is reused.
#include "audio/DSoundManager.h"
#include "audio/SoundCacheFile.h"
#include "audio/SoundFileReaders.h"
#include "platform/audio/Mixer.h"
#include "tests/audio/SoundTestFiles.h"
#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>

namespace Lumo {
namespace {

using namespace SoundTest;

Bytes Text(const char* text)
{
    return Bytes(text, text + std::strlen(text));
}

Bytes Concat(const std::vector<Bytes>& parts)
{
    Bytes out;
    for (const Bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

TEST(SoundCacheFileTest, GoldenBytesForEvenAndOddPathLengths)
{
    const Bytes head = Concat({Text("RIFF"), {0x28, 0, 0, 0}, Text("WAVEfmt "), {0x10, 0, 0, 0, 1, 0, 1, 0},
                               {0x22, 0x56, 0, 0, 0x44, 0xAC, 0, 0, 2, 0, 0x10, 0}});
    const Bytes time = {8, 7, 6, 5, 4, 3, 2, 1};
    const Bytes tail = Concat({Text("xor "), {1, 0, 0, 0, 0x5E}, Text("data"), {4, 0, 0, 0, 0x5E, 0xA1, 0x4E, 0x7E}});
    const uint8_t pcm[4] = {0x00, 0xFF, 0x10, 0x20};

    const Bytes even = Concat({head, Text("dep "), {16, 0, 0, 0, 6, 0}, Text("ab.ogg"), time, tail});
    EXPECT_EQ(BuildSoundCacheFile(1, 22050, 16, "ab.ogg", 0x0102030405060708ull, pcm, 4), even);
    const Bytes odd = Concat({head, Text("dep "), {17, 0, 0, 0, 7, 0}, Text("abc.ogg"), time, tail});
    EXPECT_EQ(BuildSoundCacheFile(1, 22050, 16, "abc.ogg", 0x0102030405060708ull, pcm, 4), odd);
}

TEST(SoundCacheFileTest, OnlyRelativeNamesGetACachePath)
{
    EXPECT_EQ(SoundCachePath("/data/", "sound/blob"), "/data/cached\\sound/blob.wav");
    EXPECT_EQ(SoundCachePath("", "abc"), "cached\\abc.wav");
    EXPECT_EQ(SoundCachePath("/data/", "ab"), "");
    EXPECT_EQ(SoundCachePath("/data/", "/abs/blob"), "");
    EXPECT_EQ(SoundCachePath("/data/", "\\abs\\blob"), "");
    EXPECT_EQ(SoundCachePath("/data/", "C:\\sound\\blob"), "");
    // A ".." component, between either slash, would step out of the data folder.
    for (const char* name : {"../x/snd", "..\\x\\snd", "sound/../../x", "sound\\..", "a/..\\b", "sound/.."})
        EXPECT_EQ(SoundCachePath("/data/", name), "") << name;
    // Dots that are not a step up are ordinary names.
    EXPECT_EQ(SoundCachePath("/data/", "sound/..blob"), "/data/cached\\sound/..blob.wav");
    EXPECT_EQ(SoundCachePath("/data/", "sound/./a...b"), "/data/cached\\sound/./a...b.wav");
}

class SoundCacheTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!gDSoundLibrary)
            gDSoundLibrary = Platform::LoadModule("dsound.dll");
        ASSERT_NE(gDSoundLibrary, nullptr);
        mManager = std::make_unique<DSoundManager>(&mWindow, false);
        WriteFile("sound/beep.au", AuFile(1, 8000, 1, {0x80, 0x00, 0xFF}, 3));
    }

    std::string CachePath() const { return mFolder.Root() + "data/cached/sound/beep.wav"; }

    TestFolder mFolder;
    int mWindow = 0;
    std::unique_ptr<DSoundManager> mManager;
};

TEST_F(SoundCacheTest, DecodedSoundIsCachedAndReadBack)
{
    ASSERT_TRUE(mManager->LoadSound(2, "sound/beep"));
    const Bytes cache = ReadFile(CachePath());
    uint64_t sourceTime = 0;
    ASSERT_TRUE(Platform::GetFileWriteTime("sound/beep.au", sourceTime));
    const Bytes pcm = Samples16({1020, -1020, 0});
    EXPECT_EQ(cache, BuildSoundCacheFile(1, 8000, 16, "sound/beep.au", sourceTime, pcm.data(), 6));

    DecodedSound sound;
    ASSERT_TRUE(ReadWavSound(CachePath(), sound));
    EXPECT_EQ(sound.pcm, pcm);
    EXPECT_EQ(sound.sampleRate, 8000u);

    // The next load takes the cache: prove it with a cache of other samples.
    const Bytes other = Samples16({7, 7, 7, 7});
    WriteFile(CachePath(), BuildSoundCacheFile(1, 8000, 16, "sound/beep.au", sourceTime, other.data(), 8));
    ASSERT_TRUE(mManager->LoadSound(2, "sound/beep"));
    EXPECT_EQ(mManager->GetDataSize(2), 8u);
    EXPECT_EQ(ReadFile(CachePath()).size(), cache.size() + 2) << "a valid cache is not rewritten";
}

TEST_F(SoundCacheTest, StaleShortOrCorruptCacheIsDecodedAgain)
{
    ASSERT_TRUE(mManager->LoadSound(2, "sound/beep"));
    const Bytes good = ReadFile(CachePath());
    ASSERT_FALSE(good.empty());

    // The source changed since: its write time no longer matches.
    const auto sourcePath = std::filesystem::path(mFolder.Root()) / "sound/beep.au";
    std::filesystem::last_write_time(sourcePath,
                                     std::filesystem::last_write_time(sourcePath) + std::chrono::seconds(10));
    const Bytes other = Samples16({7, 7, 7, 7});
    DecodedSound sound;
    EXPECT_FALSE(ReadWavSound(CachePath(), sound)) << "stale";
    ASSERT_TRUE(mManager->LoadSound(2, "sound/beep"));
    EXPECT_EQ(mManager->GetDataSize(2), 6u);
    ASSERT_TRUE(ReadWavSound(CachePath(), sound)) << "rewritten with the new time";
    EXPECT_EQ(sound.pcm, Samples16({1020, -1020, 0}));

    // Cut short, or garbage: ignored, the source is decoded and the cache mended.
    const Bytes fresh = ReadFile(CachePath());
    for (const Bytes& broken : {Bytes(fresh.begin(), fresh.end() - 3), Bytes(40, 0x11), Bytes()})
    {
        WriteFile(CachePath(), broken);
        ASSERT_TRUE(mManager->LoadSound(2, "sound/beep"));
        EXPECT_EQ(mManager->GetDataSize(2), 6u);
        EXPECT_EQ(ReadFile(CachePath()), fresh);
    }
}

TEST_F(SoundCacheTest, WavAndAbsoluteNamesAreNeverCached)
{
    WriteFile("sound/plain.wav", MonoWav({1, 2, 3}));
    ASSERT_TRUE(mManager->LoadSound(1, "sound/plain"));
    EXPECT_FALSE(Platform::FileExists(mFolder.Root() + "data/cached/sound/plain.wav"));

    ASSERT_TRUE(mManager->LoadSound(1, mFolder.Root() + "sound/beep"));
    EXPECT_FALSE(Platform::DirectoryExists(mFolder.Root() + "data/cached/" + mFolder.Root()));
    EXPECT_EQ(mManager->GetDataSize(1), 6u);
}

TEST_F(SoundCacheTest, NamesThatStepUpAreLoadedButNeverCached)
{
    // Played from two levels below the test folder, "../../x/snd" is a sound
    // beside the data folder; its cache would land outside that folder.
    WriteFile("x/snd.au", AuFile(1, 8000, 1, {0x80, 0x00, 0xFF}, 3));
    ASSERT_TRUE(Platform::CreateDirectories(mFolder.Root() + "play/game"));
    ASSERT_TRUE(Platform::SetCurrentFolder(mFolder.Root() + "play/game"));
    for (const char* name : {"../../x/snd", "..\\..\\x\\snd", "../game/../../x/snd"})
    {
        ASSERT_TRUE(mManager->LoadSound(3, name)) << name;
        EXPECT_EQ(mManager->GetDataSize(3), 6u) << name;
    }
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(mFolder.Root()))
        if (entry.is_regular_file())
            files.push_back(std::filesystem::relative(entry.path(), mFolder.Root()).generic_string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"sound/beep.au", "x/snd.au"})) << "no cache file anywhere";
}

TEST_F(SoundCacheTest, OggIsDecodedAndCached)
{
    WriteFile("sound/tone.ogg", ReadFile(std::string(LUMO_AUDIO_TEST_DATA) + "/tone.ogg"));
    ASSERT_TRUE(mManager->LoadSound(4, "sound/tone"));
    EXPECT_EQ(mManager->GetDataSize(4), 1102u * 2);
    DecodedSound fromOgg, fromCache;
    ASSERT_TRUE(ReadOggSound("sound/tone.ogg", fromOgg));
    ASSERT_TRUE(ReadWavSound(mFolder.Root() + "data/cached/sound/tone.wav", fromCache));
    EXPECT_EQ(fromCache.pcm, fromOgg.pcm);
    EXPECT_EQ(fromCache.sampleRate, 22050u);
}

} // namespace
} // namespace Lumo

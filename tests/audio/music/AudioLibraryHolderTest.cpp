// The holders of the music libraries: loading by name, the entry tables,
// generations, reference counts, and the end of the program when a library
// or an entry is missing.
#include "audio/BassInstance.h"
#include "audio/FmodInstance.h"
#include <gtest/gtest.h>

namespace Lumo {
namespace {

class AudioLibraryHolderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        ASSERT_EQ(gBassInstance, nullptr);
        ASSERT_EQ(gFmodInstance, nullptr);
    }
};

TEST_F(AudioLibraryHolderTest, LoadsOurBassAsTheNewerGenerationWithEveryEntry)
{
    AcquireBassInstance();
    ASSERT_NE(gBassInstance, nullptr);
    const BASS_INSTANCE& bass = *gBassInstance;
    EXPECT_TRUE(bass.mNewerGeneration);
    EXPECT_NE(bass.BASS_Init, nullptr);
    EXPECT_EQ(bass.BASS_InitOld, nullptr);
    EXPECT_NE(bass.BASS_MusicLoad, nullptr);
    EXPECT_EQ(bass.BASS_MusicLoadOld, nullptr);
    EXPECT_NE(bass.BASS_SetGlobalVolumes, nullptr);
    EXPECT_NE(bass.BASS_SetConfig, nullptr);
    EXPECT_NE(bass.BASS_ChannelGetLength, nullptr);
    EXPECT_NE(bass.BASS_PluginLoad, nullptr);
    EXPECT_NE(bass.BASS_ErrorGetCode, nullptr);
    ReleaseBassInstance();
    EXPECT_EQ(gBassInstance, nullptr);
}

TEST_F(AudioLibraryHolderTest, AnOlderBassFillsTheOlderFormsOnly)
{
    AcquireBassInstance("bass_old.dll");
    ASSERT_NE(gBassInstance, nullptr);
    const BASS_INSTANCE& bass = *gBassInstance;
    EXPECT_FALSE(bass.mNewerGeneration);
    EXPECT_NE(bass.BASS_InitOld, nullptr);
    EXPECT_EQ(bass.BASS_Init, nullptr);
    EXPECT_NE(bass.BASS_MusicLoadOld, nullptr);
    EXPECT_EQ(bass.BASS_SetGlobalVolumes, nullptr);
    EXPECT_NE(bass.BASS_SetVolume, nullptr);
    EXPECT_EQ(bass.BASS_ChannelGetLength, nullptr) << "looked up only in the newer generation";
    ReleaseBassInstance();
}

TEST_F(AudioLibraryHolderTest, CountsItsUsersAndLoadsAgainAfterTheLast)
{
    AcquireBassInstance();
    BASS_INSTANCE* first = gBassInstance;
    AcquireBassInstance();
    EXPECT_EQ(gBassInstance, first);
    EXPECT_EQ(gBassInstanceCount.load(), 2);
    ReleaseBassInstance();
    EXPECT_EQ(gBassInstance, first);
    ReleaseBassInstance();
    EXPECT_EQ(gBassInstance, nullptr);
    EXPECT_EQ(gBassInstanceCount.load(), 0);
    ReleaseBassInstance(); // without a holder: nothing
    EXPECT_EQ(gBassInstanceCount.load(), 0);

    AcquireFmodInstance();
    ASSERT_NE(gFmodInstance, nullptr);
    EXPECT_NE(gFmodInstance->FSOUND_Init, nullptr);
    EXPECT_NE(gFmodInstance->FMUSIC_IsPlaying, nullptr);
    AcquireFmodInstance();
    ReleaseFmodInstance();
    EXPECT_NE(gFmodInstance, nullptr);
    ReleaseFmodInstance();
    EXPECT_EQ(gFmodInstance, nullptr);
    AcquireFmodInstance();
    EXPECT_NE(gFmodInstance->FSOUND_Sample_Load, nullptr) << "loaded again";
    ReleaseFmodInstance();
}

TEST_F(AudioLibraryHolderTest, AMissingLibraryEndsTheProgramAfterItsMessage)
{
    EXPECT_EXIT(AcquireBassInstance("no_such_bass.dll"), ::testing::ExitedWithCode(0), "Can't find bass\\.dll\\.");
    EXPECT_EXIT(AcquireFmodInstance("no_such_fmod.dll"), ::testing::ExitedWithCode(0), "Can't find fmod\\.dll\\.");
}

TEST_F(AudioLibraryHolderTest, AMissingEntryEndsTheProgramNamingIt)
{
    EXPECT_EXIT(AcquireBassInstance("fmod.dll"), ::testing::ExitedWithCode(0),
                "BASS_Init function not found in bass\\.dll");
    EXPECT_EXIT(AcquireFmodInstance("bass.dll"), ::testing::ExitedWithCode(0),
                "\"_FSOUND_SetBufferSize@4\" function not found in fmod\\.dll");
    EXPECT_EXIT(AcquireBassInstance("bass_novolume.dll"), ::testing::ExitedWithCode(0),
                "Neither BASS_SetGlobalVolumes or BASS_SetVolume found in bass\\.dll");
}

} // namespace
} // namespace Lumo

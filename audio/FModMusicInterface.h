#pragma once
// The music player over FMOD (our "fmod.dll" stand-in, through the holder
// gFmodInstance): songs under int ids, each a song of the library (a tracker
// module, or an Ogg Vorbis, WAV or MP3 file played as one) or a decoded sample
// played on the library channel numbered like the song id; faded by Update.
// It does not initialise FMOD: the sound manager made with the use-FMOD flag
// does (FSOUND_Init) and closes it.
//
// Volumes: song volume x music volume x 100 to the library (so at most 100 of
// its 0..255 channel and 0..256 song volumes). Unloading, pausing all and
// amplification do nothing here (the base forms). Songs are opened by name;
// decoded samples that only the pack file holds are handed over from memory.
// Main thread only. A missing library ends the program (see FmodInstance.h).
#include "audio/MusicInterface.h"
#include "platform/audio/FmodApi.h"
#include <cstdint>
#include <map>

namespace Lumo {

class FMOD_INSTANCE;

struct FModMusicInfo
{
    FmodSample* mHSample = nullptr; // a decoded song
    FmodSong* mHMusic = nullptr;    // a song of the library
    double mVolume = 0.0;
    double mVolumeAdd = 0.0;        // fade speed per update
    double mVolumeCap = 1.0;        // maximum volume
    bool mStopOnFade = false;
    bool mRepeats = false;          // a decoded song loops
};

class FModMusicInterface : public MusicInterface
{
public:
    explicit FModMusicInterface(void* window);
    ~FModMusicInterface() override;
    FModMusicInterface(const FModMusicInterface&) = delete;
    FModMusicInterface& operator=(const FModMusicInterface&) = delete;

    // A song already under the id is stopped (and its sample freed) once the
    // new one has loaded; on failure the old one stays.
    bool LoadMusic(int id, const std::string& fileName) override;
    // offset: modules, the order to start at.
    void PlayMusic(int id, int offset, bool noLoop) override;
    void StopMusic(int id) override;
    void PauseMusic(int id) override;
    void ResumeMusic(int id) override;
    void StopAllMusic() override;
    void FadeIn(int id, int offset, double speed, bool noLoop) override;
    void FadeOut(int id, bool stopWhenFaded, double speed) override;
    void FadeOutAll(bool stopWhenFaded, double speed) override;
    void SetSongVolume(int id, double volume) override;
    // Songs of the library only; a decoded song answers false.
    bool IsPlaying(int id) override;
    void SetMusicVolume(double volume) override;
    void Update() override;

    // Two Ogg Vorbis files (names without ".ogg") joined into one decoded
    // song: the first plays once, then the second loops. False (nothing kept)
    // when either cannot be decoded or their formats differ.
    virtual bool LoadSampleMusicPair(int id, const std::string& first, const std::string& second, bool loop);
    // One Ogg Vorbis file (name without ".ogg") as a decoded song.
    virtual bool LoadSampleMusic(int id, const std::string& fileName, bool loop);

    // The decoded sample of "<name>.ogg", from the music cache
    // "<data folder>cached\\<file name>.wav" when that is complete, else
    // decoded and the cache written (atomically). Null when it cannot be
    // decoded. The caller frees it (FSOUND_Sample_Free).
    FmodSample* LoadCachedSample(const std::string& name);

    // The record under the id, or null (tests read it).
    const FModMusicInfo* FindSong(int id) const;

private:
    FModMusicInfo* Find(int id);
    void StoreSong(int id, const FModMusicInfo& info);
    void ApplyVolume(int id, const FModMusicInfo& info);
    void StopChannel(int id, const FModMusicInfo& info);
    FmodSample* LoadSampleFile(const std::string& path);
    void WriteCacheFile(FmodSample* sample, const std::string& cachePath);
    bool CopySample(FmodSample* from, uint8_t* dest, uint64_t room);

    FMOD_INSTANCE& mFmod;
    std::map<int, FModMusicInfo> mMusicMap;
    double mMasterVolume = 1.0;
    int mMusicVolumeScale = 100;
    int mSampleVolumeScale = 100;
};

} // namespace Lumo

#pragma once
// The music player over BASS (our "bass.dll" stand-in, through the holder
// gBassInstance): songs under int ids, each a stream (".wav", ".ogg", ".mp3")
// or a tracker module (any other extension), faded by Update once per update.
// Songs are opened by name; one that only the pack file holds is read through
// the file wrappers and handed to the library from memory.
//
// Volumes: song volumes 0..1 go to the library as 0..100; the music volume
// 0..1 goes to the global volumes (0..100, or 0..40 with an older library).
// Operations on an id without a song do nothing (IsPlaying answers false).
// Main thread only. A missing library ends the program (see BassInstance.h).
#include "audio/MusicFileBytes.h"
#include "audio/MusicInterface.h"
#include "platform/audio/BassApi.h"
#include <map>

namespace Lumo {

class BASS_INSTANCE;

struct BassMusicInfo
{
    BassHandle mHMusic = 0;   // a tracker module, else 0
    BassHandle mHStream = 0;  // a stream, else 0
    double mVolume = 0.0;
    double mVolumeAdd = 0.0;  // fade speed per update
    double mVolumeCap = 1.0;  // maximum volume
    bool mStopOnFade = false;
    MusicBytes mMemory;       // bytes the library plays from, when not by name

    BassHandle GetHandle() const { return mHMusic != 0 ? mHMusic : mHStream; }
};

class BassMusicInterface : public MusicInterface
{
public:
    static constexpr int kDefaultMaxMusicVolume = 40;

    // window: the application's main window (may be null).
    explicit BassMusicInterface(void* window);
    ~BassMusicInterface() override;
    BassMusicInterface(const BassMusicInterface&) = delete;
    BassMusicInterface& operator=(const BassMusicInterface&) = delete;

    // A song already under the id is stopped and freed once the new one has
    // loaded; on failure the old one stays.
    bool LoadMusic(int id, const std::string& fileName) override;
    // offset: modules, the order to start at; streams, -1 continues where the
    // song stands, 0 starts over, more starts at that byte.
    void PlayMusic(int id, int offset, bool noLoop) override;
    void StopMusic(int id) override;
    void PauseMusic(int id) override;
    void ResumeMusic(int id) override;
    void StopAllMusic() override;
    void UnloadMusic(int id) override;
    void UnloadAllMusic() override;
    void PauseAllMusic() override;
    void ResumeAllMusic() override;
    void FadeIn(int id, int offset, double speed, bool noLoop) override;
    void FadeOut(int id, bool stopWhenFaded, double speed) override;
    void FadeOutAll(bool stopWhenFaded, double speed) override;
    void SetSongVolume(int id, double volume) override;
    void SetSongMaxVolume(int id, double volume) override;
    bool IsPlaying(int id) override;
    void SetMusicVolume(double volume) override;
    // value: the module's amplification factor (0.5 = as written).
    void SetAmplification(int id, double value) override;
    void Update() override;

    // The record under the id, or null (tests read it).
    const BassMusicInfo* FindSong(int id) const;

private:
    BassMusicInfo* Find(int id);
    BassHandle LoadStream(const std::string& fileName, MusicBytes& memory);
    BassHandle LoadModule(const std::string& fileName, MusicBytes& memory);
    void ApplyVolume(const BassMusicInfo& info);
    void StartChannel(const BassMusicInfo& info, int offset, bool noLoop, bool fading);
    void FreeSong(const BassMusicInfo& info);

    BASS_INSTANCE& mBass;
    std::map<int, BassMusicInfo> mMusicMap;
    int mMaxMusicVolume = kDefaultMaxMusicVolume;
};

} // namespace Lumo

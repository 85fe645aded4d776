#pragma once
// A music player that writes down every call the game makes of it, as short
// texts ("load 3 sound/panic.wav", "play 3 0 loop", "stop 3", "stopall",
// "playing? 0"), and keeps just enough state to answer IsPlaying the way a
// real player does: a song plays from PlayMusic until it is stopped, loaded
// again, or (played once) finishes.
#include "audio/MusicInterface.h"

#include <map>
#include <string>
#include <vector>

namespace Lumo::GameTest {

class FakeMusicPlayer : public MusicInterface
{
public:
    using Calls = std::vector<std::string>;

    bool LoadMusic(int id, const std::string& fileName) override
    {
        Record("load " + std::to_string(id) + " " + fileName);
        mLoaded[id] = fileName;
        mPlaying.erase(id); // a reload replaces (and silences) the old song
        return true;
    }
    void PlayMusic(int id, int offset, bool noLoop) override
    {
        Record("play " + std::to_string(id) + " " + std::to_string(offset) + (noLoop ? " once" : " loop"));
        if (mLoaded.count(id) != 0)
            mPlaying[id] = noLoop;
    }
    void StopMusic(int id) override
    {
        Record("stop " + std::to_string(id));
        mPlaying.erase(id);
    }
    void StopAllMusic() override
    {
        Record("stopall");
        mPlaying.clear();
    }
    bool IsPlaying(int id) override
    {
        Record("playing? " + std::to_string(id));
        return mPlaying.count(id) != 0;
    }
    // The application's own calls: counted, kept out of the song calls.
    void SetMusicVolume(double) override { ++volumeCalls; }
    void Update() override { ++updateCalls; }

    // Calls the game has no business making.
    void PauseMusic(int id) override { Record("pause " + std::to_string(id)); }
    void ResumeMusic(int id) override { Record("resume " + std::to_string(id)); }
    void UnloadMusic(int id) override { Record("unload " + std::to_string(id)); }
    void UnloadAllMusic() override { Record("unloadall"); }
    void PauseAllMusic() override { Record("pauseall"); }
    void ResumeAllMusic() override { Record("resumeall"); }
    void FadeIn(int id, int, double, bool) override { Record("fadein " + std::to_string(id)); }
    void FadeOut(int id, bool, double) override { Record("fadeout " + std::to_string(id)); }
    void FadeOutAll(bool, double) override { Record("fadeoutall"); }
    void SetSongVolume(int id, double) override { Record("songvolume " + std::to_string(id)); }
    void SetSongMaxVolume(int id, double) override { Record("songmaxvolume " + std::to_string(id)); }
    void SetAmplification(int id, double) override { Record("amplification " + std::to_string(id)); }

    // The song calls since the last take.
    Calls TakeCalls()
    {
        Calls taken;
        taken.swap(mPending);
        return taken;
    }
    // Every song call since the player was installed.
    const Calls& History() const { return mHistory; }

    // The songs playing now, by id.
    std::vector<int> Playing() const
    {
        std::vector<int> ids;
        for (const auto& [id, once] : mPlaying)
            ids.push_back(id);
        return ids;
    }
    // Songs played once come to their end.
    void FinishOneShots()
    {
        std::erase_if(mPlaying, [](const auto& entry) { return entry.second; });
    }

    int volumeCalls = 0;
    int updateCalls = 0;

private:
    void Record(std::string call)
    {
        mPending.push_back(call);
        mHistory.push_back(std::move(call));
    }

    std::map<int, std::string> mLoaded;
    std::map<int, bool> mPlaying; // id -> played once
    Calls mPending;
    Calls mHistory;
};

} // namespace Lumo::GameTest

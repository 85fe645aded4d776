// The save file: the options, the best score of each mode and the kept
// statistics, read once at construction and written when a game ends and when
// the player leaves the options or quits a game.
#include "game/Board.h"

#include "app/Buffer.h"
#include "game/GameApp.h"
#include "game/GameDataFile.h"

namespace Lumo {

void Board::saveGameData()
{
    // A demo being played back must never overwrite the player's records.
    if (app->IsPlayingDemo())
        return;
    GameData data;
    data.dayScenery = eveningFlag;
    data.musicVolume = static_cast<int32_t>(musicVolume); // truncated toward zero
    data.soundVolume = static_cast<int32_t>(soundVolume);
    data.highScores = highScores;
    for (int i = 0; i < STAT_COUNT; ++i)
        data.keptStats[i] = stats[i][1];
    Buffer buffer;
    GameDataFile::Write(data, buffer);
    (void)app->SaveBufferToFile(kSaveFileName, buffer); // a failed save is not reported
}

void Board::loadGameData()
{
    const GameData defaults;
    eveningFlag = defaults.dayScenery;
    reservedOption = false;
    musicVolume = defaults.musicVolume;
    soundVolume = defaults.soundVolume;
    highScores = defaults.highScores;
    for (auto& pair : stats)
        pair = {0, 0};

    if (!app->FileExists(kSaveFileName))
        return;
    Buffer buffer;
    if (!app->LoadFileToBuffer(kSaveFileName, buffer))
    {
        app->ShowFatalError(std::string("Could not read contents of ") + kSaveFileName);
        return;
    }
    const GameData data = GameDataFile::Read(buffer.GetDataPtr(), buffer.GetDataLen());
    eveningFlag = data.dayScenery;
    musicVolume = data.musicVolume;
    soundVolume = data.soundVolume;
    highScores = data.highScores;
    for (int i = 0; i < STAT_COUNT; ++i)
        stats[i][1] = data.keptStats[i];
    app->SetMusicVolume(musicVolume / 300.0);
    app->SetSfxVolume(soundVolume / 300.0);
}

} // namespace Lumo

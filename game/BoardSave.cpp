// The save file: the options, the best score of each mode and the kept
// statistics. It lives in the data folder beside the sound cache; a file that
// an earlier version left in the working folder is taken over once. Read once
// at construction; written when a game ends, when the player leaves the options
// or quits a game, when the story ends, and on the way out of the program when
// something changed since the last save.
#include "game/Board.h"

#include "app/Buffer.h"
#include "app/Common.h"
#include "game/GameApp.h"
#include "game/GameDataFile.h"
#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <system_error>

namespace Lumo {

namespace {

// The slider position of a volume that plays (0.0..1.0).
double SliderOf(double volume)
{
    return std::round(volume * GameDataFile::kMaxVolume);
}

} // namespace

std::string Board::saveFilePath()
{
    const std::string folder = GetDataFolder();
    return folder.empty() ? std::string(kSaveFileName) : folder + kSaveFileName;
}

GameData Board::gameDataToSave() const
{
    GameData data;
    data.dayScenery = eveningFlag;
    // A slider's value is truncated toward zero.
    data.musicVolume = static_cast<int32_t>(musicSliderShowsDefault ? SliderOf(app->GetMusicVolume()) : musicVolume);
    data.soundVolume = static_cast<int32_t>(soundSliderShowsDefault ? SliderOf(app->GetSfxVolume()) : soundVolume);
    data.highScores = highScores;
    for (int i = 0; i < STAT_COUNT; ++i)
        data.keptStats[i] = stats[i][1];
    const bool gameInProgress = (state == STATE_PLAYING || state == STATE_PAUSED) && !tutorial && !isGameOver;
    if (gameInProgress && mode >= 0 && mode < MODE_COUNT)
        data.highScores[mode] = std::max(data.highScores[mode], totalScore + score);
    return data;
}

void Board::saveGameData()
{
    // A demo being played back must never overwrite the player's records.
    if (app->IsPlayingDemo())
        return;
    if (saveBlocked)
    {
        Platform::Notice("GAME", "the records are not saved: a damaged save file is in the way at " +
                                     saveFilePath());
        return;
    }
    const GameData data = gameDataToSave();
    Buffer buffer;
    GameDataFile::Write(data, buffer);
    // A failed save says why; the game goes on, and the next save (every way
    // out saves what changed) tries again.
    std::string error;
    if (app->SaveBufferToFile(saveFilePath(), buffer, &error))
        savedData = data;
    else
        Platform::Notice("GAME", "the records could not be saved (" + error + "); the next save tries again");
}

void Board::saveChangedGameData()
{
    if (!(gameDataToSave() == savedData))
        saveGameData();
}

void Board::setAsideSaveFile(const std::string& path, const std::string& why)
{
    if (app->IsPlayingDemo())
        return; // the answer came from the demo, not from this file
    // Each damaged file keeps its own name: an earlier one set aside is never
    // replaced. A name that is taken moves on to the next; any other failure
    // would fail for every name alike.
    std::string reason = path + ".bad to " + path + ".bad." + std::to_string(kMaxSetAsideFiles - 1) +
                         " are all taken; removing or moving them makes room";
    for (int copy = 0; copy < kMaxSetAsideFiles; ++copy)
    {
        std::string aside = path;
        aside += ".bad";
        if (copy > 0)
        {
            aside += '.';
            aside += std::to_string(copy);
        }
        if (Platform::RenameFileNoReplace(path, aside))
        {
            Platform::Notice("GAME", path + " " + why + "; moved to " + aside + ", the records start afresh");
            return;
        }
        const std::error_code failure(errno, std::generic_category());
        if (failure != std::errc::file_exists)
        {
            reason = "moving it to " + aside + ": " + failure.message();
            break;
        }
    }
    Platform::Notice("GAME", path + " " + why + " and cannot be moved aside (" + reason +
                                 "); no records are saved over it");
    if (path == saveFilePath())
        saveBlocked = true;
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
    saveBlocked = false;
    musicSliderShowsDefault = false;
    soundSliderShowsDefault = false;

    // Without records of their own the sliders show the volumes that play (the
    // settings'). A demo carries no settings, so in one they stay at the
    // defaults, the same on every machine; a recording still saves the
    // player's volumes.
    auto slidersFromApp = [this] {
        if (app->IsRecordingDemo())
            musicSliderShowsDefault = soundSliderShowsDefault = true;
        if (app->IsPlayingDemo() || app->IsRecordingDemo())
            return;
        musicVolume = SliderOf(app->GetMusicVolume());
        soundVolume = SliderOf(app->GetSfxVolume());
    };

    const std::string path = saveFilePath();
    std::string readPath = path;
    if (!app->IsPlayingDemo())
    {
        (void)Platform::RemoveStaleTemporaries(path);
        // Earlier versions kept the file in the working folder.
        if (path != kSaveFileName)
        {
            (void)Platform::RemoveStaleTemporaries(kSaveFileName);
            if (!Platform::FileExists(path) && Platform::FileExists(kSaveFileName))
                readPath = kSaveFileName;
        }
    }

    if (!app->FileExists(readPath))
    {
        slidersFromApp();
        savedData = gameDataToSave();
        return;
    }
    // One byte more than a save file has tells a longer file; nothing more of
    // it is read.
    Buffer buffer;
    const bool read = app->LoadFileToBuffer(readPath, buffer, false, GameDataFile::kSize + 1);
    if (!read || buffer.GetDataLen() != GameDataFile::kSize)
    {
        if (!read && !app->ShowFatalError("Could not read contents of " + readPath))
        {
            // The box was closed unanswered, as the program was asked to end:
            // the file stays where it is, and nothing is saved over it.
            saveBlocked = readPath == path;
            slidersFromApp();
            savedData = gameDataToSave();
            return;
        }
        setAsideSaveFile(readPath, read ? "is not a save file (its size is not " +
                                              std::to_string(GameDataFile::kSize) + " bytes)"
                                        : "cannot be read");
        slidersFromApp();
        savedData = gameDataToSave();
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
    savedData = data;
    if (readPath != path)
    {
        // Taken over: from now on the records live in the data folder. The old
        // file stays where it is.
        saveGameData();
        if (Platform::FileExists(path))
            Platform::Notice("GAME", "the records of " + readPath + " are kept in " + path + " from now on");
    }
}

} // namespace Lumo

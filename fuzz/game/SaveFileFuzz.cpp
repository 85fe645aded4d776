// The save file reader: any bytes give a GameData with volumes in 0..300, and
// writing it back and reading that again gives the same data.
#include "app/Buffer.h"
#include "game/GameDataFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace Lumo;
    const GameData read = GameDataFile::Read(data, size);
    if (read.musicVolume < 0 || read.musicVolume > 300 || read.soundVolume < 0 || read.soundVolume > 300)
        std::abort();
    Buffer buffer;
    GameDataFile::Write(read, buffer);
    if (buffer.GetDataLen() != GameDataFile::kSize)
        std::abort();
    const GameData again = GameDataFile::Read(buffer.GetDataPtr(), buffer.GetDataLen());
    if (again.dayScenery != read.dayScenery || again.musicVolume != read.musicVolume ||
        again.soundVolume != read.soundVolume || again.highScores != read.highScores ||
        again.keptStats != read.keptStats)
        std::abort();
    return 0;
}

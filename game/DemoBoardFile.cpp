#include "game/DemoBoardFile.h"

#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"

#include <vector>

namespace Lumo {

std::optional<TutorialBoard> DemoBoardFile::Parse(const uint8_t* data, size_t size)
{
    if (data == nullptr || size < kSize)
    {
        Platform::Log("GAME", "tutorial board is too short");
        return std::nullopt;
    }
    TutorialBoard board{};
    for (size_t i = 0; i < kSize; ++i)
    {
        const int8_t value = static_cast<int8_t>(data[i]);
        if (value < -1 || value > 9)
        {
            Platform::Log("GAME", "tutorial board holds an unknown cell value");
            return std::nullopt;
        }
        board[i] = value;
    }
    return board;
}

std::optional<TutorialBoard> DemoBoardFile::Load(const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (!Platform::ReadWholeFile(path, bytes))
        return std::nullopt;
    return Parse(bytes.data(), bytes.size());
}

} // namespace Lumo

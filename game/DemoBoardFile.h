#pragma once
// The tutorial's fixed starting board, "demo_board": 154 signed bytes, one
// BlobType per cell in grid order (row 0 first, column 0 first within a row),
// no header. Bytes past the 154th are ignored.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace Lumo {

using TutorialBoard = std::array<int8_t, 154>;

class DemoBoardFile
{
public:
    static constexpr size_t kSize = 154;

    // The board in the bytes; nullopt when there are fewer than 154 bytes or
    // a cell is outside -1..9 (a damaged file), with one "GAME" log line.
    static std::optional<TutorialBoard> Parse(const uint8_t* data, size_t size);
    // Reads the file straight from the disk (never from the pack file);
    // nullopt when it is missing or damaged.
    static std::optional<TutorialBoard> Load(const std::string& path);
};

} // namespace Lumo

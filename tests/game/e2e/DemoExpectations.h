#pragma once
// What a recorded demo must replay to, kept beside it as "<name>.expect": the
// final screen, mode, scores and statistics, and the update numbers at which
// the screens worth capturing show. Plain text, one "key value" per line.
#include "game/Board.h"

#include <map>
#include <string>

namespace Lumo::E2e {

struct DemoExpectations
{
    std::map<std::string, long long> values;  // final Board values by name
    std::map<std::string, int> captures;      // screen name -> update number

    // The Board values that a replay must repeat.
    static DemoExpectations FromBoard(const Board& board);
    // "key value" lines; captures as "capture <name> <update>".
    std::string ToText() const;
    // False when the text has a line that is not understood.
    [[nodiscard]] bool Parse(const std::string& text);
    [[nodiscard]] bool Load(const std::string& path);
    [[nodiscard]] bool Save(const std::string& path) const;
};

} // namespace Lumo::E2e

#include "DemoExpectations.h"

#include "platform/FileSystem.h"

#include <sstream>
#include <vector>

namespace Lumo::E2e {

DemoExpectations DemoExpectations::FromBoard(const Board& board)
{
    DemoExpectations e;
    auto& v = e.values;
    v["state"] = board.state;
    v["mode"] = board.mode;
    v["tutorial"] = board.tutorial ? 1 : 0;
    v["tutorial_page"] = board.tutorialPage;
    v["game_over"] = board.isGameOver ? 1 : 0;
    v["score"] = board.score;
    v["total_score"] = board.totalScore;
    for (int m = 0; m < MODE_COUNT; ++m)
        v["high_score_" + std::to_string(m)] = board.highScores[static_cast<size_t>(m)];
    for (int s = 0; s < STAT_COUNT; ++s)
    {
        v["stat_game_" + std::to_string(s)] = board.stats[static_cast<size_t>(s)][0];
        v["stat_kept_" + std::to_string(s)] = board.stats[static_cast<size_t>(s)][1];
    }
    v["state_hash"] = static_cast<long long>(board.stateHash() & 0x7FFFFFFFFFFFFFFFULL);
    return e;
}

std::string DemoExpectations::ToText() const
{
    std::ostringstream out;
    for (const auto& [key, value] : values)
        out << key << ' ' << value << '\n';
    for (const auto& [name, update] : captures)
        out << "capture " << name << ' ' << update << '\n';
    return out.str();
}

bool DemoExpectations::Parse(const std::string& text)
{
    values.clear();
    captures.clear();
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
    {
        if (line.empty())
            continue;
        std::istringstream words(line);
        std::string key;
        words >> key;
        if (key == "capture")
        {
            std::string name;
            int update = 0;
            if (!(words >> name >> update))
                return false;
            captures[name] = update;
            continue;
        }
        long long value = 0;
        if (!(words >> value))
            return false;
        values[key] = value;
    }
    return true;
}

bool DemoExpectations::Load(const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (!Platform::ReadWholeFile(path, bytes))
        return false;
    return Parse(std::string(bytes.begin(), bytes.end()));
}

bool DemoExpectations::Save(const std::string& path) const
{
    const std::string text = ToText();
    return Platform::WriteFileAtomically(path, reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

} // namespace Lumo::E2e

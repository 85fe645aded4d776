#include "app/pak/PakFormat.h"

#include "app/ByteReader.h"
#include "app/Common.h"

#include <cstring>
#include <set>

namespace Lumo {

std::string NormalizePakName(const std::string& name)
{
    std::vector<std::string> parts;
    std::string part;
    auto finishPart = [&]() {
        if (part == ".." && !parts.empty() && parts.back() != "..")
            parts.pop_back();
        else if (!part.empty() && part != ".")
            parts.push_back(part);
        part.clear();
    };
    for (char c : name)
    {
        if (c == '\\' || c == '/')
            finishPart();
        else
            part += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    finishPart();
    std::string result;
    for (const std::string& p : parts)
        result += (result.empty() ? "" : "/") + p;
    return result;
}

namespace {

bool ReadEntry(ByteReader& reader, size_t fileSize, size_t index, PakEntryInfo& entry, std::string& error)
{
    const size_t nameLength = reader.U16();
    if (!reader.Ok())
        return error = "directory truncated", false;
    if (nameLength == 0 || nameLength > PakFormat::kMaxNameLength)
        return error = FormatString("entry %zu has a bad name length %zu", index, nameLength), false;
    entry.name = reader.Text(nameLength);
    entry.offset = reader.U32();
    entry.size = reader.U32();
    if (!reader.Ok())
        return error = "directory truncated", false;
    if (entry.name.find('\0') != std::string::npos)
        return error = FormatString("entry %zu has a NUL byte in its name", index), false;
    const uint64_t end = static_cast<uint64_t>(entry.offset) + entry.size;
    if (end > fileSize)
        return error = FormatString("entry %zu reaches past the end of the file", index), false;
    return true;
}

} // namespace

bool ParsePakDirectory(const uint8_t* data, size_t size, std::vector<PakEntryInfo>& entries, std::string& error)
{
    entries.clear();
    ByteReader reader(data, size);
    const uint8_t* magic = reader.Skip(sizeof(PakFormat::kMagic));
    if (magic == nullptr || std::memcmp(magic, PakFormat::kMagic, sizeof(PakFormat::kMagic)) != 0)
        return error = "not a pack file (bad magic)", false;
    const uint32_t version = reader.U32();
    const uint32_t count = reader.U32();
    if (!reader.Ok())
        return error = "header truncated", false;
    if (version != PakFormat::kVersion)
        return error = FormatString("unsupported version %u", version), false;
    if (count > reader.Remaining() / PakFormat::kMinEntrySize)
        return error = FormatString("entry count %u does not fit the file", count), false;

    std::vector<PakEntryInfo> parsed(count);
    std::set<std::string> names;
    for (size_t i = 0; i < parsed.size(); ++i)
    {
        if (!ReadEntry(reader, size, i, parsed[i], error))
            return false;
        if (!names.insert(NormalizePakName(parsed[i].name)).second)
            return error = FormatString("entry %zu repeats an earlier name", i), false;
    }
    const size_t directoryEnd = reader.Position();
    for (size_t i = 0; i < parsed.size(); ++i)
        if (parsed[i].offset < directoryEnd && parsed[i].size > 0)
            return error = FormatString("entry %zu overlaps the directory", i), false;
    entries = std::move(parsed);
    return true;
}

} // namespace Lumo

#include "app/pak/PakWriter.h"

#include "app/Common.h"
#include "app/pak/PakFormat.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

namespace Lumo {

namespace {

void PutLittle(std::vector<uint8_t>& out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<uint8_t>((value >> (8 * i)) & 0xFF));
}

bool CheckNames(const std::vector<PakSourceFile>& files, std::string& error)
{
    std::set<std::string> seen;
    for (const PakSourceFile& file : files)
    {
        if (file.name.empty() || file.name.size() > PakFormat::kMaxNameLength)
            return error = "bad name length: \"" + file.name + "\"", false;
        if (file.name.find('\0') != std::string::npos)
            return error = "name holds a NUL byte", false;
        if (!seen.insert(NormalizePakName(file.name)).second)
            return error = "two files match the name \"" + file.name + "\" (names ignore case)", false;
    }
    return true;
}

} // namespace

bool MakePakImage(const std::vector<PakSourceFile>& files, std::vector<uint8_t>& image, std::string& error)
{
    image.clear();
    if (!CheckNames(files, error))
        return false;
    uint64_t offset = PakFormat::kHeaderSize;
    for (const PakSourceFile& file : files)
        offset += PakFormat::kMinEntrySize - 1 + file.name.size();
    std::vector<uint8_t> out(PakFormat::kMagic, PakFormat::kMagic + sizeof(PakFormat::kMagic));
    PutLittle(out, PakFormat::kVersion, 4);
    PutLittle(out, files.size(), 4);
    for (const PakSourceFile& file : files)
    {
        if (offset + file.bytes.size() > 0xFFFFFFFFull)
            return error = "the pack would be larger than 4 GiB", false;
        PutLittle(out, file.name.size(), 2);
        out.insert(out.end(), file.name.begin(), file.name.end());
        PutLittle(out, offset, 4);
        PutLittle(out, file.bytes.size(), 4);
        offset += file.bytes.size();
    }
    for (const PakSourceFile& file : files)
        out.insert(out.end(), file.bytes.begin(), file.bytes.end());
    image = std::move(out);
    return true;
}

namespace {

namespace fs = std::filesystem;

bool SameFile(const fs::path& a, const fs::path& b)
{
    std::error_code ignored;
    return fs::exists(b, ignored) && fs::equivalent(a, b, ignored);
}

// What the names of a folder's files start with: a relative folder keeps its
// path, as archivers keep it ("images" gives "images/tiles.png"); an absolute
// folder, one that climbs out with "..", and "." stand for their contents.
std::string NamePrefix(const std::string& folder)
{
    const fs::path path = fs::path(folder).lexically_normal();
    if (!path.is_relative())
        return "";
    std::string prefix = path.generic_string();
    while (!prefix.empty() && prefix.back() == '/')
        prefix.pop_back();
    if (prefix.empty() || prefix == "." || prefix.rfind("..", 0) == 0)
        return "";
    return prefix + "/";
}

bool CollectFolder(const std::string& folder, const std::string& outputPath, std::vector<PakSourceFile>& files,
                   std::string& error)
{
    std::error_code code;
    if (!fs::is_directory(folder, code))
        return error = "not a folder: " + folder, false;
    const std::string prefix = NamePrefix(folder);
    fs::recursive_directory_iterator it(folder, code), end;
    for (; !code && it != end; it.increment(code))
    {
        if (!it->is_regular_file(code) || SameFile(it->path(), outputPath))
            continue;
        PakSourceFile file;
        file.name = prefix + it->path().lexically_relative(folder).generic_string();
        if (!Platform::ReadWholeFile(it->path().string(), file.bytes))
            return error = "cannot read " + it->path().string(), false;
        files.push_back(std::move(file));
    }
    if (code)
        return error = "cannot list " + folder + ": " + code.message(), false;
    return true;
}

} // namespace

bool BuildPak(const std::string& outputPath, const std::vector<std::string>& folders, std::string& error)
{
    std::vector<PakSourceFile> files;
    for (const std::string& folder : folders)
        if (!CollectFolder(folder, outputPath, files, error))
            return false;
    std::sort(files.begin(), files.end(),
              [](const PakSourceFile& a, const PakSourceFile& b) { return a.name < b.name; });
    std::vector<uint8_t> image;
    if (!MakePakImage(files, image, error))
        return false;
    if (!Platform::WriteFileAtomically(outputPath, image.data(), image.size()))
        return error = "cannot write " + outputPath, false;
    return true;
}

} // namespace Lumo

// The file-system boundary: Windows-style program paths mapped to host paths,
// and the few file operations the framework needs, over POSIX.
#include "platform/FileSystem.h"

#include "platform/DebugOutput.h"
#include "platform/Environment.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Lumo::Platform {

namespace {

struct DirCloser
{
    void operator()(DIR* dir) const { closedir(dir); }
};
struct FileCloser
{
    void operator()(FILE* file) const { std::fclose(file); }
};
using DirPtr = std::unique_ptr<DIR, DirCloser>;
using FilePtr = std::unique_ptr<FILE, FileCloser>;

bool PathExists(const std::string& hostPath)
{
    struct stat info;
    return !hostPath.empty() && stat(hostPath.c_str(), &info) == 0;
}

bool EqualNoCase(const std::string& a, const char* b)
{
    return strcasecmp(a.c_str(), b) == 0;
}

// The entry of folder whose name equals component without regard to ASCII
// case; the smallest such name when several do, so the choice is stable.
std::optional<std::string> FindNoCase(const std::string& folder, const std::string& component)
{
    DirPtr dir(opendir(folder.empty() ? "." : folder.c_str()));
    if (!dir)
        return std::nullopt;
    std::optional<std::string> best;
    while (const dirent* entry = readdir(dir.get()))
        if (EqualNoCase(component, entry->d_name) && (!best || *best > entry->d_name))
            best = entry->d_name;
    return best;
}

std::vector<std::string> SplitComponents(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size())
    {
        size_t slash = path.find('/', start);
        if (slash == std::string::npos)
            slash = path.size();
        if (slash > start)
            parts.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    return parts;
}

// Joins folder and name; folder is "" (current folder), "/" or ends in a name.
std::string JoinPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

std::string DirectoryOf(const std::string& hostPath)
{
    size_t slash = hostPath.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : hostPath.substr(0, slash);
}

// The file a chain of symbolic links ends at; the path itself when it is no
// link. A link to a missing file gives that file's path, so a write creates it.
std::string FollowLinks(std::string hostPath)
{
    constexpr int kMaxHops = 40;
    for (int hop = 0; hop < kMaxHops; ++hop)
    {
        struct stat info;
        if (hostPath.empty() || lstat(hostPath.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return hostPath;
        std::vector<char> buffer(PATH_MAX + 1);
        const ssize_t length = readlink(hostPath.c_str(), buffer.data(), buffer.size() - 1);
        if (length <= 0)
            return hostPath;
        std::string target(buffer.data(), static_cast<size_t>(length));
        if (target[0] != '/')
            target = JoinPath(DirectoryOf(hostPath), target);
        hostPath = std::move(target);
    }
    return hostPath;
}

bool ProcessRuns(long pid)
{
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// The process id in a temporary's name suffix, or -1 when the suffix is not
// only digits.
long TemporaryOwner(const std::string& suffix)
{
    if (suffix.empty() || suffix.size() > 9 ||
        !std::all_of(suffix.begin(), suffix.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::stol(suffix);
}

bool WriteAndSync(FILE* file, const void* data, size_t size)
{
    if (size > 0 && std::fwrite(data, 1, size, file) != size)
        return false;
    return std::fflush(file) == 0 && fsync(fileno(file)) == 0;
}

// Makes a finished rename durable; failure here loses nothing already written.
void SyncDirectory(const std::string& folder)
{
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0)
    {
        fsync(fd);
        close(fd);
    }
}

} // namespace

std::string MapPath(const std::string& path)
{
    std::string host = path;
    std::replace(host.begin(), host.end(), '\\', '/');
    if (host.empty() || PathExists(host))
        return host;

    std::string mapped = host[0] == '/' ? "/" : "";
    bool parentExists = true;
    for (const std::string& part : SplitComponents(host))
    {
        std::string exact = JoinPath(mapped, part);
        if (parentExists && part != "." && part != ".." && !PathExists(exact))
        {
            if (auto match = FindNoCase(mapped, part))
                exact = JoinPath(mapped, *match);
            else
                parentExists = false; // nothing below a missing folder can match
        }
        mapped = std::move(exact);
    }
    if (host.back() == '/' && mapped.back() != '/')
        mapped += '/';
    return mapped;
}

FILE* OpenFile(const std::string& path, const char* mode)
{
    return std::fopen(MapPath(path).c_str(), mode);
}

bool FileExists(const std::string& path)
{
    struct stat info;
    return stat(MapPath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool DirectoryExists(const std::string& path)
{
    struct stat info;
    return stat(MapPath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool GetFileWriteTime(const std::string& path, uint64_t& fileTime)
{
    struct stat info;
    if (stat(MapPath(path).c_str(), &info) != 0)
        return false;
    constexpr int64_t kUnixToWindowsSeconds = 11644473600LL;
    int64_t seconds = static_cast<int64_t>(info.st_mtim.tv_sec) + kUnixToWindowsSeconds;
    if (seconds < 0)
        seconds = 0;
    fileTime = static_cast<uint64_t>(seconds) * 10000000ULL + static_cast<uint64_t>(info.st_mtim.tv_nsec) / 100U;
    return true;
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes)
{
    return ReadFileStart(path, SIZE_MAX, bytes);
}

bool ReadFileStart(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes)
{
    bytes.clear();
    FilePtr file(OpenFile(path, "rb"));
    if (!file)
        return false;
    uint8_t chunk[65536];
    while (bytes.size() < maxBytes)
    {
        const size_t want = std::min(sizeof chunk, maxBytes - bytes.size());
        const size_t got = std::fread(chunk, 1, want, file.get());
        if (got == 0)
            break;
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    if (std::ferror(file.get()))
    {
        bytes.clear();
        return false;
    }
    return true;
}

bool WriteFileAtomically(const std::string& path, const void* data, size_t size)
{
    if (path.empty() || (size > 0 && !data))
        return false;
    const std::string target = FollowLinks(MapPath(path));
    const std::string temp = target + ".tmp" + std::to_string(GetProcessId());
    FILE* file = std::fopen(temp.c_str(), "wb");
    if (!file)
    {
        Log("FILE", "cannot create " + temp + ": " + std::strerror(errno));
        return false;
    }
    bool written = WriteAndSync(file, data, size);
    written = (std::fclose(file) == 0) && written;
    if (!written || std::rename(temp.c_str(), target.c_str()) != 0)
    {
        Log("FILE", "cannot write " + target + ": " + std::strerror(errno));
        std::remove(temp.c_str());
        return false;
    }
    SyncDirectory(DirectoryOf(target));
    return true;
}

int RemoveStaleTemporaries(const std::string& path)
{
    if (path.empty())
        return 0;
    const std::string target = FollowLinks(MapPath(path));
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string prefix = target.substr(slash == std::string::npos ? 0 : slash + 1) + ".tmp";
    std::vector<std::string> stale;
    {
        DirPtr dir(opendir(folder.empty() ? "." : folder.c_str()));
        if (!dir)
            return 0;
        while (const dirent* entry = readdir(dir.get()))
        {
            const std::string name = entry->d_name;
            if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
                continue;
            const long owner = TemporaryOwner(name.substr(prefix.size()));
            if (owner > 0 && !ProcessRuns(owner))
                stale.push_back(folder + name);
        }
    }
    int removed = 0;
    for (const std::string& file : stale)
    {
        struct stat info;
        if (lstat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        if (unlink(file.c_str()) == 0)
        {
            ++removed;
            Log("FILE", "removed " + file + ", left by an interrupted write");
        }
    }
    return removed;
}

bool CreateDirectories(const std::string& path)
{
    std::string host = MapPath(path);
    if (host.empty())
        return false;
    std::string folder = host[0] == '/' ? "/" : "";
    for (const std::string& part : SplitComponents(host))
    {
        folder = JoinPath(folder, part);
        if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST)
        {
            Log("FILE", "cannot create folder " + folder + ": " + std::strerror(errno));
            return false;
        }
    }
    struct stat info;
    return stat(host.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool RemoveFile(const std::string& path)
{
    return unlink(MapPath(path).c_str()) == 0;
}

bool RenameFile(const std::string& from, const std::string& to)
{
    return std::rename(MapPath(from).c_str(), MapPath(to).c_str()) == 0;
}

std::string GetCurrentFolder()
{
    std::vector<char> buffer(PATH_MAX);
    while (!getcwd(buffer.data(), buffer.size()))
    {
        if (errno != ERANGE)
            return ".";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}

bool SetCurrentFolder(const std::string& path)
{
    return chdir(MapPath(path).c_str()) == 0;
}

std::string GetExecutableFolder()
{
    std::vector<char> buffer(PATH_MAX + 1);
    ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0)
        return "./";
    std::string exe(buffer.data(), static_cast<size_t>(length));
    return DirectoryOf(exe) == "/" ? "/" : DirectoryOf(exe) + "/";
}

} // namespace Lumo::Platform

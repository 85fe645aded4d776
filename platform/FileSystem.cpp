// The file-system boundary: Windows-style program paths mapped to host paths,
// and the few file operations the framework needs, over POSIX.
#include "platform/FileSystem.h"

#include "platform/DebugOutput.h"
#include "platform/Environment.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/xattr.h>
#include <time.h>
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

// Owns a file descriptor; closing it also drops any flock() held through it.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : mFd(fd) {}
    ~FileDescriptor()
    {
        if (mFd >= 0)
            close(mFd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return mFd; }
    bool IsOpen() const { return mFd >= 0; }
    int Release()
    {
        const int fd = mFd;
        mFd = -1;
        return fd;
    }

private:
    int mFd;
};

// Records a failure: the reason goes to the debug log and to the caller.
bool Fail(std::string* error, const std::string& reason)
{
    Log("FILE", reason);
    if (error)
        *error = reason;
    return false;
}

std::string ErrorText(int error)
{
    return std::strerror(error);
}

// 64 random bits in hex; a counter keeps names apart should no random source
// answer (the exclusive create still refuses a name that is taken).
std::string RandomHex()
{
    static std::atomic<uint64_t> counter{0};
    uint64_t bits = counter.fetch_add(1) * 0x9E3779B97F4A7C15ULL;
    try
    {
        std::random_device source;
        bits ^= (static_cast<uint64_t>(source()) << 32) ^ source();
    }
    catch (...)
    {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        bits ^= static_cast<uint64_t>(now.tv_sec) * 1000000000ULL + static_cast<uint64_t>(now.tv_nsec);
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(bits));
    return text;
}

// Creates a new file "<prefix><process id>-<random hex>" for writing; never
// opens an existing file or follows a link. Returns the descriptor (name set
// to the path) or -1 with errno set (name set to the last path tried).
int CreateUniqueFile(const std::string& prefix, mode_t mode, std::string& name)
{
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt)
    {
        name = prefix + std::to_string(GetProcessId()) + "-" + RandomHex();
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

bool WriteAll(int fd, const void* data, size_t size)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (size > 0)
    {
        const ssize_t written = write(fd, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
        {
            if (written == 0)
                errno = EIO;
            return false;
        }
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// A temporary's name suffix after ".tmp": "<digits>" (earlier versions) or
// "<digits>-<hex digits>".
bool IsTemporarySuffix(const std::string& suffix)
{
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    auto isHex = [&](char c) { return isDigit(c) || (c >= 'a' && c <= 'f'); };
    const size_t dash = suffix.find('-');
    const std::string pid = suffix.substr(0, dash);
    if (pid.empty() || !std::all_of(pid.begin(), pid.end(), isDigit))
        return false;
    if (dash == std::string::npos)
        return true;
    const std::string tag = suffix.substr(dash + 1);
    return !tag.empty() && std::all_of(tag.begin(), tag.end(), isHex);
}

bool LastWrittenLongAgo(const struct stat& info)
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const auto age = std::chrono::seconds(now.tv_sec - info.st_mtim.tv_sec) +
                     std::chrono::nanoseconds(now.tv_nsec - info.st_mtim.tv_nsec);
    return age >= kStaleTemporaryAge;
}

// Whether the name still is the file opened (no link, not replaced).
bool NameIsFile(const std::string& name, const struct stat& opened)
{
    struct stat named;
    return lstat(name.c_str(), &named) == 0 && named.st_dev == opened.st_dev && named.st_ino == opened.st_ino;
}

// Removes one temporary when its writer is gone: a regular file, old, and
// lockable without waiting (a live writer holds the lock until its rename).
bool RemoveIfStale(const std::string& file)
{
    struct stat named;
    if (lstat(file.c_str(), &named) != 0 || !S_ISREG(named.st_mode) || !LastWrittenLongAgo(named))
        return false;
    // Some network file systems lock only files open for writing.
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int raw = open(file.c_str(), O_RDWR | kFlags);
    if (raw < 0)
        raw = open(file.c_str(), O_RDONLY | kFlags);
    const FileDescriptor fd(raw);
    if (!fd.IsOpen() || flock(fd.Get(), LOCK_EX | LOCK_NB) != 0)
        return false;
    // Locked now; the name must still be the file that was checked and locked.
    struct stat opened;
    if (fstat(fd.Get(), &opened) != 0 || !S_ISREG(opened.st_mode) || !LastWrittenLongAgo(opened) ||
        !NameIsFile(file, opened))
        return false;
    return unlink(file.c_str()) == 0;
}

// RemoveStaleTemporaries for a host path whose links are followed already.
int RemoveStaleTemporariesOf(const std::string& target)
{
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    const std::string prefix = target.substr(slash == std::string::npos ? 0 : slash + 1) + ".tmp";
    std::vector<std::string> candidates;
    {
        DirPtr dir(opendir(folder.empty() ? "." : folder.c_str()));
        if (!dir)
            return 0;
        while (const dirent* entry = readdir(dir.get()))
        {
            const std::string name = entry->d_name;
            if (name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
                IsTemporarySuffix(name.substr(prefix.size())))
                candidates.push_back(folder + name);
        }
    }
    int removed = 0;
    for (const std::string& file : candidates)
    {
        if (RemoveIfStale(file))
        {
            ++removed;
            Log("FILE", "removed " + file + ", left by an interrupted write");
        }
    }
    return removed;
}

std::atomic<void (*)(const std::string&)> gTemporaryCreatedHook{nullptr};

// The temporaries a write makes, each taken away before its lock, before it
// gives up.
constexpr int kTemporaryAttempts = 16;

// Creates the temporary of a write to target with the given mode, and locks
// it. The stale-temporary clean-up of another writer may take a file in the
// moment between its creation and its lock; once locked, a name that still is
// this file stays this writer's until its rename, otherwise a new name is
// tried. Returns the descriptor (name set), or -1 with errno set, or -1 with
// taken set when every name tried was taken before its lock.
int CreateLockedTemporary(const std::string& target, mode_t mode, std::string& name, bool& taken)
{
    taken = false;
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt)
    {
        FileDescriptor fd(CreateUniqueFile(target + ".tmp", mode, name));
        if (!fd.IsOpen())
            return -1;
        if (auto* hook = gTemporaryCreatedHook.load())
            hook(name);
        // Without locks (some network file systems) the age rule alone
        // protects the temporary.
        while (flock(fd.Get(), LOCK_EX) != 0 && errno == EINTR)
        {
        }
        struct stat opened;
        if (fstat(fd.Get(), &opened) == 0 && NameIsFile(name, opened))
            return fd.Release();
        Log("FILE", "the temporary " + name + " was taken away before it was locked; trying a new one");
    }
    taken = true;
    return -1;
}

// Gives the new file the replaced one's own ACL, or none when that had none
// (the new file may have got its folder's default ACL). True when done or when
// the file system keeps no ACLs.
bool CopyAccessAcl(const std::string& from, int to)
{
    static const char kName[] = "system.posix_acl_access";
    ssize_t size = getxattr(from.c_str(), kName, nullptr, 0);
    if (size > 0)
    {
        std::vector<char> acl(static_cast<size_t>(size));
        size = getxattr(from.c_str(), kName, acl.data(), acl.size());
        return size > 0 && fsetxattr(to, kName, acl.data(), static_cast<size_t>(size), 0) == 0;
    }
    if (size < 0 && errno != ENODATA && errno != ENOTSUP)
        return false;
    return fremovexattr(to, kName) == 0 || errno == ENODATA || errno == ENOTSUP;
}

// The folder a new file beside the host path goes into; "" for the current one.
std::string FolderOf(const std::string& hostPath)
{
    return hostPath.find('/') == std::string::npos ? std::string() : DirectoryOf(hostPath);
}

// Why no new file can be made in the folder ("" is the current folder).
std::string CannotCreateFileIn(const std::string& folder, int error)
{
    return "cannot create a file in " + (folder.empty() ? std::string("the current folder") : folder) + ": " +
           ErrorText(error);
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

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string* error)
{
    return ReadFileStart(path, SIZE_MAX, bytes, error);
}

bool ReadFileStart(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes, std::string* error)
{
    bytes.clear();
    FilePtr file(OpenFile(path, "rb"));
    if (!file)
    {
        if (error)
            *error = ErrorText(errno);
        return false;
    }
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
        if (error)
            *error = ErrorText(errno); // a folder reads as "Is a directory"
        bytes.clear();
        return false;
    }
    return true;
}

bool WriteFileAtomically(const std::string& path, const void* data, size_t size, std::string* error)
{
    if (path.empty())
        return Fail(error, "cannot write a file without a name");
    if (size > 0 && !data)
        return Fail(error, "cannot write " + path + ": no data");
    const std::string target = FollowLinks(MapPath(path));
    RemoveStaleTemporariesOf(target);

    // A new file is created as any new file in its folder is: 0666 less the
    // umask, or what the folder's default ACL grants. A file that replaces
    // another is owner-only until all its bytes are in, then takes the
    // replaced file's permissions: its ACL and its mode bits.
    struct stat old;
    const bool replaces = stat(target.c_str(), &old) == 0;
    std::string temp;
    bool taken = false;
    const FileDescriptor fd(CreateLockedTemporary(target, replaces ? 0600 : 0666, temp, taken));
    if (!fd.IsOpen())
    {
        if (taken)
            return Fail(error, "cannot write " + target + ": each of its " + std::to_string(kTemporaryAttempts) +
                                   " temporary files was removed by another program before it could be locked");
        const int why = errno; // it is the temporary beside the file that cannot be made
        return Fail(error, "cannot write " + target + ": " + CannotCreateFileIn(FolderOf(target), why));
    }

    std::string reason;
    if (!WriteAll(fd.Get(), data, size))
        reason = "cannot write " + target + ": " + ErrorText(errno);
    else if (replaces && (!CopyAccessAcl(target, fd.Get()) || fchmod(fd.Get(), old.st_mode & 07777) != 0))
        reason = "cannot set the permissions of " + target + ": " + ErrorText(errno);
    else if (fsync(fd.Get()) != 0)
        reason = "cannot write " + target + ": " + ErrorText(errno);
    else if (std::rename(temp.c_str(), target.c_str()) != 0)
        reason = "cannot replace " + target + ": " + ErrorText(errno);
    if (!reason.empty())
    {
        unlink(temp.c_str());
        return Fail(error, reason);
    }
    SyncDirectory(DirectoryOf(target));
    return true;
}

bool WriteFileAtomicallyMakingFolder(const std::string& path, const void* data, size_t size, std::string* error)
{
    const std::string host = MapPath(path);
    std::string reason;
    if (host.find('/') != std::string::npos && !CreateDirectories(DirectoryOf(host), &reason))
        return Fail(error, "cannot write " + path + ": " + reason); // the reason names only the folder
    return WriteFileAtomically(path, data, size, error);
}

void SetTemporaryCreatedHook(void (*hook)(const std::string& temporary))
{
    gTemporaryCreatedHook.store(hook);
}

int RemoveStaleTemporaries(const std::string& path)
{
    if (path.empty())
        return 0;
    return RemoveStaleTemporariesOf(FollowLinks(MapPath(path)));
}

bool CanCreateFileIn(const std::string& folder, std::string* error)
{
    const std::string host = MapPath(folder);
    std::string probe;
    const FileDescriptor fd(CreateUniqueFile(JoinPath(host, ".probe"), 0600, probe));
    if (!fd.IsOpen())
        return Fail(error, CannotCreateFileIn(host, errno));
    if (unlink(probe.c_str()) != 0)
        Log("FILE", "cannot remove " + probe + ": " + ErrorText(errno));
    return true;
}

bool CanWriteFileAtomically(const std::string& path, std::string* error)
{
    if (path.empty())
        return Fail(error, "cannot write a file without a name");
    return CanCreateFileIn(FolderOf(FollowLinks(MapPath(path))), error);
}

bool CreateDirectories(const std::string& path, std::string* error)
{
    std::string host = MapPath(path);
    if (host.empty())
        return Fail(error, "cannot create a folder without a name");
    std::string folder = host[0] == '/' ? "/" : "";
    for (const std::string& part : SplitComponents(host))
    {
        folder = JoinPath(folder, part);
        if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST)
            return Fail(error, "cannot create folder " + folder + ": " + ErrorText(errno));
    }
    struct stat info;
    if (stat(host.c_str(), &info) != 0)
        return Fail(error, "cannot create folder " + host + ": " + ErrorText(errno));
    if (!S_ISDIR(info.st_mode))
        return Fail(error, "cannot create folder " + host + ": " + ErrorText(ENOTDIR));
    return true;
}

bool RemoveFile(const std::string& path)
{
    return unlink(MapPath(path).c_str()) == 0;
}

bool RenameFile(const std::string& from, const std::string& to)
{
    return std::rename(MapPath(from).c_str(), MapPath(to).c_str()) == 0;
}

bool RenameFileNoReplace(const std::string& from, const std::string& to)
{
    const std::string source = MapPath(from);
    const std::string destination = MapPath(to);
#ifdef SYS_renameat2
#ifdef RENAME_NOREPLACE
    constexpr unsigned kNoReplace = RENAME_NOREPLACE;
#else
    constexpr unsigned kNoReplace = 1; // the kernel's value
#endif
    if (syscall(SYS_renameat2, AT_FDCWD, source.c_str(), AT_FDCWD, destination.c_str(), kNoReplace) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP && errno != EOPNOTSUPP)
        return false;
#endif
    // The file system cannot rename without replacing: a new link fails when
    // the name is taken, then the old name goes.
    if (link(source.c_str(), destination.c_str()) != 0)
        return false;
    if (unlink(source.c_str()) != 0)
    {
        const int saved = errno;
        unlink(destination.c_str());
        errno = saved;
        return false;
    }
    return true;
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

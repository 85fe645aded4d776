#pragma once
// A fresh folder per test under the build tree, removed again afterwards, and
// the few helpers the file tests share.
#include "platform/FileSystem.h"

#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace Lumo::Platform::Testing {

class TempFolder
{
public:
    TempFolder()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        mPath = std::filesystem::path(GetExecutableFolder()) / "platform-tmp" /
                (std::string(info->test_suite_name()) + "." + info->name());
        MakeRemovable(mPath);
        std::filesystem::remove_all(mPath);
        std::filesystem::create_directories(mPath);
    }
    ~TempFolder()
    {
        MakeRemovable(mPath);
        std::error_code ignored;
        std::filesystem::remove_all(mPath, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, ending with '/'.
    std::string Path() const { return mPath.string() + "/"; }
    std::string operator/(const std::string& name) const { return Path() + name; }

private:
    // Gives the owner full access to the folder and every folder below it
    // (tests take access away), so remove_all can empty them. Links are not
    // followed.
    static void MakeRemovable(const std::filesystem::path& folder)
    {
        namespace fs = std::filesystem;
        std::error_code ignored;
        if (!fs::is_directory(fs::symlink_status(folder, ignored)))
            return;
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
        for (fs::directory_iterator it(folder, ignored), end; it != end; it.increment(ignored))
            MakeRemovable(it->path());
    }

    std::filesystem::path mPath;
};

// An open file description holding an exclusive flock() on a file, as a live
// writer holds its temporary.
class HeldLock
{
public:
    explicit HeldLock(const std::string& path) : mFd(open(path.c_str(), O_RDONLY | O_CLOEXEC))
    {
        EXPECT_GE(mFd, 0) << path;
        EXPECT_EQ(flock(mFd, LOCK_EX | LOCK_NB), 0) << path;
    }
    ~HeldLock()
    {
        if (mFd >= 0)
            close(mFd);
    }
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;

private:
    int mFd;
};

// Sets the file's last-write time that long before now (for a link, of the
// file it points to).
inline void MakeOlder(const std::string& path, std::chrono::seconds age)
{
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now() - age);
}

inline void WriteText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Sets an environment variable for one scope, restoring the old value after.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const char* value) : mName(name)
    {
        if (const char* old = std::getenv(name))
            mOld = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { mOld ? setenv(mName, mOld->c_str(), 1) : unsetenv(mName); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* mName;
    std::optional<std::string> mOld;
};

} // namespace Lumo::Platform::Testing

#pragma once
// A fresh folder per test in the process's temporary folder, removed again
// afterwards, and the few helpers the file tests share.
#include "platform/FileSystem.h"
#include "tests/platform/TestProcessFolder.h"

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
        std::string name = std::string(info->test_suite_name()) + "." + info->name();
        for (char& c : name)
            if (c == '/')
                c = '_';
        std::string pattern = (std::filesystem::temp_directory_path() / (name + ".XXXXXX")).string();
        if (!mkdtemp(pattern.data()))
            ADD_FAILURE() << "cannot make " << pattern;
        mPath = pattern;
    }
    ~TempFolder() { RemoveTestFolder(mPath.string()); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, ending with '/'.
    std::string Path() const { return mPath.string() + "/"; }
    std::string operator/(const std::string& name) const { return Path() + name; }

private:
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

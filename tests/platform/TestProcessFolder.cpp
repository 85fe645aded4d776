#include "tests/platform/TestProcessFolder.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace Lumo::Platform::Testing {
namespace {

namespace fs = std::filesystem;

void MakeRemovable(const fs::path& folder)
{
    std::error_code ignored;
    if (!fs::is_directory(fs::symlink_status(folder, ignored)))
        return;
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (fs::directory_iterator it(folder, ignored), end; it != end; it.increment(ignored))
        MakeRemovable(it->path());
}

std::string BaseFolder()
{
    const char* tmp = std::getenv("TMPDIR");
    std::error_code ignored;
    if (tmp && tmp[0] == '/' && fs::is_directory(tmp, ignored))
        return tmp;
    return "/tmp";
}

} // namespace

TestProcessFolder::TestProcessFolder()
{
    std::string pattern = (fs::path(BaseFolder()) / "lumo-tests.XXXXXX").string();
    if (!mkdtemp(pattern.data()))
    {
        std::perror(("cannot make a test folder like " + pattern).c_str());
        std::exit(1);
    }
    mPath = pattern + "/";
    const std::string home = mPath + "home";
    const std::pair<const char*, std::string> folders[] = {
        {"TMPDIR", mPath + "tmp"},
        {"TEST_TMPDIR", mPath + "tmp"},
        {"LUMO_DATA_DIR", mPath + "data"},
        {"LUMO_CONFIG_DIR", mPath + "config"},
        {"HOME", home},
        {"XDG_DATA_HOME", home + "/.local/share"},
        {"XDG_CONFIG_HOME", home + "/.config"},
        {"XDG_CACHE_HOME", home + "/.cache"},
    };
    for (const auto& [name, folder] : folders)
    {
        fs::create_directories(folder);
        setenv(name, folder.c_str(), 1);
    }
    setenv("LUMO_HEADLESS", "1", 1);
}

TestProcessFolder::~TestProcessFolder()
{
    RemoveTestFolder(mPath);
}

void RemoveTestFolder(const std::string& folder)
{
    MakeRemovable(folder);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

} // namespace Lumo::Platform::Testing

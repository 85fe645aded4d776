// Environment switches and the per-user data and settings folders.
#include "platform/Environment.h"

#include "platform/FileSystem.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <strings.h>
#include <unistd.h>

namespace Lumo::Platform {

namespace {

std::string WithSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string HomeFolder()
{
    if (auto home = GetEnv("HOME"))
        return *home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir && *entry->pw_dir)
        return entry->pw_dir;
    return "/tmp";
}

// An XDG base folder: the variable when it holds an absolute path, else the
// default below the home folder.
std::string XdgFolder(const char* variable, const char* homeRelative)
{
    if (auto value = GetEnv(variable); value && (*value)[0] == '/')
        return WithSlash(*value);
    return WithSlash(HomeFolder()) + homeRelative;
}

} // namespace

std::optional<std::string> GetEnv(const char* name)
{
    const char* value = std::getenv(name);
    if (!value || !*value)
        return std::nullopt;
    return std::string(value);
}

long GetEnvInt(const char* name, long fallback)
{
    auto value = GetEnv(name);
    if (!value)
        return fallback;
    errno = 0;
    char* end = nullptr;
    long number = std::strtol(value->c_str(), &end, 10);
    if (errno != 0 || end == value->c_str() || *end != '\0')
        return fallback;
    return number;
}

bool GetEnvFlag(const char* name)
{
    auto value = GetEnv(name);
    if (!value)
        return false;
    for (const char* yes : {"1", "true", "yes", "on"})
        if (strcasecmp(value->c_str(), yes) == 0)
            return true;
    return false;
}

bool IsHeadless()
{
    if (auto headless = GetEnv("LUMO_HEADLESS"); headless && *headless != "0")
        return true;
    return !GetEnv("DISPLAY") && !GetEnv("WAYLAND_DISPLAY");
}

std::string GetUserDataFolder(const std::string& appName)
{
    std::string base = GetEnv("LUMO_DATA_DIR") ? WithSlash(*GetEnv("LUMO_DATA_DIR"))
                                               : XdgFolder("XDG_DATA_HOME", ".local/share/");
    std::string folder = appName.empty() ? base : WithSlash(base + appName);
    CreateDirectories(folder);
    return folder;
}

std::string GetUserConfigFolder()
{
    if (auto dir = GetEnv("LUMO_CONFIG_DIR"))
        return WithSlash(*dir);
    return XdgFolder("XDG_CONFIG_HOME", ".config/") + "lumo/";
}

int GetProcessId()
{
    return static_cast<int>(getpid());
}

} // namespace Lumo::Platform

#pragma once
// Process environment: the switches that choose headless operation and the
// folders for data and settings. The command line stays closed to these.
//   LUMO_HEADLESS=1        headless video, null audio output, virtual clock
//                          (also chosen when there is no display)
//   LUMO_MAX_UPDATES=N     shut down in order after N updates, exit status 0
//   LUMO_DATA_DIR          application data folder (default: XDG data folder)
//   LUMO_CONFIG_DIR        settings folder (default: XDG config folder)
//   LUMO_DEBUG_OUTPUT=1    debug traces to stderr (message boxes always go there)
#include <optional>
#include <string>

namespace Lumo::Platform {

// Null when the variable is unset or empty.
std::optional<std::string> GetEnv(const char* name);
// An integer variable, or the fallback when unset or not a number.
long GetEnvInt(const char* name, long fallback);
// True for "1", "true", "yes" or "on" (any case).
bool GetEnvFlag(const char* name);

// True when LUMO_HEADLESS is set to anything but "0", or when neither DISPLAY
// nor WAYLAND_DISPLAY is set.
bool IsHeadless();

// "<data folder>/<appName>/", ending with '/'; created when missing. The data
// folder is LUMO_DATA_DIR, else $XDG_DATA_HOME (when absolute), else
// ~/.local/share. An empty appName gives the data folder itself.
std::string GetUserDataFolder(const std::string& appName);
// The folder that holds the settings files, ending with '/': LUMO_CONFIG_DIR
// itself, else "lumo/" below $XDG_CONFIG_HOME (when absolute) or ~/.config.
// Not created here (saving settings creates it).
std::string GetUserConfigFolder();

int GetProcessId();

} // namespace Lumo::Platform

#pragma once
// The per-user settings store: the stand-in of the registry under
// HKEY_CURRENT_USER. One small text file per key, under the settings folder,
// its path made from the key with '\\' as folder separators:
//   "SOFTWARE\\Varnet\\LumoAppFramework\\Demo2" ->
//   <config>/SOFTWARE/Varnet/LumoAppFramework/Demo2/settings.ini
// The file holds "name=d:<decimal>" (DWORD) and "name=s:<text>" (string) lines;
// subkeys are names with '\\' ("Test3D\\Version"). Names must not be empty,
// start with '#', or hold '=' or control characters (a programmer error). A
// corrupt or unreadable file gives an empty store (the callers' defaults
// apply); saving is atomic. One store is used from one thread at a time.
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace Lumo::Platform {

class SettingsStore
{
public:
    explicit SettingsStore(const std::string& key);

    // Replaces the values with the file's; false (store empty) when the file is
    // missing or corrupt.
    [[nodiscard]] bool Load();
    // Creates the folders and writes the file atomically; false on failure.
    [[nodiscard]] bool Save() const;

    std::optional<uint32_t> GetDword(const std::string& name) const;
    std::optional<std::string> GetString(const std::string& name) const;
    void SetDword(const std::string& name, uint32_t value);
    void SetString(const std::string& name, const std::string& value);
    void Remove(const std::string& name);

    const std::string& GetFilePath() const { return mFilePath; }

    // Parses the file text; false when it is not a settings file (nothing kept).
    [[nodiscard]] bool Parse(const std::string& text);
    std::string Serialize() const;

private:
    struct Value
    {
        bool isString = false;
        uint32_t dword = 0;
        std::string text;
    };
    static bool ParseLine(const std::string& line, std::map<std::string, Value>& values);

    std::string mFilePath;
    std::map<std::string, Value> mValues;
};

} // namespace Lumo::Platform

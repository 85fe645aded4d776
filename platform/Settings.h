#pragma once
// The per-user settings store: the stand-in of the registry under
// HKEY_CURRENT_USER. One small text file per key, under the settings folder,
// its path made from the key with '\\' as folder separators:
//   "SOFTWARE\\Varnet\\LumoAppFramework\\Demo2" ->
//   <config>/SOFTWARE/Varnet/LumoAppFramework/Demo2/settings.ini
// The file holds "name=d:<decimal>" (DWORD) and "name=s:<text>" (string) lines;
// subkeys are names with '\\' ("Test3D\\Version"). Names must not be empty,
// start with '#', or hold '=' or control characters (a programmer error). A
// bad line is skipped and the good ones are kept; only the first 64 KiB of a
// file are read and a line may hold at most 4096 bytes (a settings file holds
// a few dozen short values, so anything bigger is damage and must stay cheap).
// Saving is atomic, and loading removes the temporaries that saves of crashed
// runs left. One store is used from one thread at a time.
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace Lumo::Platform {

class SettingsStore
{
public:
    explicit SettingsStore(const std::string& key);

    static constexpr size_t kMaxFileBytes = 64 * 1024;
    static constexpr size_t kMaxLineBytes = 4096;

    // Replaces the values with the file's good lines; a note on stderr names
    // bad lines and a file cut at kMaxFileBytes. False (store empty) when the
    // file is missing or cannot be read. Stale temporaries of the file (see
    // RemoveStaleTemporaries) are removed first.
    [[nodiscard]] bool Load();
    // Creates the folders and writes the file atomically. False on failure,
    // with a reason that names the file in error when given.
    [[nodiscard]] bool Save(std::string* error = nullptr) const;

    std::optional<uint32_t> GetDword(const std::string& name) const;
    std::optional<std::string> GetString(const std::string& name) const;
    void SetDword(const std::string& name, uint32_t value);
    // A value whose line would exceed kMaxLineBytes is not kept (logged).
    void SetString(const std::string& name, const std::string& value);
    void Remove(const std::string& name);

    const std::string& GetFilePath() const { return mFilePath; }

    // Replaces the values with the text's good lines; bad lines (malformed, or
    // longer than kMaxLineBytes) are skipped. Returns the number of bad lines;
    // firstBadLine, when given, gets the 1-based number of the first one.
    size_t Parse(const std::string& text, size_t* firstBadLine = nullptr);
    std::string Serialize() const;

private:
    struct Value
    {
        bool isString = false;
        uint32_t dword = 0;
        std::string text;
    };
    static bool ParseLine(std::string_view line, std::map<std::string, Value>& values);

    std::string mFilePath;
    std::map<std::string, Value> mValues;
};

} // namespace Lumo::Platform

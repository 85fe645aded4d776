// The per-user settings store: a small text file per registry key.
//   # comment lines and blank lines are allowed
//   MusicVolume=d:75
//   Test3D\FailureReason=s:line one\nline two
// In string values '\\' is written "\\\\", newline "\\n", carriage return "\\r",
// tab "\\t" and other control bytes "\\xHH"; nothing else is escaped.
#include "platform/Settings.h"

#include "platform/DebugOutput.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"

#include <cassert>
#include <cstdio>
#include <memory>
#include <string_view>

namespace Lumo::Platform {

namespace {

constexpr const char* kFileName = "settings.ini";

// The key's folders below the settings folder; empty, "." and ".." parts are
// dropped so a key can never point outside it.
std::string KeyToFolder(const std::string& key)
{
    std::string folder;
    std::string part;
    for (size_t i = 0; i <= key.size(); ++i)
    {
        if (i == key.size() || key[i] == '\\' || key[i] == '/')
        {
            if (!part.empty() && part != "." && part != "..")
                folder += part + "/";
            part.clear();
        }
        else
        {
            part += key[i];
        }
    }
    return folder;
}

bool IsControl(char c)
{
    unsigned char u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
}

bool IsValidName(const std::string& name)
{
    if (name.empty() || name[0] == '#')
        return false;
    for (char c : name)
        if (c == '=' || IsControl(c))
            return false;
    return true;
}

std::string Escape(const std::string& text)
{
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char c : text)
    {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '\\') out += "\\\\";
        else if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\t') out += "\\t";
        else if (IsControl(c)) { out += "\\x"; out += kHex[u >> 4]; out += kHex[u & 15]; }
        else out += c;
    }
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The length Escape gives, without building it.
size_t EscapedLength(const std::string& text)
{
    size_t length = 0;
    for (char c : text)
        length += c == '\\' || c == '\n' || c == '\r' || c == '\t' ? 2 : IsControl(c) ? 4 : 1;
    return length;
}

// The length of the line Serialize writes for a string value.
size_t StringLineLength(const std::string& name, const std::string& value)
{
    return name.size() + 3 + EscapedLength(value);
}

std::optional<std::string> Unescape(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
    {
        char c = text[i];
        if (IsControl(c) && c != '\t')
            return std::nullopt;
        if (c != '\\') { out += c; continue; }
        if (++i >= text.size())
            return std::nullopt;
        switch (text[i])
        {
        case '\\': out += '\\'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'x':
        {
            int high = i + 2 < text.size() ? HexDigit(text[i + 1]) : -1;
            int low = high >= 0 ? HexDigit(text[i + 2]) : -1;
            if (low < 0)
                return std::nullopt;
            out += static_cast<char>(high * 16 + low);
            i += 2;
            break;
        }
        default: return std::nullopt;
        }
    }
    return out;
}

std::optional<uint32_t> ParseDword(std::string_view text)
{
    if (text.empty() || text.size() > 10)
        return std::nullopt;
    uint64_t value = 0;
    for (char c : text)
    {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    if (value > 0xFFFFFFFFULL)
        return std::nullopt;
    return static_cast<uint32_t>(value);
}

} // namespace

SettingsStore::SettingsStore(const std::string& key)
    : mFilePath(GetUserConfigFolder() + KeyToFolder(key) + kFileName)
{
}

bool SettingsStore::Load()
{
    mValues.clear();
    // Saves cut short by a crash leave their temporaries; this is the one
    // call every run makes.
    (void)RemoveStaleTemporaries(mFilePath);
    const std::unique_ptr<FILE, int (*)(FILE*)> file(OpenFile(mFilePath, "rb"), &std::fclose);
    if (!file)
    {
        if (FileExists(mFilePath))
            Notice("SETTINGS", "cannot read the settings file " + mFilePath + ": the defaults apply");
        return false; // no settings yet: the defaults apply
    }
    // One byte past the cap tells a file that is too long; the rest is never read.
    std::string text(kMaxFileBytes + 1, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), file.get()));
    if (std::ferror(file.get()))
    {
        Notice("SETTINGS", "cannot read the settings file " + mFilePath + ": the defaults apply");
        return false;
    }
    const bool cut = text.size() > kMaxFileBytes;
    if (cut)
    {
        // Only the whole lines within the cap count.
        const size_t lastNewline = text.rfind('\n', kMaxFileBytes - 1);
        text.resize(lastNewline == std::string::npos ? 0 : lastNewline + 1);
    }
    size_t firstBad = 0;
    if (const size_t bad = Parse(text, &firstBad); bad > 0)
        Notice("SETTINGS", "settings file " + mFilePath + ": " + std::to_string(bad) +
                               (bad == 1 ? " bad line" : " bad lines") + " ignored (the first is line " +
                               std::to_string(firstBad) + "); the other settings are kept");
    if (cut)
        Notice("SETTINGS", "settings file " + mFilePath + " is longer than " + std::to_string(kMaxFileBytes) +
                               " bytes: only its beginning is read");
    return true;
}

bool SettingsStore::Save(std::string* error) const
{
    std::string text = Serialize();
    std::string reason;
    if (WriteFileAtomicallyMakingFolder(mFilePath, text.data(), text.size(), &reason))
        return true;
    Log("SETTINGS", "cannot save settings file " + mFilePath + ": " + reason);
    if (error)
        *error = reason;
    return false;
}

std::optional<uint32_t> SettingsStore::GetDword(const std::string& name) const
{
    auto it = mValues.find(name);
    if (it == mValues.end() || it->second.isString)
        return std::nullopt;
    return it->second.dword;
}

std::optional<std::string> SettingsStore::GetString(const std::string& name) const
{
    auto it = mValues.find(name);
    if (it == mValues.end() || !it->second.isString)
        return std::nullopt;
    return it->second.text;
}

void SettingsStore::SetDword(const std::string& name, uint32_t value)
{
    assert(IsValidName(name));
    if (IsValidName(name))
        mValues[name] = Value{false, value, {}};
}

void SettingsStore::SetString(const std::string& name, const std::string& value)
{
    assert(IsValidName(name));
    if (!IsValidName(name))
        return;
    if (StringLineLength(name, value) > kMaxLineBytes)
    {
        // It could not be read back: keep the store as it was.
        Log("SETTINGS", "value of " + name + " is too long to keep");
        return;
    }
    mValues[name] = Value{true, 0, value};
}

void SettingsStore::Remove(const std::string& name)
{
    mValues.erase(name);
}

size_t SettingsStore::Parse(const std::string& text, size_t* firstBadLine)
{
    mValues.clear();
    const std::string_view all(text);
    size_t bad = 0;
    size_t lineNumber = 0;
    size_t start = 0;
    while (start < all.size())
    {
        size_t end = all.find('\n', start);
        if (end == std::string_view::npos)
            end = all.size();
        std::string_view line = all.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line[0] == '#')
            continue;
        if (line.size() > kMaxLineBytes || !ParseLine(line, mValues))
        {
            if (bad++ == 0 && firstBadLine != nullptr)
                *firstBadLine = lineNumber;
        }
    }
    return bad;
}

// One "name=d:<decimal>" or "name=s:<escaped text>" line into values; a
// value is kept only when the line written for it would fit the line cap.
bool SettingsStore::ParseLine(std::string_view line, std::map<std::string, Value>& values)
{
    size_t equals = line.find('=');
    if (equals == std::string_view::npos || line.size() < equals + 3 || line[equals + 2] != ':')
        return false;
    std::string name(line.substr(0, equals));
    std::string_view body = line.substr(equals + 3);
    if (!IsValidName(name))
        return false;
    Value value;
    if (line[equals + 1] == 'd')
    {
        auto dword = ParseDword(body);
        if (!dword)
            return false;
        value.dword = *dword;
    }
    else if (line[equals + 1] == 's')
    {
        auto unescaped = Unescape(body);
        if (!unescaped)
            return false;
        value.isString = true;
        value.text = std::move(*unescaped);
        if (StringLineLength(name, value.text) > kMaxLineBytes)
            return false; // raw tabs grow when written
    }
    else
    {
        return false;
    }
    values[name] = std::move(value);
    return true;
}

std::string SettingsStore::Serialize() const
{
    std::string text = "# Lumo settings\n";
    for (const auto& [name, value] : mValues)
    {
        if (value.isString)
            text += name + "=s:" + Escape(value.text) + "\n";
        else
            text += name + "=d:" + std::to_string(value.dword) + "\n";
    }
    return text;
}

} // namespace Lumo::Platform

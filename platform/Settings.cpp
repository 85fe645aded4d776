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
#include <vector>

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

std::optional<std::string> Unescape(const std::string& text)
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

std::optional<uint32_t> ParseDword(const std::string& text)
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
    std::vector<uint8_t> bytes;
    if (!ReadWholeFile(mFilePath, bytes))
        return false; // no settings yet: the defaults apply
    if (!Parse(std::string(bytes.begin(), bytes.end())))
    {
        Log("SETTINGS", "ignoring corrupt settings file " + mFilePath);
        return false;
    }
    return true;
}

bool SettingsStore::Save() const
{
    std::string folder = mFilePath.substr(0, mFilePath.rfind('/') + 1);
    std::string text = Serialize();
    if (!CreateDirectories(folder) || !WriteFileAtomically(mFilePath, text.data(), text.size()))
    {
        Log("SETTINGS", "cannot save settings file " + mFilePath);
        return false;
    }
    return true;
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
    if (IsValidName(name))
        mValues[name] = Value{true, 0, value};
}

void SettingsStore::Remove(const std::string& name)
{
    mValues.erase(name);
}

bool SettingsStore::Parse(const std::string& text)
{
    std::map<std::string, Value> values;
    size_t start = 0;
    while (start < text.size())
    {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        if (!ParseLine(line, values))
        {
            mValues.clear();
            return false;
        }
    }
    mValues = std::move(values);
    return true;
}

// One "name=d:<decimal>" or "name=s:<escaped text>" line into values.
bool SettingsStore::ParseLine(const std::string& line, std::map<std::string, Value>& values)
{
    size_t equals = line.find('=');
    if (equals == std::string::npos || line.size() < equals + 3 || line[equals + 2] != ':')
        return false;
    std::string name = line.substr(0, equals);
    std::string body = line.substr(equals + 3);
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

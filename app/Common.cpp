#include "app/Common.h"

#include "platform/FileSystem.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <vector>

namespace Lumo {

namespace {

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

bool HasDriveLetter(const std::string& path)
{
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Hexadecimal digits into a 32-bit pattern; false when empty or wider.
bool ParseHex(const std::string& digits, uint32_t& bits)
{
    if (digits.empty())
        return false;
    uint64_t value = 0;
    for (char c : digits)
    {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return false;
        value = value * 16 + static_cast<uint64_t>(digit);
        if (value > 0xFFFFFFFFull)
            return false;
    }
    bits = static_cast<uint32_t>(value);
    return true;
}

// Decimal digits with the sign applied; false when empty or outside int.
bool ParseDecimal(const std::string& digits, bool negative, int& value)
{
    if (digits.empty())
        return false;
    const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int>::min())
                                   : std::numeric_limits<int>::max();
    int64_t magnitude = 0;
    for (char c : digits)
    {
        if (c < '0' || c > '9')
            return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit)
            return false;
    }
    value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

std::string gDataFolder;

} // namespace

std::string FormatStringV(const char* format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    char small[256];
    const int needed = std::vsnprintf(small, sizeof(small), format, copy);
    va_end(copy);
    if (needed < 0)
        return std::string();
    if (static_cast<size_t>(needed) < sizeof(small))
        return std::string(small, static_cast<size_t>(needed));
    std::vector<char> large(static_cast<size_t>(needed) + 1);
    std::vsnprintf(large.data(), large.size(), format, args);
    return std::string(large.data(), static_cast<size_t>(needed));
}

std::string FormatString(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string result = FormatStringV(format, args);
    va_end(args);
    return result;
}

bool StringToInt(const std::string& text, int& value)
{
    value = 0;
    const bool negative = !text.empty() && text[0] == '-';
    const std::string rest = negative ? text.substr(1) : text;
    if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X'))
    {
        uint32_t bits = 0;
        if (!ParseHex(rest.substr(2), bits))
            return false;
        if (negative)
            bits = 0u - bits;
        value = static_cast<int>(bits); // keeps the bit pattern (two's complement)
        return true;
    }
    int parsed = 0;
    if (!ParseDecimal(rest, negative, parsed))
        return false;
    value = parsed;
    return true;
}

bool StringToDouble(const std::string& text, double& value)
{
    value = 0.0;
    const size_t start = !text.empty() && text[0] == '-' ? 1 : 0;
    int digits = 0;
    int dots = 0;
    for (size_t i = start; i < text.size(); ++i)
    {
        if (text[i] >= '0' && text[i] <= '9')
            ++digits;
        else if (text[i] == '.' && ++dots <= 1)
            continue;
        else
            return false;
    }
    if (digits == 0)
        return false;
    double parsed = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc() || end != text.data() + text.size())
        return false;
    value = parsed;
    return true;
}

std::string ToUpperCase(const std::string& text)
{
    std::string result = text;
    for (char& c : result)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return result;
}

std::string ToLowerCase(const std::string& text)
{
    std::string result = text;
    for (char& c : result)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return result;
}

std::string WideToNarrow(const std::wstring& text)
{
    std::string result;
    result.reserve(text.size());
    for (wchar_t wide : text)
    {
        const auto code = static_cast<uint32_t>(wide);
        if (code < 0x80)
        {
            result += static_cast<char>(code);
        }
        else if (code < 0x800)
        {
            result += static_cast<char>(0xC0 | (code >> 6));
            result += static_cast<char>(0x80 | (code & 0x3F));
        }
        else if (code < 0x10000)
        {
            if (code >= 0xD800 && code <= 0xDFFF)
            {
                result += '?';
                continue;
            }
            result += static_cast<char>(0xE0 | (code >> 12));
            result += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            result += static_cast<char>(0x80 | (code & 0x3F));
        }
        else if (code < 0x110000)
        {
            result += static_cast<char>(0xF0 | (code >> 18));
            result += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            result += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            result += static_cast<char>(0x80 | (code & 0x3F));
        }
        else
        {
            result += '?';
        }
    }
    return result;
}

std::string ToNarrowString(const std::wstring& text)
{
    return WideToNarrow(text);
}

namespace {

// Decodes one UTF-8 sequence at text[i]; 0 when it is not a valid sequence.
size_t DecodeUtf8(const std::string& text, size_t i, uint32_t& code)
{
    const auto lead = static_cast<uint8_t>(text[i]);
    size_t length = 0;
    uint32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, code = lead & 0x1Fu, minimum = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, code = lead & 0x0Fu, minimum = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, code = lead & 0x07u, minimum = 0x10000;
    else
        return 0;
    if (i + length > text.size())
        return 0;
    for (size_t k = 1; k < length; ++k)
    {
        const auto next = static_cast<uint8_t>(text[i + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (next & 0x3Fu);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

std::wstring NarrowToWide(const std::string& text)
{
    std::wstring result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size();)
    {
        const auto byte = static_cast<uint8_t>(text[i]);
        uint32_t code = 0;
        const size_t length = byte < 0x80 ? 0 : DecodeUtf8(text, i, code);
        if (length == 0)
        {
            result += static_cast<wchar_t>(byte);
            ++i;
        }
        else
        {
            result += static_cast<wchar_t>(code);
            i += length;
        }
    }
    return result;
}

std::string GetPathDirectory(const std::string& path, bool withSeparator)
{
    const size_t last = path.find_last_of("\\/");
    if (last == std::string::npos)
        return std::string();
    return path.substr(0, withSeparator ? last + 1 : last);
}

std::string GetPathFileName(const std::string& path, bool withoutExtension)
{
    const size_t last = path.find_last_of("\\/");
    std::string name = last == std::string::npos ? path : path.substr(last + 1);
    if (withoutExtension)
    {
        const size_t dot = name.rfind('.');
        if (dot != std::string::npos)
            name.erase(dot);
    }
    return name;
}

std::string ResolveRelativePath(const std::string& path, const std::string& base)
{
    if (HasDriveLetter(path) || (!path.empty() && IsSeparator(path[0])))
        return path;

    const std::string joined = base.empty() ? path : base + "/" + path;
    const size_t firstSeparator = (base + path).find_first_of("\\/");
    const char separator = firstSeparator == std::string::npos ? '/' : (base + path)[firstSeparator];

    // The root that ".." never climbs above: a drive letter or a leading separator.
    std::string root;
    size_t pos = 0;
    if (HasDriveLetter(joined))
    {
        root = joined.substr(0, 2);
        pos = 2;
    }
    if (pos < joined.size() && IsSeparator(joined[pos]))
    {
        root += separator;
        ++pos;
    }

    std::vector<std::string> parts;
    while (pos <= joined.size())
    {
        size_t end = joined.find_first_of("\\/", pos);
        if (end == std::string::npos)
            end = joined.size();
        const std::string part = joined.substr(pos, end - pos);
        if (part == "..")
        {
            if (!parts.empty() && parts.back() != "..")
                parts.pop_back();
            else if (root.empty())
                parts.push_back(part);
        }
        else if (!part.empty() && part != ".")
        {
            parts.push_back(part);
        }
        pos = end + 1;
    }

    std::string result = root;
    for (size_t i = 0; i < parts.size(); ++i)
    {
        if (i > 0)
            result += separator;
        result += parts[i];
    }
    if (!path.empty() && IsSeparator(path.back()) && !parts.empty())
        result += separator;
    return result;
}

std::string RemoveTrailingSlash(const std::string& path)
{
    if (!path.empty() && IsSeparator(path.back()))
        return path.substr(0, path.size() - 1);
    return path;
}

bool IsWindows9x()
{
    return false;
}

std::string GetDataFolder()
{
    return gDataFolder;
}

void SetDataFolder(const std::string& folder)
{
    gDataFolder = folder;
    if (!gDataFolder.empty() && !IsSeparator(gDataFolder.back()))
        gDataFolder += '/';
}

void CreateDirectoryTree(const std::string& path)
{
    if (!path.empty())
        (void)Platform::CreateDirectories(path);
}

} // namespace Lumo


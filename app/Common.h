#pragma once
// String, number and path helpers shared by the whole framework and the game.
// All are pure functions of their arguments (callable from any thread), except
// the data folder, which the application sets once at start-up.
#include <cstdarg>
#include <string>

namespace Lumo {

// printf-style formatting into a string of any length. An invalid format gives "".
std::string FormatString(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatStringV(const char* format, va_list args);

// Decimal, or hexadecimal after "0x" / "0X", with an optional leading '-'.
// Hexadecimal values keep their 32-bit pattern, so "0x80FF0000" gives the int
// whose bits are 0x80FF0000 (a colour with alpha 0x80). False, and value 0, for
// an empty text, any other character (spaces and '+' included), hexadecimal
// wider than 32 bits and decimal outside the int range.
[[nodiscard]] bool StringToInt(const std::string& text, int& value);
// Decimal digits with an optional leading '-' and at most one '.', at least one
// digit. False, and value 0.0, otherwise (exponents, spaces and '+' included).
[[nodiscard]] bool StringToDouble(const std::string& text, double& value);

// ASCII case mapping; other bytes (UTF-8 sequences too) stay as they are.
std::string ToUpperCase(const std::string& text);
std::string ToLowerCase(const std::string& text);

// Wide text (Unicode code points) to UTF-8; invalid code points become '?'.
std::string WideToNarrow(const std::wstring& text);
std::string ToNarrowString(const std::wstring& text);
// UTF-8 to wide text. A byte that does not start a valid UTF-8 sequence is
// taken as a Latin-1 character, so older single-byte texts survive.
std::wstring NarrowToWide(const std::string& text);

// The part before the last '\\' or '/', with that separator when asked; ""
// when the path has no separator.
std::string GetPathDirectory(const std::string& path, bool withSeparator = false);
// The part after the last '\\' or '/' (the whole path when it has none);
// without the text from the name's last '.' when asked.
std::string GetPathFileName(const std::string& path, bool withoutExtension = false);
// The path resolved against the base folder: a path with a drive letter ("C:")
// or a leading separator is returned unchanged; otherwise base and path are
// joined, "." is dropped and ".." steps up a level (never above a root; kept
// at the front of a relative result). '\\' and '/' both separate; the result
// uses the first separator found in base or path ('/' when there is none) and
// keeps a trailing separator of the path.
std::string ResolveRelativePath(const std::string& path, const std::string& base);
// The path without one trailing '\\' or '/'.
std::string RemoveTrailingSlash(const std::string& path);

// True on the Windows 9x family: never here.
bool IsWindows9x();

// The application data folder: "" until the application sets it (from
// Platform::GetUserDataFolder at start-up, on the main thread, before other
// threads start). A non-empty folder always ends with a separator; SetDataFolder
// adds '/' when the given folder lacks one. Readers may call from any thread.
std::string GetDataFolder();
void SetDataFolder(const std::string& folder);

// Creates every missing folder level of the path ('\\' and '/' separate);
// failures are ignored.
void CreateDirectoryTree(const std::string& path);

} // namespace Lumo

#pragma once
// The process-wide FreeType library and fontconfig set-up behind TextFont,
// with the lock that every text call holds. Internal to platform/text.
#include <mutex>
#include <string>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace Lumo::Platform::TextFontLibrary {

// The lock of every FreeType and fontconfig call.
std::recursive_mutex& Lock();
// The FreeType library, initialised on first use; null when FreeType cannot
// start. Call with Lock() held.
FT_Library Library();

struct FaceMatch
{
    std::string file;
    int index = 0;
    std::string family;
    bool found = false;
};
// The installed face that best matches the family, weight and slant (any
// face at all when the family is not installed). Call with Lock() held.
FaceMatch MatchFace(const std::string& family, bool bold, bool italic);

} // namespace Lumo::Platform::TextFontLibrary

#include "platform/text/TextFontLibrary.h"

#include <cstdlib>
#include <memory>

#include <fontconfig/fontconfig.h>

namespace Lumo::Platform::TextFontLibrary {

namespace {

struct PatternDeleter
{
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

std::string PatternString(FcPattern* pattern, const char* object)
{
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || value == nullptr)
        return std::string();
    return reinterpret_cast<const char*>(value);
}

} // namespace

std::recursive_mutex& Lock()
{
    static std::recursive_mutex lock;
    return lock;
}

FT_Library Library()
{
    // Kept for the whole process: fonts held by static objects may close
    // their faces during exit, after any library destructor would have run.
    static FT_Library library = [] {
        FT_Library created = nullptr;
        return FT_Init_FreeType(&created) == 0 ? created : nullptr;
    }();
    return library;
}

FaceMatch MatchFace(const std::string& family, bool bold, bool italic)
{
    FaceMatch match;
    // Fontconfig's caches are released at exit (else they show as leaks).
    static const bool configured = FcInit() == FcTrue && std::atexit(FcFini) == 0;
    if (!configured)
        return match;

    PatternPtr pattern(FcPatternCreate());
    if (!pattern)
        return match;
    if (!family.empty())
        FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());

    FcResult result = FcResultNoMatch;
    PatternPtr found(FcFontMatch(nullptr, pattern.get(), &result));
    if (!found)
        return match;
    match.file = PatternString(found.get(), FC_FILE);
    match.family = PatternString(found.get(), FC_FAMILY);
    int index = 0;
    if (FcPatternGetInteger(found.get(), FC_INDEX, 0, &index) == FcResultMatch)
        match.index = index;
    match.found = !match.file.empty();
    return match;
}

} // namespace Lumo::Platform::TextFontLibrary

// ReadImageFile: picks the reader by extension and applies alpha companions.
#include "resources/ImageLib.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "resources/ImageLibPixels.h"

namespace Lumo::ImageLib {

std::atomic<bool> gLoadAlphaCompanions{true};
std::atomic<uint32_t> gAlphaOnlyColor{0x00FFFFFFu};
std::atomic<bool> gJpeg2000ForceOpaque{true};

namespace {

using Reader = std::unique_ptr<Image> (*)(const std::string&);

struct ReaderEntry
{
    const char* extension;
    Reader read;
};

// The order in which an extensionless path is tried.
constexpr std::array<ReaderEntry, 6> kReaders{{
    {".tga", &ReadTga},
    {".jpg", &ReadJpeg},
    {".png", &ReadPng},
    {".gif", &ReadGif},
    {".j2k", &ReadJpeg2000},
    {".jp2", &ReadJpeg2000},
}};

bool EqualsIgnoringCase(const std::string& a, const char* b)
{
    size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && b[i] == '\0';
}

// Position of the last '\\' or '/', or npos.
size_t LastSeparator(const std::string& path)
{
    const size_t back = path.rfind('\\');
    const size_t slash = path.rfind('/');
    if (back == std::string::npos)
        return slash;
    if (slash == std::string::npos)
        return back;
    return std::max(back, slash);
}

std::unique_ptr<Image> ReadByExtension(const std::string& path)
{
    const size_t separator = LastSeparator(path);
    const size_t dot = path.rfind('.');
    std::string base = path;
    std::string extension;
    if (dot != std::string::npos && (separator == std::string::npos || dot > separator))
    {
        base = path.substr(0, dot);
        extension = path.substr(dot);
    }
    for (const ReaderEntry& entry : kReaders)
    {
        if (!extension.empty() && !EqualsIgnoringCase(extension, entry.extension))
            continue;
        if (auto image = entry.read(base + entry.extension))
            return image;
    }
    return nullptr;
}

std::unique_ptr<Image> ReadCompanion(const std::string& path)
{
    const size_t separator = LastSeparator(path);
    const size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    const std::string directory = path.substr(0, nameStart);
    if (auto companion = ReadImageFile(directory + "_" + path.substr(nameStart), false))
        return companion;
    return ReadImageFile(path + "_", false);
}

void ApplyCompanionAlpha(Image& image, const Image& companion)
{
    if (image.GetWidth() != companion.GetWidth() || image.GetHeight() != companion.GetHeight())
        return;
    const uint32_t* alpha = companion.GetBits();
    TransformPixels(image.GetBits(), size_t(image.GetWidth()) * size_t(image.GetHeight()),
                    [alpha](uint32_t pixel, size_t i) { return (pixel & 0x00FFFFFFu) | (alpha[i] << 24); });
}

void MakeAlphaOnly(Image& companion)
{
    const uint32_t color = gAlphaOnlyColor.load();
    TransformPixels(companion.GetBits(), size_t(companion.GetWidth()) * size_t(companion.GetHeight()),
                    [color](uint32_t pixel, size_t) { return (pixel << 24) | color; });
}

} // namespace

std::unique_ptr<Image> ReadImageFile(const std::string& path, bool lookForAlphaCompanion)
{
    std::unique_ptr<Image> image = ReadByExtension(path);
    if (!lookForAlphaCompanion || !gLoadAlphaCompanions.load())
        return image;
    std::unique_ptr<Image> companion = ReadCompanion(path);
    if (!companion)
        return image;
    if (image)
    {
        ApplyCompanionAlpha(*image, *companion);
        return image;
    }
    MakeAlphaOnly(*companion);
    return companion;
}

} // namespace Lumo::ImageLib

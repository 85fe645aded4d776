#pragma once
// What the font fuzz targets share: a scratch folder for the file under test
// and a small canvas to draw the loaded font on.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "fonts/FontData.h"
#include "fonts/ImageFont.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"

namespace Lumo::Fuzzing {

// A folder of its own for the process, removed at exit.
class ScratchFolderHolder
{
public:
    ScratchFolderHolder()
    {
        std::random_device random;
        mPath = std::filesystem::temp_directory_path() / ("lumo-font-fuzz-" + std::to_string(random()));
        std::filesystem::create_directories(mPath);
    }
    ~ScratchFolderHolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(mPath, ignored);
    }
    const std::filesystem::path& Path() const { return mPath; }

private:
    std::filesystem::path mPath;
};

inline const std::filesystem::path& ScratchFolder()
{
    static const ScratchFolderHolder holder;
    return holder.Path();
}

inline std::string WriteScratchFile(const std::string& name, const uint8_t* data, size_t size)
{
    const std::string path = (ScratchFolder() / name).string();
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                   static_cast<std::streamsize>(size));
    return path;
}

// Measures and draws with the font at its own size, with a tag, and rescaled.
inline void ExerciseFont(ImageFont& font)
{
    static const std::string sample = "Ab c, 0123 !?\xE9";
    MemoryImage canvas;
    canvas.Create(48, 24);
    Graphics g(&canvas);
    int width = 0;
    font.RenderString(&g, 2, 16, sample, Color::White, Rect(), nullptr, &width);
    if (width < 0 || font.GetStringWidth(sample) < 0)
        __builtin_trap();
    font.AddTag("shadow");
    font.SetPointSize(font.GetDefaultPointSize() / 2 + 1);
    font.DrawString(&g, 2, 16, sample, Color(200, 100, 50, 128), Rect());
    std::unique_ptr<Font> copy(font.Clone());
    copy->DrawString(&g, 0, 20, sample, Color::White, Rect());
    (void)font.GetDefineText("x");
}

} // namespace Lumo::Fuzzing

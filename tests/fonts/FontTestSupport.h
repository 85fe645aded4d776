#pragma once
// Shared pieces of the font tests: a headless application (error boxes go to
// the message-box log, images load through its shared images), a scratch
// folder, glyph images written as PNG, and a Graphics that records the
// glyph blits it is asked for.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/Environment.h"
#include "app/LumoAppBase.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "platform/Video.h"
#include "resources/ImageLib.h"

namespace Lumo::FontTest {

class ScratchFolder
{
public:
    ScratchFolder()
    {
        static int counter = 0;
        mPath = std::filesystem::temp_directory_path() /
                ("lumo-font-test-" + std::to_string(Platform::GetProcessId()) + "-" +
                 std::to_string(reinterpret_cast<uintptr_t>(this)) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(mPath);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(mPath, ignored);
    }
    std::string File(const std::string& name) const { return (mPath / name).string(); }
    std::string Write(const std::string& name, const std::string& text) const
    {
        std::ofstream(File(name), std::ios::binary) << text;
        return File(name);
    }

private:
    std::filesystem::path mPath;
};

// Writes a width x height PNG whose pixels come from pixel(x, y) (0xAARRGGBB).
inline std::string WritePng(const ScratchFolder& folder, const std::string& name, int width, int height,
                            const std::function<uint32_t(int, int)>& pixel)
{
    ImageLib::Image image;
    EXPECT_TRUE(image.Allocate(width, height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.GetBits()[y * width + x] = pixel(x, y);
    EXPECT_TRUE(ImageLib::WritePng(folder.File(name), image));
    return folder.File(name);
}

class TestApp : public LumoAppBase
{
public:
    TestApp() { Platform::ClearMessageBoxLog(); }
};

// The texts of the message boxes shown since the log was last cleared.
inline std::vector<std::string> MessageTexts()
{
    std::vector<std::string> texts;
    for (const auto& record : Platform::GetMessageBoxLog())
        texts.push_back(record.text);
    return texts;
}

struct GlyphBlit
{
    Image* image;
    int x, y;
    Rect source;
    Color color;
    DrawMode mode;
    bool tinting;
};

class RecordingGraphics : public Graphics
{
public:
    explicit RecordingGraphics(Image* destination) : Graphics(destination) {}
    void DrawImagePart(Image* image, int x, int y, const Rect& sourceRect) override
    {
        blits.push_back({image, x, y, sourceRect, GetColor(), GetDrawMode(), GetImageTinting()});
        Graphics::DrawImagePart(image, x, y, sourceRect);
    }
    std::vector<GlyphBlit> blits;
};

} // namespace Lumo::FontTest

// Fuzz target: the font description reader and the image font built from it.
// The description lies beside a small glyph image "glyphs.png", so its image
// commands load a real image.
#include "app/LumoAppBase.h"
#include "fuzz/fonts/FontFuzzSupport.h"
#include "platform/Video.h"
#include "resources/ImageLib.h"

namespace {

Lumo::LumoAppBase& App()
{
    static Lumo::LumoAppBase* app = [] {
        auto* made = new Lumo::LumoAppBase();
        Lumo::ImageLib::Image glyphs;
        if (glyphs.Allocate(32, 16))
        {
            for (int i = 0; i < 32 * 16; ++i)
                glyphs.GetBits()[i] = (i % 32) < 16 ? 0xFFFF8000u : 0x80FFFFFFu;
            (void)Lumo::ImageLib::WritePng((Lumo::Fuzzing::ScratchFolder() / "glyphs.png").string(), glyphs);
        }
        return made;
    }();
    return *app;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1 << 16)
        return 0;
    Lumo::LumoAppBase& app = App();
    const std::string path = Lumo::Fuzzing::WriteScratchFile("font.txt", data, size);
    {
        Lumo::ImageFont font(&app, path);
        Lumo::Fuzzing::ExerciseFont(font);
    }
    Lumo::Platform::ClearMessageBoxLog();
    return 0;
}

// Fuzz target: the metrics file of an image font (one image of side-by-side
// glyphs), and the font built from it.
#include "fuzz/fonts/FontFuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 1 << 16)
        return 0;
    auto image = std::make_shared<Lumo::MemoryImage>();
    image->Create(64, 12);
    for (int i = 0; i < 64 * 12; ++i)
        image->GetBits()[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u >> 8);
    const std::string path = Lumo::Fuzzing::WriteScratchFile("metrics.txt", data, size);
    Lumo::ImageFont font(image, path);
    if (font.GetFontData()->IsLoaded())
        Lumo::Fuzzing::ExerciseFont(font);
    return 0;
}

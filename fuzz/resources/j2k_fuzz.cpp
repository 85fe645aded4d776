// Fuzz target: the JPEG 2000 reader and the codec module on any bytes.
#include "fuzz/resources/MemoryImageFile.h"
#include "resources/ImageLib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool opened = [] {
        Lumo::ImageLib::OpenJpeg2000Codec();
        return true;
    }();
    (void)opened;
    Lumo::Fuzzing::MemoryImageFile::Instance().Set("fuzz.j2k", data, size);
    auto image = Lumo::ImageLib::ReadJpeg2000("fuzz.j2k");
    if (image && (image->GetWidth() <= 0 || image->GetHeight() <= 0 || image->GetBits() == nullptr))
        __builtin_trap();
    Lumo::Fuzzing::MemoryImageFile::Instance().Clear();
    return 0;
}

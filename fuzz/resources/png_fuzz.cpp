// Fuzz target: the PNG reader on any bytes.
#include "fuzz/resources/MemoryImageFile.h"
#include "resources/ImageLib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Lumo::Fuzzing::MemoryImageFile::Instance().Set("fuzz.png", data, size);
    auto image = Lumo::ImageLib::ReadPng("fuzz.png");
    if (image && (image->GetWidth() <= 0 || image->GetHeight() <= 0 || image->GetBits() == nullptr))
        __builtin_trap();
    Lumo::Fuzzing::MemoryImageFile::Instance().Clear();
    return 0;
}

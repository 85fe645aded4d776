#pragma once
// Fuzz inputs reach the sound readers as files, through the same file
// wrappers as real sounds: each input is written to a per-process temporary
// file, which is removed again once the input has been read.
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace Lumo::SoundFuzz {

class InputFile
{
public:
    InputFile(const uint8_t* data, size_t size, const char* extension)
        : mPath((std::filesystem::temp_directory_path() /
                 ("lumo-sound-fuzz-" + std::to_string(Platform::GetProcessId()) + extension))
                    .string())
    {
        std::ofstream out(mPath, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    }
    ~InputFile() { (void)Platform::RemoveFile(mPath); }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const std::string& Path() const { return mPath; }

private:
    std::string mPath;
};

} // namespace Lumo::SoundFuzz

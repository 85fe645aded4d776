#pragma once
// Fuzz inputs reach the sound readers as files, through the same file
// wrappers as real sounds: each input is written to a per-process temporary
// file first.
#include "platform/Environment.h"
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace Lumo::SoundFuzz {

inline std::string WriteInput(const uint8_t* data, size_t size, const char* extension)
{
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("lumo-sound-fuzz-" + std::to_string(Platform::GetProcessId()) + extension))
                                        .string();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), std::streamsize(size));
    return path;
}

} // namespace Lumo::SoundFuzz

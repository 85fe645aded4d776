// Feeds bytes as a pack file: written to a temporary file, added to a fresh
// PakInterface, then every entry is opened and read through the handle calls.
#include "app/pak/PakFormat.h"
#include "app/pak/PakInterface.h"
#include "platform/DebugOutput.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

void ReadEntry(Lumo::PakInterface& pak, const std::string& name)
{
    Lumo::PFILE* file = pak.FOpen(name, "rb");
    if (file == nullptr)
        return;
    uint8_t chunk[64];
    while (pak.FRead(chunk, 3, sizeof(chunk) / 3, file) > 0)
    {
    }
    pak.FSeek(file, -1, SEEK_END);
    pak.FGetC(file);
    pak.FGetC(file);
    pak.FEof(file);
    pak.FSeek(file, 1, SEEK_SET);
    pak.FTell(file);
    pak.FClose(file);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("lumo_pak_fuzz_" + std::to_string(Lumo::Platform::GetProcessId()) + ".pak"))
            .string();
    if (!Lumo::Platform::WriteFileAtomically(path, data, size))
        return 0;
    Lumo::PakInterface pak;
    if (pak.AddPakFile(path))
    {
        std::vector<Lumo::PakEntryInfo> entries;
        std::string error;
        if (Lumo::ParsePakDirectory(data, size, entries, error))
            for (const Lumo::PakEntryInfo& entry : entries)
                ReadEntry(pak, entry.name);
    }
    Lumo::Platform::RemoveFile(path);
    Lumo::Platform::ClearDebugOutput();
    return 0;
}

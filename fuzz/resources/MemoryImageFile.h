#pragma once
// Serves the fuzzer's input as one image file through the pack layer, so the
// readers see it exactly as a file in "main.pak".
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/pak/PakInterface.h"
#include "platform/DebugOutput.h"

namespace Lumo::Fuzzing {

class MemoryImageFile : public PakInterface
{
public:
    // Registers itself as the shared pack interface for the whole run.
    static MemoryImageFile& Instance()
    {
        static MemoryImageFile instance;
        return instance;
    }

    // The input becomes the file of the given name.
    void Set(const std::string& name, const uint8_t* data, size_t size)
    {
        mName = name;
        mBytes = std::make_shared<const std::vector<uint8_t>>(data, data + size);
    }

    // Drops the input and the log lines again, so a run frees all that it
    // allocated (which lets libFuzzer look for leaks after every input).
    void Clear()
    {
        mName.clear();
        mBytes.reset();
        Platform::ClearDebugOutput();
    }

    PFILE* FOpen(const std::string& path, const char* mode) override
    {
        if (!mBytes || path != mName || std::string(mode) != "rb")
            return nullptr;
        auto* file = new PFILE;
        file->pack = mBytes;
        file->size = static_cast<long>(mBytes->size());
        return file;
    }

private:
    MemoryImageFile() { SetSharedPakInterface(this); }

    std::string mName;
    std::shared_ptr<const std::vector<uint8_t>> mBytes;
};

} // namespace Lumo::Fuzzing

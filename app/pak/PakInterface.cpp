#include "app/pak/PakInterface.h"

#include "app/Common.h"
#include "app/pak/PakFormat.h"
#include "platform/DebugOutput.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cstdint>
#include <cstring>

namespace Lumo {

namespace {

bool IsReadOnlyMode(const char* mode)
{
    return mode != nullptr && std::strpbrk(mode, "wa+") == nullptr;
}

// The registration "gPakInterfaceP_<pid>": one per process, so a pointer does.
// Atomic, as every wrapper call reads it.
std::atomic<PakInterface*> gSharedPakInterface{nullptr};

} // namespace

PakInterface::~PakInterface()
{
    PakInterface* self = this;
    gSharedPakInterface.compare_exchange_strong(self, nullptr);
}

bool PakInterface::AddPakFile(const std::string& path)
{
    auto bytes = std::make_shared<std::vector<uint8_t>>();
    if (!Platform::ReadWholeFile(path, *bytes))
    {
        Platform::Log("PAK", path + ": cannot read the pack file");
        return false;
    }
    std::vector<PakEntryInfo> infos;
    std::string error;
    if (!ParsePakDirectory(bytes->data(), bytes->size(), infos, error))
    {
        Platform::Log("PAK", path + ": " + error + "; the pack is not used");
        return false;
    }
    std::shared_ptr<const std::vector<uint8_t>> pack = std::move(bytes);
    std::lock_guard<std::mutex> lock(mMutex);
    for (const PakEntryInfo& info : infos)
        mEntries[NormalizePakName(info.name)] = Entry{pack, info.offset, info.size};
    return true;
}

PFILE* PakInterface::FOpen(const std::string& path, const char* mode)
{
    assert(mode != nullptr);
    if (mode == nullptr)
        return nullptr;
    if (IsReadOnlyMode(mode))
    {
        std::lock_guard<std::mutex> lock(mMutex);
        const auto found = mEntries.find(NormalizePakName(path));
        if (found != mEntries.end())
        {
            auto* file = new PFILE;
            file->pack = found->second.pack;
            file->start = found->second.offset;
            file->size = static_cast<long>(found->second.size);
            return file;
        }
    }
    FILE* disk = Platform::OpenFile(path, mode);
    if (disk == nullptr)
        return nullptr;
    auto* file = new PFILE;
    file->disk = disk;
    return file;
}

int PakInterface::FClose(PFILE* file)
{
    if (file == nullptr)
        return EOF;
    const int result = file->disk != nullptr ? std::fclose(file->disk) : 0;
    delete file;
    return result;
}

int PakInterface::FSeek(PFILE* file, long offset, int origin)
{
    if (file == nullptr)
        return -1;
    if (file->disk != nullptr)
        return std::fseek(file->disk, offset, origin);
    long base = 0;
    if (origin == SEEK_CUR)
        base = file->pos;
    else if (origin == SEEK_END)
        base = file->size;
    else if (origin != SEEK_SET)
        return -1;
    long target = 0;
    if (__builtin_add_overflow(base, offset, &target) || target < 0)
        return -1;
    file->pos = target;
    file->eof = false;
    return 0;
}

long PakInterface::FTell(PFILE* file)
{
    if (file == nullptr)
        return -1;
    return file->disk != nullptr ? std::ftell(file->disk) : file->pos;
}

size_t PakInterface::FRead(void* buffer, size_t itemSize, size_t itemCount, PFILE* file)
{
    if (file == nullptr || itemSize == 0 || itemCount == 0)
        return 0;
    if (file->disk != nullptr)
        return std::fread(buffer, itemSize, itemCount, file->disk);
    size_t wanted = 0;
    if (__builtin_mul_overflow(itemSize, itemCount, &wanted))
        wanted = SIZE_MAX;
    const size_t left = file->pos < file->size ? static_cast<size_t>(file->size - file->pos) : 0;
    const size_t count = std::min(wanted, left);
    if (count > 0)
        std::memcpy(buffer, file->pack->data() + file->start + static_cast<size_t>(file->pos), count);
    file->pos += static_cast<long>(count);
    if (count < wanted)
        file->eof = true;
    return count / itemSize;
}

int PakInterface::FGetC(PFILE* file)
{
    if (file == nullptr)
        return EOF;
    if (file->disk != nullptr)
        return std::fgetc(file->disk);
    if (file->pos >= file->size)
    {
        file->eof = true;
        return EOF;
    }
    return (*file->pack)[file->start + static_cast<size_t>(file->pos++)];
}

int PakInterface::FEof(PFILE* file)
{
    if (file == nullptr)
        return 1;
    if (file->disk != nullptr)
        return std::feof(file->disk) != 0 ? 1 : 0;
    return file->eof ? 1 : 0;
}

bool PakInterface::HasPakEntry(const std::string& path) const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mEntries.count(NormalizePakName(path)) != 0;
}

size_t PakInterface::GetPakEntryCount() const
{
    std::lock_guard<std::mutex> lock(mMutex);
    return mEntries.size();
}

std::string GetSharedPakInterfaceName()
{
    return FormatString("gPakInterfaceP_%d", Platform::GetProcessId());
}

PakInterface* GetSharedPakInterface()
{
    return gSharedPakInterface.load(std::memory_order_acquire);
}

void SetSharedPakInterface(PakInterface* pakInterface)
{
    gSharedPakInterface.store(pakInterface, std::memory_order_release);
}

} // namespace Lumo

#pragma once
// The pack-file layer: files read from pack files (format in PakFormat.h) in
// place of the asset folders, and from disk for everything else. The readers of
// the framework reach it through the wrappers of PakFile.h.
//
// Threads: AddPakFile, FOpen and the handle operations may be called from any
// thread (the loading thread reads while the main thread runs); one handle is
// used by one thread at a time.
#include "app/pak/PakFile.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace Lumo {

// An open file. A file inside a pack holds a share of the pack's bytes, so it
// stays readable after its PakInterface is gone; a file on disk holds a FILE*.
struct PFILE
{
    std::shared_ptr<const std::vector<uint8_t>> pack; // null for a file on disk
    size_t start = 0;                                 // entry bytes inside *pack
    long size = 0;
    long pos = 0;
    bool eof = false;
    FILE* disk = nullptr;
};

class PakInterface
{
public:
    PakInterface() = default;
    // Unregisters itself when it is the shared interface. Open handles stay valid.
    virtual ~PakInterface();
    PakInterface(const PakInterface&) = delete;
    PakInterface& operator=(const PakInterface&) = delete;

    // Reads the whole pack file into memory and adds its entries; an entry of a
    // later pack hides an earlier one of the same name. False, with one "PAK"
    // log line and nothing added, when the file is missing, corrupt or truncated.
    [[nodiscard]] virtual bool AddPakFile(const std::string& path);

    // Opens a file for reading from the packs, else (and for any writing mode)
    // through Platform::OpenFile. Null when neither has it. The handle belongs
    // to the caller until FClose.
    virtual PFILE* FOpen(const std::string& path, const char* mode);
    // These behave like fclose, fseek, ftell, fread, fgetc and feof: FEof turns
    // true only after a read ran into the end, FSeek clears it, seeking past the
    // end is allowed and reads nothing there. A null handle gives -1 or 0.
    virtual int FClose(PFILE* file);
    virtual int FSeek(PFILE* file, long offset, int origin);
    virtual long FTell(PFILE* file);
    virtual size_t FRead(void* buffer, size_t itemSize, size_t itemCount, PFILE* file);
    virtual int FGetC(PFILE* file);
    virtual int FEof(PFILE* file);

    // Whether a pack holds the file (name rules of PakFormat.h).
    bool HasPakEntry(const std::string& path) const;
    size_t GetPakEntryCount() const;

private:
    struct Entry
    {
        std::shared_ptr<const std::vector<uint8_t>> pack;
        size_t offset = 0;
        size_t size = 0;
    };

    mutable std::mutex mMutex;
    std::map<std::string, Entry> mEntries; // by NormalizePakName
};

// The process-wide pack interface, registered under the name
// "gPakInterfaceP_<process id>" (GetSharedPakInterfaceName), or null. The
// application registers its interface at start-up after adding "main.pak";
// SetSharedPakInterface(nullptr) unregisters. The caller keeps ownership.
PakInterface* GetSharedPakInterface();
void SetSharedPakInterface(PakInterface* pakInterface);
std::string GetSharedPakInterfaceName();

} // namespace Lumo

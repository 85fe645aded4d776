#pragma once
// Demo files (".dmo"): everything needed to repeat a run exactly - the random
// seed, every input message with the update number at which it was applied,
// the answers of FileExists and the bytes LoadFileToBuffer read, and the update
// at which loading completed. All numbers are little-endian.
//
//   magic          8 bytes  "LUMODEMO"
//   version        uint32   1
//   seed           uint32   the seed given to SeedRandom
//   assetHash      uint64   what the game's rules read from its assets (0: unset)
//   loadedUpdate   uint32   update number at which loading completed
//                           (0xFFFFFFFF: it never did)
//   records, each: kind uint8, update uint32, then by kind:
//     1 input:       type uint8 (Platform::EventType), x int32, y int32
//                    (each within -65536..65536), button uint8 (0..2),
//                    clickCount int32 (0..3), wheel int32,
//                    keyCode int32, ch uint32 (<= 0x10FFFF),
//                    modifiers uint8 (1 shift, 2 ctrl, 4 alt)
//     2 file exists: nameLength uint16, name, answer uint8 (0 or 1)
//     3 file loaded: nameLength uint16, name, ok uint8 (0 or 1),
//                    byteCount uint32 (0 unless ok), bytes
//     255 end:       no body; its update field is the total update count of
//                    the run; nothing may follow it
//
// Update numbers never decrease, none exceeds the total, and none exceeds
// 0x7FFFFFFF; loadedUpdate does not exceed the total either (unless it is
// 0xFFFFFFFF). Input is stored as the application applied it (app/InputBounds.h).
#include "app/Buffer.h"
#include "platform/Input.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Lumo {

enum class DemoRecordKind : uint8_t
{
    Input = 1,
    FileExists = 2,
    FileLoaded = 3,
};

struct DemoRecord
{
    DemoRecordKind kind = DemoRecordKind::Input;
    uint32_t update = 0;         // the update number at which it applies
    Platform::InputEvent input;  // Input
    std::string fileName;        // FileExists, FileLoaded (at most 65535 bytes)
    bool result = false;         // FileExists: the answer; FileLoaded: read ok
    std::vector<uint8_t> bytes;  // FileLoaded: the bytes read (empty unless ok)
};

// A whole demo in memory: the recorder fills one, the player reads one. A plain
// value; one thread at a time.
class DemoFile
{
public:
    static constexpr char kMagic[8] = {'L', 'U', 'M', 'O', 'D', 'E', 'M', 'O'};
    static constexpr uint32_t kVersion = 1;
    static constexpr uint32_t kNeverLoaded = 0xFFFFFFFFu;

    uint32_t seed = 0;
    uint64_t assetHash = 0;
    uint32_t loadedUpdate = kNeverLoaded;
    std::vector<DemoRecord> records; // in update order
    uint32_t totalUpdates = 0;

    // Replaces the contents with the demo in the bytes. False, with an error
    // text and the contents cleared, when the bytes are not a valid demo.
    [[nodiscard]] bool Parse(const uint8_t* data, size_t size, std::string& error);
    // Reads the file (through the platform file system). False, with an error
    // text and one "DEMO" log line, when it is missing or not a valid demo.
    [[nodiscard]] bool Load(const std::string& path, std::string& error);

    // Appends the demo's bytes to the buffer (which should be byte-aligned).
    // Update numbers must not decrease (asserted). The total written is at least
    // the last record's update and loadedUpdate.
    void Write(Buffer& buffer) const;
    // Writes the file atomically; false, with the reason in error when given,
    // when it could not be written.
    [[nodiscard]] bool Save(const std::string& path, std::string* error = nullptr) const;

    void Clear();
};

} // namespace Lumo

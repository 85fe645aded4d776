#pragma once
// Reads a whole song file through the pack-file wrappers (from "main.pak" or
// the disk), for music libraries that are handed the bytes from memory. Any
// thread.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace Lumo {

using MusicBytes = std::shared_ptr<const std::vector<uint8_t>>;

// Songs larger than this are refused.
constexpr int64_t kMaxMusicFileBytes = int64_t(256) << 20;

// The file's bytes; null when it cannot be opened or read whole, or is empty
// or larger than kMaxMusicFileBytes.
MusicBytes ReadMusicFile(const std::string& path);

} // namespace Lumo

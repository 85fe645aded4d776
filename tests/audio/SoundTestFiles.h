#pragma once
// Builders of small sound files for the audio tests, and a per-test folder
// that the tests work in (current folder and data folder).
#include "app/Common.h"
#include "platform/Environment.h"
#include "platform/FileSystem.h"
#include <gtest/gtest.h>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace Lumo::SoundTest {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

inline void Put32(Bytes& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

inline void Put32BigEndian(Bytes& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(uint8_t(v >> shift));
}

inline void PutTag(Bytes& out, const char* tag)
{
    out.insert(out.end(), tag, tag + 4);
}

// One RIFF chunk; `size` overrides the stated size; odd bodies get a pad byte.
inline Bytes Chunk(const char* id, const Bytes& body, int64_t size = -1, bool pad = true)
{
    Bytes out;
    PutTag(out, id);
    Put32(out, size < 0 ? uint32_t(body.size()) : uint32_t(size));
    out.insert(out.end(), body.begin(), body.end());
    if (pad && (body.size() & 1))
        out.push_back(0);
    return out;
}

inline Bytes FormatBody(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits)
{
    Bytes out;
    Put16(out, tag);
    Put16(out, channels);
    Put32(out, rate);
    Put32(out, rate * channels * bits / 8);
    Put16(out, uint16_t(channels * bits / 8));
    Put16(out, bits);
    return out;
}

inline Bytes Riff(const std::vector<Bytes>& chunks)
{
    Bytes out;
    PutTag(out, "RIFF");
    Put32(out, 0);
    PutTag(out, "WAVE");
    for (const Bytes& chunk : chunks)
        out.insert(out.end(), chunk.begin(), chunk.end());
    return out;
}

inline Bytes Samples16(const std::vector<int16_t>& samples)
{
    Bytes out;
    for (int16_t s : samples)
        Put16(out, uint16_t(s));
    return out;
}

// A mono 16-bit 44100 Hz WAV of the samples.
inline Bytes MonoWav(const std::vector<int16_t>& samples)
{
    return Riff({Chunk("fmt ", FormatBody(1, 1, 44100, 16)), Chunk("data", Samples16(samples))});
}

inline Bytes AuFile(uint32_t encoding, uint32_t rate, uint32_t channels, const Bytes& data,
                    uint32_t statedSize, uint32_t offset = 24)
{
    Bytes out;
    PutTag(out, ".snd");
    Put32BigEndian(out, offset);
    Put32BigEndian(out, statedSize);
    Put32BigEndian(out, encoding);
    Put32BigEndian(out, rate);
    Put32BigEndian(out, channels);
    out.resize(offset, 0);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

inline void WriteFile(const std::string& path, const Bytes& bytes)
{
    Platform::CreateDirectories(GetPathDirectory(path));
    ASSERT_TRUE(Platform::WriteFileAtomically(path, bytes.data(), bytes.size())) << path;
}

inline Bytes ReadFile(const std::string& path)
{
    Bytes bytes;
    if (!Platform::ReadWholeFile(path, bytes))
        bytes.clear();
    return bytes;
}

// A fresh folder for the running test, made the current folder; its "data/"
// subfolder is the application data folder. Folders are per test, so tests
// may run in parallel.
class TestFolder
{
public:
    explicit TestFolder(const std::string& group = "audio-tests/")
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        mRoot = Platform::GetUserDataFolder("") + group + info->test_suite_name() + "." + info->name() + "/";
        mPrevious = Platform::GetCurrentFolder();
        std::error_code ignored;
        std::filesystem::remove_all(mRoot, ignored);
        Platform::CreateDirectories(mRoot);
        Platform::SetCurrentFolder(mRoot);
        SetDataFolder(mRoot + "data/");
    }
    ~TestFolder()
    {
        Platform::SetCurrentFolder(mPrevious);
        SetDataFolder("");
    }
    const std::string& Root() const { return mRoot; }

private:
    std::string mRoot;
    std::string mPrevious;
};

} // namespace Lumo::SoundTest

#include "app/DemoFile.h"

#include "app/ByteReader.h"
#include "app/Common.h"
#include "app/InputBounds.h"
#include "platform/DebugOutput.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace Lumo {

namespace {

constexpr uint8_t kEndKind = 255;
constexpr size_t kMaxNameLength = 0xFFFF;
const auto kLastEventType = static_cast<uint8_t>(Platform::EventType::MouseLeave);
// The application counts updates in a signed int: a later update is never
// reached, so a demo that names one is damaged.
constexpr uint32_t kMaxUpdate = 0x7FFFFFFF;

void WriteU32(Buffer& buffer, uint32_t value)
{
    buffer.WriteInt32(static_cast<int32_t>(value));
}

void WriteName(Buffer& buffer, const std::string& name)
{
    assert(name.size() <= kMaxNameLength);
    const size_t length = std::min(name.size(), kMaxNameLength);
    buffer.WriteInt16(static_cast<int16_t>(static_cast<uint16_t>(length)));
    buffer.WriteBytes(name.data(), length);
}

void WriteInput(Buffer& buffer, const Platform::InputEvent& event)
{
    buffer.WriteByte(static_cast<uint8_t>(event.type));
    buffer.WriteInt32(event.x);
    buffer.WriteInt32(event.y);
    buffer.WriteByte(static_cast<uint8_t>(event.button));
    buffer.WriteInt32(event.clickCount);
    buffer.WriteInt32(event.wheel);
    buffer.WriteInt32(event.keyCode);
    WriteU32(buffer, event.ch);
    buffer.WriteByte(static_cast<uint8_t>((event.shift ? 1 : 0) | (event.ctrl ? 2 : 0) | (event.alt ? 4 : 0)));
}

void WriteRecord(Buffer& buffer, const DemoRecord& record)
{
    buffer.WriteByte(static_cast<uint8_t>(record.kind));
    WriteU32(buffer, record.update);
    switch (record.kind)
    {
    case DemoRecordKind::Input:
        WriteInput(buffer, record.input);
        break;
    case DemoRecordKind::FileExists:
        WriteName(buffer, record.fileName);
        buffer.WriteBool(record.result);
        break;
    case DemoRecordKind::FileLoaded:
        WriteName(buffer, record.fileName);
        buffer.WriteBool(record.result);
        WriteU32(buffer, record.result ? static_cast<uint32_t>(record.bytes.size()) : 0);
        if (record.result)
            buffer.WriteBytes(record.bytes.data(), record.bytes.size());
        break;
    }
}

// A strict 0/1 byte.
bool ReadFlag(ByteReader& reader, bool& flag)
{
    const uint8_t value = reader.U8();
    flag = value == 1;
    return reader.Ok() && value <= 1;
}

bool ReadInput(ByteReader& reader, Platform::InputEvent& event, std::string& error)
{
    const uint8_t type = reader.U8();
    event.x = reader.I32();
    event.y = reader.I32();
    const uint8_t button = reader.U8();
    event.clickCount = reader.I32();
    event.wheel = reader.I32();
    event.keyCode = reader.I32();
    event.ch = reader.U32();
    const uint8_t modifiers = reader.U8();
    if (!reader.Ok())
        return error = "truncated", false;
    if (type > kLastEventType || button > Platform::MOUSE_MIDDLE || modifiers > 7 || event.ch > kMaxInputCodePoint)
        return error = "bad input message", false;
    if (event.x != BoundInputPosition(event.x) || event.y != BoundInputPosition(event.y))
        return error = "bad input message (position far outside the screen)", false;
    if (event.clickCount < 0 || event.clickCount > kMaxDemoClickCount)
        return error = "bad input message (click count)", false;
    event.type = static_cast<Platform::EventType>(type);
    event.button = button;
    event.shift = (modifiers & 1) != 0;
    event.ctrl = (modifiers & 2) != 0;
    event.alt = (modifiers & 4) != 0;
    return true;
}

bool ReadFileRecord(ByteReader& reader, DemoRecord& record, std::string& error)
{
    record.fileName = reader.Text(reader.U16());
    if (!ReadFlag(reader, record.result))
        return error = reader.Ok() ? "bad flag" : "truncated", false;
    if (record.kind == DemoRecordKind::FileExists)
        return true;
    const uint32_t count = reader.U32();
    if (!reader.Ok())
        return error = "truncated", false;
    if (!record.result && count != 0)
        return error = "bytes for a failed load", false;
    const uint8_t* bytes = reader.Skip(count);
    if (bytes == nullptr)
        return error = "truncated", false;
    record.bytes.assign(bytes, bytes + count);
    return true;
}

bool ReadRecordBody(ByteReader& reader, DemoRecord& record, std::string& error)
{
    if (record.kind == DemoRecordKind::Input)
        return ReadInput(reader, record.input, error);
    return ReadFileRecord(reader, record, error);
}

} // namespace

void DemoFile::Clear()
{
    *this = DemoFile();
}

void DemoFile::Write(Buffer& buffer) const
{
    buffer.WriteBytes(kMagic, sizeof(kMagic));
    WriteU32(buffer, kVersion);
    WriteU32(buffer, seed);
    WriteU32(buffer, static_cast<uint32_t>(assetHash & 0xFFFFFFFFu));
    WriteU32(buffer, static_cast<uint32_t>(assetHash >> 32));
    WriteU32(buffer, loadedUpdate);
    uint32_t last = 0;
    for (const DemoRecord& record : records)
    {
        assert(record.update >= last);
        last = record.update;
        WriteRecord(buffer, record);
    }
    if (loadedUpdate != kNeverLoaded)
        last = std::max(last, loadedUpdate);
    buffer.WriteByte(kEndKind);
    WriteU32(buffer, std::max(totalUpdates, last));
}

bool DemoFile::Save(const std::string& path, std::string* error) const
{
    Buffer buffer;
    Write(buffer);
    return Platform::WriteFileAtomically(path, buffer.GetDataPtr(), buffer.GetDataLen(), error);
}

bool DemoFile::Parse(const uint8_t* data, size_t size, std::string& error)
{
    Clear();
    ByteReader reader(data, size);
    const uint8_t* magic = reader.Skip(sizeof(kMagic));
    if (magic == nullptr || std::memcmp(magic, kMagic, sizeof(kMagic)) != 0)
        return error = "not a demo file (bad magic)", false;
    const uint32_t version = reader.U32();
    DemoFile demo;
    demo.seed = reader.U32();
    demo.assetHash = reader.U64();
    demo.loadedUpdate = reader.U32();
    if (!reader.Ok())
        return error = "header truncated", false;
    if (version != kVersion)
        return error = FormatString("unsupported version %u", version), false;
    if (demo.loadedUpdate != kNeverLoaded && demo.loadedUpdate > kMaxUpdate)
        return error = "loading completes at an update beyond the last possible one", false;

    uint32_t last = 0;
    for (size_t index = 0;; ++index)
    {
        const uint8_t kind = reader.U8();
        const uint32_t update = reader.U32();
        if (!reader.Ok())
            return error = FormatString("record %zu: truncated (no end marker)", index), false;
        if (update < last)
            return error = FormatString("record %zu: update number goes back", index), false;
        if (update > kMaxUpdate)
            return error = FormatString("record %zu: update number beyond the last possible one", index), false;
        last = update;
        if (kind == kEndKind)
        {
            demo.totalUpdates = update;
            break;
        }
        if (kind < 1 || kind > 3)
            return error = FormatString("record %zu: unknown kind %u", index, kind), false;
        DemoRecord record;
        record.kind = static_cast<DemoRecordKind>(kind);
        record.update = update;
        std::string what;
        if (!ReadRecordBody(reader, record, what))
            return error = FormatString("record %zu: %s", index, what.c_str()), false;
        demo.records.push_back(std::move(record));
    }
    if (!reader.AtEnd())
        return error = "data after the end marker", false;
    if (demo.loadedUpdate != kNeverLoaded && demo.loadedUpdate > demo.totalUpdates)
        return error = "loading completes after the last update", false;
    *this = std::move(demo);
    return true;
}

bool DemoFile::Load(const std::string& path, std::string& error)
{
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!Platform::ReadWholeFile(path, bytes, &reason))
        error = "cannot read the file (" + reason + ")";
    else if (Parse(bytes.data(), bytes.size(), error))
        return true;
    Clear();
    error = path + ": " + error;
    Platform::Log("DEMO", error);
    return false;
}

} // namespace Lumo

#include "app/Buffer.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace Lumo {

void Buffer::WriteNumBits(uint32_t value, int bits)
{
    assert(bits >= 0 && bits <= 32);
    while (bits > 0)
    {
        const size_t byteIndex = mWriteBitPos >> 3;
        const int bitOffset = static_cast<int>(mWriteBitPos & 7);
        const int count = std::min(bits, 8 - bitOffset);
        if (byteIndex >= mData.size())
            mData.push_back(0);
        const uint32_t mask = (1u << count) - 1u;
        uint8_t& target = mData[byteIndex];
        target = static_cast<uint8_t>((target & ~(mask << bitOffset)) | ((value & mask) << bitOffset));
        value = count < 32 ? value >> count : 0;
        bits -= count;
        mWriteBitPos += static_cast<size_t>(count);
    }
}

uint32_t Buffer::ReadNumBits(int bits)
{
    assert(bits >= 0 && bits <= 32);
    uint32_t result = 0;
    int done = 0;
    while (done < bits)
    {
        const size_t byteIndex = mReadBitPos >> 3;
        const int bitOffset = static_cast<int>(mReadBitPos & 7);
        const int count = std::min(bits - done, 8 - bitOffset);
        // Bits past the write position are always 0 in mData, and bytes past
        // its end read as 0.
        if (byteIndex < mData.size())
        {
            const uint32_t mask = (1u << count) - 1u;
            result |= ((static_cast<uint32_t>(mData[byteIndex]) >> bitOffset) & mask) << done;
        }
        done += count;
        mReadBitPos += static_cast<size_t>(count);
    }
    return result;
}

void Buffer::WriteByte(uint8_t value)
{
    if ((mWriteBitPos & 7) == 0 && (mWriteBitPos >> 3) == mData.size())
    {
        mData.push_back(value);
        mWriteBitPos += 8;
        return;
    }
    WriteNumBits(value, 8);
}

uint8_t Buffer::ReadByte()
{
    return static_cast<uint8_t>(ReadNumBits(8));
}

void Buffer::WriteBool(bool value)
{
    WriteByte(value ? 1 : 0);
}

bool Buffer::ReadBool()
{
    return ReadByte() != 0;
}

void Buffer::WriteInt16(int16_t value)
{
    const auto bits = static_cast<uint16_t>(value);
    WriteByte(static_cast<uint8_t>(bits & 0xFF));
    WriteByte(static_cast<uint8_t>(bits >> 8));
}

int16_t Buffer::ReadInt16()
{
    const uint32_t low = ReadByte();
    const uint32_t high = ReadByte();
    return static_cast<int16_t>(static_cast<uint16_t>(low | (high << 8)));
}

void Buffer::WriteInt32(int32_t value)
{
    const auto bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8)
        WriteByte(static_cast<uint8_t>((bits >> shift) & 0xFF));
}

int32_t Buffer::ReadInt32()
{
    uint32_t bits = 0;
    for (int shift = 0; shift < 32; shift += 8)
        bits |= static_cast<uint32_t>(ReadByte()) << shift;
    return static_cast<int32_t>(bits);
}

void Buffer::WriteString(const std::string& text)
{
    const size_t length = std::min(text.size(), kMaxStringLength);
    WriteInt16(static_cast<int16_t>(length));
    WriteBytes(text.data(), length);
}

std::string Buffer::ReadString()
{
    const int16_t length = ReadInt16();
    if (length <= 0)
        return std::string();
    const size_t left = mReadBitPos < mWriteBitPos ? (mWriteBitPos - mReadBitPos + 7) / 8 : 0;
    std::string text(std::min(static_cast<size_t>(length), left), '\0');
    ReadBytes(text.data(), text.size());
    if (text.size() < static_cast<size_t>(length))
        mReadBitPos = std::max(mReadBitPos, mWriteBitPos);
    return text;
}

void Buffer::WriteBytes(const void* data, size_t count)
{
    if (count == 0)
        return;
    const auto* bytes = static_cast<const uint8_t*>(data);
    if ((mWriteBitPos & 7) == 0 && (mWriteBitPos >> 3) == mData.size())
    {
        mData.insert(mData.end(), bytes, bytes + count);
        mWriteBitPos += count * 8;
        return;
    }
    for (size_t i = 0; i < count; ++i)
        WriteNumBits(bytes[i], 8);
}

void Buffer::ReadBytes(void* dest, size_t count)
{
    auto* out = static_cast<uint8_t*>(dest);
    if ((mReadBitPos & 7) == 0 && mReadBitPos <= mWriteBitPos)
    {
        // Whole bytes straight from the data; the rest (past the end) is zero.
        const size_t start = mReadBitPos >> 3;
        const size_t available = (mWriteBitPos - mReadBitPos) / 8;
        const size_t copied = std::min(count, available);
        if (copied > 0)
            std::memcpy(out, mData.data() + start, copied);
        mReadBitPos += copied * 8;
        out += copied;
        count -= copied;
    }
    for (size_t i = 0; i < count; ++i)
        out[i] = ReadByte();
}

void Buffer::SetData(const std::vector<uint8_t>& bytes)
{
    SetData(bytes.data(), bytes.size());
}

void Buffer::SetData(const void* data, size_t count)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    mData.assign(bytes, bytes + count);
    mWriteBitPos = count * 8;
    mReadBitPos = 0;
}

void Buffer::Clear()
{
    mData.clear();
    mWriteBitPos = 0;
    mReadBitPos = 0;
}

} // namespace Lumo

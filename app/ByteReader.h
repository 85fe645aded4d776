#pragma once
// Bounded little-endian reading of outside bytes (pack directories, demo
// files). Every read checks the bytes left first; a read that does not fit
// fails, leaves the position where it was and marks the reader failed, so a
// parser can read a whole record and test Ok() once.
#include <cstddef>
#include <cstdint>
#include <string>

namespace Lumo {

class ByteReader
{
public:
    ByteReader(const uint8_t* data, size_t size) : mData(data), mSize(size) {}

    bool Ok() const { return mOk; }
    size_t Position() const { return mPos; }
    size_t Remaining() const { return mSize - mPos; }
    bool AtEnd() const { return mPos == mSize; }

    uint8_t U8() { return static_cast<uint8_t>(Little(1)); }
    uint16_t U16() { return static_cast<uint16_t>(Little(2)); }
    uint32_t U32() { return static_cast<uint32_t>(Little(4)); }
    int32_t I32() { return static_cast<int32_t>(U32()); }
    uint64_t U64() { return Little(8); }

    // `count` bytes as text; "" (and failed) when they are not all there.
    std::string Text(size_t count)
    {
        if (!Has(count))
            return std::string();
        std::string text(reinterpret_cast<const char*>(mData + mPos), count);
        mPos += count;
        return text;
    }

    // A pointer to the next `count` bytes, skipping them; null (and failed)
    // when they are not all there.
    const uint8_t* Skip(size_t count)
    {
        if (!Has(count))
            return nullptr;
        const uint8_t* start = mData + mPos;
        mPos += count;
        return start;
    }

private:
    bool Has(size_t count)
    {
        if (mOk && count <= mSize - mPos)
            return true;
        mOk = false;
        return false;
    }

    uint64_t Little(size_t count)
    {
        if (!Has(count))
            return 0;
        uint64_t value = 0;
        for (size_t i = 0; i < count; ++i)
            value |= static_cast<uint64_t>(mData[mPos + i]) << (8 * i);
        mPos += count;
        return value;
    }

    const uint8_t* mData;
    size_t mSize;
    size_t mPos = 0;
    bool mOk = true;
};

} // namespace Lumo

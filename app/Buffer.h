#pragma once
// A growable byte buffer with bit-granular write and read positions. Bits are
// packed least-significant first: the first bit written lands in bit 0 of byte
// 0, the ninth in bit 0 of byte 1. Multi-byte values are little-endian. Every
// operation works at any bit position, aligned or not.
//
// Writes always append at the write position; reads consume from the read
// position. Reading past the written data gives 0 (false, "", zero bytes) and
// still moves the read position, so AtEnd() turns true.
//
// A Buffer is a plain value; one thread at a time may use it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Lumo {

class Buffer
{
public:
    // The longest string WriteString stores; longer ones are cut to this length.
    static constexpr size_t kMaxStringLength = 0x7FFF;

    void WriteByte(uint8_t value);
    // The low `bits` bits of value (0..32), least-significant first.
    void WriteNumBits(uint32_t value, int bits);
    // One whole byte: 1 for true, 0 for false.
    void WriteBool(bool value);
    void WriteInt16(int16_t value);
    void WriteInt32(int32_t value);
    // The length in bytes as an int16, then the bytes (no terminator). Strings
    // longer than kMaxStringLength bytes are cut to that length.
    void WriteString(const std::string& text);
    void WriteBytes(const void* data, size_t count);

    uint8_t ReadByte();
    // `bits` bits (0..32), least-significant first; bits past the end are 0.
    uint32_t ReadNumBits(int bits);
    // One whole byte; any non-zero value is true.
    bool ReadBool();
    int16_t ReadInt16();
    int32_t ReadInt32();
    // Reads what WriteString wrote. A negative length gives ""; a length longer
    // than the data left gives the bytes that are there and ends the reading.
    std::string ReadString();
    // Fills all `count` bytes of dest; the bytes past the end are 0.
    void ReadBytes(void* dest, size_t count);

    // True once the read position has reached the write position.
    bool AtEnd() const { return mReadBitPos >= mWriteBitPos; }
    // Bytes holding written data (a partly written last byte counts).
    size_t GetDataLen() const { return mData.size(); }
    const uint8_t* GetDataPtr() const { return mData.data(); }
    const std::vector<uint8_t>& GetData() const { return mData; }
    size_t GetWriteBitPos() const { return mWriteBitPos; }
    size_t GetReadBitPos() const { return mReadBitPos; }

    // Replaces the contents: the write position goes to the end of the bytes,
    // the read position to the front.
    void SetData(const std::vector<uint8_t>& bytes);
    void SetData(const void* data, size_t count);
    // Empties the buffer and resets both positions.
    void Clear();
    // Moves the read position back to the first bit.
    void SeekFront() { mReadBitPos = 0; }

private:
    std::vector<uint8_t> mData;
    size_t mWriteBitPos = 0;
    size_t mReadBitPos = 0;
};

} // namespace Lumo

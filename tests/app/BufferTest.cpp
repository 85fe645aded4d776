#include "app/Buffer.h"

#include <gtest/gtest.h>

namespace Lumo {
namespace {

TEST(Buffer, PacksBitsLeastSignificantFirst)
{
    Buffer buffer;
    buffer.WriteNumBits(1, 1);
    buffer.WriteNumBits(0b10, 2);
    buffer.WriteByte(0xFF);
    ASSERT_EQ(buffer.GetDataLen(), 2u);
    EXPECT_EQ(buffer.GetDataPtr()[0], 0xFD);
    EXPECT_EQ(buffer.GetDataPtr()[1], 0x07);
    EXPECT_EQ(buffer.ReadNumBits(1), 1u);
    EXPECT_EQ(buffer.ReadNumBits(2), 0b10u);
    EXPECT_EQ(buffer.ReadByte(), 0xFF);
    EXPECT_TRUE(buffer.AtEnd());
}

TEST(Buffer, NumbersAreLittleEndian)
{
    Buffer buffer;
    buffer.WriteInt16(0x1234);
    buffer.WriteInt32(0x12345678);
    buffer.WriteString("ab");
    const std::vector<uint8_t> expected = {0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 2, 0, 'a', 'b'};
    EXPECT_EQ(buffer.GetData(), expected);
}

// Every operation at every bit offset reads back what was written.
TEST(Buffer, RoundTripAtEveryBitOffset)
{
    const uint8_t raw[5] = {0, 0x80, 0xFF, 7, 42};
    for (int offset = 0; offset < 8; ++offset)
    {
        Buffer buffer;
        buffer.WriteNumBits(0x5A, offset);
        buffer.WriteByte(0xC3);
        buffer.WriteBool(true);
        buffer.WriteBool(false);
        buffer.WriteInt16(-2);
        buffer.WriteInt32(static_cast<int32_t>(0x80FF0000u));
        buffer.WriteString("h\xC3\xA9llo");
        buffer.WriteBytes(raw, sizeof(raw));
        buffer.WriteNumBits(0xFFFFFFFFu, 32);
        buffer.WriteNumBits(5, 3);

        EXPECT_EQ(buffer.ReadNumBits(offset), 0x5Au & ((1u << offset) - 1u)) << offset;
        EXPECT_EQ(buffer.ReadByte(), 0xC3) << offset;
        EXPECT_TRUE(buffer.ReadBool());
        EXPECT_FALSE(buffer.ReadBool());
        EXPECT_EQ(buffer.ReadInt16(), -2);
        EXPECT_EQ(static_cast<uint32_t>(buffer.ReadInt32()), 0x80FF0000u);
        EXPECT_EQ(buffer.ReadString(), "h\xC3\xA9llo");
        uint8_t back[5] = {};
        buffer.ReadBytes(back, sizeof(back));
        EXPECT_EQ(std::vector<uint8_t>(back, back + 5), std::vector<uint8_t>(raw, raw + 5)) << offset;
        EXPECT_EQ(buffer.ReadNumBits(32), 0xFFFFFFFFu);
        EXPECT_FALSE(buffer.AtEnd());
        EXPECT_EQ(buffer.ReadNumBits(3), 5u);
        EXPECT_TRUE(buffer.AtEnd()) << offset;
    }
}

TEST(Buffer, ReadingPastTheEndGivesZero)
{
    Buffer buffer;
    EXPECT_EQ(buffer.ReadInt32(), 0);
    EXPECT_TRUE(buffer.AtEnd());

    buffer.Clear();
    buffer.WriteNumBits(0xF, 4);
    EXPECT_EQ(buffer.ReadByte(), 0x0F); // the 4 unwritten bits read as 0
    EXPECT_EQ(buffer.ReadInt16(), 0);
    EXPECT_FALSE(buffer.ReadBool());
    EXPECT_EQ(buffer.ReadString(), "");
    uint8_t bytes[3] = {1, 2, 3};
    buffer.ReadBytes(bytes, 3);
    EXPECT_EQ(bytes[0] | bytes[1] | bytes[2], 0);

    // A string length longer than the data left gives what is there.
    buffer.SetData(std::vector<uint8_t>{5, 0, 'a', 'b'});
    EXPECT_EQ(buffer.ReadString(), "ab");
    EXPECT_TRUE(buffer.AtEnd());
    buffer.SetData(std::vector<uint8_t>{0xFF, 0xFF, 'a'});
    EXPECT_EQ(buffer.ReadString(), ""); // negative length
}

TEST(Buffer, SetDataSeekFrontAndClear)
{
    Buffer buffer;
    buffer.SetData(std::vector<uint8_t>{1, 0, 0, 0});
    EXPECT_EQ(buffer.ReadInt32(), 1);
    buffer.SeekFront();
    EXPECT_EQ(buffer.ReadByte(), 1);
    buffer.WriteByte(9); // appends after the set data
    EXPECT_EQ(buffer.GetDataLen(), 5u);
    buffer.Clear();
    EXPECT_EQ(buffer.GetDataLen(), 0u);
    EXPECT_TRUE(buffer.AtEnd());

    std::string longText(Buffer::kMaxStringLength + 10, 'x');
    buffer.WriteString(longText);
    EXPECT_EQ(buffer.ReadString().size(), Buffer::kMaxStringLength);
}

} // namespace
} // namespace Lumo

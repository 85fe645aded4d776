#include "app/DemoFile.h"
#include "platform/DebugOutput.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

namespace Lumo {
namespace {

DemoFile SampleDemo()
{
    DemoFile demo;
    demo.seed = 0xDEADBEEF;
    demo.assetHash = 0x0123456789ABCDEFull;
    demo.loadedUpdate = 12;

    DemoRecord click;
    click.update = 3;
    click.input.type = Platform::EventType::MouseDown;
    click.input.x = -5;
    click.input.y = 700;
    click.input.button = Platform::MOUSE_RIGHT;
    click.input.clickCount = 2;
    click.input.shift = true;
    click.input.alt = true;
    DemoRecord key = click;
    key.update = 3;
    key.input = Platform::InputEvent{};
    key.input.type = Platform::EventType::KeyChar;
    key.input.ch = 0x1D11E;
    key.input.keyCode = 0x41;
    key.input.wheel = -3;
    key.input.ctrl = true;

    DemoRecord exists;
    exists.kind = DemoRecordKind::FileExists;
    exists.update = 10;
    exists.fileName = "images\\tiles.png";
    exists.result = true;
    DemoRecord loaded;
    loaded.kind = DemoRecordKind::FileLoaded;
    loaded.update = 11;
    loaded.fileName = "tumbrix.dat";
    loaded.result = true;
    loaded.bytes = {0, 1, 2, 255};
    DemoRecord failed = loaded;
    failed.update = 11;
    failed.result = false;
    failed.bytes.clear();

    demo.records = {click, key, exists, loaded, failed};
    demo.totalUpdates = 500;
    return demo;
}

void ExpectSame(const DemoFile& a, const DemoFile& b)
{
    EXPECT_EQ(a.seed, b.seed);
    EXPECT_EQ(a.assetHash, b.assetHash);
    EXPECT_EQ(a.loadedUpdate, b.loadedUpdate);
    EXPECT_EQ(a.totalUpdates, b.totalUpdates);
    ASSERT_EQ(a.records.size(), b.records.size());
    for (size_t i = 0; i < a.records.size(); ++i)
    {
        const DemoRecord& x = a.records[i];
        const DemoRecord& y = b.records[i];
        EXPECT_EQ(x.kind, y.kind) << i;
        EXPECT_EQ(x.update, y.update) << i;
        EXPECT_EQ(x.fileName, y.fileName) << i;
        EXPECT_EQ(x.result, y.result) << i;
        EXPECT_EQ(x.bytes, y.bytes) << i;
        const Platform::InputEvent& e = x.input;
        const Platform::InputEvent& f = y.input;
        EXPECT_TRUE(e.type == f.type && e.x == f.x && e.y == f.y && e.button == f.button &&
                    e.clickCount == f.clickCount && e.wheel == f.wheel && e.keyCode == f.keyCode && e.ch == f.ch &&
                    e.shift == f.shift && e.ctrl == f.ctrl && e.alt == f.alt)
            << i;
    }
}

std::vector<uint8_t> Bytes(const DemoFile& demo)
{
    Buffer buffer;
    demo.Write(buffer);
    return buffer.GetData();
}

TEST(DemoFile, RoundTripThroughBufferAndFile)
{
    const DemoFile demo = SampleDemo();
    const std::vector<uint8_t> bytes = Bytes(demo);
    DemoFile back;
    std::string error;
    ASSERT_TRUE(back.Parse(bytes.data(), bytes.size(), error)) << error;
    ExpectSame(demo, back);

    const std::string path = testing::TempDir() + "lumo_core_demo.dmo";
    ASSERT_TRUE(demo.Save(path));
    DemoFile loaded;
    ASSERT_TRUE(loaded.Load(path, error)) << error;
    ExpectSame(demo, loaded);
    std::filesystem::remove(path);

    DemoFile empty;
    const std::vector<uint8_t> emptyBytes = Bytes(empty);
    ASSERT_TRUE(back.Parse(emptyBytes.data(), emptyBytes.size(), error)) << error;
    EXPECT_TRUE(back.records.empty());
    EXPECT_EQ(back.loadedUpdate, DemoFile::kNeverLoaded);
}

TEST(DemoFile, CorruptDemosAreRefused)
{
    const std::vector<uint8_t> good = Bytes(SampleDemo());
    DemoFile demo;
    std::string error;
    for (size_t length = 0; length < good.size(); ++length)
    {
        error.clear();
        EXPECT_FALSE(demo.Parse(good.data(), length, error)) << length;
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(demo.records.empty());
    }

    // Header 28 bytes; the first record (input) starts there: kind, update,
    // type, x, y, button...
    auto refused = [&](size_t at, std::vector<uint8_t> patch, const char* expected) {
        std::vector<uint8_t> bytes = good;
        std::copy(patch.begin(), patch.end(), bytes.begin() + static_cast<long>(at));
        EXPECT_FALSE(demo.Parse(bytes.data(), bytes.size(), error)) << expected;
        EXPECT_NE(error.find(expected), std::string::npos) << error;
    };
    refused(0, {'X'}, "bad magic");
    refused(8, {2}, "version");
    refused(28, {9}, "unknown kind");
    refused(29, {0, 0, 0, 1}, "goes back");
    refused(33, {99}, "bad input");
    refused(42, {3}, "bad input");             // button
    refused(24, {0xFF, 0xFF, 0, 0}, "loading"); // loaded after the last update

    // Update numbers the application's signed count never reaches: an end
    // marker, a record or the loading update at 2^31 or beyond.
    for (uint32_t update : {0x80000000u, 0xFFFFFFFEu})
    {
        DemoFile far;
        far.totalUpdates = update;
        std::vector<uint8_t> bytes = Bytes(far);
        ASSERT_EQ(bytes.size(), 33u);
        EXPECT_FALSE(demo.Parse(bytes.data(), bytes.size(), error)) << update;
        EXPECT_NE(error.find("beyond the last possible"), std::string::npos) << error;
        far = SampleDemo();
        far.records.back().update = update;
        bytes = Bytes(far);
        EXPECT_FALSE(demo.Parse(bytes.data(), bytes.size(), error)) << update;
        EXPECT_NE(error.find("record 4: update number beyond"), std::string::npos) << error;
        far = SampleDemo();
        far.loadedUpdate = update;
        bytes = Bytes(far);
        EXPECT_FALSE(demo.Parse(bytes.data(), bytes.size(), error)) << update;
        EXPECT_NE(error.find("loading completes at an update beyond"), std::string::npos) << error;
    }
    DemoFile longest;
    longest.loadedUpdate = 0x7FFFFFFF;
    longest.totalUpdates = 0x7FFFFFFF;
    const std::vector<uint8_t> longestBytes = Bytes(longest);
    EXPECT_TRUE(demo.Parse(longestBytes.data(), longestBytes.size(), error)) << error;
    EXPECT_EQ(demo.totalUpdates, 0x7FFFFFFFu);

    std::vector<uint8_t> trailing = good;
    trailing.push_back(0);
    EXPECT_FALSE(demo.Parse(trailing.data(), trailing.size(), error));
    EXPECT_NE(error.find("after the end"), std::string::npos) << error;

    // A file that cannot be read says why.
    Platform::ClearDebugOutput();
    EXPECT_FALSE(demo.Load(testing::TempDir() + "no-such-demo.dmo", error));
    EXPECT_NE(error.find("no-such-demo.dmo: cannot read the file (No such file or directory)"), std::string::npos)
        << error;
    const auto lines = Platform::GetDebugOutputLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("DEMO: ", 0), 0u);
    EXPECT_FALSE(demo.Load(testing::TempDir(), error));
    EXPECT_NE(error.find("(Is a directory)"), std::string::npos) << error;
}

// Input that no screen or mouse gives: positions far off the screen and click
// counts that are not a small number (the right button's count is negated
// downstream, so INT_MIN must never get there).
TEST(DemoFile, InputFarOffTheScreenOrWithAStrangeClickCountIsRefused)
{
    struct Case
    {
        Platform::EventType type;
        int button, x, y, clickCount;
        const char* expected;
    };
    using Platform::EventType;
    const Case cases[] = {
        {EventType::MouseMove, 0, INT32_MAX, 300, 1, "position far outside the screen"},
        {EventType::MouseMove, 0, INT32_MIN, 300, 1, "position far outside the screen"},
        {EventType::MouseMove, 0, 400, INT32_MAX, 1, "position far outside the screen"},
        {EventType::MouseMove, 0, 400, -65537, 1, "position far outside the screen"},
        {EventType::MouseUp, 0, 65537, 0, 1, "position far outside the screen"},
        {EventType::MouseDown, Platform::MOUSE_RIGHT, 400, 300, INT32_MIN, "click count"},
        {EventType::MouseDown, Platform::MOUSE_LEFT, 400, 300, INT32_MAX, "click count"},
        {EventType::MouseUp, Platform::MOUSE_LEFT, 400, 300, -1, "click count"},
        {EventType::MouseDown, Platform::MOUSE_LEFT, 400, 300, 4, "click count"},
        {EventType::KeyDown, 0, 0, 0, 1000, "click count"},
    };
    for (const Case& c : cases)
    {
        DemoFile demo = SampleDemo();
        DemoRecord& record = demo.records[0];
        record.input.type = c.type;
        record.input.button = c.button;
        record.input.x = c.x;
        record.input.y = c.y;
        record.input.clickCount = c.clickCount;
        const std::vector<uint8_t> bytes = Bytes(demo);
        std::string error;
        DemoFile back;
        EXPECT_FALSE(back.Parse(bytes.data(), bytes.size(), error)) << c.x << "," << c.y << " " << c.clickCount;
        EXPECT_EQ(error, std::string("record 0: bad input message (") + c.expected + ")");
        EXPECT_TRUE(back.records.empty());
    }

    // The edges are still input: off the window by a screen's width or more,
    // and every count a mouse gives.
    DemoFile demo = SampleDemo();
    demo.records[0].input.x = -65536;
    demo.records[0].input.y = 65536;
    demo.records[0].input.clickCount = 3;
    demo.records[1].input.clickCount = 0;
    std::vector<uint8_t> bytes = Bytes(demo);
    DemoFile back;
    std::string error;
    ASSERT_TRUE(back.Parse(bytes.data(), bytes.size(), error)) << error;
    ExpectSame(demo, back);

    // Through Load the refusal names the file and is logged like any damaged demo.
    demo.records[0].input.x = INT32_MIN;
    const std::string path = testing::TempDir() + "lumo_core_far_demo.dmo";
    ASSERT_TRUE(demo.Save(path));
    Platform::ClearDebugOutput();
    EXPECT_FALSE(back.Load(path, error));
    std::filesystem::remove(path);
    EXPECT_EQ(error, path + ": record 0: bad input message (position far outside the screen)");
    const auto lines = Platform::GetDebugOutputLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "DEMO: " + error);
}

TEST(DemoFile, HugeByteCountIsRefusedWithoutAllocating)
{
    DemoFile demo;
    DemoRecord loaded;
    loaded.kind = DemoRecordKind::FileLoaded;
    loaded.fileName = "f";
    loaded.result = true;
    loaded.bytes = {1};
    demo.records = {loaded};
    std::vector<uint8_t> bytes = Bytes(demo);
    // kind(1) update(4) nameLength(2) name(1) ok(1) -> the count follows.
    const size_t countAt = 28 + 1 + 4 + 2 + 1 + 1;
    bytes[countAt + 3] = 0x7F;
    std::string error;
    EXPECT_FALSE(demo.Parse(bytes.data(), bytes.size(), error));
    EXPECT_NE(error.find("truncated"), std::string::npos) << error;
}

} // namespace
} // namespace Lumo

#include "app/DemoEventCodec.h"

#include "app/DemoEventType.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using Tandry::DemoEventCodec;
using Tandry::DemoStreamFields;

std::vector<uint8_t> Bytes(const Tandry::Buffer& buffer)
{
    const uint8_t* data = buffer.GetData();
    return std::vector<uint8_t>(data, data + buffer.GetByteSize());
}

struct GoldenCase {
    std::string name;
    std::function<void(DemoEventCodec&)> write;
    int bits;
    std::vector<uint8_t> bytes;
};

TEST(DemoEventCodec, WritesTheGoldenBitsOfEachEvent)
{
    const std::vector<GoldenCase> cases = {
        {"key down 40 updates on", [](DemoEventCodec& c) { c.WriteKey(40, Tandry::kDemoKeyDown, 0x41); }, 38,
         {0xEF, 0xBF, 0xAF, 0x46, 0x10}},
        {"small move", [](DemoEventCodec& c) { c.WriteMousePosition(0, 131, 70); }, 18, {0xD0, 0x27, 0x02}},
        {"large move", [](DemoEventCodec& c) { c.WriteMousePosition(0, 132, 100); }, 34,
         {0x00, 0x10, 0x02, 0x19, 0x00}},
        {"no move", [](DemoEventCodec& c) { c.WriteMousePosition(0, 100, 100); }, 0, {}},
        {"right double click", [](DemoEventCodec& c) { c.WriteMouseButton(0, true, -2); }, 10, {0x70, 0x03}},
        {"wheel", [](DemoEventCodec& c) { c.WriteWheel(0, -240 / 120); }, 18, {0xA0, 0xFA, 0x03}},
        {"character", [](DemoEventCodec& c) { c.WriteKeyChar(0, L'\u00E9'); }, 27, {0xA0, 0x4C, 0x07, 0x00}},
    };
    for (const GoldenCase& test : cases) {
        SCOPED_TRACE(test.name);
        DemoStreamFields fields;
        fields.nextEventUpdate = 0;
        fields.mouseX = 100;
        fields.mouseY = 100;
        DemoEventCodec codec(fields.State());
        test.write(codec);
        EXPECT_EQ(fields.buffer.GetDataBitSize(), test.bits);
        EXPECT_EQ(Bytes(fields.buffer), test.bytes);
    }
}

TEST(DemoEventCodec, PaddingEventsCarryLongGapsAndCountAsHeaders)
{
    DemoStreamFields fields;
    DemoEventCodec codec(fields.State());
    codec.WriteKey(40, Tandry::kDemoKeyDown, 0x41);
    EXPECT_EQ(fields.nextEventUpdate, 40);
    EXPECT_EQ(fields.eventIndex, 2);

    // Read back: two Padding headers at 15 and 30, then the key at 40.
    fields.buffer.SetReadBitPos(0);
    const std::vector<std::pair<int, int>> headers = {{15, Tandry::kDemoPadding}, {30, Tandry::kDemoPadding},
                                                      {40, Tandry::kDemoKeyDown}};
    fields.nextEventUpdate = 0;
    for (const auto& [update, type] : headers) {
        fields.needHeader = true;
        EXPECT_TRUE(codec.ReadHeader(update));
        EXPECT_FALSE(fields.eventIsMouse);
        EXPECT_EQ(fields.eventType, type);
    }
    EXPECT_EQ(fields.buffer.GetBits(8, false), 0x41u);
}

TEST(DemoEventCodec, AClickCodeOfMinusTwoReadsBackSignExtended)
{
    DemoStreamFields fields;
    DemoEventCodec codec(fields.State());
    codec.WriteMouseButton(0, true, -2);
    fields.buffer.SetReadBitPos(6);
    EXPECT_EQ(fields.buffer.GetBits(1, false), 1u);
    EXPECT_EQ(static_cast<int32_t>(fields.buffer.GetBits(3, true)), -2);
}

TEST(DemoEventCodec, AnAbsoluteMoveOffTheScreenIsClampedAndTheNextRelativeMoveCarriesTheRest)
{
    DemoStreamFields fields;
    fields.mouseX = 100;
    fields.mouseY = 3;
    DemoEventCodec codec(fields.State());
    codec.WriteMousePosition(0, -5, 3);
    EXPECT_EQ(fields.mouseX, 0);
    EXPECT_EQ(fields.mouseY, 3);
    codec.WriteMousePosition(0, -3, 3);
    EXPECT_EQ(fields.mouseX, -3);

    fields.buffer.SetReadBitPos(0);
    fields.buffer.GetBits(4 + 1, false);
    EXPECT_EQ(fields.buffer.GetBits(5, false), static_cast<uint32_t>(Tandry::kDemoAbsoluteMouseMove));
    EXPECT_EQ(fields.buffer.GetBits(12, false), 0u);
    EXPECT_EQ(fields.buffer.GetBits(12, false), 3u);
    fields.buffer.GetBits(4, false);
    EXPECT_EQ(fields.buffer.GetBits(1, false), 1u);
    EXPECT_EQ(fields.buffer.GetBits(1, false), static_cast<uint32_t>(Tandry::kDemoRelativeMouseMove));
    EXPECT_EQ(static_cast<int32_t>(fields.buffer.GetBits(6, true)), -3);
    EXPECT_EQ(static_cast<int32_t>(fields.buffer.GetBits(6, true)), 0);
}

TEST(DemoEventCodec, AbsoluteMovesBeyondTheFieldClampAtItsTop)
{
    DemoStreamFields fields;
    DemoEventCodec codec(fields.State());
    codec.WriteMousePosition(0, 5000, -70000);
    EXPECT_EQ(fields.mouseX, 4095);
    EXPECT_EQ(fields.mouseY, 0);
}

TEST(DemoEventCodec, AWholeHeaderMustRemainForAnEventToBeRead)
{
    // Bit counts of what is left and whether a header fits: the zero padding
    // of a last byte (up to 7 bits) never holds one.
    struct Case {
        std::vector<uint8_t> bytes;
        int skipBits;
        bool available;
    };
    const std::vector<Case> cases = {
        {{0x00}, 0, false},        // 8 zero bits: a non-mouse header needs 10
        {{0x00}, 1, false},        // 7 bits
        {{0x10}, 2, false},        // 6 bits, mouse flag not set
        {{0x10, 0x00}, 0, true},   // mouse flag at bit 4: 6 bits suffice
        {{0x10}, 0, true},         // the same, in one byte
        {{0x00, 0x00}, 6, true},   // 10 bits exactly
        {{0x00, 0x00}, 7, false},  // 9 bits
        {{}, 0, false},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        DemoStreamFields fields;
        if (!cases[i].bytes.empty())
            fields.buffer.PutBytes(cases[i].bytes.data(), static_cast<int>(cases[i].bytes.size()));
        fields.buffer.SetReadBitPos(cases[i].skipBits);
        DemoEventCodec codec(fields.State());
        EXPECT_EQ(codec.HeaderAvailable(), cases[i].available);
        EXPECT_EQ(fields.buffer.GetReadBitPos(), cases[i].skipBits);
    }
}

} // namespace

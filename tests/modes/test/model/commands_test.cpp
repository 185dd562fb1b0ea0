// Test and measurement commands as they go on the wire, and the names the command line takes.
#include "modes/test/model/testcommands.h"
#include "modes/test/model/testoperations.h"

#include <gtest/gtest.h>

namespace tolvan::testmode {
namespace {

const ContentEntry& test(int index) {
    return TestLists::entries(ContentList::Tests)[static_cast<std::size_t>(index)];
}

const ContentEntry& measurement(int index) {
    return TestLists::entries(ContentList::Measurements)[static_cast<std::size_t>(index)];
}

TEST(SlotEncoding, OutputControlIsSevenBitsThenTheEighth) {
    EXPECT_EQ(TestCommands::outputControlBytes(200), (std::array<std::uint8_t, 2>{72, 1}));
    EXPECT_EQ(TestCommands::outputControlBytes(127), (std::array<std::uint8_t, 2>{127, 0}));
    SlotSetting slot;
    slot.on = true;
    slot.channel = 5;
    slot.outputControl = 200;
    slot.selection = 0;
    slot.antenna = 1;
    EXPECT_EQ(TestCommands::slotBlock(slot), (link::Bytes{0x21, 0x25, 0x68, 0x21, 0x20, 0x21}));
    EXPECT_EQ(TestCommands::slot1Block(slot), (link::Bytes{0x25, 0x68, 0x21, 0x20, 0x21}));
}

TEST(TestFrames, BurstReceiveNamesTheOutputSlotFirst) {
    SlotTable table = SlotTable::initial();
    table.outputSlot = 2; // slot 3
    const auto frame = TestCommands::frame(test(2), table);
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(frame->size(), 30u);
    EXPECT_EQ((link::Bytes{(*frame)[0], (*frame)[1], (*frame)[2], (*frame)[3]}),
              (link::Bytes{0x02, 0x50, 0x22, 0x22}));
    link::RequestBuffers buffers;
    ASSERT_TRUE(TestCommands::prepare(test(2), table, buffers));
    EXPECT_EQ(*link::transmitBytesOf(0x5002, buffers), *frame);
}

TEST(TestFrames, EveryEntryFillsItsBufferAtTheCatalogueLength) {
    const SlotTable table = SlotTable::initial();
    for (const ContentList list : {ContentList::Tests, ContentList::Measurements}) {
        for (const ContentEntry& entry : TestLists::entries(list)) {
            link::RequestBuffers buffers;
            ASSERT_TRUE(TestCommands::prepare(entry, table, buffers)) << entry.name;
            const auto sent = link::transmitBytesOf(entry.command, buffers);
            ASSERT_TRUE(sent.has_value()) << entry.name;
            EXPECT_EQ(*sent, *TestCommands::frame(entry, table)) << entry.name;
        }
    }
    EXPECT_EQ(TestCommands::frame(measurement(9), table)->size(), 6u);
}

TEST(TestFrames, ReceiveTestSendsZeroAndSlotOneWithoutItsFlag) {
    SlotTable table = SlotTable::initial();
    table.columns[0].channel = 77;
    table.columns[1].channel = 9; // other slots do not travel
    const auto frame = TestCommands::frame(test(1), table);
    EXPECT_EQ(*frame, link::buildFrame(0x50, link::Bytes{0x21, 0x20, 0x6D, 0x66, 0x20, 0x21, 0x20}));
}

TEST(TestFrames, ListValuesOutOfRangeBuildNothing) {
    for (const int channel : {0, 78}) {
        SlotTable table = SlotTable::initial();
        table.columns[3].channel = channel;
        EXPECT_FALSE(TestCommands::frame(measurement(3), table).has_value());
    }
    SlotTable table = SlotTable::initial();
    table.columns[0].outputControl = 256;
    link::RequestBuffers buffers;
    EXPECT_FALSE(TestCommands::prepare(test(1), table, buffers));
    table = SlotTable::initial();
    table.outputSlot = 4;
    EXPECT_FALSE(TestCommands::frame(test(2), table).has_value());
}

TEST(Measurements, StartingOneSetsItsCommandAsOperationId) {
    const ContentEntry* entry = TestLists::find(ContentList::Measurements, QStringLiteral("3"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->command, 0x6003u);
    EXPECT_EQ(op::screenStateOf(entry->command), op::ScreenState::MeasurementRunning);
    EXPECT_EQ(op::screenStateOf(op::kRssiGainMeasure), op::ScreenState::RssiGainMeasurement);
    EXPECT_EQ(op::screenStateOf(op::kBatteryStateMeasure), op::ScreenState::MeasurementRunning);
    EXPECT_EQ(op::screenStateOf(op::kMeasureIdle), op::ScreenState::ConnectedIdle);
    EXPECT_EQ(op::screenStateOf(0x5003), op::ScreenState::TestRunning);
}

TEST(ControlCommands, PowerOffAndResetAreTheFixedFrames) {
    EXPECT_EQ(link::findCommand(TestCommands::powerOff().code)->fixedFrame,
              (link::Bytes{0x02, 0x30, 0x3B, 0x23, 0x03, 0x2B}));
    EXPECT_EQ(link::findCommand(TestCommands::reset().code)->fixedFrame,
              (link::Bytes{0x02, 0x30, 0x3B, 0x24, 0x03, 0x2C}));
    EXPECT_TRUE(TestCommands::reset().noTimer);
    EXPECT_FALSE(TestCommands::powerOff().noTimer);
}

TEST(ContentNames, TheCommandLineFindsEveryEntryByIndexOrName) {
    const char* tests[] = {"idle",
                           "receive",
                           "burst-receive",
                           "transmit-pn9",
                           "transmit-zero",
                           "burst-transmit-pn9",
                           "burst-transmit-zero",
                           "buttons"};
    const char* measurements[] = {"idle",          "tx-pn9",          "tx-zero", "tx-burst-pn9",
                                  "rssi-gain",     "battery-voltage", "amp-pn9", "amp-zero",
                                  "amp-burst-pn9", "battery-state"};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(TestLists::find(ContentList::Tests, QString::fromUtf8(tests[i])), &test(i));
        EXPECT_EQ(TestLists::find(ContentList::Tests, QString::number(i)), &test(i));
    }
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(TestLists::find(ContentList::Measurements, QString::fromUtf8(measurements[i])),
                  &measurement(i));
    }
    EXPECT_EQ(TestLists::find(ContentList::Tests, QStringLiteral("8")), nullptr);
    EXPECT_EQ(TestLists::find(ContentList::Tests, QStringLiteral(" 1")), nullptr);
    EXPECT_EQ(TestLists::find(ContentList::Tests, QStringLiteral("rssi-gain")), nullptr);
}

} // namespace
} // namespace tolvan::testmode

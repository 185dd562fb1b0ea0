// The calibration blocks as read into the store, shown on the screen and written back.
#include "modes/test/model/calibrationcodec.h"
#include "modes/test/model/calibrationframes.h"
#include "modes/test/model/calibrationwrites.h"
#include "modes/test/model/testdisplay.h"
#include "modes/test/model/testoperations.h"
#include "tests/modes/test/model/responses.h"

#include <gtest/gtest.h>

namespace tolvan::testmode {
namespace {

using link::Bytes;
using testing::dataResponse;
using testing::plus20;

// Blocks as a handset sends them: every byte a proper encoding of its field.
Bytes dacBlock() {
    Bytes b{0x0A, 0x05, 0x0F, 0x0E}; // A = 0x5A, B = 0xEF, low nibble first
    for (std::uint8_t k = 0; k < 8; ++k) {
        b.insert(b.end(), {static_cast<std::uint8_t>(0x70 + k), 0x7F, 0x01, 0x40, 0x0F});
    }
    return b;
}

Bytes rssiBlock() {
    // Antenna 1: 0x012C, 0xCBB8; C = -2, D = 0x7F; antenna 2: 0x8001, 0xFFFF.
    return {0x2C, 0x02, 0x00, 0x38, 0x17, 0x03, 0xFE, 0x7F, 0x01, 0x00, 0x02, 0x7F, 0x7F, 0x03};
}

Bytes ampBlock() {
    Bytes b;
    for (std::uint8_t k = 0; k < 8; ++k) {
        b.insert(b.end(), {0x3C, static_cast<std::uint8_t>(k), 0x00, 0x00, 0x09});
    }
    return b;
}

class AfterRead : public ::testing::Test {
protected:
    void SetUp() override {
        for (const auto& [code, data] :
             {std::pair{0x1002, dacBlock()}, std::pair{0x1003, rssiBlock()}, std::pair{0x1005, ampBlock()},
              std::pair{0x1006, Bytes{0x0A, 0x05}}, std::pair{0x1103, Bytes{0x0F, 0x07}}}) {
            ASSERT_TRUE(testing::receive(state, store, dataResponse(static_cast<std::uint16_t>(code), data)));
            ASSERT_EQ(state.resultClass, link::rc::kDataReceived);
        }
    }

    link::LinkState state;
    handset::HandsetStore store;
};

TEST_F(AfterRead, EachAntennaShowsItsOwnCoefficients) {
    const CalibrationFields fields = CalibrationCodec::fieldsOf(CalibrationImage::fromStore(store));
    using H2 = CalibrationFields::Hex2;
    EXPECT_EQ(fields.rssi[0][0], (H2{"01", "2C"}));
    EXPECT_EQ(fields.rssi[0][1], (H2{"CB", "B8"}));
    EXPECT_EQ(fields.rssi[1][0], (H2{"80", "01"}));
    EXPECT_EQ(fields.rssi[1][1], (H2{"FF", "FF"}));
    EXPECT_EQ(fields.amp[2], (CalibrationFields::Hex4{"90", "00", "01", "3C"}));
    EXPECT_EQ(fields.dac[7], (CalibrationFields::Hex4{"F8", "00", "7F", "F7"}));
    EXPECT_EQ(fields.referenceClock, 0x5A);
    EXPECT_EQ(fields.backlight, 0x7F);
    EXPECT_EQ(CalibrationImage::fromStore(store).rssiByteC(), -2);
}

TEST_F(AfterRead, UnchangedWritesSendBackWhatWasRead) {
    const CalibrationFields fields = CalibrationCodec::fieldsOf(CalibrationImage::fromStore(store));
    link::RequestBuffers buffers;
    const auto rssi =
        CalibrationWrites::prepare(CorrectionWrite::Rssi, fields, store.prepareWrite(), buffers);
    const auto amp =
        CalibrationWrites::prepare(CorrectionWrite::AmpBias, fields, store.prepareWrite(), buffers);
    ASSERT_TRUE(rssi.ready && amp.ready);
    EXPECT_FALSE(rssi.message || amp.message);
    EXPECT_EQ(link::scriptEntry(rssi.script, 1), 0x0003u);
    EXPECT_EQ(link::scriptEntry(amp.script, 1), 0x0005u);
    EXPECT_EQ(*buffers.get(0x0003), link::buildDataFrame(0x0003, plus20(rssiBlock())));
    EXPECT_EQ(*buffers.get(0x0005), link::buildDataFrame(0x0005, plus20(ampBlock())));
    EXPECT_EQ(CalibrationFrames::frame(0x0002, CalibrationImage::fromStore(store)),
              link::buildDataFrame(0x0002, plus20(dacBlock())));
    EXPECT_EQ(link::transmitBytesOf(0x0003, buffers)->size(), 20u);
    EXPECT_EQ(link::transmitBytesOf(0x0005, buffers)->size(), 46u);
}

TEST_F(AfterRead, AnEditedCoefficientChangesOnlyItsOwnBytes) {
    CalibrationFields fields = CalibrationCodec::fieldsOf(CalibrationImage::fromStore(store));
    fields.rssi[1][0] = {"00", "7G"}; // G is a slip: counts as 0
    link::RequestBuffers buffers;
    const auto prepared =
        CalibrationWrites::prepare(CorrectionWrite::Rssi, fields, store.prepareWrite(), buffers);
    EXPECT_EQ(prepared.message, errorMessage(QStringLiteral("入力ミスです。")));
    Bytes expected = rssiBlock();
    expected[8] = 0x70;
    expected[9] = 0x00;
    expected[10] = 0x00;
    EXPECT_EQ(*buffers.get(0x0003), link::buildDataFrame(0x0003, plus20(expected)));
    // The write's copy holds it; the store takes it only when the handset echoes the write.
    EXPECT_EQ(CalibrationImage::fromStore(store.pendingWrite()).rssiSlope(1), 0x70);
    EXPECT_NE(CalibrationImage::fromStore(store).rssiSlope(1), 0x70);
}

TEST(CalibrationFrames, SingleWritesHaveTheirCatalogueLengths) {
    CalibrationImage image;
    image.setReferenceClock(0xA7);
    image.setBacklightLevel(0x3C);
    link::RequestBuffers buffers;
    for (const std::uint16_t code : CalibrationFrames::imageCodes()) {
        EXPECT_TRUE(CalibrationFrames::fillRequestBuffer(code, image, buffers)) << std::hex << code;
    }
    EXPECT_EQ(*buffers.get(0x0006), link::buildDataFrame(0x0006, Bytes{0x27, 0x2A}));
    EXPECT_EQ(*buffers.get(0x0103), link::buildDataFrame(0x0103, Bytes{0x2C, 0x23}));
    EXPECT_FALSE(CalibrationFrames::fillRequestBuffer(0x0007, image, buffers));
}

TEST(CalibrationFrames, RegisterWriteCarriesAddressNibblesAZeroAndTheData) {
    const auto frame = CalibrationFrames::bbicRegisterFrame(0x3DF, 0xA5);
    ASSERT_TRUE(frame.has_value());
    EXPECT_EQ(*frame, link::buildDataFrame(0x0007, Bytes{0x2F, 0x2D, 0x23, 0x20, 0x25, 0x2A}));
    link::RequestBuffers buffers;
    EXPECT_TRUE(buffers.set(0x0007, *frame));
    EXPECT_FALSE(CalibrationFrames::bbicRegisterFrame(0x3E0, 0).has_value());
}

TEST(CalibrationImage, NibbleAnswersAlwaysSelectAListEntry) {
    // Stray upper bits in an answer must not push the index past the 256-entry list.
    CalibrationImage image;
    image.backlight = {0x1A, 0x35};
    image.refClock = {0xF3, 0x0C};
    EXPECT_EQ(image.backlightLevel(), 0x5A);
    EXPECT_EQ(image.referenceClock(), 0xC3);
    image.setBacklightLevel(0x01);
    EXPECT_EQ(image.backlight, (std::array<std::uint8_t, 2>{0x11, 0x30}));
}

TEST(CalibrationScreen, BacklightIsNotOfferedOnAVa100) {
    EXPECT_FALSE(TestDisplay::backlightEnabled(2));
    EXPECT_TRUE(TestDisplay::backlightEnabled(3));
    EXPECT_TRUE(TestDisplay::backlightEnabled(4));
}

TEST(CalibrationScreen, CalculateButtonsFollowTheirSlotAndSlotOneDacNever) {
    SlotTable table = SlotTable::initial();
    table.columns[2].on = true;
    EXPECT_FALSE(TestDisplay::dacCalculateEnabled(0, table));
    EXPECT_FALSE(TestDisplay::dacCalculateEnabled(1, table));
    EXPECT_TRUE(TestDisplay::ampCalculateEnabled(1, table));
    EXPECT_FALSE(TestDisplay::dacCalculateEnabled(2, table));
    EXPECT_TRUE(TestDisplay::dacCalculateEnabled(5, table));
    EXPECT_FALSE(TestDisplay::ampCalculateEnabled(7, table));
    EXPECT_FALSE(TestDisplay::ampCalculateEnabled(8, table));
}

} // namespace
} // namespace tolvan::testmode

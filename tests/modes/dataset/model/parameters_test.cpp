// Parameter encodings between the data setting screen, the system parameter image and the
// write frames.
#include "modes/dataset/model/datasetcodec.h"
#include "modes/dataset/model/datasetlists.h"
#include "modes/dataset/model/datasetrules.h"
#include "modes/dataset/model/systemparamframes.h"
#include "tests/modes/dataset/printvalues.h"

#include <gtest/gtest.h>

namespace tolvan::dataset {
namespace {

using link::Bytes;
using V = DataSetScreenValues;

// Payload bytes of a write frame as the handset decodes them (0x20 removed, wrapping).
Bytes decodedPayload(std::uint16_t code, const SystemParamImage& image) {
    Bytes out;
    for (const std::uint8_t b : SystemParamFrames::payload(code, image)) {
        out.push_back(static_cast<std::uint8_t>(b - 0x20));
    }
    return out;
}

// A handset's answer to a write: the payload stored as the block the read returns.
void storeAsRead(std::uint16_t writeCode, const SystemParamImage& from, SystemParamImage& into) {
    const Bytes data = decodedPayload(writeCode, from);
    auto block = into.block(static_cast<std::uint16_t>(writeCode | 0x1000));
    std::copy_n(data.begin(), std::min(data.size(), block.size()), block.begin());
}

V valuesOf(const SystemParamImage& image, std::uint32_t model = 2) {
    return DataSetCodec::decode(image, model, QString());
}

TEST(ParameterEncoding, HandoverLevelIsStoredAndSentWithItsOffset) {
    SystemParamImage image;
    V v = valuesOf(image);
    v.handoverLevels[V::StandbySelect] = DataSetLists::indexOf(DataSetLists::handoverLevel(), "45");
    DataSetCodec::encode(v, 2, image);
    EXPECT_EQ(image.levels[SystemParamImage::StandbySelect], 79);
    EXPECT_EQ(SystemParamFrames::payload(0x0401, image)[0], 79 + 0x20);
    EXPECT_EQ(valuesOf(image).handoverLevels[V::StandbySelect], 35);
}

TEST(ParameterEncoding, HiddenSeamlessLevelIsStoredAsItself) {
    SystemParamImage image;
    V v = valuesOf(image);
    v.seamlessProcessLevel = DataSetLists::indexOf(DataSetLists::seamlessLevel(), "45");
    DataSetCodec::encode(v, 2, image);
    EXPECT_EQ(image.channel[SystemParamImage::SeamlessProcess], 45);
    EXPECT_EQ(decodedPayload(0x0406, image)[SystemParamImage::SeamlessProcess], 45);
}

TEST(ParameterEncoding, FerThresholdSplitsItsEighthBitIntoTheNextByte) {
    SystemParamImage image;
    V v = valuesOf(image);
    v.ferThreshold = 200;
    DataSetCodec::encode(v, 2, image);
    const Bytes sent = decodedPayload(0x0401, image);
    EXPECT_EQ(sent[5], 0x48);
    EXPECT_EQ(sent[6], 0x01);
    EXPECT_EQ(valuesOf(image).ferThreshold, 200);
}

TEST(ParameterEncoding, IntervalUsesTheSameSplitAndIsShownOneBelow) {
    SystemParamImage image;
    V v = valuesOf(image);
    v.interval = DataSetLists::indexOf(DataSetLists::interval(), "255");
    DataSetCodec::encode(v, 2, image);
    EXPECT_EQ(image.systemCall[5], 0x7F);
    EXPECT_EQ(image.systemCall[6], 0x01);
    EXPECT_EQ(valuesOf(image).interval, 254);
}

TEST(ParameterEncoding, OutOfRangeLevelShowsNothingAndWritesFortyThree) {
    SystemParamImage image;
    image.levels = {120, 43, 44, 114, 115, 0, 0};
    V v = valuesOf(image);
    EXPECT_EQ(v.handoverLevels, (std::array<int, 5>{V::kNone, V::kNone, 0, 70, V::kNone}));
    DataSetCodec::encode(v, 2, image);
    EXPECT_EQ(image.levels[0], 43);
    EXPECT_EQ(image.levels[1], 43);
    EXPECT_EQ(image.levels[4], 43);
    EXPECT_EQ(SystemParamFrames::payload(0x0401, image)[0], 43 + 0x20);
}

TEST(ParameterEncoding, PsIdRowEmptiesTheBoxThatGoesPastTheLimit) {
    std::array<QString, 9> boxes{"2", "6", "8", "4", "3", "5", "4", "5", "5"};
    auto entry = DataSetRules::applyDigitEntry(boxes, 8, DataSetRules::kPsIdLimit);
    EXPECT_FALSE(entry.emptied);
    EXPECT_EQ(entry.focus, 8); // the ninth box keeps the focus
    boxes[8] = "6";
    entry = DataSetRules::applyDigitEntry(boxes, 8, DataSetRules::kPsIdLimit);
    EXPECT_TRUE(entry.emptied);
    EXPECT_TRUE(boxes[8].isEmpty());
    EXPECT_EQ(entry.focus, 8);
    // The emptied box counts as 0 in the write.
    SystemParamImage image;
    V v = valuesOf(image);
    v.psId = boxes;
    DataSetCodec::encode(v, 2, image);
    EXPECT_EQ(image.psIdValue(), 268435450u);
    // A digit moves the focus on; an empty box does not.
    boxes[2] = "1";
    EXPECT_EQ(DataSetRules::applyDigitEntry(boxes, 2, DataSetRules::kPsIdLimit).focus, 3);
    boxes[2].clear();
    EXPECT_EQ(DataSetRules::applyDigitEntry(boxes, 2, DataSetRules::kPsIdLimit).focus, 2);
}

TEST(ParameterEncoding, PsIdGroupsKeepTheirEighthBitsButSendSevenBits) {
    SystemParamImage image;
    image.psId = {0x80, 0x80, 0x80, 0x80};
    V v = valuesOf(image);
    EXPECT_EQ(v.psId, DataSetCodec::digitRow(0));
    v.psId = DataSetCodec::digitRow(268435455);
    DataSetCodec::encode(v, 2, image);
    EXPECT_EQ(image.psId, (std::array<std::uint8_t, 4>{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(SystemParamFrames::frame(0x0201, image),
              (Bytes{0x02, 0x30, 0x22, 0x21, 0x9F, 0x9F, 0x9F, 0x9F, 0x03, 0x30}));
}

TEST(ParameterEncoding, AdditionalIdKeepsTheSpareBitsOfBothBytes) {
    SystemParamImage image;
    image.additionalIds[0] = 0x80;
    image.additionalIds[1] = 0xC0;
    V v = valuesOf(image);
    v.additionalIds[0] = {1, 15, 15, 15};
    DataSetCodec::encode(v, 2, image);
    EXPECT_EQ(image.additionalId(0), 0x1FFF);
    EXPECT_EQ(image.additionalIds[0], 0xFF);
    EXPECT_EQ(image.additionalIds[1], 0xFF);
    EXPECT_EQ(valuesOf(image).additionalIds[0], (std::array<int, 4>{1, 15, 15, 15}));
    // All eight are stored, whatever the count says; IDs 5 to 8 go in 0x0405.
    v.additionalIdCount = 0;
    v.additionalIds[7] = {0, 10, 11, 12};
    DataSetCodec::encode(v, 2, image);
    EXPECT_EQ(decodedPayload(0x0405, image)[6], 0xABC >> 6);
    EXPECT_EQ(decodedPayload(0x0405, image)[7], 0xABC & 0x3F);
}

TEST(ParameterEncoding, OddSystemCallCodeSurvivesAReadWriteReadCycle) {
    SystemParamImage handset;
    handset.systemCall = {0x00, 0x00, 0x00, 0x80, 0x40, 0x00, 0x00}; // spare bits the tool keeps
    SystemParamImage image = handset;
    V v = valuesOf(image);
    v.systemCall = DataSetCodec::digitRow(536870911);
    DataSetCodec::encode(v, 2, image);
    EXPECT_EQ(image.systemCall[3], 0xFF); // byte 8's eighth bit stays as read
    EXPECT_EQ(image.systemCall[4], 0x41); // bit 0 in byte 9's low bit, its other bits kept
    storeAsRead(0x0402, image, handset);
    EXPECT_EQ(valuesOf(handset).systemCall, DataSetCodec::digitRow(536870911));

    v.systemCall = DataSetCodec::digitRow(123456789);
    DataSetCodec::encode(v, 2, image);
    storeAsRead(0x0402, image, handset);
    EXPECT_EQ(handset.systemCallValue(), 123456789u);
}

TEST(ParameterEncoding, GainBlockIsFiveBytesAndOnlyTheFirstIsEdited) {
    SystemParamImage image;
    image.gain = {1, 5, 1, 9, 9};
    V v = valuesOf(image);
    EXPECT_EQ(v.rxGain, 1);
    v.rxGain = 0;
    DataSetCodec::encode(v, 2, image);
    EXPECT_EQ(image.gain, (std::array<std::uint8_t, 5>{0, 5, 1, 9, 9}));
    EXPECT_EQ(decodedPayload(0x0008, image), (Bytes{0, 5, 1, 0, 0}));
}

TEST(ParameterEncoding, VersionWriteCarriesBytesSevenAndEightWithTheFourthDigit) {
    SystemParamImage image;
    image.version = {1, 23, 0x45, 0x67};
    const V v = valuesOf(image);
    EXPECT_EQ(v.version, (std::array<QString, 4>{"0", "1", "2", "3"}));
    DataSetCodec::encode(v, 2, image);
    EXPECT_EQ(image.version, (std::array<std::uint8_t, 4>{1, 23, 0x45, 0x67}));
    EXPECT_EQ(decodedPayload(0x0001, image), (Bytes{0, 0, 0x45, 0x63}));
}

TEST(ParameterEncoding, FaultCodeIsShownOnlyWhenItIsZko) {
    SystemParamImage image;
    image.faultCode = {'Z', 'K', 'O'};
    EXPECT_EQ(valuesOf(image).faultCode, (std::array<int, 3>{0, 0, 0}));
    image.faultCode = {'A', 'B', 'C'};
    V v = valuesOf(image);
    EXPECT_EQ(v.faultCode, (std::array<int, 3>{V::kNone, V::kNone, V::kNone}));
    DataSetCodec::encode(v, 2, image);
    EXPECT_EQ(image.faultCode, (std::array<std::uint8_t, 3>{'A', 'B', 'C'}));
    v.faultCode[1] = 0;
    DataSetCodec::encode(v, 2, image);
    EXPECT_EQ(decodedPayload(0x0B01, image), (Bytes{'A', 'K', 'C'}));
}

TEST(ParameterEncoding, Va150LeavesAreaTypeAndCountAloneInBothDirections) {
    SystemParamImage image;
    image.area = {1, 6};
    V v = valuesOf(image, 3);
    EXPECT_EQ(v.areaType, V::kNone);
    EXPECT_EQ(v.additionalIdCount, V::kNone);
    DataSetCodec::encode(v, 3, image);
    EXPECT_EQ(image.area, (std::array<std::uint8_t, 2>{1, 6}));
    EXPECT_EQ(SystemParamFrames::payload(0x0403, image), (Bytes{0x21, 0x26}));
    // The other models show and write them; no selection goes out as -1.
    v = valuesOf(image, 4);
    EXPECT_EQ(v.areaType, 1);
    EXPECT_EQ(v.additionalIdCount, 6);
    v.areaType = V::kNone;
    DataSetCodec::encode(v, 4, image);
    EXPECT_EQ(SystemParamFrames::payload(0x0403, image), (Bytes{0x2F, 0x26}));
}

TEST(ParameterEncoding, SelectorsShowOnlyStoredValuesInTheirLists) {
    SystemParamImage image;
    image.channel = {3, 9, 81, 32, 6};
    image.accessory = 2;
    image.gain[0] = 2;
    const V v = valuesOf(image);
    EXPECT_EQ(v.controlChannel, V::kNone);
    EXPECT_EQ(v.seamlessProcessLevel, V::kNone);
    EXPECT_EQ(v.seamlessSelectLevel, V::kNone);
    EXPECT_EQ(v.seamlessFerThreshold, V::kNone);
    EXPECT_EQ(v.ferTriggeredLevel, V::kNone);
    EXPECT_EQ(v.accessory, V::kNone);
    EXPECT_EQ(v.rxGain, V::kNone);
    EXPECT_EQ(v.interval, V::kNone); // stored 0
    image.channel = {2, 10, 80, 31, 5};
    const V w = valuesOf(image);
    EXPECT_EQ(w.controlChannel, 2);
    EXPECT_EQ(w.seamlessProcessLevel, 0);
    EXPECT_EQ(w.seamlessSelectLevel, 70);
    EXPECT_EQ(w.seamlessFerThreshold, 31);
    EXPECT_EQ(w.ferTriggeredLevel, 5);
}

TEST(ParameterEncoding, ScreenValuesSurviveAnEncodeDecodeRoundTrip) {
    V v;
    v.version = {"0", "1", "2", "3"};
    v.psId = DataSetCodec::digitRow(12345678);
    v.controlChannel = 1;
    v.handoverLevels = {0, 10, 20, 30, 70};
    v.ferThreshold = 240;
    v.ferTriggeredLevel = 4;
    v.systemCall = DataSetCodec::digitRow(456789012);
    v.seamlessProcessLevel = 5;
    v.seamlessSelectLevel = 6;
    v.seamlessFerThreshold = 7;
    v.areaType = 1;
    v.additionalIdCount = 8;
    for (int k = 0; k < 8; ++k) {
        v.additionalIds[static_cast<std::size_t>(k)] = {k % 2, k, 15 - k, 3};
    }
    v.rxGain = 1;
    v.interval = 0;
    v.accessory = 1;
    v.faultCode = {0, 0, 0};
    v.memo = "m";
    SystemParamImage image;
    DataSetCodec::encode(v, 2, image);
    EXPECT_EQ(DataSetCodec::decode(image, 2, "m"), v);
}

TEST(ParameterEncoding, NoDataViewKeepsOnlyTheSelectorsThatStayLoaded) {
    SystemParamImage image;
    image.levels = {79, 79, 79, 79, 79, 1, 0};
    image.channel = {1, 20, 30, 4, 2};
    image.accessory = 1;
    const V loaded = valuesOf(image);
    const V view = DataSetCodec::noDataView(loaded);
    EXPECT_EQ(view.psId, loaded.psId);
    EXPECT_EQ(view.accessory, 1);
    EXPECT_EQ(view.seamlessProcessLevel, 10);
    EXPECT_EQ(view.controlChannel, V::kNone);
    EXPECT_EQ(view.handoverLevels[0], V::kNone);
    EXPECT_TRUE(view.systemCall[0].isEmpty());
    EXPECT_TRUE(view.version[0].isEmpty());
}

TEST(ModelRules, AdditionalIdRowsFollowTheCountExceptOnAVa150) {
    EXPECT_EQ(DataSetRules::enabledIdRows(2, 8), 8);
    EXPECT_EQ(DataSetRules::enabledIdRows(4, 2), 2);
    EXPECT_EQ(DataSetRules::enabledIdRows(4, V::kNone), 0);
    EXPECT_EQ(DataSetRules::enabledIdRows(3, 8), 0);
    EXPECT_FALSE(DataSetRules::areaControlsEnabled(3));
    EXPECT_TRUE(DataSetRules::areaControlsEnabled(4));
    EXPECT_TRUE(DataSetRules::rxGainEnabled(2));
    EXPECT_FALSE(DataSetRules::rxGainEnabled(4));
}

TEST(ModelRules, ListsHoldTheExactEntries) {
    EXPECT_EQ(DataSetLists::handoverLevel().size(), 71);
    EXPECT_EQ(DataSetLists::handoverLevel().front(), "10");
    EXPECT_EQ(DataSetLists::seamlessFer().at(5), "05");
    EXPECT_EQ(DataSetLists::ferThreshold().size(), 241);
    EXPECT_EQ(DataSetLists::interval().size(), 255);
    EXPECT_EQ(DataSetLists::interval().front(), "1");
    EXPECT_EQ(DataSetLists::hexDigit().join(QString()), "0123456789abcdef");
    EXPECT_EQ(DataSetLists::ferTriggeredLevel().size(), 6);
}

TEST(AtoiLike, ReadsLikeTheCLibrary) {
    EXPECT_EQ(atoiLike(QByteArrayView("-1")), -1);
    EXPECT_EQ(atoiLike(QByteArrayView("  +42x")), 42);
    EXPECT_EQ(atoiLike(QByteArrayView("x42")), 0);
    EXPECT_EQ(atoiLike(QByteArrayView("")), 0);
    EXPECT_EQ(atoiLike(QByteArrayView("99999999999")), 2147483647);
}

} // namespace
} // namespace tolvan::dataset

// The handset setting rules, the view of the store and the write frames built from it.
#include "modes/psent/model/functioncodes.h"
#include "modes/psent/model/psentcodec.h"
#include "modes/psent/model/psentframes.h"
#include "modes/psent/model/psentrules.h"
#include "tests/modes/psent/samplesettings.h"

#include "link/core/catalogue.h"

#include <gtest/gtest.h>

#include <limits>

namespace tolvan::psent {
namespace {

using link::Bytes;
using R = PsEntRules;
using V = PsEntScreenValues;
using I = HandsetSettingImage;

HandsetSettingImage sampleImage() {
    return HandsetSettingImage::fromStore(testing::sampleStore());
}

Bytes payload(std::uint16_t code, const HandsetSettingImage& image) {
    return PsEntFrames::payload(code, image, dataset::SystemParamImage{});
}

Bytes menuBytes(const HandsetSettingImage& image) {
    return Bytes(image.operation.begin() + I::MenuFirst, image.operation.begin() + I::MenuFirst + 14);
}

TEST(MenuSlots, GapsCloseInSlotOrderAndADoubleEndsAtTheLaterPosition) {
    std::array<int, 14> chosen{};
    chosen[0] = 5; // broadcast
    chosen[2] = 2; // all call
    auto positions = R::menuPositions(chosen);
    EXPECT_EQ(positions[4], 1); // D9
    EXPECT_EQ(positions[1], 2); // D6
    std::array<int, 14> shown{};
    shown[0] = 5;
    shown[1] = 2;
    EXPECT_EQ(R::menuSlots(positions), shown);

    chosen = {};
    chosen[2] = chosen[6] = 3;
    positions = R::menuPositions(chosen);
    EXPECT_EQ(positions[2], 2); // the two kept chosen are positions 1 and 2; the later wins
    chosen = {1, 2, 3, 4, 5, 6, 3, 0, 0, 0, 0, 0, 0, 0};
    positions = R::menuPositions(chosen);
    EXPECT_EQ(positions[2], 7);
    shown = {};
    shown = {1, 2, 0, 4, 5, 6, 3, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(R::menuSlots(positions), shown);
}

TEST(MenuSlots, AZxVa100WriteSendsTheRecordAsRead) {
    HandsetSettingImage image = sampleImage();
    image.operation[I::MenuFirst + 6] = 9; // a gap the screen would close
    const Bytes before = menuBytes(image);
    PsEntCodec::encode(PsEntCodec::decode(image, 2, {}), 2, image);
    EXPECT_EQ(menuBytes(image), before);
    PsEntCodec::encode(PsEntCodec::decode(image, 3, {}), 3, image);
    EXPECT_NE(menuBytes(image), before);
}

TEST(FunctionLists, ButtonAndRemoteKeyIndicesMapToTheirCodes) {
    EXPECT_EQ(FunctionCodes::functionButtonTexts().size(), 13);
    EXPECT_EQ(FunctionCodes::functionButtonTexts().at(12), QStringLiteral("手動ﾊﾝﾄﾞｵｰﾊﾞｰ"));
    EXPECT_EQ(FunctionCodes::functionButtonCode(12), 14);
    EXPECT_EQ(FunctionCodes::functionButtonIndex(14), 12);
    EXPECT_EQ(FunctionCodes::functionButtonIndex(12), FunctionCodes::kNone);
    EXPECT_EQ(FunctionCodes::remoteKeyTexts().at(11), QStringLiteral("応答"));
    EXPECT_EQ(FunctionCodes::remoteKeyCode(11), 12);
    EXPECT_EQ(FunctionCodes::remoteKeyTexts().at(6), QStringLiteral("外部機器制御"));
    EXPECT_EQ(FunctionCodes::remoteKeyCode(6), 7);
    EXPECT_EQ(FunctionCodes::remoteKeyIndex(6), FunctionCodes::kNone);
    EXPECT_EQ(FunctionCodes::remoteKeyIndex(14), 12);
    EXPECT_EQ(FunctionCodes::texts().at(12), QStringLiteral("緊急"));

    EXPECT_EQ(FunctionCodes::parameters(3).size(), 48);
    EXPECT_EQ(FunctionCodes::parameters(3).at(47), QStringLiteral("内線番号４８"));
    EXPECT_EQ(FunctionCodes::parameters(1).at(8), QStringLiteral("HOMEｸﾞﾙｰﾌﾟ"));
    EXPECT_EQ(FunctionCodes::parameters(11).at(8), QStringLiteral("全ｸﾞﾙｰﾌﾟ"));
    EXPECT_EQ(FunctionCodes::parameters(8).size(), 999);
    EXPECT_EQ(FunctionCodes::parameters(9).at(2), QStringLiteral("外線番号３"));
    EXPECT_EQ(FunctionCodes::parameters(13), QStringList{QStringLiteral("なし")});
}

TEST(FunctionLists, CodesAndParametersTravelInTheKeyRecord) {
    HandsetSettingImage image = sampleImage();
    V v = PsEntCodec::decode(image, 3, {});
    EXPECT_EQ(v.functionButton, (V::FunctionChoice{12, 0})); // code 14 at the thirteenth entry
    EXPECT_EQ(v.remoteKeys[0], (V::FunctionChoice{6, 1}));   // code 7, "端子２" (stored 1)
    EXPECT_EQ(v.remoteKeys[1], (V::FunctionChoice{11, 0}));  // code 12, "応答"
    EXPECT_EQ(v.remoteKeys[2], (V::FunctionChoice{7, 249})); // No.250

    v.functionButton = R::pickFunctionButton(3); // individual call: "内線番号１", stored 1
    EXPECT_EQ(v.functionButton, (V::FunctionChoice{3, 0}));
    v.remoteKeys[0] = R::pickRemoteKey(8); // outside-line call (9): "外線番号１", stored 0
    EXPECT_EQ(v.remoteKeys[0], (V::FunctionChoice{8, 0}));
    v.remoteKeys[1] = R::pickRemoteKey(12);
    image.keys[9] = 0x33; // a byte that means nothing for code 14 goes out as 0
    PsEntCodec::encode(v, 3, image);
    const Bytes keys = payload(0x0105, image);
    EXPECT_EQ(Bytes(keys.begin(), keys.begin() + 16),
              (Bytes{0x23, 0x21, 0x20, 0x20, 0x29, 0x20, 0x20, 0x20, 0x2E, 0x20, 0x20, 0x20, 0x28, 0x22, 0x25,
                     0x20}));
}

TEST(PsId, NineDigitsStayWithin28Bits) {
    std::array<QString, 9> boxes{"2", "6", "8", "4", "3", "5", "4", "5", "6"};
    auto entry = R::applyPsIdEntry(boxes, 8);
    EXPECT_TRUE(entry.emptied);
    EXPECT_TRUE(boxes[8].isEmpty());
    EXPECT_EQ(entry.focus, 8);
    boxes[8] = "5";
    entry = R::applyPsIdEntry(boxes, 8);
    EXPECT_FALSE(entry.emptied);
    boxes[3] = "9";
    EXPECT_TRUE(R::applyPsIdEntry(boxes, 3).emptied);
    boxes[3] = "";
    EXPECT_EQ(R::applyPsIdEntry(boxes, 3).focus, 3);
    boxes[3] = "4";
    EXPECT_EQ(R::applyPsIdEntry(boxes, 3).focus, 4);

    HandsetSettingImage image = sampleImage(); // group 2 has its eighth bit set
    V v = PsEntCodec::decode(image, 3, {});
    v.psId = {"2", "6", "8", "4", "3", "5", "4", "5", "5"};
    PsEntCodec::encode(v, 3, image);
    EXPECT_EQ(payload(0x0201, image), (Bytes{0x9F, 0x9F, 0x9F, 0x9F}));
    EXPECT_EQ(image.psId[1], 0xFF);
}

TEST(PsNumber, AboveThreeNinetyOneTheHundredsBecomeTwo) {
    std::array<int, 3> digits{3, 9, 5};
    EXPECT_EQ(R::applyPsNumberEntry(digits, 2), 2);
    EXPECT_EQ(digits, (std::array<int, 3>{2, 9, 5}));
    digits = {1, 0, 0};
    EXPECT_EQ(R::applyPsNumberEntry(digits, 0), 1);
    EXPECT_EQ(digits, (std::array<int, 3>{1, 0, 0}));
    digits = {3, 9, 1};
    R::applyPsNumberEntry(digits, 1);
    EXPECT_EQ(digits[0], 3);

    HandsetSettingImage image = sampleImage();
    V v = PsEntCodec::decode(image, 2, {});
    v.psNumber = {2, 9, 5};
    PsEntCodec::encode(v, 2, image);
    EXPECT_EQ(payload(0x0301, image), (Bytes{0x52, 0x59, 0x55, 0x20, 0x20, 0x20, 0x20}));
}

TEST(Sliders, SnapToTheNearestStepHalfwayGoingUp) {
    using S = R::Slider;
    EXPECT_EQ(R::snapSlider(S::ReceiveVolume, 29), 0);
    EXPECT_EQ(R::snapSlider(S::ReceiveVolume, 30), 60);
    EXPECT_EQ(R::snapSlider(S::Sidetone, 100), 120);
    EXPECT_EQ(R::snapSlider(S::Notification, 59), 40);
    EXPECT_EQ(R::snapSlider(S::MicLevel, 45), 60);
    EXPECT_EQ(R::snapSlider(S::MicLevel, 44), 30);
    EXPECT_EQ(R::snapSlider(S::MicLevel, 500), 120);
    EXPECT_EQ(R::sliderValue(S::MicLevel, 90), 3);
    EXPECT_EQ(R::sliderPosition(S::ReceiveVolume, 7), 120); // a stored 7 rests at the end
    // A file's slider line may hold any number.
    EXPECT_EQ(R::sliderPosition(S::ReceiveVolume, std::numeric_limits<int>::max()), 120);
    EXPECT_EQ(R::sliderPosition(S::MicLevel, std::numeric_limits<int>::min()), 0);
}

TEST(Volumes, ReceiveVolumeGoesToBothCopiesAndOnlyLowNibblesChange) {
    HandsetSettingImage image = sampleImage();
    V v = PsEntCodec::decode(image, 4, {});
    EXPECT_EQ(v.receiveVolume, 120);
    v.receiveVolume = 60;
    v.outOfRangeTone = 2;
    v.sidetoneVolume = 120;
    v.micLevel = 0;
    v.notificationVolume = 80;
    PsEntCodec::encode(v, 4, image);
    EXPECT_EQ(image.otherParams[10], 0x31);
    EXPECT_EQ(image.otherParams[11], 0x52);
    EXPECT_EQ(image.volumes, (std::array<std::uint8_t, 2>{0x13, 0x02}));
    // D1, D2 and D8-D12 travel as their low nibbles, the others whole.
    EXPECT_EQ(payload(0x0102, image),
              (Bytes{0x2A, 0x25, 0x61, 0x20, 0x9F, 0x30, 0x25, 0x21, 0x22, 0x2F, 0x21, 0x22, 0x21}));
    EXPECT_EQ(payload(0x010A, image), (Bytes{0x33, 0x22}));
}

TEST(CallNumbers, OutOfRangeNumbersAreReplacedWithOneMessage) {
    std::array<QString, 48> boxes;
    boxes[2] = "0099";
    boxes[8] = "8000";
    boxes[0] = "0100";
    boxes[1] = "7999";
    boxes[3] = "800";
    const auto message = R::checkCallNumbers(boxes);
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(message->title, QStringLiteral("個別通話子機番号登録"));
    EXPECT_EQ(
        message->text,
        QStringLiteral("No.3の内線番号は100～799または1000～7999の範囲ではありません。\n103に変更します。"));
    EXPECT_EQ(boxes[2], "103");
    EXPECT_EQ(boxes[8], "109");
    EXPECT_EQ(boxes[3], "104");
    EXPECT_EQ(boxes[0], "0100");
    EXPECT_EQ(boxes[1], "7999");
    boxes = {};
    boxes[4] = "5";
    R::checkCallNumbers(boxes);
    EXPECT_EQ(boxes[4], "105");
    EXPECT_FALSE(R::checkCallNumbers(boxes).has_value());

    EXPECT_EQ(R::callNumberInput(QStringLiteral("1a2-34 5")), "1234");
    EXPECT_EQ(R::callNumberText(99), "0099");
    EXPECT_EQ(R::callNumberText(0), "");

    HandsetSettingImage image = sampleImage();
    V v = PsEntCodec::decode(image, 3, {});
    v.callNumbers[12] = "0099";
    const auto written = PsEntCodec::prepareWrite(v, 3, image);
    ASSERT_TRUE(written.has_value());
    EXPECT_EQ(v.callNumbers[12], "113");
    EXPECT_EQ(image.callNumber(12), 113);
    const Bytes first = payload(0x0106, image);
    const Bytes second = payload(0x0107, image);
    ASSERT_EQ(second.size(), 48u);
    EXPECT_EQ(Bytes(first.end() - 4, first.end()), (Bytes{0x20, 0x20, 0x20, 0x20}));
    EXPECT_EQ(Bytes(second.begin(), second.begin() + 4), (Bytes{0x20, 0x21, 0x21, 0x23}));
}

TEST(Decode, ANoiseCutTypeThatArrivesAs1FIsTypeOne) {
    HandsetSettingImage image = sampleImage();
    image.operation[I::NoiseCutType] = 0xFF;
    EXPECT_EQ(PsEntCodec::decode(image, 3, {}).noiseCutType, 0);
    image.operation[I::NoiseCutType] = 7;
    EXPECT_EQ(PsEntCodec::decode(image, 3, {}).noiseCutType, V::kNone);
}

TEST(Encode, ModelsKeepTheBytesOfDisabledAndUnselectedControls) {
    HandsetSettingImage image = sampleImage();
    V v = PsEntCodec::decode(image, 3, {});
    v.pin = {9, 9, 9, 9};
    v.hearingTimer = 0;
    v.seamlessHandover = 0;
    v.voxSensitivity = V::kNone;
    PsEntCodec::encode(v, 3, image);
    EXPECT_EQ(payload(0x0302, image), (Bytes{0x51, 0x52, 0x53, 0x54})); // the PIN as last read
    EXPECT_EQ(image.hearing, (std::array<std::uint8_t, 2>{10, 1}));
    EXPECT_EQ(image.operation[I::Seamless], 1);
    EXPECT_EQ(image.operation[I::VoxSensitivity], 2);
    PsEntCodec::encode(v, 2, image);
    EXPECT_EQ(payload(0x0302, image), (Bytes{0x59, 0x59, 0x59, 0x59}));

    const V empty = PsEntCodec::noDataView(PsEntCodec::decode(image, 2, QStringLiteral("m")));
    EXPECT_EQ(empty.psNumber[0], V::kNone);
    EXPECT_EQ(empty.receiveVolume, 0);
    EXPECT_TRUE(empty.psId[0].isEmpty());
    EXPECT_TRUE(empty.connectedModel.isEmpty());
    EXPECT_EQ(empty.remoteKeys, PsEntCodec::decode(image, 2, {}).remoteKeys);
    EXPECT_EQ(empty.memo, "m");
}

TEST(WriteFrames, EveryBufferTakesItsFrameAtTheCatalogueLength) {
    dataset::SystemParamImage system;
    system.rssi.fill(0x7F);
    system.channel = {1, 20, 30, 10, 2};
    link::RequestBuffers buffers;
    ASSERT_TRUE(PsEntFrames::fillRequestBuffers(sampleImage(), system, buffers));
    for (const std::uint16_t code : PsEntFrames::writeCodes()) {
        const auto sent = link::transmitBytesOf(code, buffers);
        ASSERT_TRUE(sent.has_value()) << std::hex << code;
        EXPECT_EQ(sent->size(), link::findCommand(code)->byteCount) << std::hex << code;
    }
    EXPECT_EQ(PsEntFrames::payload(0x0406, sampleImage(), system), (Bytes{0x21, 0x34, 0x3E, 0x2A, 0x22}));
    EXPECT_EQ(PsEntFrames::payload(0x0008, sampleImage(), system), (Bytes{0x21, 0x22, 0x21, 0x20, 0x20}));
    EXPECT_EQ(PsEntFrames::payload(0x0407, sampleImage(), system), (Bytes{0x2A, 0x21}));
    EXPECT_TRUE(PsEntFrames::payload(0x0401, sampleImage(), system).empty());
}

} // namespace
} // namespace tolvan::psent

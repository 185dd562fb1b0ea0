// The coefficient calculations and the reading of typed fields.
#include "modes/test/model/calibrationcalc.h"

#include <gtest/gtest.h>

namespace tolvan::testmode {
namespace {

using C = CalibrationCalc;
using H4 = CalibrationFields::Hex4;

TEST(NumberInput, ReadsThreeCharactersInBaseTen) {
    EXPECT_EQ(C::readNumber(QStringLiteral("1234"))->value, 123);
    EXPECT_EQ(C::readNumber(QStringLiteral("7"))->value, 7);
    // Hex letters are digits of value 10 to 15, still weighted by ten.
    EXPECT_EQ(C::readNumber(QStringLiteral("1a"))->value, 20);
    EXPECT_FALSE(C::readNumber(QStringLiteral("12"))->badCharacter);
}

TEST(NumberInput, AnyOtherCharacterCountsAsZeroAndIsReported) {
    const auto number = C::readNumber(QStringLiteral("1-5"));
    EXPECT_EQ(number->value, 105);
    EXPECT_TRUE(number->badCharacter);
    const auto row = C::calculateRow(QStringLiteral("g"));
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->message, errorMessage(QStringLiteral("入力ミスです。")));
    EXPECT_EQ(row->fields, (H4{"00", "00", "00", "00"}));
}

TEST(NumberInput, AnEmptyFieldDoesNothing) {
    EXPECT_FALSE(C::calculateRow(QString()).has_value());
    EXPECT_FALSE(C::calculateRssi(QStringLiteral("180"), QString()).has_value());
}

TEST(RowCalculation, FourHexDigitsOfInputTimesHundred) {
    EXPECT_EQ(C::rowFields(7), (H4{"00", "00", "02", "BC"}));
    EXPECT_EQ(C::rowFields(655), (H4{"00", "00", "FF", "DC"}));
    // 65600 = 0x10040 has five digits: the first four are shown.
    EXPECT_EQ(C::rowFields(656), (H4{"00", "00", "10", "04"}));
    EXPECT_EQ(C::calculateRow(QStringLiteral("655"))->fields, C::rowFields(655));
}

TEST(RssiCalculation, SlopeAndOffsetFromTheTwoReadings) {
    const auto r = C::rssiCoefficients(180, 90);
    EXPECT_EQ(r.slope, 300);
    EXPECT_EQ(r.offset, 3000);
    EXPECT_TRUE(r.messages.isEmpty());
    EXPECT_EQ(C::hexFields(r.slope), (CalibrationFields::Hex2{"01", "2C"}));
    EXPECT_EQ(C::hexFields(r.offset), (CalibrationFields::Hex2{"0B", "B8"}));
}

TEST(RssiCalculation, EqualReadingsGiveFlatSlope) {
    const auto r = C::rssiCoefficients(120, 120);
    EXPECT_EQ(r.slope, 0);
    EXPECT_EQ(r.offset, 12000);
}

TEST(RssiCalculation, TruncatesTowardZeroAndKeepsSixteenBits) {
    // (91 - 90) * 100 / 30 = 3.33 -> 3; 9100 + (-5000 / 30 = -166.7 -> -166) = 8934.
    const auto r = C::rssiCoefficients(91, 90);
    EXPECT_EQ(r.slope, 3);
    EXPECT_EQ(r.offset, 8934);
    // 999 * 100 = 99900 does not fit 16 bits.
    EXPECT_EQ(C::rssiCoefficients(999, 999).offset, 99900 & 0xFFFF);
}

TEST(RssiCalculation, ReadingsInTheWrongOrderAskForANewMeasurement) {
    const auto r = C::calculateRssi(QStringLiteral("20"), QStringLiteral("5x"));
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->slope, 0xFFFF);
    EXPECT_EQ(r->offset, 0xFFFF);
    EXPECT_EQ(r->messages,
              (QList<Message>{errorMessage(QStringLiteral("入力ミスです。")),
                              errorMessage(QStringLiteral("計算エラー。ＲＳＳＩ値を再測定してください。"))}));
}

TEST(HexFields, BackToAValueMostSignificantFirst) {
    const H4 fields{"12", "ab", "CD", "0F"};
    const auto v = C::valueOf(fields);
    EXPECT_EQ(v.value, 0x12ABCD0Fu);
    EXPECT_FALSE(v.badCharacter);
    EXPECT_EQ(C::hexFields(v.value), (H4{"12", "AB", "CD", "0F"}));
}

TEST(HexFields, ShortOrBadFieldsAreReported) {
    const H4 fields{"1", "", "Z9", "FF"};
    const auto v = C::valueOf(fields);
    EXPECT_TRUE(v.badCharacter);
    EXPECT_EQ(v.value, 0x100009FFu);
}

} // namespace
} // namespace tolvan::testmode

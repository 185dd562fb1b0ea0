// Results of running tests and measurements, from the wire to what the screen shows.
#include "modes/test/model/testdisplay.h"
#include "modes/test/model/testoperations.h"
#include "modes/test/model/testreadings.h"
#include "modes/test/model/testresultparser.h"
#include "tests/modes/test/model/responses.h"

#include <gtest/gtest.h>

namespace tolvan::testmode {
namespace {

using link::Bytes;

// The unit as the store's sink keeps it after the real receiver decoded it.
Bytes received(std::uint8_t classByte, const Bytes& body) {
    link::LinkState state;
    handset::HandsetStore store;
    EXPECT_TRUE(testing::receive(state, store, testing::answer(classByte, body)));
    return store.testResults().latest ? store.testResults().latest->unit : Bytes{};
}

Bytes receiveResult(std::uint8_t channel, std::uint8_t flag = 1) {
    // 0, channel, output control 70, HI, RSSI 200 (72, 1), FER 5 (5, 0), flag.
    return received(0x50, {0x01, 0x01, 0x00, channel, 70, 0, 1, 72, 1, 5, 0, flag});
}

Bytes slotBlocks(std::uint8_t channel4 = 1) {
    Bytes out;
    for (std::uint8_t s = 0; s < 4; ++s) {
        out.insert(out.end(),
                   {static_cast<std::uint8_t>(s == 0), s == 3 ? channel4 : std::uint8_t{1}, 70, 0, 1, 0});
    }
    return out;
}

TEST(ReceiveResult, ChannelOutsideOneToSeventySevenIsRefused) {
    for (const std::uint8_t channel : {0, 78}) {
        const TestResultUpdate update = TestResultParser::parse(receiveResult(channel), op::kReceiveTest);
        EXPECT_EQ(update.resultClass, link::rc::kDataError);
        EXPECT_FALSE(update.rssi || update.event);
    }
    const TestResultUpdate update = TestResultParser::parse(receiveResult(77), op::kReceiveTest);
    EXPECT_FALSE(update.resultClass.has_value());
    EXPECT_EQ(update.rssi, 200);
    EXPECT_EQ(update.fer, 5);
    EXPECT_EQ(update.event, TestEvent::RssiFer);
    EXPECT_EQ(TestResultParser::parse(receiveResult(5, 2), op::kReceiveTest).resultClass,
              link::rc::kDataError);
}

TEST(ReceiveResult, StoredAlwaysButShownOnlyForItsOwnTest) {
    const TestResultUpdate update = TestResultParser::parse(receiveResult(3), op::kBurstReceiveTest);
    EXPECT_EQ(update.rssi, 200);
    EXPECT_FALSE(update.event.has_value());
}

TEST(BurstResults, SlotBlocksAreRangeTested) {
    Bytes body{0x01, 0x02, 0x03};
    const Bytes blocks = slotBlocks();
    body.insert(body.end(), blocks.begin(), blocks.end());
    body.insert(body.end(), {40, 0, 7, 0});
    EXPECT_EQ(TestResultParser::parse(received(0x50, body), op::kBurstReceiveTest).rssi, 40);
    body[2] = 4; // output slot 5 does not exist
    EXPECT_EQ(TestResultParser::parse(received(0x50, body), op::kBurstReceiveTest).resultClass,
              link::rc::kDataError);

    Bytes measured{0x01, 0x03};
    const Bytes bad = slotBlocks(78);
    measured.insert(measured.end(), bad.begin(), bad.end());
    EXPECT_EQ(TestResultParser::parse(received(0x60, measured), 0x6003).resultClass, link::rc::kDataError);
}

TEST(Results, AShortUnitIsRefusedNotReadPastItsEnd) {
    EXPECT_EQ(
        TestResultParser::parse(received(0x60, {0x01, 0x05, 0x10}), op::kBatteryVoltageMeasure).resultClass,
        link::rc::kDataError);
    EXPECT_EQ(TestResultParser::parse(received(0x50, {0x01, 0x07, 1, 2}), op::kButtonsTest).resultClass,
              link::rc::kDataError);
}

TEST(Results, StatusCodesGiveTheirResultClasses) {
    const std::pair<std::uint8_t, std::uint8_t> cases[] = {
        {0x10, link::rc::kStatus10}, {0x20, link::rc::kBatteryEmpty}, {0x30, link::rc::kStatus30}};
    for (const auto& [status, resultClass] : cases) {
        // The receiver never hands these on; the parser still says what they mean.
        const Bytes unit{0x02, 0x60, status, 0x04, 0x03, 0x00};
        TestResultUpdate expected;
        expected.resultClass = resultClass;
        EXPECT_EQ(TestResultParser::parse(unit, op::kRssiGainMeasure), expected);
    }
}

TEST(Measurements, RssiGainShowsTheMeasuredValue) {
    const Bytes unit = received(0x60, {0x01, 0x04, 0, 12, 70, 0, 1, 0x10, 1, 0});
    const TestResultUpdate update = TestResultParser::parse(unit, op::kRssiGainMeasure);
    EXPECT_EQ(update.measuredValue, 0x90);
    EXPECT_EQ(update.event, TestEvent::MeasuredValue);
    // Transmit measurements store their value without showing it.
    Bytes transmit = unit;
    transmit[3] = 0x01;
    EXPECT_FALSE(TestResultParser::parse(transmit, 0x6001).event.has_value());
}

TEST(Battery, TenBitVoltageFillsItsShareOfTheIndicator) {
    const TestResultUpdate update =
        TestResultParser::parse(received(0x60, {0x01, 0x05, 0x00, 0x04}), op::kBatteryVoltageMeasure);
    EXPECT_EQ(update.batteryVoltage, 512);
    EXPECT_EQ(update.event, TestEvent::BatteryVoltage);
    EXPECT_DOUBLE_EQ(TestDisplay::batteryFraction(512), 0.5);
    EXPECT_DOUBLE_EQ(TestDisplay::batteryFraction(1023), 1023.0 / 1024.0);
    EXPECT_EQ(TestResultParser::parse(received(0x60, {0x01, 0x05, 0x7F, 0x0F}), 0x6005).batteryVoltage, 1023);
}

TEST(Battery, StateAnswerIsShownWhateverRuns) {
    link::LinkState state;
    handset::HandsetStore store;
    ASSERT_TRUE(testing::receive(state, store, testing::dataResponse(0x1B02, {3})));
    ASSERT_TRUE(store.testResults().redirect.has_value());
    const TestResultUpdate update = TestResultParser::batteryState(*store.testResults().redirect);
    EXPECT_EQ(update.batteryState, 3);
    EXPECT_EQ(update.event, TestEvent::BatteryState);
}

TEST(Switches, ModelDecidesWhichIndicatorsExist) {
    const TestResultUpdate update =
        TestResultParser::parse(received(0x50, {0x01, 0x07, 0x0F, 0x01, 0x00, 0x00}), op::kButtonsTest);
    ASSERT_EQ(update.switchData, 0x1F);
    EXPECT_EQ(update.event, TestEvent::Switches);
    EXPECT_EQ(TestDisplay::switchText(0x1F), QStringLiteral("01F"));
    QList<int> lit;
    QList<int> shown;
    for (const auto& indicator : TestDisplay::switchIndicators(2, 0x1F)) {
        shown << indicator.bit;
        if (indicator.pressed) {
            lit << indicator.bit;
        }
    }
    EXPECT_EQ(lit, (QList<int>{0, 1, 2, 3}));
    EXPECT_EQ(shown, (QList<int>{0, 1, 2, 3, 5, 6, 7, 8}));
    EXPECT_EQ(TestDisplay::switchIndicators(4, 0x1F).size(), 5);
    EXPECT_TRUE(TestDisplay::switchIndicators(3, 0x1F).last().pressed);
}

TEST(Readings, KeepTheLastOfEachAndPrintOnlyWhatArrived) {
    TestReadings readings;
    readings.apply(TestResultParser::parse(receiveResult(3), op::kReceiveTest));
    readings.apply(TestResultParser::parse(receiveResult(0), op::kReceiveTest)); // refused
    readings.apply(TestResultParser::batteryState(2));
    EXPECT_EQ(readings.resultLine(), QStringLiteral("rssi=200\tfer=5\tbattery_state=2"));
    readings.switchData = 0x100;
    EXPECT_EQ(readings.resultLine(), QStringLiteral("rssi=200\tfer=5\tswitches=100\tbattery_state=2"));
}

} // namespace
} // namespace tolvan::testmode

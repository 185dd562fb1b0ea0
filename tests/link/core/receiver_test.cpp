#include "link/core/receiver.h"
#include "tests/support/scriptedhandset.h"
#include "tests/support/virtuallink.h"

#include <gtest/gtest.h>

namespace tolvan::link {
namespace {

using test::ScriptedHandset;
using test::unhex;

// Records what reached the parsers.
struct RecordingSink : ResponseSink {
    std::optional<std::uint8_t> replaceWith;
    std::vector<std::pair<std::uint16_t, Bytes>> data;
    std::vector<std::pair<std::uint8_t, std::uint8_t>> tests;
    std::vector<std::uint8_t> settingValues, testValues, registrations;
    std::optional<std::uint8_t> dataResponse(std::uint8_t g, std::uint8_t i,
                                             std::span<const std::uint8_t> d) override {
        data.emplace_back(static_cast<std::uint16_t>((g << 8) | i), Bytes(d.begin(), d.end()));
        return replaceWith;
    }
    std::optional<std::uint8_t> testResult(std::uint8_t cls, std::uint8_t item,
                                           std::span<const std::uint8_t>) override {
        tests.emplace_back(cls, item);
        return std::nullopt;
    }
    void settingRedirect(std::uint8_t v) override { settingValues.push_back(v); }
    void testRedirect(std::uint8_t v) override { testValues.push_back(v); }
    void registrationAnswer(std::uint8_t status, std::span<const std::uint8_t>) override {
        registrations.push_back(status);
    }
};

struct Received {
    bool ok;
    LinkState state;
};

Received validate(const Bytes& unit, RecordingSink& sink, std::uint8_t previousClass = 0) {
    Received r{false, {}};
    r.state.resultClass = previousClass;
    r.state.receiveLength = unit.size();
    std::copy(unit.begin(), unit.end(), r.state.receiveBuffer.begin());
    r.ok = validateUnit(r.state, sink);
    return r;
}

Received validate(const Bytes& unit, std::uint8_t previousClass = 0) {
    RecordingSink sink;
    return validate(unit, sink, previousClass);
}

TEST(Receiver, SingleBytes) {
    EXPECT_TRUE(validate({kAck}).ok);
    EXPECT_TRUE(validate({kNak}).ok);
    const auto stray = validate({0x00});
    EXPECT_FALSE(stray.ok);
    EXPECT_EQ(stray.state.resultClass, rc::kCommandError);
}

TEST(Receiver, FramingAndCheckByte) {
    // 02 20 03 23 passes the framing checks (it is the open frame; as an answer its status
    // byte is the ETX, an unlisted status).
    const auto shortest = validate(unhex("02 20 03 23"));
    EXPECT_EQ(shortest.state.resultClass, rc::kCommandError);
    EXPECT_EQ(validate(unhex("02 20 03 22")).state.resultClass, rc::kCheckByteError);
    EXPECT_EQ(validate(unhex("02 20 04 23")).state.resultClass, rc::kStxEtxError);
    EXPECT_EQ(validate(unhex("41 20 03 23")).state.resultClass, rc::kStxEtxError);
    EXPECT_EQ(validate(unhex("02 03")).state.resultClass, rc::kStxEtxError);
}

TEST(Receiver, StatusAnswers) {
    EXPECT_TRUE(validate(ScriptedHandset::statusAnswer(1)).ok);
    EXPECT_EQ(validate(ScriptedHandset::statusAnswer(1)).state.resultClass, rc::kAccepted);
    EXPECT_EQ(validate(ScriptedHandset::statusAnswer(0x20)).state.resultClass, rc::kBatteryEmpty);
    EXPECT_EQ(validate(ScriptedHandset::statusAnswer(0x30)).state.resultClass, rc::kStatus30);
    EXPECT_EQ(validate(ScriptedHandset::statusAnswer(0x50)).state.resultClass, rc::kStatus50);
    EXPECT_EQ(validate(ScriptedHandset::statusAnswer(0x10)).state.resultClass, rc::kCommandError);
    EXPECT_FALSE(validate(ScriptedHandset::statusAnswer(0x20)).ok);
}

TEST(Receiver, DataResponsesDecodeInPlaceAndReachTheirParser) {
    RecordingSink sink;
    // A value of 0xE5 travels as 0x05; decoding subtracts 0x20 modulo 256.
    const auto r = validate(ScriptedHandset::dataResponse(0x1001, {0x00, 0x5F, 0xE5}), sink);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.state.resultClass, rc::kDataReceived);
    ASSERT_EQ(sink.data.size(), 1u);
    EXPECT_EQ(sink.data[0].first, 0x1001);
    EXPECT_EQ(sink.data[0].second, (Bytes{0x00, 0x5F, 0xE5}));
    EXPECT_EQ(responseId(r.state.receivedUnit()), 0x1001);

    EXPECT_EQ(validate(ScriptedHandset::dataResponse(0x1001, {1}, 0x01)).state.resultClass, rc::kAccepted);
    EXPECT_EQ(validate(ScriptedHandset::dataResponse(0x1001, {1}, 0x20)).state.resultClass,
              rc::kBatteryEmpty);
    EXPECT_EQ(validate(ScriptedHandset::dataResponse(0x1001, {1}, 0x10)).state.resultClass, rc::kStatus10);
    EXPECT_EQ(validate(ScriptedHandset::dataResponse(0x1001, {1}, 0x02)).state.resultClass,
              rc::kCommandError);
    // Unlisted items: 0x1007, 0x1B02 is redirected, 0x1F01.
    EXPECT_EQ(validate(ScriptedHandset::dataResponse(0x1007, {1})).state.resultClass, rc::kCommandError);
    EXPECT_EQ(validate(ScriptedHandset::dataResponse(0x1F01, {1})).state.resultClass, rc::kCommandError);
    // A parser can mark its data out of range.
    RecordingSink picky;
    picky.replaceWith = rc::kDataError;
    EXPECT_EQ(validate(ScriptedHandset::dataResponse(0x1201, {9}), picky).state.resultClass, rc::kDataError);
}

TEST(Receiver, WriteEchoIsAcceptedWithoutAParser) {
    RecordingSink sink;
    const auto echo = validate(ScriptedHandset::dataResponse(0x0401, {}), sink);
    EXPECT_TRUE(echo.ok);
    EXPECT_EQ(echo.state.resultClass, rc::kDataReceived);
    EXPECT_TRUE(sink.data.empty());
    // An "echo" with data, or of a code that is no write command, is not one.
    EXPECT_EQ(validate(ScriptedHandset::dataResponse(0x0401, {1})).state.resultClass, rc::kCommandError);
    EXPECT_EQ(validate(ScriptedHandset::dataResponse(0x0004, {})).state.resultClass, rc::kCommandError);
}

TEST(Receiver, RedirectedDataResponses) {
    RecordingSink sink;
    const auto setting = validate(ScriptedHandset::dataResponse(0x1C01, {7}), sink, rc::kAccepted);
    EXPECT_TRUE(setting.ok);
    EXPECT_EQ(setting.state.resultClass, rc::kDataReceived);
    EXPECT_EQ(sink.settingValues, (std::vector<std::uint8_t>{7}));
    // 0x1B02 leaves the result class as it was.
    const auto test = validate(ScriptedHandset::dataResponse(0x1B02, {9}), sink, rc::kAccepted);
    EXPECT_TRUE(test.ok);
    EXPECT_EQ(test.state.resultClass, rc::kAccepted);
    EXPECT_EQ(sink.testValues, (std::vector<std::uint8_t>{9}));
    // 0x1B01 is the fault-monitoring code: an ordinary data item.
    EXPECT_EQ(validate(ScriptedHandset::dataResponse(0x1B01, {1})).state.resultClass, rc::kDataReceived);
}

TEST(Receiver, TestResultsAndModelAnswers) {
    RecordingSink sink;
    const std::uint8_t body[] = {0x21, 0x22, 0x30};
    EXPECT_TRUE(validate(buildFrame(0x60, body), sink).ok);
    ASSERT_EQ(sink.tests.size(), 1u);
    EXPECT_EQ(sink.tests[0], std::make_pair(std::uint8_t{0x60}, std::uint8_t{2}));
    const std::uint8_t low[] = {0x40, 0x22};
    EXPECT_EQ(validate(buildFrame(0x50, low)).state.resultClass, rc::kBatteryEmpty);

    for (std::uint8_t model = 2; model <= 4; ++model) {
        const auto r = validate(ScriptedHandset::modelAnswer(model));
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.state.modelCode, model);
        EXPECT_EQ(responseId(r.state.receivedUnit()), 0x7100 + model);
    }
    const auto bad = validate(ScriptedHandset::modelAnswer(5));
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.state.resultClass, rc::kDataError);
    EXPECT_EQ(bad.state.modelCode, kModelVa150);
    const std::uint8_t nothing[] = {0x21};
    EXPECT_EQ(validate(buildFrame(0x72, nothing)).state.resultClass, rc::kCommandError);
}

TEST(Receiver, RegistrationAnswers) {
    RecordingSink sink;
    auto answer = [](std::uint8_t status) {
        const std::uint8_t body[] = {static_cast<std::uint8_t>(status + 0x20), 0x21, 0x22, 0x23};
        return buildFrame(0x40, body);
    };
    const auto accepted = validate(answer(0x00), sink);
    EXPECT_TRUE(accepted.state.registrationAccepted);
    EXPECT_EQ(accepted.state.registrationAnswerFlag, 1u);
    EXPECT_EQ(accepted.state.resultClass, rc::kDataReceived);
    // Status 1 is passed on only after result class 10 or 0.
    EXPECT_EQ(validate(answer(0x01), sink, rc::kDataReceived).state.resultClass, rc::kDataReceived);
    EXPECT_TRUE(sink.registrations.empty());
    EXPECT_EQ(validate(answer(0x01), sink, rc::kAccepted).state.resultClass, rc::kAccepted);
    EXPECT_EQ(validate(answer(0x30), sink).state.resultClass, rc::kStatus30);
    EXPECT_EQ(sink.registrations, (std::vector<std::uint8_t>{0x01, 0x30}));
    EXPECT_FALSE(validate(answer(0x20)).ok);
    EXPECT_FALSE(validate(answer(0x05)).ok);
}

} // namespace
} // namespace tolvan::link

// The engine runs every command script against the virtual handset of each model, frame for
// frame, and the data written reads back as written.
#include "link/core/catalogue.h"
#include "link/core/engine.h"
#include "tests/support/simpeer.h"

#include <gtest/gtest.h>

namespace tolvan::test {
namespace {

using link::Bytes;

int readSteps(int script, std::uint32_t model) {
    int n = 0;
    for (int step = 1; step <= link::scriptLastStep(script); ++step) {
        const std::uint32_t code = link::scriptEntry(script, step);
        n += code >= 0x1000 && code < 0x2000 && !link::isSkippedForModel(code, model);
    }
    return n;
}

TEST(SimScripts, EveryScriptRunsFrameForFrameForEveryModel) {
    for (std::uint8_t model = 2; model <= 4; ++model) {
        for (int script = 0; script < link::kScriptCount; ++script) {
            SCOPED_TRACE("model " + std::to_string(model) + " script " + std::to_string(script));
            SimSession run(model, script % 3 == 0);
            ASSERT_TRUE(run.runScript(script, operationForScript(script)));
            EXPECT_EQ(run.link.state().modelCode, model);
            auto expected = expectedConversation(script, model);
            if (script == 17) {
                // No close frame at its end: the step after the last is the script error.
                expected.push_back("21FF");
                EXPECT_EQ(run.link.state().dialogueState, link::kIdle);
                EXPECT_EQ(run.link.messages, std::vector<link::LinkMessage>{link::LinkMessage::ScriptError});
            } else {
                expected.push_back("20FF"); // the keep-alive dialogue opens after the pause
                EXPECT_EQ(run.link.state().dialogueState, link::kKeepAlive);
                EXPECT_TRUE(run.link.messages.empty());
            }
            EXPECT_EQ(run.conversation(), expected);
            // Every read was answered and accepted (0x1C01 goes to the data setting directly).
            EXPECT_EQ(run.sink.dataCount + static_cast<int>(run.sink.settingValues.size()),
                      readSteps(script, model));
        }
    }
}

TEST(SimScripts, KeepAliveRunsQuietlyAfterAScript) {
    SimSession run(3);
    ASSERT_TRUE(run.runScript(0, operationForScript(0)));
    const std::size_t before = run.link.sent.size();
    run.link.runFor(10'000);
    EXPECT_TRUE(run.link.messages.empty());
    EXPECT_EQ(run.link.state().dialogueState, link::kKeepAlive);
    const auto after = commandTexts(run.link.sent, before);
    ASSERT_GT(after.size(), 100u);
    EXPECT_EQ(after[0], "7000");
    EXPECT_EQ(std::count(after.begin(), after.end(), std::string("7000")),
              static_cast<long>(after.size()) - 1);
}

// Request frames carrying chosen data; what reads back in the same script must match.
Bytes dataFrame(std::uint16_t code, const Bytes& decoded) {
    Bytes payload;
    for (const std::uint8_t b : decoded) {
        payload.push_back(static_cast<std::uint8_t>(b + 0x20));
    }
    return link::buildDataFrame(code, payload);
}

TEST(SimScripts, DataSettingWriteReadsBackWhatWasWritten) {
    SimSession run(2);
    fillRequestBuffers(run.link.state());
    const std::map<std::uint16_t, Bytes> written = {
        {0x0201, {0x05, 0x11, 0x22, 0x7F}},
        {0x0401, {44, 114, 80, 60, 50, 0x70, 0x01}},
        {0x0402, {0x7F, 0x00, 0x33, 0x44, 0x01, 0x10, 0x01}},
        {0x0403, {0x00, 0x08}},
        {0x0404, {0x7F, 0x3F, 0x00, 0x00, 0x20, 0x10, 0x01, 0x02}},
        {0x0405, {0x01, 0x01, 0x02, 0x02, 0x03, 0x03, 0x04, 0x04}},
        {0x0406, {1, 10, 80, 31, 5}},
        {0x0008, {0, 3, 0, 0, 0}},
        {0x0C01, {0}},
    };
    for (const auto& [code, data] : written) {
        Bytes frame = dataFrame(code, data);
        ASSERT_TRUE(run.link.state().requests.set(code, frame)) << std::hex << code;
    }
    ASSERT_TRUE(run.runScript(1, operationForScript(1)));
    ASSERT_TRUE(run.link.messages.empty());
    for (const auto& [code, data] : written) {
        if (code == 0x0C01) {
            ASSERT_FALSE(run.sink.settingValues.empty());
            EXPECT_EQ(run.sink.settingValues.back(), 0);
            continue;
        }
        EXPECT_EQ(run.sink.data[static_cast<std::uint16_t>(code + 0x1000)], data) << std::hex << code;
    }
}

TEST(SimScripts, HandsetSettingWriteReadsBackWhatWasWritten) {
    SimSession run(4);
    fillRequestBuffers(run.link.state());
    Bytes numbers;
    for (int i = 0; i < 12; ++i) {
        numbers.insert(numbers.end(), {7, 9, 9, static_cast<std::uint8_t>(i % 10)});
    }
    Bytes op(24, 0);
    op[1] = 2;
    op[4] = 3; // group call at position 3
    op[8] = 1; // broadcast at position 1
    op[21] = 0xFF;
    const std::map<std::uint16_t, Bytes> written = {
        {0x0104, op},
        {0x0105,
         Bytes{8, 9, 9, 9, 1, 9, 0, 0, 3, 48, 0, 0, 14, 0, 0, 0, 1, 1, 1, 1, 0, 0, 1, 0, 1, 10, 1, 2, 1, 0}},
        {0x0106, numbers},
        {0x0109, numbers},
        {0x010A, {0x24, 0x43}},
        {0x0301, {'3', '9', '1', 0, 0, 0, 0}},
        {0x0302, {'0', '0', '0', '0'}},
        {0x0407, {10, 0}},
    };
    for (const auto& [code, data] : written) {
        ASSERT_TRUE(run.link.state().requests.set(code, dataFrame(code, data))) << std::hex << code;
    }
    ASSERT_TRUE(run.runScript(16, operationForScript(16)));
    ASSERT_TRUE(run.link.messages.empty());
    for (const auto& [code, data] : written) {
        EXPECT_EQ(run.sink.data[static_cast<std::uint16_t>(code + 0x1000)], data) << std::hex << code;
    }
}

TEST(SimScripts, CalibrationWriteScriptsReadBackTheCoefficients) {
    SimSession run(3);
    fillRequestBuffers(run.link.state());
    Bytes rssi;
    for (const std::uint16_t v : {0x012C, 0x0BB8}) {
        link::appendGroups7of16(rssi, v);
    }
    rssi.insert(rssi.end(), {static_cast<std::uint8_t>(0xFD + 0x20), 0x25});
    for (const std::uint16_t v : {0xFFFF, 0x0000}) {
        link::appendGroups7of16(rssi, v);
    }
    ASSERT_TRUE(run.link.state().requests.set(0x0003, link::buildDataFrame(0x0003, rssi)));
    ASSERT_TRUE(run.runScript(4, operationForScript(4)));
    Bytes expected;
    for (const std::uint8_t b : rssi) {
        expected.push_back(static_cast<std::uint8_t>(b - 0x20));
    }
    EXPECT_EQ(run.sink.data[0x1003], expected);
    EXPECT_EQ(run.sink.data[0x1003][6], 0xFD); // the signed byte comes back as it went
}

TEST(SimScripts, ClearingABufferEmptiesItAndLeavesTheOthers) {
    SimSession run(2);
    ASSERT_TRUE(run.runScript(7, operationForScript(7)));
    const auto before = run.sink.data;
    EXPECT_NE(before.at(0x1501), Bytes(8, 0));
    ASSERT_TRUE(
        run.runScript(8, operationForScript(8))); // clear the communication event buffer, then read all
    for (std::uint16_t code = 0x1501; code <= 0x1504; ++code) {
        EXPECT_EQ(run.sink.data[code], Bytes(8, 0));
    }
    EXPECT_EQ(run.sink.data[0x1A02], before.at(0x1A02));
    ASSERT_TRUE(run.runScript(14, operationForScript(14))); // clear all
    for (const auto& [code, data] : run.sink.data) {
        if (code >= 0x1500 && code < 0x1B00) {
            EXPECT_EQ(data, Bytes(data.size(), 0)) << std::hex << code;
        }
    }
}

} // namespace
} // namespace tolvan::test

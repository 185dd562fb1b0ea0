#include "link/linkdriver.h"
#include "modes/modeoperations.h"
#include "tests/support/pipedevice.h"
#include "tests/support/scriptedhandset.h"
#include "tests/support/virtuallink.h"

#include <QIODevice>
#include <gtest/gtest.h>

namespace tolvan::link {
namespace {

using test::hex;
using test::PipeDevice;
using test::ScriptedHandset;

QByteArray hexBytes(const char* text) {
    const Bytes b = test::unhex(text);
    return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
}

TEST(LinkDriver, HandlesEachUnitAsSoonAsItIsComplete) {
    LinkDriver driver{tolvan::modeOperations()};
    PipeDevice device;
    std::vector<std::pair<char, QByteArray>> trace;
    QObject::connect(&driver, &LinkDriver::traced,
                     [&](char dir, const QByteArray& bytes, qint64) { trace.emplace_back(dir, bytes); });
    driver.attach(&device);
    EXPECT_TRUE(driver.engine().state().portOpen);
    driver.engine().setOperation(0xA000);
    driver.engine().setScript(0, kScriptRunning);
    driver.engine().openRequest();
    EXPECT_EQ(device.written, hexBytes("02 20 03 23"));

    device.written.clear();
    device.push({kAck});
    EXPECT_EQ(device.written, hexBytes("02 70 03 73")); // polled without waiting

    // The status answer in two pieces: nothing until it is complete, then the model query.
    device.written.clear();
    const Bytes status = ScriptedHandset::statusAnswer();
    device.push(Bytes(status.begin(), status.begin() + 2));
    EXPECT_TRUE(device.written.isEmpty());
    device.push(Bytes(status.begin() + 2, status.end()));
    EXPECT_EQ(device.written, hexBytes("02 71 03 72"));

    ASSERT_GE(trace.size(), 5u);
    EXPECT_EQ(trace[0].first, '>');
    EXPECT_EQ(trace[1], std::make_pair('<', hexBytes("06")));
    EXPECT_EQ(trace[3].first, '<');
    EXPECT_EQ(trace[3].second, hexBytes("02 20 21 03 02"));
}

TEST(LinkDriver, LeavingTheModeClosesTheDevice) {
    LinkDriver driver{tolvan::modeOperations()};
    PipeDevice device;
    int closed = 0;
    QObject::connect(&driver, &LinkDriver::portClosed, [&] { ++closed; });
    driver.attach(&device);
    driver.engine().leaveMode(); // idle: closes at once
    EXPECT_EQ(closed, 1);
    EXPECT_FALSE(device.isOpen());
    EXPECT_EQ(driver.device(), nullptr);
    EXPECT_FALSE(driver.engine().state().portOpen);
}

TEST(LinkDriver, RefusedWriteIsAFatalMessage) {
    LinkDriver driver{tolvan::modeOperations()};
    PipeDevice device;
    device.refuseWrites = true;
    std::vector<LinkMessage> messages;
    QObject::connect(&driver, &LinkDriver::message, [&](LinkMessage m) { messages.push_back(m); });
    driver.attach(&device);
    driver.engine().openRequest();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], LinkMessage::SendFailure);
    EXPECT_TRUE(driver.engine().fatalOutcome());
}

} // namespace
} // namespace tolvan::link

// The in-process transport: the link driver over a QIODevice that is a virtual handset.
#include "link/linkdriver.h"
#include "modes/modeoperations.h"
#include "sim/handsetdevice.h"
#include "tests/support/simpeer.h"

#include <QTest>
#include <gtest/gtest.h>

namespace tolvan::sim {
namespace {

TEST(HandsetDevice, CarriesTheLogReadWithControlBytesInsideFrames) {
    HandsetConfig config;
    config.modelCode = 4;
    config.replyDelayUs = 0;
    HandsetDevice device(config);
    ASSERT_TRUE(device.open(QIODevice::ReadWrite));
    link::LinkDriver driver{tolvan::modeOperations()};
    test::RecordingSink sink;
    std::vector<link::LinkMessage> messages;
    QObject::connect(&driver, &link::LinkDriver::message,
                     [&](link::LinkMessage m) { messages.push_back(m); });
    driver.engine().setResponseSink(&sink);
    driver.attach(&device);
    link::LinkEngine& engine = driver.engine();
    engine.resetLinkState();
    engine.setOperation(0xC000);
    engine.setScript(7, link::kScriptRunning);
    engine.openRequest();
    EXPECT_TRUE(QTest::qWaitFor([&] { return engine.state().dialogueState != link::kScriptRunning; }, 5000));
    EXPECT_EQ(engine.state().dialogueState, link::kKeepAlive);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(sink.dataCount, 41);
    // The handset errors 0xE2, 0xE3, 0xE6, 0xF5 travelled as 02, 03, 06, 15 and came out whole.
    EXPECT_EQ(sink.data[0x1A02], (link::Bytes{0x09, 0x0A, 0x0B, 0xC8, 0xE2, 0xE3, 0xE6, 0xF5}));
}

} // namespace
} // namespace tolvan::sim

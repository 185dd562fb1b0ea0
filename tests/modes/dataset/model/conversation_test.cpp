// The data setting read and write against a scripted handset on the virtual clock: what goes
// into the image, which frames go out with which payload bytes, and what is read back.
#include "handset/storesink.h"
#include "modes/dataset/model/datasetcodec.h"
#include "modes/dataset/model/logfile1reader.h"
#include "modes/dataset/model/logfile1writer.h"
#include "modes/dataset/model/systemparamframes.h"
#include "tests/modes/dataset/printvalues.h"
#include "tests/support/scriptedhandset.h"
#include "tests/support/virtuallink.h"

#include <gtest/gtest.h>

#include <map>

namespace tolvan::dataset {
namespace {

using link::Bytes;
using test::ScriptedHandset;
using test::VirtualLink;
using V = DataSetScreenValues;

// What the handset holds before the test, as decoded data bytes per read code.
std::map<std::uint16_t, Bytes> handsetData() {
    Bytes dac{0x0A, 0x05, 0x0F, 0x0E};
    Bytes amp;
    for (std::uint8_t k = 0; k < 8; ++k) {
        dac.insert(dac.end(), {static_cast<std::uint8_t>(0x70 + k), 0x7F, 0x01, 0x40, 0x0F});
        amp.insert(amp.end(), {0x3C, static_cast<std::uint8_t>(k), 0x00, 0x00, 0x00});
    }
    return {
        {0x1B01, {'Z', 'K', 'O'}},
        {0x1001, {1, 23, 0x45, 0x67}},
        {0x1002, dac},
        {0x1003, {0x2C, 0x02, 0x00, 0x38, 0x17, 0x03, 0xFE, 0x7F, 0x01, 0x00, 0x02, 0x7F, 0x7F, 0x03}},
        {0x1004, Bytes(10, 3)},
        {0x1005, amp},
        {0x1008, {1, 3, 1, 0, 0}},
        {0x1201, {0x01, 0x02, 0x03, 0x04}},
        {0x1401, {60, 61, 62, 63, 64, 0x10, 0x00}},
        {0x1402, {0x10, 0x20, 0x30, 0x40, 0x00, 0x7F, 0x01}},
        {0x1403, {1, 8}},
        {0x1404, {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08}},
        {0x1405, {0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18}},
        {0x1406, {0, 20, 30, 10, 2}},
        {0x1102, {0x03, 0x0C, 0x41, 0x00, 0x7F, 0x10, 0x05, 0x01, 0x02, 0x0F, 0x02, 0x01, 0x01}},
        {0x1C01, {1}},
    };
}

Bytes plus20(const Bytes& decoded) {
    Bytes out;
    for (const std::uint8_t b : decoded) {
        out.push_back(static_cast<std::uint8_t>(b + 0x20));
    }
    return out;
}

// Class 0x30 command code of a frame the PC sent, 0 for anything else.
std::uint16_t dataCode(const Bytes& f) {
    if (f.size() < 6 || f[1] != 0x30) {
        return 0;
    }
    return static_cast<std::uint16_t>(((f[2] - 0x20) << 8) | (f[3] - 0x20));
}

// Payload of a write frame as transmitted (0x0008 carries one zero byte after its check byte).
Bytes payloadOf(const Bytes& f) {
    const std::size_t etx = dataCode(f) == 0x0008 ? f.size() - 3 : f.size() - 2;
    return Bytes(f.begin() + 4, f.begin() + static_cast<std::ptrdiff_t>(etx));
}

class DataSettingConversation : public ::testing::TestWithParam<int> {
protected:
    DataSettingConversation() : handset(static_cast<std::uint8_t>(GetParam())) {}

    void SetUp() override {
        handset.data = handsetData();
        // The handset keeps what is written, so the read-back shows it.
        handset.override = [this](const Bytes& f, int) -> std::optional<std::vector<ScriptedHandset::Reply>> {
            const std::uint16_t code = dataCode(f);
            if (code == 0 || code >= 0x1000) {
                return std::nullopt;
            }
            Bytes stored;
            for (const std::uint8_t b : payloadOf(f)) {
                stored.push_back(static_cast<std::uint8_t>(b - 0x20));
            }
            Bytes& block = handset.data[static_cast<std::uint16_t>(code | 0x1000)];
            if (code == 0x0001) { // the version itself is not writable
                stored[0] = block.at(0);
                stored[1] = block.at(1);
            }
            block = stored;
            return std::nullopt;
        };
        link.setPeer(&handset);
        link.engine().setResponseSink(&parser);
    }

    bool runScript(std::uint8_t script) {
        auto& engine = link.engine();
        engine.resetLinkState();
        engine.setOperation(0xA000);
        engine.setScript(script, link::kScriptRunning);
        engine.openRequest();
        const bool ended =
            link.runUntil([&] { return link.state().dialogueState != link::kScriptRunning; }, 120000);
        image = SystemParamImage::fromStore(store);
        return ended;
    }

    std::uint32_t model() const { return static_cast<std::uint32_t>(GetParam()); }

    VirtualLink link;
    ScriptedHandset handset;
    handset::HandsetStore store;
    handset::StoreSink parser{store};
    // What the store holds after the last script, as the data setting mode sees it.
    SystemParamImage image;
};

TEST_P(DataSettingConversation, ReadFillsTheImageWithEveryBlockAsSent) {
    ASSERT_TRUE(runScript(0));
    EXPECT_EQ(link.state().dialogueState, link::kKeepAlive);
    EXPECT_TRUE(link.messages.empty());
    for (const auto& [code, data] : handsetData()) {
        const auto block = image.block(code);
        if (code == 0x1004) {
            EXPECT_TRUE(block.empty());
            continue;
        }
        const bool skipped = code == 0x1008 && model() != 2;
        const Bytes expected = skipped ? Bytes(5, 0) : data;
        EXPECT_EQ(Bytes(block.begin(), block.end()), expected) << std::hex << code;
    }
}

TEST_P(DataSettingConversation, WriteSendsTheEditedAndCarriedBlocksAndReadsThemBack) {
    ASSERT_TRUE(runScript(0));
    V v = DataSetCodec::decode(image, model(), QString());
    v.psId = DataSetCodec::digitRow(268435455);
    v.handoverLevels = {35, 0, 70, 36, 30};
    v.ferThreshold = 200;
    v.systemCall = DataSetCodec::digitRow(536870911);
    v.controlChannel = 2;
    v.ferTriggeredLevel = 5;
    v.additionalIds[0] = {1, 15, 15, 15};
    if (model() != 3) {
        v.areaType = 0;
        v.additionalIdCount = 2;
    }
    v.accessory = 0;
    v.rxGain = 0;
    DataSetCodec::encode(v, model(), image);
    ASSERT_TRUE(SystemParamFrames::fillRequestBuffers(image, link.state().requests));
    const std::size_t readFrames = link.sent.size();

    ASSERT_TRUE(runScript(1));
    EXPECT_EQ(link.state().dialogueState, link::kKeepAlive);
    EXPECT_TRUE(link.messages.empty());

    std::map<std::uint16_t, Bytes> written;
    std::vector<std::uint16_t> order;
    for (std::size_t i = readFrames; i < link.sent.size(); ++i) {
        const std::uint16_t code = dataCode(link.sent[i].bytes);
        if (code != 0 && code < 0x1000) {
            order.push_back(code);
            written[code] = payloadOf(link.sent[i].bytes);
        }
    }
    std::vector<std::uint16_t> expectedOrder{0x0201, 0x0401, 0x0402, 0x0403, 0x0404, 0x0405, 0x0406,
                                             0x0001, 0x0002, 0x0003, 0x0008, 0x0005, 0x0102, 0x0C01};
    if (model() != 2) {
        std::erase(expectedOrder, 0x0008);
    }
    EXPECT_EQ(order, expectedOrder); // 0x0B01 is built but never sent

    EXPECT_EQ(written[0x0201], (Bytes{0x9F, 0x9F, 0x9F, 0x9F}));
    EXPECT_EQ(written[0x0401], (Bytes{0x6F, 0x4C, 0x92, 0x70, 0x6A, 0x68, 0x21}));
    EXPECT_EQ(written[0x0402], (Bytes{0x9F, 0x9F, 0x9F, 0x9F, 0x21, 0x9F, 0x21}));
    EXPECT_EQ(written[0x0403], model() == 3 ? (Bytes{0x21, 0x28}) : (Bytes{0x20, 0x22}));
    EXPECT_EQ(written[0x0404], (Bytes{0x9F, 0x5F, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28}));
    EXPECT_EQ(written[0x0405], (Bytes{0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38}));
    EXPECT_EQ(written[0x0406], (Bytes{0x22, 0x34, 0x3E, 0x2A, 0x25}));
    EXPECT_EQ(written[0x0001], (Bytes{0x20, 0x20, 0x65, 0x83}));
    EXPECT_EQ(written[0x0C01], (Bytes{0x20}));
    if (model() == 2) {
        EXPECT_EQ(written[0x0008], (Bytes{0x20, 0x23, 0x21, 0x20, 0x20}));
    }
    // Blocks of other modes go back exactly as the handset sent them.
    for (const std::uint16_t code : {0x0002, 0x0003, 0x0005, 0x0102}) {
        EXPECT_EQ(written[code], plus20(handsetData().at(static_cast<std::uint16_t>(code | 0x1000))))
            << std::hex << code;
    }

    // The read-back shows what was written.
    V shown = DataSetCodec::decode(image, model(), QString());
    EXPECT_EQ(shown, v);
    EXPECT_EQ(image.systemCallValue(), 536870911u);
}

TEST_P(DataSettingConversation, AFileSavedFromTheImageOpensAsTheScreenShowsTheHandset) {
    handset.data[0x1406] = {1, 45, 10, 5, 3}; // a seamless FER threshold the two forms write differently
    ASSERT_TRUE(runScript(0));
    const V onScreen = DataSetCodec::decode(image, model(), "memo");
    const LogFile1Text file = LogFile1Writer::fromImage(image, model(), "memo");
    ASSERT_TRUE(file.ok());
    const LogFile1ScreenRead read = LogFile1Reader::read(file.bytes, model(), V());
    EXPECT_TRUE(read.messages.isEmpty());
    V expected = onScreen;
    if (model() == 3) { // the ZX-VA150 file carries no seamless, ID or gain lines
        expected.seamlessProcessLevel = expected.seamlessSelectLevel = expected.seamlessFerThreshold =
            V::kNone;
        expected.additionalIds = V().additionalIds;
    }
    if (model() != 2) {
        expected.rxGain = V::kNone;
    }
    EXPECT_EQ(read.values, expected);
}

INSTANTIATE_TEST_SUITE_P(Models, DataSettingConversation, ::testing::Values(2, 3, 4));

} // namespace
} // namespace tolvan::dataset

// The handset setting read and write against a scripted handset on the virtual clock: what the
// store holds after script 15, and which records script 16 sends with which payload bytes.
#include "handset/storesink.h"
#include "modes/psent/model/psentcodec.h"
#include "modes/psent/model/psentframes.h"
#include "modes/psent/model/psentoperations.h"
#include "tests/modes/psent/samplesettings.h"
#include "tests/support/scriptedhandset.h"
#include "tests/support/virtuallink.h"

#include <gtest/gtest.h>

#include <map>

namespace tolvan::psent {
namespace {

using link::Bytes;
using test::ScriptedHandset;
using test::VirtualLink;
using V = PsEntScreenValues;

std::map<std::uint16_t, Bytes> handsetData() {
    auto data = testing::sampleRecords();
    data[0x1104][21] = 0xFF; // a noise-cut type the handset never set: 0x1F on the wire
    data[0x1B01] = {'Z', 'K', 'O'};
    data[0x1003] = {0x2C, 0x02, 0x00, 0x38, 0x17, 0x03, 0xFE, 0x7F, 0x01, 0x00, 0x02, 0x7F, 0x7F, 0x03};
    data[0x1406] = {0, 20, 30, 10, 2};
    return data;
}

std::uint16_t dataCode(const Bytes& f) {
    if (f.size() < 6 || f[1] != 0x30) {
        return 0;
    }
    return static_cast<std::uint16_t>(((f[2] - 0x20) << 8) | (f[3] - 0x20));
}

Bytes payloadOf(const Bytes& f) {
    const std::size_t etx = dataCode(f) == 0x0008 ? f.size() - 3 : f.size() - 2;
    return Bytes(f.begin() + 4, f.begin() + static_cast<std::ptrdiff_t>(etx));
}

Bytes plus20(const Bytes& decoded) {
    Bytes out;
    for (const std::uint8_t b : decoded) {
        out.push_back(static_cast<std::uint8_t>(b + 0x20));
    }
    return out;
}

class HandsetSettingConversation : public ::testing::TestWithParam<int> {
protected:
    HandsetSettingConversation() : handset(static_cast<std::uint8_t>(GetParam())) {}

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
            handset.data[static_cast<std::uint16_t>(code | 0x1000)] = stored;
            return std::nullopt;
        };
        link.setPeer(&handset);
        link.engine().setResponseSink(&parser);
    }

    bool runScript(std::uint32_t operation, std::uint8_t script) {
        auto& engine = link.engine();
        engine.resetLinkState();
        engine.setOperation(operation);
        engine.setScript(script, link::kScriptRunning);
        engine.openRequest();
        return link.runUntil([&] { return link.state().dialogueState != link::kScriptRunning; }, 120000);
    }

    std::uint32_t model() const { return static_cast<std::uint32_t>(GetParam()); }

    VirtualLink link;
    ScriptedHandset handset;
    handset::HandsetStore store;
    handset::StoreSink parser{store};
};

TEST_P(HandsetSettingConversation, ReadFillsTheStoreForTheScreen) {
    ASSERT_TRUE(runScript(op::kReading, op::kReadScript));
    EXPECT_EQ(link.state().dialogueState, link::kKeepAlive);
    EXPECT_TRUE(link.messages.empty());
    const V shown = PsEntCodec::decode(HandsetSettingImage::fromStore(store), model(), QString());
    V expected = testing::sampleScreen();
    expected.noiseCutType = 0;
    expected.memo.clear();
    expected.connectedModel = QString::fromLatin1(link::modelNameOf(model()));
    if (model() != 2) { // records 0x1008 (and for a ZX-VA150 0x1407) are not read
        expected.manualHandoverButton = expected.volumeButton = 0;
    }
    if (model() == 3) {
        expected.hearingTimer = expected.hearingMode = 0;
    }
    EXPECT_EQ(shown, expected);
    // The data setting records the script also reads reach the same store.
    EXPECT_EQ(dataset::SystemParamImage::fromStore(store).channel[0], 0);
    EXPECT_EQ(dataset::SystemParamImage::fromStore(store).channel[2], 30);
}

TEST_P(HandsetSettingConversation, WriteSendsEveryRecordOfTheModelAndReadsThemBack) {
    ASSERT_TRUE(runScript(op::kReading, op::kReadScript));
    HandsetSettingImage image = HandsetSettingImage::fromStore(store);
    V v = PsEntCodec::decode(image, model(), QString());
    v.pin = {9, 8, 7, 6};
    v.psNumber = {3, 9, 1};
    v.receiveVolume = 0;
    v.menuSlots = {};
    v.menuSlots[2] = 2;
    v.remoteKeys[2].parameter = 249; // No.250
    v.callNumbers[8] = "8000";
    v.hearingTimer = 3;
    v.manualHandoverButton = 6; // never editable: the handset's value goes back
    const auto message = PsEntCodec::prepareWrite(v, model(), image);
    ASSERT_TRUE(message.has_value());
    image.storeInto(store.prepareWrite());
    ASSERT_TRUE(PsEntFrames::fillRequestBuffers(store.pendingWrite(), link.state().requests));
    const std::size_t readFrames = link.sent.size();

    ASSERT_TRUE(runScript(op::kWriting, op::kWriteScript));
    EXPECT_EQ(link.state().dialogueState, link::kKeepAlive);
    EXPECT_TRUE(link.messages.empty());

    std::vector<std::uint16_t> steps;
    std::map<std::uint16_t, Bytes> written;
    for (std::size_t i = readFrames; i < link.sent.size(); ++i) {
        const Bytes& f = link.sent[i].bytes;
        if (f == Bytes{0x02, 0x21, 0x03, 0x22}) {
            steps.push_back(0x21FF);
        }
        const std::uint16_t code = dataCode(f);
        if (code != 0) {
            steps.push_back(code);
            if (code < 0x1000) {
                written[code] = payloadOf(f);
            }
        }
    }
    std::vector<std::uint16_t> expected{0x1B01, 0x0102, 0x0301, 0x0201, 0x0407, 0x0104, 0x0302, 0x0105,
                                        0x0106, 0x0107, 0x0108, 0x0109, 0x010A, 0x0008, 0x1201, 0x1301,
                                        0x1407, 0x1102, 0x1104, 0x1003, 0x1302, 0x1105, 0x1106, 0x1107,
                                        0x1108, 0x1109, 0x110A, 0x1008, 0x21FF};
    if (model() != 2) {
        std::erase(expected, 0x0008);
        std::erase(expected, 0x1008);
    }
    if (model() == 3) {
        std::erase(expected, 0x0407);
        std::erase(expected, 0x1407);
        EXPECT_EQ(expected.size(), 25u);
    }
    EXPECT_EQ(steps, expected);

    const auto records = handsetData();
    // 0x0102: D11 receive volume 0 in its low nibble; D1, D2, D8-D12 as low nibbles.
    EXPECT_EQ(written[0x0102],
              (Bytes{0x2A, 0x25, 0x61, 0x20, 0x9F, 0x30, 0x25, 0x21, 0x22, 0x2F, 0x20, 0x21, 0x21}));
    EXPECT_EQ(written[0x0301], (Bytes{0x53, 0x59, 0x51, 0x20, 0x20, 0x20, 0x20}));
    EXPECT_EQ(written[0x0201], (Bytes{0x5A, 0x8F, 0x3A, 0x35}));
    // A ZX-VA100 takes the new PIN; the others get back the PIN last read.
    EXPECT_EQ(written[0x0302],
              model() == 2 ? (Bytes{0x59, 0x58, 0x57, 0x56}) : (Bytes{0x51, 0x52, 0x53, 0x54}));
    Bytes op = plus20(records.at(0x1104));
    op[21] = 0x20; // the unset noise-cut type goes out as type 1
    if (model() != 2) {
        std::fill(op.begin() + 4, op.begin() + 18, 0x20);
        op[4 + 1] = 0x21; // all call alone, at position 1
    }
    EXPECT_EQ(written[0x0104], op);
    const Bytes& keys = written[0x0105];
    ASSERT_EQ(keys.size(), 30u);
    EXPECT_EQ(Bytes(keys.begin() + 12, keys.begin() + 16), (Bytes{0x28, 0x22, 0x25, 0x20}));
    EXPECT_EQ(Bytes(written[0x0106].begin() + 32, written[0x0106].begin() + 36),
              (Bytes{0x20, 0x21, 0x20, 0x29}));
    EXPECT_EQ(written[0x0109], plus20(records.at(0x1109)));
    EXPECT_EQ(written[0x010A], (Bytes{0x22, 0x51}));
    if (model() != 3) {
        EXPECT_EQ(written[0x0407], (Bytes{0x23, 0x21}));
    }
    if (model() == 2) {
        EXPECT_EQ(written[0x0008], (Bytes{0x21, 0x22, 0x21, 0x20, 0x20}));
    }

    // The read-back shows what the handset now holds.
    const V shown = PsEntCodec::decode(HandsetSettingImage::fromStore(store), model(), QString());
    EXPECT_EQ(shown.callNumbers[8], "0109");
    EXPECT_EQ(shown.psNumber, (std::array<int, 3>{3, 9, 1}));
    EXPECT_EQ(shown.remoteKeys[2], (V::FunctionChoice{7, 249}));
}

INSTANTIATE_TEST_SUITE_P(Models, HandsetSettingConversation, ::testing::Values(2, 3, 4));

} // namespace
} // namespace tolvan::psent

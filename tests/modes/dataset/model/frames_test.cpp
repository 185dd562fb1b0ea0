// Write frames of the data setting write, and the image as the store's sink fills it.
#include "modes/dataset/model/systemparamframes.h"

#include "handset/storesink.h"

#include "link/core/receiver.h"
#include "tests/support/heldblocks.h"
#include "tests/support/scriptedhandset.h"

#include <gtest/gtest.h>

namespace tolvan::dataset {
namespace {

using link::Bytes;
using test::ScriptedHandset;

// Feeds one response frame through the real receiver into the store.
bool receive(link::LinkState& state, handset::StoreSink& sink, const Bytes& frame) {
    std::copy(frame.begin(), frame.end(), state.receiveBuffer.begin());
    state.receiveLength = frame.size();
    return link::validateUnit(state, sink);
}

// Data bytes as a handset sends them: every one a proper encoding of its field.
Bytes dacBlock() {
    Bytes b{0x0A, 0x05, 0x0F, 0x0E}; // A = 0x5A, B = 0xEF as nibbles, low first
    for (std::uint8_t k = 0; k < 8; ++k) {
        b.insert(b.end(), {static_cast<std::uint8_t>(0x70 + k), 0x7F, 0x01, 0x40, 0x0F});
    }
    return b;
}

Bytes rssiBlock() {
    return {0x2C, 0x02, 0x00, 0x38, 0x17, 0x03, 0xFE, 0x7F, 0x01, 0x00, 0x02, 0x7F, 0x7F, 0x03};
}

Bytes ampBlock() {
    Bytes b;
    for (std::uint8_t k = 0; k < 8; ++k) {
        b.insert(b.end(), {0x3C, static_cast<std::uint8_t>(k), 0x00, 0x00, 0x00});
    }
    return b;
}

Bytes otherBlock() {
    return {0x03, 0x0C, 0x41, 0x00, 0x7F, 0x10, 0x05, 0x01, 0x02, 0x0F, 0x02, 0x01, 0x01};
}

Bytes plus20(const Bytes& decoded) {
    Bytes out;
    for (const std::uint8_t b : decoded) {
        out.push_back(static_cast<std::uint8_t>(b + 0x20));
    }
    return out;
}

TEST(WriteFrames, EveryBufferTakesItsFrameAtTheCatalogueLength) {
    SystemParamImage image;
    image.levels = {0xFF, 0x80, 0, 0, 0, 0xFF, 0xFF}; // wrapped bytes must not break the frames
    link::RequestBuffers buffers;
    ASSERT_TRUE(SystemParamFrames::fillRequestBuffers(image, buffers));
    for (const std::uint16_t code : SystemParamFrames::writeCodes()) {
        const auto sent = link::transmitBytesOf(code, buffers);
        ASSERT_TRUE(sent.has_value()) << std::hex << code;
        EXPECT_EQ(sent->size(), link::findCommand(code)->byteCount) << std::hex << code;
        EXPECT_EQ((*sent)[2], 0x20 + (code >> 8));
        EXPECT_EQ((*sent)[3], 0x20 + (code & 0xFF));
    }
    // 0x0008 is an 11-byte frame followed by one zero byte on the wire.
    EXPECT_EQ(link::transmitBytesOf(0x0008, buffers)->back(), 0x00);
    EXPECT_TRUE(SystemParamFrames::payload(0x0104, image).empty());
}

TEST(WriteFrames, BlocksOfOtherModesGoBackExactlyAsRead) {
    link::LinkState state;
    handset::HandsetStore store;
    handset::StoreSink parser(store);
    const std::pair<std::uint16_t, Bytes> reads[] = {
        {0x1002, dacBlock()}, {0x1003, rssiBlock()}, {0x1005, ampBlock()}, {0x1102, otherBlock()}};
    for (const auto& [code, data] : reads) {
        ASSERT_TRUE(receive(state, parser, ScriptedHandset::dataResponse(code, data)));
        EXPECT_EQ(state.resultClass, link::rc::kDataReceived);
    }
    const SystemParamImage image = SystemParamImage::fromStore(store);
    for (const auto& [code, data] : reads) {
        const auto writeCode = static_cast<std::uint16_t>(code & 0x0FFF);
        EXPECT_EQ(SystemParamFrames::payload(writeCode, image), plus20(data)) << std::hex << writeCode;
    }
}

TEST(WriteFrames, CarriedBlocksUseTheirOwnersEncodings) {
    SystemParamImage image;
    image.otherParams.fill(0x37); // D1, D2, D8-D12 travel as their low four bits
    const Bytes other = SystemParamFrames::payload(0x0102, image);
    EXPECT_EQ(other, (Bytes{0x27, 0x27, 0x57, 0x57, 0x57, 0x57, 0x57, 0x27, 0x27, 0x27, 0x27, 0x27, 0x57}));
    image.rssi.fill(0xFF); // 16-bit coefficients: two groups and two bits; C and D whole
    EXPECT_EQ(SystemParamFrames::payload(0x0003, image),
              (Bytes{0x9F, 0x9F, 0x23, 0x9F, 0x9F, 0x23, 0x1F, 0x1F, 0x9F, 0x9F, 0x23, 0x9F, 0x9F, 0x23}));
}

TEST(SystemParamImage, HoldsEveryBlockOfTheReadAsReceived) {
    link::LinkState state;
    handset::HandsetStore store;
    handset::StoreSink parser(store);
    ASSERT_TRUE(receive(state, parser, ScriptedHandset::dataResponse(0x1B01, {'Z', 'K', 'O'})));
    ASSERT_TRUE(receive(state, parser, ScriptedHandset::dataResponse(0x1001, {1, 23, 4, 5})));
    ASSERT_TRUE(receive(state, parser, ScriptedHandset::dataResponse(0x1008, {1, 2, 3, 0, 0})));
    ASSERT_TRUE(receive(state, parser, ScriptedHandset::dataResponse(0x1201, {0x7F, 0x7F, 0x7F, 0x7F})));
    ASSERT_TRUE(receive(state, parser, ScriptedHandset::dataResponse(0x1401, {44, 45, 46, 47, 48, 0x48, 1})));
    ASSERT_TRUE(receive(state, parser, ScriptedHandset::dataResponse(0x1402, {1, 2, 3, 4, 1, 0x7F, 1})));
    ASSERT_TRUE(receive(state, parser, ScriptedHandset::dataResponse(0x1403, {1, 8})));
    ASSERT_TRUE(receive(state, parser, ScriptedHandset::dataResponse(0x1404, {1, 2, 3, 4, 5, 6, 7, 8})));
    ASSERT_TRUE(
        receive(state, parser, ScriptedHandset::dataResponse(0x1405, {9, 10, 11, 12, 13, 14, 15, 16})));
    ASSERT_TRUE(receive(state, parser, ScriptedHandset::dataResponse(0x1406, {2, 10, 80, 31, 5})));
    ASSERT_TRUE(receive(state, parser, ScriptedHandset::dataResponse(0x1C01, {1})));
    EXPECT_EQ(state.resultClass, link::rc::kDataReceived);
    const SystemParamImage image = SystemParamImage::fromStore(store);

    SystemParamImage expected;
    expected.faultCode = {'Z', 'K', 'O'};
    expected.version = {1, 23, 4, 5};
    expected.gain = {1, 2, 3, 0, 0};
    expected.psId = {0x7F, 0x7F, 0x7F, 0x7F};
    expected.levels = {44, 45, 46, 47, 48, 0x48, 1};
    expected.systemCall = {1, 2, 3, 4, 1, 0x7F, 1};
    expected.area = {1, 8};
    expected.additionalIds = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    expected.channel = {2, 10, 80, 31, 5};
    expected.accessory = 1;
    EXPECT_EQ(image, expected);
}

TEST(SystemParamImage, WrappedBytesKeepTheirEighthBit) {
    link::LinkState state;
    handset::HandsetStore store;
    handset::StoreSink parser(store);
    // 0x1F on the wire is the decoded value 0xFF.
    Bytes frame = ScriptedHandset::dataResponse(0x1201, {0x7F, 0x7F, 0x7F, 0x7F});
    frame[5] = 0x1F;
    frame.back() = link::checkByte(frame, static_cast<std::uint8_t>(frame.size() - 1));
    ASSERT_TRUE(receive(state, parser, frame));
    const SystemParamImage image = SystemParamImage::fromStore(store);
    EXPECT_EQ(image.psId[0], 0xFF);
    EXPECT_EQ(image.psIdValue(), 0x0FFFFFFFu);
}

TEST(SystemParamImage, ShortAnswersUpdateOnlyTheirBytesAndOthersAreLeftAlone) {
    link::LinkState state;
    handset::HandsetStore store;
    SystemParamImage image;
    image.levels = {50, 51, 52, 53, 54, 55, 1};
    handset::HandsetBlocks first;
    image.storeInto(first);
    test::hold(store, 0x1401, first.block(0x1401));
    handset::StoreSink parser(store);
    ASSERT_TRUE(receive(state, parser, ScriptedHandset::dataResponse(0x1401, {60, 61})));
    image = SystemParamImage::fromStore(store);
    EXPECT_EQ(image.levels, (std::array<std::uint8_t, 7>{60, 61, 52, 53, 54, 55, 1}));
    const SystemParamImage before = image;
    // Blocks of other modes: kept in the store, outside the image, result class untouched.
    ASSERT_TRUE(receive(state, parser, ScriptedHandset::dataResponse(0x1104, Bytes(24, 1))));
    ASSERT_TRUE(receive(state, parser, ScriptedHandset::dataResponse(0x1004, Bytes(10, 1))));
    ASSERT_TRUE(receive(state, parser, ScriptedHandset::dataResponse(0x1501, Bytes(40, 1))));
    EXPECT_EQ(state.resultClass, link::rc::kDataReceived);
    image = SystemParamImage::fromStore(store);
    EXPECT_EQ(image, before);
    EXPECT_EQ(store.block(0x1104, 24)[23], 1);
    EXPECT_FALSE(SystemParamImage::covers(0x1104));
    EXPECT_TRUE(SystemParamImage::covers(0x1102));
}

} // namespace
} // namespace tolvan::dataset

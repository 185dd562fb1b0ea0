// The write-back's frames from the store, and its check of what the handset holds afterwards.
#include "modes/datasave/model/saveset.h"
#include "modes/datasave/model/writebackframes.h"
#include "modes/datasave/model/writebackverify.h"
#include "modes/psent/model/handsetsettingimage.h"
#include "tests/modes/datasave/model/simhandsetstore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace tolvan::datasave {
namespace {

using test::storeReadFromSim;

TEST(WriteBackFrames, EveryWriteOfScript19IsBuiltFromTheStore) {
    EXPECT_EQ(
        WriteBackFrames::writeCodes(),
        (std::vector<std::uint16_t>{0x0102, 0x0104, 0x0105, 0x0106, 0x0107, 0x0108, 0x0109, 0x010A, 0x0201,
                                    0x0301, 0x0401, 0x0402, 0x0403, 0x0404, 0x0405, 0x0406, 0x0407, 0x0C01}));
    const handset::HandsetStore store = storeReadFromSim(2);
    link::RequestBuffers buffers;
    ASSERT_TRUE(WriteBackFrames::fillRequestBuffers(store, buffers));
    for (const std::uint16_t code : WriteBackFrames::writeCodes()) {
        EXPECT_TRUE(link::transmitBytesOf(code, buffers).has_value()) << std::hex << code;
    }
    // A handset setting record goes out as the store holds it: 0x0104 from 0x1104, each byte + 0x20.
    const auto operation = store.block(0x1104, 24);
    link::Bytes payload;
    for (const std::uint8_t b : operation) {
        payload.push_back(link::encodeSmall(b));
    }
    EXPECT_EQ(*buffers.get(0x0104), link::buildDataFrame(0x0104, payload));
    // The accessory switch of 0x1C01.
    EXPECT_EQ(*buffers.get(0x0C01),
              link::buildDataFrame(0x0C01, link::Bytes{link::encodeSmall(store.block(0x1C01)[0])}));
}

TEST(WriteBackVerify, TheSameStoreOnBothSidesHasNoDifference) {
    for (const std::uint8_t model : {2, 3, 4}) {
        const handset::HandsetStore store = storeReadFromSim(model);
        EXPECT_TRUE(compareWriteBack(store, store, model).isEmpty()) << int(model);
    }
}

TEST(WriteBackVerify, ABlockTheHandsetDidNotTakeListsItsLines) {
    const handset::HandsetStore expected = storeReadFromSim(4);
    handset::HandsetStore handset = expected;
    // The levels the write sent, and the PS number, did not land.
    std::array<std::uint8_t, 7> levels{};
    std::copy_n(expected.block(0x1401).begin(), levels.size(), levels.begin());
    for (std::uint8_t i = 0; i < 5; ++i) {
        levels[i] = static_cast<std::uint8_t>(34 + 1 + i);
    }
    handset.storeResponse(0x1401, levels);
    const std::uint8_t psNumber[] = {'1', '9', '9'};
    handset.storeResponse(0x1301, psNumber);
    const auto differences = compareWriteBack(expected, handset, 4);
    const QList<WriteBackDifference> want{
        {QStringLiteral("待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ"), QStringLiteral("30"), QStringLiteral("1")},
        {QStringLiteral("待ち受けｿﾞｰﾝ保持ﾚﾍﾞﾙ"), QStringLiteral("20"), QStringLiteral("2")},
        {QStringLiteral("再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ"), QStringLiteral("25"), QStringLiteral("3")},
        {QStringLiteral("再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ選択ﾚﾍﾞﾙ"), QStringLiteral("35"), QStringLiteral("4")},
        {QStringLiteral("TCH切替え型ﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ"), QStringLiteral("28"), QStringLiteral("5")},
    };
    ASSERT_EQ(differences.size(), want.size() + 1);
    EXPECT_EQ(differences.mid(0, want.size()), want);
    EXPECT_EQ(differences.last().label, QStringLiteral("PS番号"));
    EXPECT_EQ(differences.last().handsetValue, QStringLiteral("1 9 9"));
}

TEST(WriteBackVerify, LinesTheWriteBackDoesNotSendAreNotCompared) {
    const handset::HandsetStore expected = storeReadFromSim(2);
    handset::HandsetStore handset = expected;
    const std::uint8_t version[] = {9, 9, 9, 9};
    handset.storeResponse(0x1001, version);
    const std::uint8_t gain[] = {0, 0, 0, 0, 0};
    handset.storeResponse(0x1008, gain);
    const std::uint8_t fault[] = {'A', 'B', 'C'};
    handset.storeResponse(0x1B01, fault);
    EXPECT_TRUE(compareWriteBack(expected, handset, 2).isEmpty());
}

} // namespace
} // namespace tolvan::datasave

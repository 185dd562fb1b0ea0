// The write-back's frames from the store, and its check of what the handset holds afterwards.
#include "modes/datasave/model/saveset.h"
#include "modes/datasave/model/writebackframes.h"
#include "modes/datasave/model/writebackverify.h"
#include "modes/psent/model/handsetsettingimage.h"
#include "tests/modes/datasave/model/simhandsetstore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <span>

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
    tolvan::test::hold(handset, 0x1401, levels);
    const std::uint8_t psNumber[] = {'1', '9', '9'};
    tolvan::test::hold(handset, 0x1301, psNumber);
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
    EXPECT_EQ(differences.last().second, QStringLiteral("1 9 9"));
}

TEST(WriteBackVerify, LinesTheWriteBackDoesNotSendAreNotCompared) {
    const handset::HandsetStore expected = storeReadFromSim(2);
    handset::HandsetStore handset = expected;
    const std::uint8_t version[] = {9, 9, 9, 9};
    tolvan::test::hold(handset, 0x1001, version);
    const std::uint8_t gain[] = {0, 0, 0, 0, 0};
    tolvan::test::hold(handset, 0x1008, gain);
    const std::uint8_t fault[] = {'A', 'B', 'C'};
    tolvan::test::hold(handset, 0x1B01, fault);
    EXPECT_TRUE(compareWriteBack(expected, handset, 2).isEmpty());
}

// diff and check: every line with a meaning for the handset, the PS-ID of a set once.
TEST(HandsetCompare, EveryLineButTheMemoCountsAndASetsPsIdOnce) {
    const handset::HandsetStore file = storeReadFromSim(2);
    handset::HandsetStore handset = file;
    const std::uint8_t version[] = {9, 9, 9, 9};
    tolvan::test::hold(handset, 0x1001, version);
    const std::uint8_t fault[] = {'A', 'B', 'C'};
    tolvan::test::hold(handset, 0x1B01, fault);
    const std::uint8_t psId[] = {0, 0, 0, 1};
    tolvan::test::hold(handset, 0x1201, psId);
    const QStringList all{QStringLiteral("外部ﾏｲｺﾝｿﾌﾄｳｪｱ"), QStringLiteral("PS-ID"),
                          QStringLiteral("障害監視ｺｰﾄﾞ")};
    auto labels = [](const QList<WriteBackDifference>& differences) {
        QStringList out;
        for (const auto& d : differences) {
            out << d.label;
        }
        return out;
    };
    EXPECT_EQ(labels(compareLogFile1(file, handset, 2, ComparedLines::Handset)), all);
    EXPECT_EQ(labels(compareLogFile1(file, handset, 2, ComparedLines::HandsetBesideLogFile4)),
              (QStringList{all.at(0), all.at(2)}));
    EXPECT_EQ(compareLogFile1(file, handset, 2, ComparedLines::Handset).at(2),
              (WriteBackDifference{all.at(2), QStringLiteral("Z K O"), QString()}));
    EXPECT_EQ(labels(compareLogFile4(file, handset, 2, ComparedLines::Handset)), QStringList{"PS-ID"});
}

// A write closes the gaps of a menu, so only its order counts, except in a write-back's own check.
TEST(HandsetCompare, AMenuWhoseGapsAloneDifferHoldsTheSameFunctions) {
    const handset::HandsetStore gapped = storeReadFromSim(4);
    psent::HandsetSettingImage image = psent::HandsetSettingImage::fromStore(gapped);
    const auto menu = std::span(image.operation).subspan(psent::HandsetSettingImage::MenuFirst, 14);
    std::array<std::uint8_t, 14> positions{};
    std::copy(menu.begin(), menu.end(), positions.begin());
    ASSERT_NE(std::ranges::max(positions), std::ranges::count_if(positions, [](auto p) { return p != 0; }))
        << "the sim's menu has no gap";
    std::uint8_t next = 0;
    for (std::uint8_t p = 1; p <= 14; ++p) {
        const auto at = std::ranges::find(positions, p);
        if (at != positions.end()) {
            menu[static_cast<std::size_t>(at - positions.begin())] = ++next;
        }
    }
    handset::HandsetBlocks compact = gapped;
    image.storeInto(compact);
    EXPECT_TRUE(compareLogFile4(gapped, compact, 4, ComparedLines::Handset).isEmpty());
    ASSERT_EQ(compareLogFile4(gapped, compact, 4, ComparedLines::WriteBack).size(), 1);

    // Another order is another menu.
    std::swap(menu[0], menu[1]);
    image.storeInto(compact);
    const auto moved = compareLogFile4(gapped, compact, 4, ComparedLines::Handset);
    ASSERT_EQ(moved.size(), 1);
    EXPECT_EQ(moved.first().label, QStringLiteral("ﾒﾆｭｰ割り当て設定"));
}

} // namespace
} // namespace tolvan::datasave

// Each buffer entry's text: the tables, the markers, the empty slots and the hex fallbacks.
#include "modes/log/model/buffertexts.h"
#include "modes/log/model/commerrortexts.h"
#include "modes/log/model/logdisplaylists.h"

#include <gtest/gtest.h>

namespace tolvan::log {
namespace {

using T = BufferTexts;

QString err(std::uint8_t head, std::uint8_t code, std::uint8_t detail) {
    return CommErrorTexts::line(head, code, detail);
}

TEST(EmptyBuffers, RenderAsIdleNormalEndAndDashes) {
    const LogDisplayLists lists = LogDisplayLists::fromBuffers(HandsetBuffers{});
    EXPECT_EQ(lists.rows(BufferKind::CommEvent), QStringList(16, "ｱｲﾄﾞﾙ"));
    EXPECT_EQ(lists.rows(BufferKind::MmiEvent), QStringList(16, "ｱｲﾄﾞﾙ"));
    EXPECT_EQ(lists.rows(BufferKind::CommStatus), QStringList(80, "ｱｲﾄﾞﾙ"));
    EXPECT_EQ(lists.rows(BufferKind::MmiStatus), QStringList(1, "ｱｲﾄﾞﾙ"));
    EXPECT_EQ(lists.rows(BufferKind::CommErrorStatus), QStringList(36, "正常終了"));
    EXPECT_EQ(lists.rows(BufferKind::HandsetError), QStringList(16, "--------------------"));
    // A cleared list 4 shows 16 of the 80 rows; every other list as an empty buffer reads.
    LogDisplayLists cleared = lists;
    cleared.setRows(BufferKind::CommStatus, QStringList(16, "ｱｲﾄﾞﾙ"));
    EXPECT_EQ(LogDisplayLists::defaults(), cleared);
}

TEST(EventEntries, MarkerFlagAndUnknownPairs) {
    EXPECT_EQ(T::commEvent(0x90, 0x01), "[Y]連続受信ﾃｽﾄ");
    EXPECT_EQ(T::commEvent(0x01, 0x03), "01:03");
    EXPECT_EQ(T::commEvent(0xFF, 0xFF), "[Y]7F:FF");
    EXPECT_EQ(T::mmiEvent(0xFF, 0xFF), "[Y]7F:FF");
    // Type 0 with a kind is no empty slot; the whole kind byte counts for events.
    EXPECT_EQ(T::commEvent(0x00, 0x05), "00:05");
    EXPECT_EQ(T::mmiEvent(0x05, 0x83), "05:83");
    EXPECT_EQ(T::commEvent(0x80, 0x00), "[Y]ｱｲﾄﾞﾙ");
}

TEST(EventEntries, EachBufferUsesItsOwnTable) {
    EXPECT_EQ(T::commEvent(0x02, 0x07), "待受け");
    EXPECT_EQ(T::commEvent(0x20, 0x07), "送信AMPﾊﾞｲｱｽ補正値測定(ﾊﾞｰｽﾄ送信PN9段)");
    EXPECT_EQ(T::commEvent(0x04, 0x00), "04:00");
    EXPECT_EQ(T::mmiEvent(0x04, 0x00), "ﾌﾞｻﾞｰ音停止");
    EXPECT_EQ(T::mmiEvent(0x02, 0x07), "02:07");
}

TEST(StatusEntries, RAndEMarkersAndSevenBitKinds) {
    EXPECT_EQ(T::commStatus(0x81, 0x83), "[R][E]初期化終了ｱｲﾄﾞﾙ(通常)");
    EXPECT_EQ(T::mmiStatus(0x05, 0x83), "[E]受話音量大設定");
    EXPECT_EQ(T::mmiStatus(0x85, 0x03), "[R]受話音量大設定");
    EXPECT_EQ(T::mmiStatus(0x00, 0x80), "[E]ｱｲﾄﾞﾙ");
    EXPECT_EQ(T::commStatus(0xFF, 0xFF), "[R][E]7F:7F");
}

TEST(StatusEntries, CommunicationStatusKeepsItsSpellingsAndSharesTheTestStates) {
    EXPECT_EQ(T::commStatus(0x02, 0x07), "待ち受け");
    EXPECT_EQ(T::commStatus(0x20, 0x05), "送信AMPﾊﾞｲｱｽ補正値測定(連続送信:PN9段)");
    EXPECT_EQ(T::commStatus(0x10, 0x00), "初期化終了ｱｲﾄﾞﾙ(ﾃｽﾄ)");
    EXPECT_EQ(T::commStatus(0x10, 0x06), "ﾊﾞｰｽﾄ送信ﾃｽﾄ(連続0変調)");
    EXPECT_EQ(T::commStatus(0x20, 0x04), "RSSIｹﾞｲﾝ補正値測定(連続受信)");
    EXPECT_EQ(T::commStatus(0x10, 0x07), "10:07");
    EXPECT_EQ(T::commStatus(0x02, 0x0A), "02:0A");
}

TEST(CommErrorEntries, NamedCodesIndentUnderTheHeadWithTheDetail) {
    EXPECT_EQ(err(0x00, 0x05, 0x1F), "  ｼｰｹﾝｽｴﾗｰ(RT)：1F");
    EXPECT_EQ(err(0x01, 0x0A, 0x00), "必須情報要素不足(MM)：00");
    EXPECT_EQ(err(0x00, 0x0C, 0xAB), "  無効Airﾒｯｾｰｼﾞ(CC)：AB");
    // Only bit 0 of byte 0 and bits 0-6 of the code count.
    EXPECT_EQ(err(0xFE, 0x85, 0x1F), "  ｼｰｹﾝｽｴﾗｰ(RT)：1F");
    EXPECT_EQ(err(0x01, 0x34, 0x07), "PS解放-：07");
    EXPECT_EQ(err(0x00, 0x34, 0x07), "  PS解放：07");
}

TEST(CommErrorEntries, DetailNamedCodes) {
    EXPECT_EQ(err(0x01, 0x1C, 0x03), "TM304P");
    EXPECT_EQ(err(0x00, 0x1C, 0x03), "  TM304P");
    EXPECT_EQ(err(0x00, 0x1C, 0x04), "1C:04");
    EXPECT_EQ(err(0x01, 0x42, 0x08), "TC322P T/O");
    EXPECT_EQ(err(0x01, 0x42, 0x09), "42:09");
    EXPECT_EQ(err(0x01, 0x78, 0x20), "MMIから状態にﾏｯﾁしないｲﾍﾞﾝﾄ発生");
    EXPECT_EQ(err(0x01, 0x78, 0x46), "APL内部監視ﾀｲﾏ満了が発生");
    EXPECT_EQ(err(0x00, 0x78, 0x47), "78:47");
    EXPECT_EQ(err(0x00, 0x78, 0xFF), "  規定されていないｲﾍﾞﾝﾄが発生");
    EXPECT_EQ(err(0x00, 0x74, 0x01), "74:01");
}

TEST(CommErrorEntries, CodeZeroAndUnnamedCodes) {
    EXPECT_EQ(err(0x00, 0x00, 0x00), "正常終了");
    EXPECT_EQ(err(0x01, 0x00, 0x00), "--------------------");
    EXPECT_EQ(err(0x00, 0x00, 0x05), "00:05");
    EXPECT_EQ(err(0x01, 0x00, 0x05), "00:05");
    EXPECT_EQ(err(0x01, 0x7E, 0x02), "7E：02");
    EXPECT_EQ(err(0x00, 0x7E, 0x02), "\u30007E：02");
}

TEST(HandsetErrorEntries, TextsThenHex) {
    EXPECT_EQ(T::handsetError(0), "--------------------");
    EXPECT_EQ(T::handsetError(11), "PCI/F送信ﾊﾞｯﾌｧ空き待ちﾀｲﾑｱｳﾄ発生");
    EXPECT_EQ(T::handsetError(12), "0C");
    EXPECT_EQ(T::handsetError(0xC8), "C8");
}

} // namespace
} // namespace tolvan::log

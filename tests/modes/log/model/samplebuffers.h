#pragma once

// A handset store with a few telling entries in every buffer, as read responses brought them,
// and the rows each buffer's list shows for it.

#include "handset/handsetstore.h"
#include "tests/support/heldblocks.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace tolvan::log::testing {

inline void respond(handset::HandsetStore& store, std::uint16_t code,
                    std::initializer_list<std::uint8_t> data) {
    const std::vector<std::uint8_t> bytes(data);
    tolvan::test::hold(store, code, bytes);
}

inline handset::HandsetStore sampleStore() {
    handset::HandsetStore store;
    respond(store, 0x1501, {0x90, 0x01, 0, 0, 0, 0, 0, 0});
    // Bytes past the four entries of a response are not part of the buffer.
    respond(store, 0x1504, {0, 0, 0, 0, 0, 0, 0x02, 0x07, 0xEE, 0xEE});
    respond(store, 0x1601, {0, 0, 0, 0, 0, 0, 0x05, 0x83});
    respond(store, 0x1701, {0x81, 0x83});
    respond(store, 0x1714, {0, 0, 0, 0, 0, 0, 0x02, 0x07});
    respond(store, 0x1801, {0x05, 0x83});
    respond(store, 0x1901, {0x01, 0x34, 0x10, 0x00, 0x05, 0x1F});
    respond(store, 0x1909, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0x7E, 0x02});
    respond(store, 0x1A01, {0x04});
    respond(store, 0x1A02, {0, 0, 0, 0, 0, 0, 0, 0xC8});
    return store;
}

struct SampleRows {
    std::vector<std::string> commEvent = std::vector<std::string>(16, "ｱｲﾄﾞﾙ");
    std::vector<std::string> mmiEvent = std::vector<std::string>(16, "ｱｲﾄﾞﾙ");
    std::vector<std::string> commStatus = std::vector<std::string>(80, "ｱｲﾄﾞﾙ");
    std::vector<std::string> mmiStatus = {"[E]受話音量大設定"};
    std::vector<std::string> commErrorStatus = std::vector<std::string>(36, "正常終了");
    std::vector<std::string> handsetError = std::vector<std::string>(16, "--------------------");

    SampleRows() {
        commEvent[0] = "[Y]連続受信ﾃｽﾄ";
        commEvent[15] = "待受け";
        mmiEvent[3] = "05:83";
        commStatus[0] = "[R][E]初期化終了ｱｲﾄﾞﾙ(通常)";
        commStatus[79] = "待ち受け";
        commErrorStatus[0] = "PS解放-：10";
        commErrorStatus[1] = "  ｼｰｹﾝｽｴﾗｰ(RT)：1F";
        commErrorStatus[35] = "7E：02";
        handsetError[0] = "電池残量無し";
        handsetError[15] = "C8";
    }
};

} // namespace tolvan::log::testing

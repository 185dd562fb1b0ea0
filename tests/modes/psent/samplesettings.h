#pragma once

// Screen values, the handset bytes that show them, and their log file 4 lines, exercising
// every line of the file.

#include "handset/handsetstore.h"
#include "link/core/frame.h"
#include "modes/psent/model/psentscreenvalues.h"
#include "tests/support/heldblocks.h"

#include <map>
#include <string>
#include <vector>

namespace tolvan::psent::testing {

inline PsEntScreenValues sampleScreen() {
    PsEntScreenValues v;
    v.psNumber = {2, 0, 1};
    v.psId = {"1", "2", "3", "4", "5", "6", "7", "8", "9"};
    v.pin = {1, 2, 3, 4};
    v.receiveVolume = 120;
    v.sidetoneVolume = 80;
    v.micLevel = 90;
    v.notificationVolume = 40;
    v.outOfRangeTone = 1;
    v.noiseCut = 1;
    v.menuSlots.fill(0);
    v.menuSlots[0] = 5;
    v.menuSlots[1] = 2;
    v.menuSlots[13] = 14;
    v.functionButton = {12, 0};
    v.emergencyNotice = 1;
    v.talkButton = 0;
    v.keyLocks = {1, 0, 1, 0};
    v.buttonLock = 0;
    v.voxSensitivity = 2;
    v.voxDelay = 4;
    v.noiseCutType = 1;
    v.noiseCutSensitivity = 3;
    v.volumeTone = 0;
    v.keyTouchTone = 1;
    v.micOperation = 1;
    v.pttHoldTone = 1;
    v.broadcastMonitor = 0;
    v.remoteKeys = {{{6, 1}, {11, 0}, {7, 249}}};
    v.seamlessHandover = 1;
    v.hearingTimer = 10;
    v.hearingMode = 1;
    v.manualHandoverButton = 2;
    v.volumeButton = 1;
    v.outsideLine = 1;
    v.shortDials = {0, 9, 4};
    v.callNumbers[0] = "0100";
    v.callNumbers[2] = "7999";
    v.callNumbers[47] = "1234";
    v.memo = QStringLiteral("お客様A,B棟");
    return v;
}

// The handset's records that show as sampleScreen(), by read code (decoded data bytes).
inline std::map<std::uint16_t, link::Bytes> sampleRecords() {
    link::Bytes op(24, 0);
    op[0] = 1;       // seamless handover
    op[1] = 1;       // PTT hold
    op[3] = 1;       // key-touch tone
    op[4 + 4] = 1;   // broadcast (5) at menu position 1
    op[4 + 1] = 2;   // all call (2) at position 2
    op[4 + 13] = 14; // manual handover (14) at position 14
    op[18] = 2;
    op[19] = 3;
    op[20] = 5;
    op[21] = 1;
    op[22] = 1;
    op[23] = 0;
    link::Bytes calls1(48, 0);
    calls1[1] = 1; // 0100
    calls1[8] = 7; // 7999
    calls1[9] = calls1[10] = calls1[11] = 9;
    link::Bytes calls4(48, 0);
    calls4[44] = 1;
    calls4[45] = 2;
    calls4[46] = 3;
    calls4[47] = 4;
    return {
        {0x1102, {0x0A, 0x05, 0x41, 0x00, 0x7F, 0x10, 0x05, 0x11, 0x02, 0x0F, 0x32, 0x51, 0x01}},
        {0x1104, op},
        {0x1105,
         {14, 0, 0, 0, 7, 1, 0, 0, 12, 0, 0, 0, 8, 2, 5, 0, 1, 1, 0, 1, 0, 0, 0, 0, 1, 1, 10, 5, 0, 0}},
        {0x1106, calls1},
        {0x1107, link::Bytes(48, 0)},
        {0x1108, link::Bytes(48, 0)},
        {0x1109, calls4},
        {0x110A, {0x22, 0x31}},
        {0x1201, {58, 111 | 0x80, 26, 21}},
        {0x1301, {'2', '0', '1', 0, 0, 0, 0}},
        {0x1302, {'1', '2', '3', '4'}},
        {0x1008, {1, 2, 1, 0, 0}},
        {0x1407, {10, 1}},
    };
}

inline handset::HandsetStore sampleStore() {
    handset::HandsetStore store;
    for (const auto& [code, data] : sampleRecords()) {
        tolvan::test::hold(store, code, data);
    }
    return store;
}

// The lines of sampleScreen() in log file 4 (UTF-8 here), by model.
inline std::vector<std::string> sampleLines(int model) {
    std::vector<std::string> lines;
    lines.push_back(model == 2   ? "\"ZX-VA100ログファイル4\""
                    : model == 4 ? "\"ZX-VA150(C)ログファイル4\""
                                 : "\"ZX-VA150ログファイル4\"");
    lines.insert(lines.end(), {
                                  "\"PS番号\",\"2\",\"0\",\"1\"",
                                  "\"PS-ID\",\"1\",\"2\",\"3\",\"4\",\"5\",\"6\",\"7\",\"8\",\"9\"",
                                  "\"お知らせ音量\",\"\",\"1\"",
                                  "\"圏外お知らせ音\",\"圏外時ﾄｰｸﾎﾞﾀﾝで鳴動する\"",
                                  "\"音量ﾚﾍﾞﾙ操作音設定\",\"ｵﾌ\"",
                                  "\"ｷｰﾀｯﾁ音設定\",\"ｵﾝ\"",
                                  "\"ﾏｲｸﾚﾍﾞﾙ\",\"\",\"3\"",
                                  "\"ﾏｲｸ動作設定\",\"PTTホールド\"",
                                  "\"PTTﾎｰﾙﾄﾞお知らせ音\",\"ｵﾝ\"",
                                  "\"VOX感度調整\",\"-32\"",
                                  "\"VOX終了遅延時間\",\"5\"",
                                  "\"受話音量\",\"\",\"2\"",
                                  "\"ｻｲﾄﾞﾄｰﾝ音量\",\"\",\"2\"",
                                  "\"ﾉｲｽﾞｶｯﾄ設定\",\"ｵﾝ\"",
                                  "\"ﾉｲｽﾞｶｯﾄ機能ﾀｲﾌﾟ\",\"ﾀｲﾌﾟ2\"",
                                  "\"ﾉｲｽﾞｶｯﾄ感度調整\",\"-44\"",
                                  "\"放送時ｲﾝｶﾑﾓﾆﾀｰ設定\",\"ｵﾌ\"",
                                  "\"KRM-200ﾘﾓｺﾝｷｰ1設定\",\"外部機器制御\",\"端子２\"",
                                  "\"KRM-200ﾘﾓｺﾝｷｰ2設定\",\"応答\",\"なし\"",
                                  "\"KRM-200ﾘﾓｺﾝｷｰ3設定\",\"外部音源制御\",\"No.250\"",
                              });
    if (model != 2) {
        std::string menu = "\"ﾒﾆｭｰ割り当て設定\",\"放送\",\"一斉通話\"";
        for (int i = 0; i < 11; ++i) {
            menu += ",\"なし\"";
        }
        lines.push_back(menu + ",\"手動ﾊﾝﾄﾞｵｰﾊﾞｰ\"");
        lines.insert(lines.end(), {
                                      "\"機能ﾎﾞﾀﾝ割り当て設定\",\"手動ﾊﾝﾄﾞｵｰﾊﾞｰ\",\"なし\"",
                                      "\"緊急通知設定\",\"ｵﾝ\"",
                                      "\"ﾄｰｸﾎﾞﾀﾝ動作設定\",\"ｺﾝﾄﾛｰﾙﾏｲｸのみ\"",
                                      "\"ｷｰﾛｯｸ設定\",\"ｵﾝ\",\"ｵﾌ\",\"ｵﾝ\",\"ｵﾌ\"",
                                  });
    }
    lines.push_back("\"外線発信設定\",\"可\"");
    lines.push_back("\"外線発信短縮番号登録\",\"1\",\"10\",\"5\"");
    std::string calls = "\"個別通話子機番号登録\",\"0100\",\"000\",\"7999\"";
    for (int i = 4; i <= 47; ++i) {
        calls += ",\"000\"";
    }
    lines.push_back(calls + ",\"1234\"");
    if (model != 3) {
        lines.insert(lines.end(), {
                                      "\"ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ\",\"ｵﾝ\"",
                                      "\"ﾋｱﾘﾝｸﾞ専用復帰ﾀｲﾏ\",\"10\"",
                                      "\"ﾋｱﾘﾝｸﾞ動作ﾓｰﾄﾞ\",\"ﾏｽﾀ\"",
                                  });
    }
    lines.push_back("\"お客様A,B棟\"");
    return lines;
}

} // namespace tolvan::psent::testing

#include "modes/dataset/model/logfile1format.h"

#include "common/logfile/logfileio.h"

namespace tolvan::dataset {
namespace {

struct ItemTexts {
    const char* label;
    const char* readError;
};

// Indexed by LogItem; the read error texts are the handset tool's own, slips included.
constexpr ItemTexts kItems[] = {
    {"外部ﾏｲｺﾝｿﾌﾄｳｪｱ ", "外部ﾏｲｺﾝｿﾌﾄｳｴｱVer:読み出しエラー"},
    {"PS-ID", "PS-ID:読み出しエラー"},
    {"制御ch ", "制御ch:読み出しエラー"},
    {"待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ", "待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ:読み出しエラー"},
    {"待ち受けｿﾞｰﾝ保持ﾚﾍﾞﾙ", "待ち受けｿﾞｰﾝ保持ﾚﾍﾞﾙ:読み出しエラー"},
    {"再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ", "再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ:読み出しエラー"},
    {"再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ選択ﾚﾍﾞﾙ", "再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ選択ﾚﾍﾞﾙ:読み出しエラー"},
    {"TCH切替え型ﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ", "TCH切換型ﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ:読み出しエラー"},
    {"ﾁｬﾈﾙ切替えFERしきい値　ｽﾛｯﾄｴﾗｰ数", "ﾁｬﾈﾙ切替えFERしきい値　ｽﾛｯﾄｴﾗｰ数:読み出しエラー"},
    {"FER起動型ﾊﾝﾄﾞｵｰﾊﾞｰﾚﾍﾞﾙ", "FER起動型ﾊﾝﾄﾞｵｰﾊﾞｰﾚﾍﾞﾙ:読み出しエラー"},
    {"CS-ID中のｼｽﾃﾑ呼び出し符号", "CS_ID中のｼｽﾃﾑ呼び出し符号:読み出しエラー"},
    {"ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ", "ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ:読み出しエラー"},
    {"ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ選択ﾚﾍﾞﾙ", "ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ選択ﾍﾞﾙ:読み出しエラー"},
    {"ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰFERしきい値", "ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰFERしきい値:読み出しエラー"},
    {"一斉呼び出しｴﾘｱ種別", "一斉呼び出しｴﾘｱ種別:読み出しエラー"},
    {"CS-IDの付加ID設定数", "CS_IDの付加ID設定数:読み出しエラー"},
    {"付加ID1", "付加ID1:読み出しエラー"},
    {"付加ID2", "付加ID2:読み出しエラー"},
    {"付加ID3", "付加ID3:読み出しエラー"},
    {"付加ID4", "付加ID4:読み出しエラー"},
    {"付加ID5", "付加ID5:読み出しエラー"},
    {"付加ID6", "付加ID6:読み出しエラー"},
    {"付加ID7", "付加ID7:読み出しエラー"},
    {"付加ID8", "付加ID8:読み出しエラー"},
    {"VA100受話ｹﾞｲﾝ調整機能", "VA100受話ｹﾞｲﾝ調整機能:読み出しエラー"},
    {"ｲﾝﾀｰﾊﾞﾙ値", "ｲﾝﾀｰﾊﾞﾙ値:読み出しエラー"},
    {"ZX-RM15検出", "RM-15検出:読み出しエラー"},
    {"障害監視ｺｰﾄﾞ", "障害監視ｺｰﾄﾞ:読み出しエラー"},
    {"", ""},
};
static_assert(sizeof kItems / sizeof kItems[0] == ItemMemo + 1);

} // namespace

QString LogFile1Format::errorTitle() {
    return tolvan::errorTitle();
}

std::vector<LogItem> LogFile1Format::lineOrder(std::uint32_t modelCode) {
    std::vector<LogItem> order;
    for (int i = ItemVersion; i <= ItemSystemCall; ++i) {
        order.push_back(static_cast<LogItem>(i));
    }
    if (modelCode == 2 || modelCode == 4) {
        for (int i = ItemSeamlessProcess; i <= ItemId8; ++i) {
            order.push_back(static_cast<LogItem>(i));
        }
    }
    if (modelCode == 2) {
        order.push_back(ItemRxGain);
    }
    order.insert(order.end(), {ItemInterval, ItemAccessory, ItemFaultCode, ItemMemo});
    return order;
}

QString LogFile1Format::label(LogItem item) {
    return QString::fromUtf8(kItems[item].label);
}

Message LogFile1Format::readError(LogItem item) {
    return {errorTitle(), QString::fromUtf8(kItems[item].readError)};
}

Message LogFile1Format::fileDataError() {
    return {errorTitle(), QStringLiteral("ファイルデータエラー")};
}

Message LogFile1Format::fileMissing() {
    return logfile::fileMissing();
}

int LogFile1Format::hexDigit(QByteArrayView token, bool& bad) {
    bad = false;
    if (token.isEmpty()) {
        return -1;
    }
    const char c = token[0];
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    bad = true;
    return 0;
}

} // namespace tolvan::dataset

#include "modes/psent/model/logfile4format.h"

#include "common/logfile/linetable.h"
#include "common/logfile/logfilekind.h"

#include <algorithm>

namespace tolvan::psent {
namespace {

struct LineTexts {
    const char* label;
    const char* readError;
};

// Indexed by Log4Line; the read error texts are the handset tool's own, where they differ from
// the label included.
constexpr LineTexts kLines[] = {
    {"PS番号", "PS番号:読み出しエラー"},
    {"PS-ID", "PS-ID:読み出しエラー"},
    {"お知らせ音量", "お知らせ音量:読み出しエラー"},
    {"圏外お知らせ音", "圏外音お知らせ音:読み出しエラー"},
    {"音量ﾚﾍﾞﾙ操作音設定", "音量ﾚﾍﾞﾙ操作音設定:読み出しエラー"},
    {"ｷｰﾀｯﾁ音設定", "ｷｰﾀｯﾁ音設定:読み出しエラー"},
    {"ﾏｲｸﾚﾍﾞﾙ", "ﾏｲｸﾚﾍﾞﾙ:読み出しエラー"},
    {"ﾏｲｸ動作設定", "ﾏｲｸ動作設定:読み出しエラー"},
    {"PTTﾎｰﾙﾄﾞお知らせ音", "PTTﾎｰﾙﾄﾞお知らせ音:読み出しエラー"},
    {"VOX感度調整", "VOX感度調整:読み出しエラー"},
    {"VOX終了遅延時間", "VOX終了遅延時間:読み出しエラー"},
    {"受話音量", "受話音量:読み出しエラー"},
    {"ｻｲﾄﾞﾄｰﾝ音量", "ｻｲﾄﾞﾄｰﾝ音量:読み出しエラー"},
    {"ﾉｲｽﾞｶｯﾄ設定", "ﾉｲｽﾞｶｯﾄ設定:読み出しエラー"},
    {"ﾉｲｽﾞｶｯﾄ機能ﾀｲﾌﾟ", "ﾉｲｽﾞｶｯﾄ機能ﾀｲﾌﾟ:読み出しエラー"},
    {"ﾉｲｽﾞｶｯﾄ感度調整", "ﾉｲｽﾞｶｯﾄ感度調整:読み出しエラー"},
    {"放送時ｲﾝｶﾑﾓﾆﾀｰ設定", "放送時ｲﾝｶﾑﾓﾆﾀー設定:読み出しエラー"},
    {"KRM-200ﾘﾓｺﾝｷｰ1設定", "KRM-200ﾘﾓｺﾝｷｰ1設定:読み出しエラー"},
    {"KRM-200ﾘﾓｺﾝｷｰ2設定", "KRM-200ﾘﾓｺﾝｷｰ2設定:読み出しエラー"},
    {"KRM-200ﾘﾓｺﾝｷｰ3設定", "KRM-200ﾘﾓｺﾝｷｰ3設定:読み出しエラー"},
    {"ﾒﾆｭｰ割り当て設定", "ﾒﾆｭｰ割り当て設定:読み出しエラー"},
    {"機能ﾎﾞﾀﾝ割り当て設定", "機能ﾎﾞﾀﾝ割り当て設定:読み出しエラー"},
    {"緊急通知設定", "緊急通知設定:読み出しエラー"},
    {"ﾄｰｸﾎﾞﾀﾝ動作設定", "ﾄｰｸﾎﾞﾀﾝ動作設定:読み出しエラー"},
    {"ｷｰﾛｯｸ設定", "ｷｰﾛｯｸ設定:読み出しエラー"},
    {"外線発信設定", "外線発信設定:読み出しエラー"},
    {"外線発信短縮番号登録", "外線発信短縮番号登録:読み出しエラー"},
    {"個別通話子機番号登録", "個別通話子機番号登録:読み出しエラー"},
    {"ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ", "ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ:読み出しエラー"},
    {"ﾋｱﾘﾝｸﾞ専用復帰ﾀｲﾏ", "ﾋｱﾘﾝｸﾞ専用復帰ﾀｲﾏ:読み出しエラー"},
    {"ﾋｱﾘﾝｸﾞ動作ﾓｰﾄﾞ", "ﾋｱﾘﾝｸﾞﾏｽﾀｽﾚｰﾌﾞ:読み出しエラー"},
    {"", ""},
};
static_assert(sizeof kLines / sizeof kLines[0] == static_cast<int>(Log4Line::Memo) + 1);

const LineTexts& textsOf(Log4Line line) {
    return kLines[static_cast<int>(line)];
}

} // namespace

int LogFile4Format::lineCount(std::uint32_t modelCode) {
    return logfile::kLogFile4.headerField(modelCode).isEmpty()
               ? 0
               : static_cast<int>(lineOrder(modelCode).size()) + 1;
}

std::vector<Log4Line> LogFile4Format::lineOrder(std::uint32_t modelCode) {
    using enum Log4Line;
    std::vector<Log4Line> order;
    for (int i = static_cast<int>(PsNumber); i <= static_cast<int>(RemoteKey3); ++i) {
        order.push_back(static_cast<Log4Line>(i));
    }
    if (logfile::kLogFile4.headerField(modelCode).isEmpty()) {
        return order;
    }
    if (modelCode != 2) {
        order.insert(order.end(), {Menu, FunctionButton, EmergencyNotice, TalkButton, KeyLock});
    }
    order.insert(order.end(), {OutsideLine, ShortDial, CallNumbers});
    if (modelCode != 3) {
        order.insert(order.end(), {Seamless, HearingTimer, HearingMode});
    }
    order.push_back(Memo);
    return order;
}

QString LogFile4Format::label(Log4Line line) {
    return QString::fromUtf8(textsOf(line).label);
}

Message LogFile4Format::readError(Log4Line line) {
    return errorMessage(QString::fromUtf8(textsOf(line).readError));
}

bool LogFile4Format::forEachLine(QByteArrayView file, std::uint32_t modelCode, QList<Message>& messages,
                                 const LineReader& read) {
    const std::vector<Log4Line> order = lineOrder(modelCode);
    const auto kept = static_cast<qsizetype>(order.size()) + 1;
    const logfile::LineTable table(file, kept, kMaxLineBytes);
    if (!logfile::kLogFile4.headerMatches(table.line(1), modelCode)) {
        if (auto mismatch = logfile::kLogFile4.modelMismatch(modelCode)) {
            messages.append(*mismatch);
        }
        return false;
    }
    for (std::size_t i = 0; i < order.size(); ++i) {
        const auto number = static_cast<qsizetype>(i) + 2;
        QByteArray line = table.line(number);
        line.replace(',', QByteArray());
        read(order[i], table.tokens(number, logfile::kLogFile4.maxFields()), line);
    }
    return true;
}

} // namespace tolvan::psent

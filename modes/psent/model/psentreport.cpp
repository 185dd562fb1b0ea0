#include "modes/psent/model/psentreport.h"

#include "modes/psent/model/functioncodes.h"
#include "modes/psent/model/psentlists.h"
#include "modes/psent/model/psentshortnames.h"

namespace tolvan::psent {
namespace {

using namespace shortnames;

// Fills each %s or %d in turn; a value that itself holds one is left alone.
QString fill(const QString& format, const QStringList& values) {
    QString out;
    qsizetype from = 0;
    for (const QString& value : values) {
        qsizetype at = from;
        while (at + 1 < format.size() &&
               !(format[at] == u'%' && (format[at + 1] == u's' || format[at + 1] == u'd'))) {
            ++at;
        }
        if (at + 1 >= format.size()) {
            break;
        }
        out += format.mid(from, at - from) + value;
        from = at + 2;
    }
    return out + format.mid(from);
}

QString line(const char* format, const QString& value) {
    return fill(QString::fromUtf8(format), {value});
}

QString joined(const QStringList& pieces) {
    return pieces.join(QString());
}

QString functionText(const V::FunctionChoice& choice, const QStringList& functions) {
    return L::text(functions, choice.function);
}

QString parameterText(const V::FunctionChoice& choice, int (*codeOf)(int)) {
    const int code = codeOf(choice.function);
    return code == FunctionCodes::kNone ? QString()
                                        : L::text(FunctionCodes::parameters(code), choice.parameter);
}

// "1: ... 4:" and so on: slot number, colon, text; one space before every slot but a group's first.
QString menuGroup(const V& v, int first, int last) {
    QString out;
    for (int slot = first; slot <= last; ++slot) {
        if (slot != first) {
            out += QLatin1Char(' ');
        }
        out += QString::number(slot) + QLatin1Char(':') +
               L::text(FunctionCodes::texts(), v.menuSlots[static_cast<std::size_t>(slot - 1)]);
    }
    return out;
}

QStringList callTexts(const V& v, int first) {
    QStringList texts;
    for (int slot = first; slot < first + 4; ++slot) {
        const QString& box = v.callNumbers[static_cast<std::size_t>(slot - 1)];
        texts.append(box.isEmpty() ? QStringLiteral("0000") : box);
    }
    return texts;
}

// "\t\t\t\t\t05:%s 06:%s 07:%s 08:%s" for the group starting at slot 5, and so on.
QString callFormat(int first) {
    QStringList pieces;
    for (int slot = first; slot < first + 4; ++slot) {
        pieces.append(QStringLiteral("%1:%s").arg(slot, 2, 10, QLatin1Char('0')));
    }
    return QStringLiteral("\t\t\t\t\t") + pieces.join(QLatin1Char(' '));
}

} // namespace

QStringList PsEntReport::lines(const PsEntScreenValues& v, std::uint32_t modelCode, const QString& customer) {
    const bool upper = modelCode == 3 || modelCode == 4;
    const bool hearing = modelCode == 2 || modelCode == 4;
    const bool va100 = modelCode == 2;
    const auto onOff = [](int index) { return L::text(L::onOff(), index); };
    const auto step = [](S which, int position) { return QString::number(R::sliderValue(which, position)); };

    QStringList out;
    out << reportHeaderLine(modelCode, 4, customer, v.memo);
    out << reportRuleLine();
    out << line("PS番号\t\t\t\t\t%s", L::text(L::psNumberHundreds(), v.psNumber[0]) +
                                          L::text(L::digit(), v.psNumber[1]) +
                                          L::text(L::digit(), v.psNumber[2]));
    out << line("PS-ID\t\t\t\t\t%s", joined(QStringList(v.psId.begin(), v.psId.end())));
    if (upper) {
        // Slot texts in groups of four, each slot as its number, a colon and its text.
        out << line("ﾒﾆｭｰ割り当て設定\t\t\t\t%s", menuGroup(v, 1, 4));
        out << line("\t\t\t\t\t%s", menuGroup(v, 5, 8));
        out << line("\t\t\t\t\t%s", menuGroup(v, 9, 12));
        out << line("\t\t\t\t\t%s", menuGroup(v, 13, 14));
        out << line("機能ﾎﾞﾀﾝ割当設定\t\t\t\t%s",
                    functionText(v.functionButton, FunctionCodes::functionButtonTexts()));
        out << line("機能ﾎﾞﾀﾝ付加設定\t\t\t\t%s",
                    parameterText(v.functionButton, FunctionCodes::functionButtonCode));
        out << line("緊急通知設定\t\t\t\t%s", onOff(v.emergencyNotice));
    }
    out << line("ﾄｰｸﾎﾞﾀﾝ動作設定\t\t\t\t%s", L::text(L::talkButton(), v.talkButton));
    if (upper) {
        out << fill(QString::fromUtf8("ｷｰﾛｯｸ設定\t\t\t\t機能ﾎﾞﾀﾝ:%s 実行ﾎﾞﾀﾝ:%s ﾒﾆｭｰﾎﾞﾀﾝ:%s 音量ﾎﾞﾀﾝ:%s"),
                    {onOff(v.keyLocks[0]), onOff(v.keyLocks[1]), onOff(v.keyLocks[2]), onOff(v.keyLocks[3])});
    }
    out << line("お知らせ音量\t\t\t\t%d", step(S::Notification, v.notificationVolume));
    out << line("圏外お知らせ音設定\t\t\t%s", L::text(L::outOfRangeTone(), v.outOfRangeTone));
    out << line("音量ﾚﾍﾞﾙ操作音設定\t\t\t%s", onOff(v.volumeTone));
    out << line("ｷｰﾀｯﾁ音設定\t\t\t\t%s", onOff(v.keyTouchTone));
    out << line("ﾏｲｸﾚﾍﾞﾙ\t\t\t\t\t%d", step(S::MicLevel, v.micLevel));
    out << line("ﾏｲｸ動作設定\t\t\t\t%s", L::text(L::micOperation(), v.micOperation));
    out << line("PTTﾎｰﾙﾄﾞお知らせ音\t\t\t%s", onOff(v.pttHoldTone));
    out << line("VOX感度調整\t\t\t\t%sdBm", L::text(L::voxSensitivity(), v.voxSensitivity));
    out << line("VOX終了遅延時間\t\t\t\t%s秒", L::text(L::voxDelay(), v.voxDelay));
    out << line("受話音量\t\t\t\t\t%d", step(S::ReceiveVolume, v.receiveVolume));
    out << line("ｻｲﾄﾞﾄｰﾝ音量\t\t\t\t%d", step(S::Sidetone, v.sidetoneVolume));
    out << line("ﾉｲｽﾞｶｯﾄ設定\t\t\t\t%s", onOff(v.noiseCut));
    out << line("ﾉｲｽﾞｶｯﾄ機能ﾀｲﾌﾟ\t\t\t\t%s", L::text(L::noiseCutType(), v.noiseCutType));
    out << line("ﾉｲｽﾞｶｯﾄ感度調整\t\t\t\t%sdBm", L::text(L::noiseCutSensitivity(), v.noiseCutSensitivity));
    out << line("放送時ｲﾝｶﾑﾓﾆﾀｰ設定\t\t\t%s", onOff(v.broadcastMonitor));
    constexpr const char* kRemoteKeyFormats[] = {"KRM-200ﾘﾓｺﾝｷｰ1設定\t\t\t%s 付加設定 %s",
                                                 "KRM-200ﾘﾓｺﾝｷｰ2設定\t\t\t%s 付加設定 %s",
                                                 "KRM-200ﾘﾓｺﾝｷｰ3設定\t\t\t%s 付加設定 %s"};
    for (std::size_t k = 0; k < v.remoteKeys.size(); ++k) {
        out << fill(QString::fromUtf8(kRemoteKeyFormats[k]),
                    {functionText(v.remoteKeys[k], FunctionCodes::remoteKeyTexts()),
                     parameterText(v.remoteKeys[k], FunctionCodes::remoteKeyCode)});
    }
    if (hearing) {
        out << line("ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ\t\t\t\t%s", onOff(v.seamlessHandover));
        out << line("ﾋｱﾘﾝｸﾞ専用復帰ﾀｲﾏｰ\t\t\t%s秒", L::text(L::hearingTimer(), v.hearingTimer));
        out << line("ﾋｱﾘﾝｸﾞ動作ﾓｰﾄﾞ\t\t\t%s", L::text(L::hearingMode(), v.hearingMode));
    }
    if (va100) {
        out << line("手動ﾊﾝﾄﾞｵｰﾊﾞｰﾎﾞﾀﾝ\t\t\t%s", L::text(L::manualHandoverButton(), v.manualHandoverButton));
        out << line("受話音量ﾀﾞｳﾝﾎﾞﾀﾝ\t\t\t\t%s", L::text(L::volumeButton(), v.volumeButton));
    }
    out << line("外線発信設定\t\t\t\t%s", L::text(L::outsideLine(), v.outsideLine));
    constexpr const char* kShortDialFormats[] = {"外線発信番号登録M1\t\t\t%s", "外線発信番号登録M2\t\t\t%s",
                                                 "外線発信番号登録M3\t\t\t%s"};
    for (std::size_t m = 0; m < v.shortDials.size(); ++m) {
        out << line(kShortDialFormats[m], L::text(L::shortDial(), v.shortDials[m]));
    }
    out << fill(QString::fromUtf8("個別通話子機番号登録\t\t\t01:%s 02:%s 03:%s 04:%s"), callTexts(v, 1));
    for (int first = 5; first <= V::kCallNumbers; first += 4) {
        out << fill(callFormat(first), callTexts(v, first));
    }
    return out;
}

ReportPage PsEntReport::page(const PsEntScreenValues& values, std::uint32_t modelCode,
                             const QString& customer) {
    return ReportPage::singleColumn(lines(values, modelCode, customer));
}

} // namespace tolvan::psent

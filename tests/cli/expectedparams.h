#pragma once

#include <QByteArray>
#include <QString>
#include <QStringEncoder>
#include <QStringList>

#include <cstdint>

namespace tolvan::test {

// Log file 1 lines of tolvan-sim's factory data, written out by hand from the values the
// simulator's store documents (levels 30/20/25/35/28 dBuV, FER threshold 200, system call code
// 512345678, interval 150, seamless 40/45/12, eight known additional IDs, ZKO), so the files
// tolvan-cli writes are checked against something other than the writer that made them.
inline QStringList simParamsLines(std::uint32_t model, const QString& memo) {
    auto line = [](const QStringList& fields) {
        return QLatin1Char('"') + fields.join(QStringLiteral("\",\"")) + QLatin1Char('"');
    };
    auto digits = [](const char* text) {
        QStringList out;
        for (const QChar c : QString::fromLatin1(text)) {
            out << QString(c);
        }
        return out;
    };
    const bool va150 = model == 3;
    const char* name = model == 2 ? "ZX-VA100" : va150 ? "ZX-VA150" : "ZX-VA150(C)";
    const char* psId = model == 2 ? "198765432" : va150 ? "234567891" : "123456789";
    QStringList lines;
    lines << line({QString::fromLatin1(name) + QStringLiteral("ログファイル1")});
    lines << line(QStringList{QStringLiteral("外部ﾏｲｺﾝｿﾌﾄｳｪｱ ")} + digits("0214"));
    lines << line(QStringList{QStringLiteral("PS-ID")} + digits(psId));
    lines << line({QStringLiteral("制御ch "), QStringLiteral("12chと18ch")});
    lines << line({QStringLiteral("待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ"), QStringLiteral("30")});
    lines << line({QStringLiteral("待ち受けｿﾞｰﾝ保持ﾚﾍﾞﾙ"), QStringLiteral("20")});
    lines << line({QStringLiteral("再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ"), QStringLiteral("25")});
    lines << line({QStringLiteral("再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ選択ﾚﾍﾞﾙ"), QStringLiteral("35")});
    lines << line({QStringLiteral("TCH切替え型ﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ"), QStringLiteral("28")});
    lines << line({QStringLiteral("ﾁｬﾈﾙ切替えFERしきい値　ｽﾛｯﾄｴﾗｰ数"), QStringLiteral("200")});
    lines << line({QStringLiteral("FER起動型ﾊﾝﾄﾞｵｰﾊﾞｰﾚﾍﾞﾙ"), QStringLiteral("2")});
    lines << line(QStringList{QStringLiteral("CS-ID中のｼｽﾃﾑ呼び出し符号")} + digits("512345678"));
    if (!va150) {
        lines << line({QStringLiteral("ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ"), QStringLiteral("40")});
        lines << line({QStringLiteral("ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ選択ﾚﾍﾞﾙ"), QStringLiteral("45")});
        lines << line({QStringLiteral("ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰFERしきい値"), QStringLiteral("12")});
        lines << line({QStringLiteral("一斉呼び出しｴﾘｱ種別"), QStringLiteral("ｼｽﾃﾑ呼出符号+付加ID")});
        lines << line({QStringLiteral("CS-IDの付加ID設定数"), QStringLiteral("5")});
        const char* ids[] = {"1fff", "0123", "0a5c", "1000", "0001", "0fed", "0777", "1abc"};
        for (int i = 0; i < 8; ++i) {
            lines << line(QStringList{QStringLiteral("付加ID%1").arg(i + 1)} + digits(ids[i]));
        }
    }
    if (model == 2) {
        lines << line({QStringLiteral("VA100受話ｹﾞｲﾝ調整機能"), QStringLiteral("ｵﾝ")});
    }
    lines << line({QStringLiteral("ｲﾝﾀｰﾊﾞﾙ値"), QStringLiteral("150")});
    lines << line({QStringLiteral("ZX-RM15検出"), QStringLiteral("ｵﾝ")});
    lines << line(
        {QStringLiteral("障害監視ｺｰﾄﾞ"), QStringLiteral("Z"), QStringLiteral("K"), QStringLiteral("O")});
    lines << line({memo});
    return lines;
}

// Code page 932, CR LF after every line.
inline QByteArray cp932File(const QStringList& lines) {
    QStringEncoder encoder("CP932");
    QByteArray out;
    for (const QString& l : lines) {
        out += encoder.encode(l);
        out += "\r\n";
    }
    return out;
}

inline QStringList linesOfCp932File(const QByteArray& bytes) {
    QStringDecoder decoder("CP932");
    QString text = decoder.decode(bytes);
    if (text.endsWith(QStringLiteral("\r\n"))) {
        text.chop(2);
    }
    return text.split(QStringLiteral("\r\n"));
}

} // namespace tolvan::test

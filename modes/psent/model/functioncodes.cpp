#include "modes/psent/model/functioncodes.h"

namespace tolvan::psent {
namespace {

QStringList numbered(const QString& prefix, int count) {
    QStringList list;
    for (int n = 1; n <= count; ++n) {
        list.append(prefix + FunctionCodes::fullWidth(n));
    }
    return list;
}

const QStringList& groups() {
    static const QStringList list = numbered(QStringLiteral("ｸﾞﾙｰﾌﾟ"), 8);
    return list;
}

// Codes whose stored parameter is the list index plus one, and the ones where it is the index.
bool offsetByOne(int code) {
    return code == 1 || code == 3 || code == 5 || code == 8 || code == 11;
}

bool indexed(int code) {
    return code == 7 || code == 9;
}

} // namespace

QString FunctionCodes::fullWidth(int number) {
    QString text = QString::number(number);
    for (QChar& c : text) {
        c = QChar(c.unicode() - u'0' + u'０');
    }
    return text;
}

const QStringList& FunctionCodes::texts() {
    static const QStringList list{
        QStringLiteral("なし"),     QStringLiteral("ｸﾞﾙｰﾌﾟ通話"),   QStringLiteral("一斉通話"),
        QStringLiteral("個別通話"), QStringLiteral("召集通話"),     QStringLiteral("放送"),
        QStringLiteral("ﾄｰｸ"),      QStringLiteral("外部機器制御"), QStringLiteral("外部音源制御"),
        QStringLiteral("外線発信"), QStringLiteral("外線取次"),     QStringLiteral("外線強制切断"),
        QStringLiteral("緊急"),     QStringLiteral("機能"),         QStringLiteral("手動ﾊﾝﾄﾞｵｰﾊﾞｰ"),
    };
    return list;
}

const QStringList& FunctionCodes::functionButtonTexts() {
    static const QStringList list = [] {
        QStringList l = texts().mid(0, 12);
        l.append(texts().at(14));
        return l;
    }();
    return list;
}

const QStringList& FunctionCodes::remoteKeyTexts() {
    static const QStringList list = [] {
        QStringList l;
        for (int index = 0; index < 13; ++index) {
            l.append(texts().at(remoteKeyCode(index)));
        }
        // The accessory's key answers a call where the handset's would raise an emergency.
        l[remoteKeyIndex(12)] = QStringLiteral("応答");
        return l;
    }();
    return list;
}

int FunctionCodes::functionButtonCode(int index) {
    if (index >= 0 && index <= 11) {
        return index;
    }
    return index == 12 ? 14 : kNone;
}

int FunctionCodes::functionButtonIndex(int code) {
    if (code >= 0 && code <= 11) {
        return code;
    }
    return code == 14 ? 12 : kNone;
}

int FunctionCodes::remoteKeyCode(int index) {
    if (index >= 0 && index <= 5) {
        return index;
    }
    if (index >= 6 && index <= 11) {
        return index + 1;
    }
    return index == 12 ? 14 : kNone;
}

int FunctionCodes::remoteKeyIndex(int code) {
    if (code >= 0 && code <= 5) {
        return code;
    }
    if (code >= 7 && code <= 12) {
        return code - 1;
    }
    return code == 14 ? 12 : kNone;
}

const QStringList& FunctionCodes::parameters(int code) {
    static const QStringList none{QStringLiteral("なし")};
    static const QStringList groupCall = groups() + QStringList{QStringLiteral("HOMEｸﾞﾙｰﾌﾟ")};
    static const QStringList extensions = numbered(QStringLiteral("内線番号"), 48);
    static const QStringList allGroups = groups() + QStringList{QStringLiteral("全ｸﾞﾙｰﾌﾟ")};
    static const QStringList terminals = numbered(QStringLiteral("端子"), 2);
    static const QStringList sources = [] {
        QStringList l;
        for (int n = 1; n <= 999; ++n) {
            l.append(QStringLiteral("No.%1").arg(n));
        }
        return l;
    }();
    static const QStringList outsideLines = numbered(QStringLiteral("外線番号"), 3);
    switch (code) {
    case 1:
        return groupCall;
    case 3:
        return extensions;
    case 5:
    case 11:
        return allGroups;
    case 7:
        return terminals;
    case 8:
        return sources;
    case 9:
        return outsideLines;
    default:
        return none;
    }
}

int FunctionCodes::parameterIndex(int code, int stored) {
    const int index = offsetByOne(code) ? stored - 1 : indexed(code) ? stored : 0;
    return index >= 0 && index < parameters(code).size() ? index : kNone;
}

int FunctionCodes::storedParameter(int code, int index) {
    if (offsetByOne(code)) {
        return index + 1;
    }
    return indexed(code) ? index : 0;
}

int FunctionCodes::resetParameter(int code) {
    return offsetByOne(code) ? 1 : 0;
}

std::array<std::uint8_t, 3> FunctionCodes::parameterBytes(int code, int stored) {
    if (code == 8) {
        return {static_cast<std::uint8_t>(stored / 100 % 10), static_cast<std::uint8_t>(stored / 10 % 10),
                static_cast<std::uint8_t>(stored % 10)};
    }
    if (offsetByOne(code) || indexed(code)) {
        return {static_cast<std::uint8_t>(stored), 0, 0};
    }
    return {0, 0, 0};
}

int FunctionCodes::parameterOf(int code, std::span<const std::uint8_t, 3> bytes) {
    if (code == 8) {
        return bytes[0] * 100 + bytes[1] * 10 + bytes[2];
    }
    return offsetByOne(code) || indexed(code) ? bytes[0] : 0;
}

} // namespace tolvan::psent

#include "modes/test/model/logfile2format.h"

namespace tolvan::testmode {

QString LogFile2Format::headerField(std::uint32_t modelCode) {
    switch (modelCode) {
    case 2:
        return QStringLiteral("ZX-VA100ログファイル2");
    case 3:
        return QStringLiteral("ZX-VA150ログファイル2");
    case 4:
        return QStringLiteral("ZX-VA150(C)ログファイル2");
    default:
        return {};
    }
}

std::optional<Message> LogFile2Format::headerMismatch(std::uint32_t modelCode) {
    switch (modelCode) {
    case 2:
        return errorMessage(
            QStringLiteral("接続モデルはZX-VA100ですが、読み込みファイルはZX-VA100用ではありません"));
    case 3:
        return errorMessage(
            QStringLiteral("接続モデルはZX-VA150ですが、読み込みファイルはZX-VA150用ではありません"));
    case 4:
        return errorMessage(
            QStringLiteral("接続モデルはZX-VA150(C)ですが、読み込みファイルはZX-VA150(B)用ではありません"));
    default:
        return std::nullopt;
    }
}

QString LogFile2Format::dacLabel() {
    return QStringLiteral("送信DAC値補正係数");
}

QString LogFile2Format::rssi1Label() {
    return QStringLiteral("RSSI補正係数1");
}

QString LogFile2Format::rssi2Label() {
    return QStringLiteral("RSSI補正係数2");
}

QString LogFile2Format::ampLabel() {
    return QStringLiteral("送信AMPﾊﾞｲｱｽ補正係数");
}

Message LogFile2Format::readError(const QString& label) {
    return errorMessage(label + QStringLiteral(":読み出しエラー"));
}

} // namespace tolvan::testmode

#include "modes/test/model/logfile2format.h"

namespace tolvan::testmode {

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

#pragma once

#include "common/message.h"

#include <QString>

namespace tolvan::testmode {

// Texts of log file 2 (.jv2, the calibration coefficients), shared by its writer,
// reader, report and file handling.
class LogFile2Format {
public:
    static QString dacLabel();   // 送信DAC値補正係数
    static QString rssi1Label(); // RSSI補正係数1
    static QString rssi2Label(); // RSSI補正係数2
    static QString ampLabel();   // 送信AMPﾊﾞｲｱｽ補正係数
    // "<label>:読み出しエラー".
    static Message readError(const QString& label);
};

} // namespace tolvan::testmode

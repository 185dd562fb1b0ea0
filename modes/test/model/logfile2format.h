#pragma once

#include "common/message.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace tolvan::testmode {

// Texts and bounds of log file 2 (.jv2, the calibration coefficients), shared by its writer,
// reader, report and file handling.
class LogFile2Format {
public:
    // A reader keeps the line table's 256 lines of at most 4096 bytes, whatever the file holds.
    static constexpr qsizetype kMaxLines = 256;
    static constexpr qsizetype kMaxLineBytes = 4096;
    static constexpr qsizetype kMaxFileBytes = kMaxLines * (kMaxLineBytes + 2);
    // Fields kept of one line; the longest line has five.
    static constexpr qsizetype kMaxFields = 8;

    // The header's one field (ZX-VA150ログファイル2 ...); empty for an unknown model.
    static QString headerField(std::uint32_t modelCode);
    // Shown when the file is not the connected model's; nothing for an unknown model, which is
    // not checked. A ZX-VA150(C) names its files by the board, ZX-VA150(B).
    static std::optional<Message> headerMismatch(std::uint32_t modelCode);

    static QString dacLabel();   // 送信DAC値補正係数
    static QString rssi1Label(); // RSSI補正係数1
    static QString rssi2Label(); // RSSI補正係数2
    static QString ampLabel();   // 送信AMPﾊﾞｲｱｽ補正係数
    // "<label>:読み出しエラー".
    static Message readError(const QString& label);

    static QString extension() { return QStringLiteral("jv2"); }
    static QString filter() { return QStringLiteral("ﾛｸﾞﾌｧｲﾙ2(*.jv2)"); }
};

} // namespace tolvan::testmode

#pragma once

#include "common/logfile/logfilekind.h"
#include "common/message.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace tolvan::psent {

// The lines of log file 4 after its header, in the order of the common lines, then the model
// lines.
enum class Log4Line : int {
    PsNumber,
    PsId,
    NotificationVolume,
    OutOfRangeTone,
    VolumeTone,
    KeyTouchTone,
    MicLevel,
    MicOperation,
    PttHoldTone,
    VoxSensitivity,
    VoxDelay,
    ReceiveVolume,
    SidetoneVolume,
    NoiseCut,
    NoiseCutType,
    NoiseCutSensitivity,
    BroadcastMonitor,
    RemoteKey1,
    RemoteKey2,
    RemoteKey3,
    Menu,
    FunctionButton,
    EmergencyNotice,
    TalkButton,
    KeyLock,
    OutsideLine,
    ShortDial,
    CallNumbers,
    Seamless,
    HearingTimer,
    HearingMode,
    Memo,
};

// Texts and layout of log file 4 (.jv4), shared by its writers, readers and files.
class LogFile4Format {
public:
    // The kind's bounds (logfilekind.h), as the data save mode and tolvan-cli read them.
    static constexpr qsizetype kMaxLineBytes = logfile::kLogFile4.maxLineBytes();
    static constexpr qsizetype kMaxFileBytes = logfile::kLogFile4.maxFileBytes();
    // Lines a reader uses without a known model: the header and the common lines.
    static constexpr int kCommonLineCount = 21;

    // 28, 30 or 33 lines with the header; 0 for an unknown model (its file stays empty).
    static int lineCount(std::uint32_t modelCode);
    // The lines after the header; without a known model, the common lines only.
    static std::vector<Log4Line> lineOrder(std::uint32_t modelCode);
    // The line's first field; empty for the memo, which has none.
    static QString label(Log4Line line);
    // Shown when a line's first field is not its label.
    static Message readError(Log4Line line);

    // The walk both readers make: a bounded line table (never more lines than the model's),
    // the header check (on a mismatch its message, nothing read, false), then each line of the
    // model's order with its fields (commas removed, split at runs of quotes) and the line
    // itself with its commas removed.
    using LineReader = std::function<void(Log4Line, const QList<QByteArray>& fields, const QByteArray& line)>;
    static bool forEachLine(QByteArrayView file, std::uint32_t modelCode, QList<Message>& messages,
                            const LineReader& read);
};

} // namespace tolvan::psent

#pragma once

#include "modes/psent/model/logfile4format.h"
#include "modes/psent/model/psentscreenvalues.h"

#include "common/message.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <cstdint>

namespace tolvan::psent {

struct LogFile4ScreenRead {
    // False when the header is not the connected model's: values are then unchanged.
    bool loaded = false;
    PsEntScreenValues values;
    // To be shown in order, one box each.
    QList<Message> messages;
};

// Reads a log file 4 onto the handset setting screen: the connected model's lines, each value
// looked up by exact text in its list. A line whose label does not match keeps its setting and
// adds its message; a value no entry matches leaves its list without a selection. Any bytes are
// read without overrunning.
class LogFile4Reader {
public:
    static LogFile4ScreenRead read(QByteArrayView file, std::uint32_t modelCode,
                                   const PsEntScreenValues& current);

    // One line (label already checked) onto the values. False when the line is refused whole
    // (a PS-ID past its limit): the values keep what they had.
    static bool readLine(Log4Line line, const QList<QByteArray>& fields, const QByteArray& commaFreeLine,
                         PsEntScreenValues& values);
};

} // namespace tolvan::psent

#pragma once

#include "modes/test/model/calibrationfields.h"

#include "common/message.h"
#include "handset/handsetstore.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <cstdint>

namespace tolvan::testmode {

struct LogFile2Read {
    // False when the header is not the connected model's: nothing was taken from the file.
    bool loaded = false;
    CalibrationFields fields;
    QString memo;
    // To be shown in order, one box each.
    QList<Message> messages;
};

// Reads a log file 2 onto the test mode screen's fields. Line 1 must be the connected model's
// header (an unknown model is not checked); a coefficient line whose label does not match keeps
// its fields and adds its message, except the amplifier line, whose fields are emptied silently
// when its label or its field count is wrong. Any bytes are read without overrunning.
class LogFile2Reader {
public:
    static LogFile2Read read(QByteArrayView file, std::uint32_t modelCode, const CalibrationFields& current,
                             const QString& currentMemo);
    // The same onto the fields the store's values show, then every coefficient of those fields
    // into the store, as a write from them would send it. A field that is not two hex digits adds
    // "入力ミスです。" (once) and goes in as its digits read; nothing is stored unless the header
    // matched.
    static LogFile2Read readIntoStore(QByteArrayView file, std::uint32_t modelCode,
                                      handset::HandsetBlocks& store);
};

} // namespace tolvan::testmode

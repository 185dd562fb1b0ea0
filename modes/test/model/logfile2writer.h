#pragma once

#include "modes/test/model/calibrationfields.h"

#include "common/logfile/linewriter.h"
#include "handset/handsetstore.h"

#include <QString>

#include <cstdint>

namespace tolvan::testmode {

using LogFile2Text = logfile::FileText;

// Builds the six lines of a log file 2 from the fields the screen shows: the model header, DAC
// coefficient 1, antenna 1's RSSI coefficients 1 and 2, amplifier bias coefficient 1 (each least
// significant byte first, as the field texts) and the memo.
class LogFile2Writer {
public:
    static LogFile2Text write(const CalibrationFields& fields, std::uint32_t modelCode, const QString& memo);
    // The fields as the screen shows the store's values after a read.
    static LogFile2Text fromStore(const handset::HandsetBlocks& store, std::uint32_t modelCode,
                                  const QString& memo);
};

} // namespace tolvan::testmode

#pragma once

#include "modes/test/model/calibrationfields.h"

#include "common/reportpage.h"

#include <QString>

#include <cstdint>

namespace tolvan::testmode {

// The printed log file 2: one page of six lines in the printer's default font. Coefficients are
// printed most significant byte first, as the screen shows them; a ZX-VA150(C) prints as
// ZX-VA150(B), and an unknown model as a ZX-VA150.
class LogFile2Report {
public:
    static ReportPage page(const CalibrationFields& fields, std::uint32_t modelCode,
                           const QString& logFolderName, const QString& memo);
};

} // namespace tolvan::testmode

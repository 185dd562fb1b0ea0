#pragma once

#include "common/backup/backupfolder.h"
#include "handset/handsetstore.h"

#include <QString>

#include <cstdint>
#include <variant>

namespace tolvan::testmode {

// The backup before a correction write: the calibration values as last read, as a log file 2,
// under the handset's model and the PS-ID the store holds (the test mode's read does not ask for
// it, so a handset whose PS-ID no mode has read yet is filed under 000000000). The memo goes in
// as it stands, or empty when code page 932 cannot carry it.
std::variant<QString, Message> backUpCalibration(const handset::HandsetBlocks& store, std::uint32_t modelCode,
                                                 const QString& memo, const QString& root);

} // namespace tolvan::testmode

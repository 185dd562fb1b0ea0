#pragma once

#include "common/logfile/linecompare.h"
#include "handset/handsetstore.h"

#include <QList>

#include <cstdint>

namespace tolvan::testmode {

// Both stores rendered by the log file 2 writer for the model, compared line by line over the
// four coefficient lines (the memo is the file's own).
QList<logfile::LineDifference> compareLogFile2(const handset::HandsetBlocks& first,
                                               const handset::HandsetBlocks& second, std::uint32_t modelCode);

} // namespace tolvan::testmode

#pragma once

#include "common/backup/backupfolder.h"
#include "handset/handsetstore.h"

#include <QString>

#include <cstdint>
#include <variant>

namespace tolvan::dataset {

// The backup before a data setting write: what the store holds from the last read, as a log
// file 1 in its image form, under the handset's model and PS-ID. The memo goes in as it stands,
// or empty when code page 932 cannot carry it (the backup must not stop on the memo).
std::variant<QString, Message> backUpSystemParams(const handset::HandsetBlocks& store,
                                                  std::uint32_t modelCode, const QString& memo,
                                                  const QString& root);

} // namespace tolvan::dataset

#pragma once

// The handset's settings as a pair of log files, base.jv1 (system parameters) and base.jv4
// (handset settings), built from what the store holds: the file pair a registration leaves, and
// the backup before a handset setting write.

#include "common/logfile/savesetfiles.h"
#include "common/message.h"
#include "handset/handsetblocks.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <optional>
#include <variant>

namespace tolvan::psent {

// log file 1 in its image form and log file 4 (jv3 stays empty); a memo code page 932 cannot
// carry is a message.
std::variant<logfile::SaveSetFiles, Message> buildSettingsPair(const handset::HandsetBlocks& store,
                                                               std::uint32_t modelCode, const QString& memo);

// Writes the pair under base, both files or neither.
std::optional<Message> writeSettingsPair(const handset::HandsetBlocks& store, std::uint32_t modelCode,
                                         const QString& base, const QString& memo,
                                         QList<Message>* notices = nullptr);

// The backup before a handset setting write: the pair, under the handset's model and PS-ID.
std::variant<QString, Message> backUpSettingsPair(const handset::HandsetBlocks& store,
                                                  std::uint32_t modelCode, const QString& memo,
                                                  const QString& root);

} // namespace tolvan::psent

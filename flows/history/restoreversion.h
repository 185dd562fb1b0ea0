#pragma once

// Which version a restore writes back, and whether the handset on the port may take it.

#include "flows/history/handsetversion.h"

#include "common/message.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <optional>
#include <variant>

namespace tolvan::history {

// The version named (a backup's stamp or a set's path, as the history lists them), or without a
// name the newest one a write-back can take; otherwise the message why there is none.
std::variant<HandsetVersion, Message> versionToRestore(const QList<HandsetVersion>& newestFirst,
                                                       std::uint32_t psId, const QString& named);
// What the write-back is given: the version's .jv1, or its .jv4 when it has no .jv1.
QString writeBackFileOf(const HandsetVersion& version);
// A version goes back into the handset it came from: the message when the handset read has
// another PS-ID (the caller refuses, or asks).
std::optional<Message> otherHandset(std::uint32_t handsetPsId, std::uint32_t versionPsId);

} // namespace tolvan::history

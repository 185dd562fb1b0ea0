#pragma once

#include "common/message.h"
#include "handset/handsetstore.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace tolvan::cli {

class CliApp;

// The data save mode's commands: save (read everything into a set of .jv1, .jv3 and .jv4) and
// write-back (a saved set into the handset, optionally read again and compared).
void addDataSaveCommands(CliApp& app);

// Looks at the handset as read before a write-back sends anything: a message stops it (printed,
// exit status 1), nothing written and no backup taken.
using WriteBackGuard =
    std::function<std::optional<Message>(const handset::HandsetStore& asRead, std::uint32_t modelCode)>;
// write-back FILE [--verify] as the command runs it, for the commands that write a set back
// (restore); the exit status.
// keepIdentity: the handset's own PS-ID, PS number and PIN go back instead of the set's (a clone).
int writeBackSet(CliApp& cli, const QString& file, bool verify, const WriteBackGuard& guard = {},
                 bool keepIdentity = false);

} // namespace tolvan::cli

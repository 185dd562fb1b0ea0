#pragma once

#include "common/message.h"

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <optional>

namespace tolvan::logfile {

// "接続モデルはZX-VA100ですが、..." for the connected model code 2, 3 or 4; nothing for another.
// Every log file reader shows it when the file's header is not the connected model's.
std::optional<Message> modelMismatch(std::uint32_t modelCode);

// The header check every reader makes: the line (without CR LF) must be the header field in
// double quotes. An empty header field (no model known, or a model without a header) passes.
bool headerMatches(QByteArrayView line, const QString& headerField);

} // namespace tolvan::logfile

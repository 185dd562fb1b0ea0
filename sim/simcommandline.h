#pragma once

#include "sim/virtualhandset.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tolvan::sim {

// What tolvan-sim was asked to do.
struct SimCommandLine {
    HandsetConfig config;
    QString recordPath;
    int replugAfterMs = 0;
    bool helpRequested = false;
};

// Parses the arguments (program name first). Returns nothing and sets error on a usage error.
std::optional<SimCommandLine> parseSimCommandLine(const QStringList& arguments, QString* error);
QString simUsage();

} // namespace tolvan::sim

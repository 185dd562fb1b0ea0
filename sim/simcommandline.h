#pragma once

#include "sim/virtualhandset.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace tolvan::sim {

// One handset of a sequence on the cable: its PS-ID and model.
struct SequencedHandset {
    std::uint32_t psId = 0;
    std::uint8_t modelCode = 3;
};

// What tolvan-sim was asked to do.
struct SimCommandLine {
    HandsetConfig config;
    // Handsets served one after another: each next one comes on the cable swapMs after the tool
    // closed a dialogue with the one before; empty serves the one handset of config.
    std::vector<SequencedHandset> sequence;
    int swapMs = 1500;
    QString recordPath;
    int replugAfterMs = 0;
    bool helpRequested = false;
};

// Parses the arguments (program name first). Returns nothing and sets error on a usage error.
std::optional<SimCommandLine> parseSimCommandLine(const QStringList& arguments, QString* error);
QString simUsage();

} // namespace tolvan::sim

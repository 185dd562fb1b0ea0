#pragma once

#include "modes/psent/model/psentscreenvalues.h"

#include "common/reportpage.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace tolvan::psent {

// The printed report of the handset setting screen: one page of what the screen shows, the
// lines of each model (an unknown model gets an empty title and the lines every model prints).
// Tabs stand for the printer's default tab stops; the shared renderer expands them.
class PsEntReport {
public:
    static QStringList lines(const PsEntScreenValues& values, std::uint32_t modelCode,
                             const QString& customer);
    static ReportPage page(const PsEntScreenValues& values, std::uint32_t modelCode, const QString& customer);
};

} // namespace tolvan::psent

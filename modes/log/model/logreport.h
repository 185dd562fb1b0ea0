#pragma once

// LogReport: the printed page of the log display, three columns of the six lists.

#include "common/reportpage.h"
#include "modes/log/model/bufferkind.h"
#include "modes/log/model/logdisplaylists.h"

#include <QString>

#include <array>
#include <cstdint>

namespace tolvan::log {

// Column 1 (x = 10): the print header, the rule, then communication event (line 2), MMI event
// (line 22) and handset error (line 42); column 2 (x = 750): communication error status (line 2)
// and MMI status (line 42); column 3 (x = 1450): communication status (line 2). Each section is
// its title "【 name 】" and its rows. The x positions are device units of a 300 dpi printer:
// the page says so, and the renderer scales it onto its 600 dpi devices; at 600 dpi the columns
// would be half as far apart and run into each other.
class LogReport {
public:
    static constexpr std::array<int, 3> kColumnX = {10, 750, 1450};
    static constexpr int kDpi = 300;
    static constexpr int kMaxColumnLines = 128;

    // customer is the log folder name of the report header.
    static ReportPage page(const LogDisplayLists& lists, std::uint32_t modelCode, const QString& customer,
                           const QString& memo);
    static QString title(BufferKind kind);
};

} // namespace tolvan::log

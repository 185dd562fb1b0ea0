#include "modes/log/model/logreport.h"

#include "modes/log/model/logfile3format.h"

#include <algorithm>

namespace tolvan::log {
namespace {

struct Placement {
    BufferKind kind;
    qsizetype column;
    qsizetype titleLine;
};

// Sections of one column are listed top to bottom.
constexpr Placement kPlacements[] = {
    {BufferKind::CommEvent, 0, 2},       {BufferKind::MmiEvent, 0, 22},  {BufferKind::HandsetError, 0, 42},
    {BufferKind::CommErrorStatus, 1, 2}, {BufferKind::MmiStatus, 1, 42}, {BufferKind::CommStatus, 2, 2},
};

// Where a section's rows must stop: the next section's title in its column, or the column's
// end. A list longer than its buffer (a loaded file may hold any number of rows) is cut there
// rather than printed over the next section.
qsizetype sectionEnd(std::size_t index) {
    const Placement& self = kPlacements[index];
    if (index + 1 < std::size(kPlacements) && kPlacements[index + 1].column == self.column) {
        return kPlacements[index + 1].titleLine;
    }
    return LogReport::kMaxColumnLines;
}

} // namespace

QString LogReport::title(BufferKind kind) {
    return QStringLiteral("【 ") + LogFile3Format::sectionName(kind) + QStringLiteral(" 】");
}

ReportPage LogReport::page(const LogDisplayLists& lists, std::uint32_t modelCode, const QString& customer,
                           const QString& memo) {
    ReportPage page;
    page.fontFamily = QStringLiteral("ＭＳ ゴシック");
    page.fontPoints = 9;
    page.dpi = kDpi;
    for (const int x : kColumnX) {
        page.columns.append(ReportColumn{x, {}});
    }
    page.setLine(0, 0, reportHeaderLine(modelCode, 3, customer, memo));
    page.setLine(0, 1, reportRuleLine());
    for (std::size_t i = 0; i < std::size(kPlacements); ++i) {
        const Placement& at = kPlacements[i];
        page.setLine(at.column, at.titleLine, title(at.kind));
        const QStringList& rows = lists.rows(at.kind);
        const qsizetype room = sectionEnd(i) - at.titleLine - 1;
        for (qsizetype r = 0; r < std::min(rows.size(), room); ++r) {
            page.setLine(at.column, at.titleLine + 1 + r, rows.at(r));
        }
    }
    return page;
}

} // namespace tolvan::log

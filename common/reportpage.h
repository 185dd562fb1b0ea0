#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace tolvan {

// Every report starts its lines here (device units from the printable area's left edge).
inline constexpr int kReportLeftX = 10;

// One column of report lines; line i is drawn at y = (page.topLines + i) * line pitch, so an
// empty string leaves its line blank. Tabs are expanded by the renderer.
struct ReportColumn {
    int x = kReportLeftX;
    QStringList lines;
};

// One printed page, as the report builders of the modes produce it: plain data, so the builders
// stay free of Qt Gui and tests compare lines, not pixels.
struct ReportPage {
    // Empty family: the printer's default report font (the renderer decides it).
    QString fontFamily;
    // Character height in points; 0 with the default font.
    int fontPoints = 0;
    // Blank line pitches above line 0 (the log file 1 report starts one line down).
    int topLines = 0;
    // The printer resolution the page's device units and font are meant for; 0: the device's
    // own. The renderer scales such a page onto its device, so it keeps its size on paper.
    int dpi = 0;
    QList<ReportColumn> columns;

    // The lines of a single-column report at the left margin.
    static ReportPage singleColumn(const QStringList& lines, int topLines = 0) {
        ReportPage page;
        page.topLines = topLines;
        page.columns.append(ReportColumn{kReportLeftX, lines});
        return page;
    }

    // Puts text at a line of a column, growing the column with blank lines as needed.
    void setLine(qsizetype column, qsizetype line, const QString& text) {
        while (columns.size() <= column) {
            columns.append(ReportColumn{});
        }
        QStringList& lines = columns[column].lines;
        while (lines.size() <= line) {
            lines.append(QString());
        }
        lines[line] = text;
    }
};

// The rule under every report header: 117 hyphen-minus characters.
inline QString reportRuleLine() {
    return {117, QLatin1Char('-')};
}

// First line of the printed reports of log files 1 to 4: the model as printed (model code 4
// prints as "ZX-VA150(B)"), the customer (log folder) name and the memo; empty for an unknown
// model.
inline QString reportHeaderLine(std::uint32_t modelCode, int fileNumber, const QString& customer,
                                const QString& memo) {
    QString model;
    switch (modelCode) {
    case 2:
        model = QStringLiteral("ZX-VA100");
        break;
    case 3:
        model = QStringLiteral("ZX-VA150");
        break;
    case 4:
        model = QStringLiteral("ZX-VA150(B)");
        break;
    default:
        return {};
    }
    return model + QStringLiteral("ﾛｸﾞﾌｧｲﾙ") + QString::number(fileNumber) + QStringLiteral(" お客様名:") +
           customer + QStringLiteral("\tメモ:") + memo;
}

} // namespace tolvan

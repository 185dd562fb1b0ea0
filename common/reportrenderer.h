#pragma once

#include "common/reportpage.h"

#include <QFont>
#include <QList>

class QPagedPaintDevice;
class QPainter;
class QPdfWriter;

namespace tolvan {

// Reports are laid out in device units, as they always were on the office laser printers; the
// devices we create are set to this resolution.
inline constexpr int kReportDpi = 600;
// The printer's default report font when a page names none.
inline constexpr int kReportDefaultPoints = 9;

// The font a page is drawn with at the given vertical resolution: "ＭＳ ゴシック" (IPAGothic where
// that is missing) unless the page names another face, sized in device pixels.
QFont reportFont(const ReportPage& page, int dpiY);

// Draws one page with an active painter on a device; tabs are expanded here, at every eight
// average character widths from the column's x, because Qt scales its own tab stops by dpi/96.
void drawReportPage(QPainter& painter, const ReportPage& page);

// One device page per report page. False if the device refuses to start painting.
bool renderReport(QPagedPaintDevice& device, const QList<ReportPage>& pages);

// A PDF writer set up like a printer: kReportDpi, A4 portrait, a quarter inch unprintable rim.
void prepareReportPdf(QPdfWriter& writer);

} // namespace tolvan

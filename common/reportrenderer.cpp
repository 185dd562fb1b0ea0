#include "common/reportrenderer.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace tolvan {

namespace {

const QString kDefaultFamily = QStringLiteral("ＭＳ ゴシック");

void substituteJapaneseFonts() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Without it fontconfig picks a proportional Latin face and the half-width columns drift.
        QFont::insertSubstitution(kDefaultFamily, QStringLiteral("IPAGothic"));
    });
}

void drawTabbed(QPainter& painter, const QFontMetricsF& metrics, qreal originX, qreal baseline,
                const QString& text, qreal tabWidth) {
    qreal x = originX;
    const QStringList parts = text.split(QLatin1Char('\t'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            // A tab always moves on, even from a position that is exactly on a stop.
            x = originX + (std::floor((x - originX) / tabWidth) + 1.0) * tabWidth;
        }
        if (!parts[i].isEmpty()) {
            painter.drawText(QPointF(x, baseline), parts[i]);
            x += metrics.horizontalAdvance(parts[i]);
        }
    }
}

} // namespace

QFont reportFont(const ReportPage& page, int dpiY) {
    substituteJapaneseFonts();
    QFont font(page.fontFamily.isEmpty() ? kDefaultFamily : page.fontFamily);
    const int points = page.fontPoints > 0 ? page.fontPoints : kReportDefaultPoints;
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * dpiY / 72.0))));
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    font.setKerning(false);
    return font;
}

void drawReportPage(QPainter& painter, const ReportPage& page) {
    const QPaintDevice* device = painter.device();
    const int deviceDpiX = device ? device->logicalDpiX() : kReportDpi;
    const int deviceDpiY = device ? device->logicalDpiY() : kReportDpi;
    painter.save();
    if (page.dpi > 0) {
        painter.scale(static_cast<qreal>(deviceDpiX) / page.dpi, static_cast<qreal>(deviceDpiY) / page.dpi);
    }
    painter.setFont(reportFont(page, page.dpi > 0 ? page.dpi : deviceDpiY));
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(painter.font(), device);
    const qreal pitch = metrics.height() + metrics.leading();
    // The width of "x" is the average character width of a Windows font; a CJK face's own
    // average counts its full-width glyphs and would double the tab stops.
    const qreal tabWidth = 8.0 * metrics.horizontalAdvance(QLatin1Char('x'));
    for (const ReportColumn& column : page.columns) {
        for (qsizetype line = 0; line < column.lines.size(); ++line) {
            const QString& text = column.lines[line];
            if (text.isEmpty()) {
                continue;
            }
            const qreal top = static_cast<qreal>(page.topLines + line) * pitch;
            drawTabbed(painter, metrics, column.x, top + metrics.ascent(), text, tabWidth);
        }
    }
    painter.restore();
}

bool renderReport(QPagedPaintDevice& device, const QList<ReportPage>& pages) {
    QPainter painter;
    if (!painter.begin(&device)) {
        return false;
    }
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            return false;
        }
        drawReportPage(painter, pages[i]);
    }
    return painter.end();
}

void prepareReportPdf(QPdfWriter& writer) {
    writer.setResolution(kReportDpi);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(6.35, 6.35, 6.35, 6.35), QPageLayout::Millimeter));
    writer.setCreator(QStringLiteral("Tolvan"));
}

} // namespace tolvan

#pragma once

#include "common/reportpage.h"
#include "flows/provision/provisionjournal.h"
#include "flows/provision/provisionplan.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

namespace tolvan::provision {

// One plan row at the end of a run (or as far as the journal goes).
struct SummaryRow {
    int row = 0;
    QString psNumber;
    QString psId;
    QString model;
    QString result; // "成功", "失敗" or "未実施"
    QString cause;
    double seconds = 0;
    bool operator==(const SummaryRow&) const = default;
};

QString passedText();
QString failedText();
QString notRunText();

// The plan's rows as the journal leaves them, in plan order.
QList<SummaryRow> summaryOf(const ProvisionPlan& plan, const ProvisionJournal& journal);
// DIR/summary.csv: a header row, then one row each; code page 932 with CR LF as every text file
// of the tool, so a spreadsheet on a Japanese Windows opens it as it is.
QByteArray summaryCsv(const QList<SummaryRow>& rows);
// DIR/summary.csv as the journal stands now, replaced whole; the file layer's reason when it could
// not be.
QString writeSummary(const QString& outDir, const ProvisionPlan& plan, const ProvisionJournal& journal);
// The rows of a summary file; nothing when the bytes are not one.
std::optional<QList<SummaryRow>> readSummaryCsv(QByteArrayView bytes);
// The printed table of the summary, for the report renderer.
QList<ReportPage> summaryReportPages(const QList<SummaryRow>& rows);

} // namespace tolvan::provision

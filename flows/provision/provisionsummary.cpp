#include "flows/provision/provisionsummary.h"

#include "common/cp932.h"
#include "common/logfile/logfileio.h"

#include <QDir>

namespace tolvan::provision {
namespace {

const QStringList& headerFields() {
    static const QStringList header{QStringLiteral("行"),   QStringLiteral("PS番号"), QStringLiteral("PS-ID"),
                                    QStringLiteral("機種"), QStringLiteral("結果"),   QStringLiteral("原因"),
                                    QStringLiteral("秒")};
    return header;
}

QString csvField(const QString& text) {
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r')) {
        return text;
    }
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString secondsText(double seconds) {
    return QString::number(seconds, 'f', 1);
}

constexpr int kLinesPerPage = 60;

} // namespace

QString passedText() {
    return QStringLiteral("成功");
}
QString failedText() {
    return QStringLiteral("失敗");
}
QString notRunText() {
    return QStringLiteral("未実施");
}

QList<SummaryRow> summaryOf(const ProvisionPlan& plan, const ProvisionJournal& journal) {
    QList<SummaryRow> rows;
    for (const PlanRow& planned : plan.rows()) {
        SummaryRow row{planned.row, planned.psNumber, planned.psId, {}, notRunText(), {}, 0};
        if (const auto end = journal.lastEnd(planned.row)) {
            row.model = end->model;
            row.seconds = end->seconds;
            if (journal.stateOf(planned.row, planned.psId) == RowState::Done) {
                row.result = passedText();
            } else if (!end->ok) {
                row.result = failedText();
                row.cause = end->cause;
            }
        }
        rows.append(row);
    }
    return rows;
}

QByteArray summaryCsv(const QList<SummaryRow>& rows) {
    QString text = headerFields().join(u',') + QStringLiteral("\r\n");
    for (const SummaryRow& row : rows) {
        const QStringList fields{
            QString::number(row.row), row.psNumber, row.psId, row.model, row.result, row.cause.simplified(),
            secondsText(row.seconds)};
        QStringList out;
        for (const QString& field : fields) {
            out.append(csvField(field));
        }
        text += out.join(u',') + QStringLiteral("\r\n");
    }
    // Causes are the tool's own texts; anything code page 932 cannot carry is folded or dropped.
    Cp932Encoded encoded = encodeCp932(foldCp932LookAlikes(text));
    if (!encoded.ok()) {
        QString kept;
        for (const QChar c : text) {
            kept += encodeCp932(QString(c)).ok() ? QString(c) : QStringLiteral("?");
        }
        encoded = encodeCp932(kept);
    }
    return encoded.bytes;
}

QString writeSummary(const QString& outDir, const ProvisionPlan& plan, const ProvisionJournal& journal) {
    return logfile::saveAtomically(QDir(outDir).filePath(QStringLiteral("summary.csv")),
                                   summaryCsv(summaryOf(plan, journal)));
}

std::optional<QList<SummaryRow>> readSummaryCsv(QByteArrayView bytes) {
    const Cp932Decoded decoded = decodeCp932(bytes);
    if (!decoded.ok()) {
        return std::nullopt;
    }
    const QList<QStringList> records = parseCsv(decoded.text);
    if (records.isEmpty() || records.first() != headerFields()) {
        return std::nullopt;
    }
    QList<SummaryRow> rows;
    for (qsizetype i = 1; i < records.size(); ++i) {
        const QStringList& r = records[i];
        if (r.size() != headerFields().size()) {
            return std::nullopt;
        }
        rows.append({r[0].toInt(), r[1], r[2], r[3], r[4], r[5], r[6].toDouble()});
    }
    return rows;
}

QList<ReportPage> summaryReportPages(const QList<SummaryRow>& rows) {
    int passed = 0;
    int failed = 0;
    for (const SummaryRow& row : rows) {
        passed += row.result == passedText() ? 1 : 0;
        failed += row.result == failedText() ? 1 : 0;
    }
    const QStringList head{
        QStringLiteral("連続設定 結果一覧"),
        QStringLiteral("成功 %1台　失敗 %2台　未実施 %3台")
            .arg(passed)
            .arg(failed)
            .arg(rows.size() - passed - failed),
        reportRuleLine(),
        QStringLiteral("行\tPS番号\tPS-ID\t\t機種\t\t結果\t秒\t原因"),
        reportRuleLine(),
    };
    QList<ReportPage> pages;
    QStringList lines = head;
    for (const SummaryRow& row : rows) {
        if (lines.size() >= kLinesPerPage) {
            pages.append(ReportPage::singleColumn(lines));
            lines = head;
        }
        lines.append(QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t%7")
                         .arg(row.row)
                         .arg(row.psNumber, row.psId, row.model.leftJustified(12, u' '), row.result,
                              secondsText(row.seconds), row.cause.simplified()));
    }
    pages.append(ReportPage::singleColumn(lines));
    return pages;
}

} // namespace tolvan::provision

#include "flows/provision/provisionplan.h"

#include "common/cp932.h"
#include "modes/psent/model/psentrules.h"

#include <QHash>
#include <QStringDecoder>

#include <algorithm>

namespace tolvan::provision {
namespace {

const QString kPsIdColumn = QStringLiteral("PS-ID");
const QString kPsNumberColumn = QStringLiteral("PS番号");
const QString kPinColumn = QStringLiteral("暗証番号");
const QString kMemoColumn = QStringLiteral("メモ");

constexpr int kHeaderRow = 1;
constexpr int kHighestPsNumber = 391; // the handset setting screen allows no higher number

QString problem(int row, const QString& column, const QString& why) {
    return QStringLiteral("%1行目, %2, %3")
        .arg(row)
        .arg(column.isEmpty() ? QStringLiteral("-") : column, why);
}

bool allDigits(const QString& text, qsizetype count) {
    return text.size() == count &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

QStringList charactersOf(const QString& digits) {
    QStringList fields;
    for (const QChar c : digits) {
        fields.append(QString(c));
    }
    return fields;
}

// Two fields say the same when they are the same text or the same number ("05" and "5").
bool sameField(const QString& cell, const QString& written) {
    if (cell == written) {
        return true;
    }
    bool cellNumber = false;
    bool writtenNumber = false;
    const int a = cell.toInt(&cellNumber);
    const int b = written.toInt(&writtenNumber);
    return cellNumber && writtenNumber && a == b;
}

bool sameFields(const QStringList& cell, const QStringList& written) {
    if (cell.size() != written.size()) {
        return false;
    }
    for (qsizetype i = 0; i < cell.size(); ++i) {
        if (!sameField(cell[i], written[i])) {
            return false;
        }
    }
    return true;
}

struct Column {
    QString label;
    std::optional<LogFileKind> line; // a template line, or one of the four named columns
};

} // namespace

std::optional<QString> decodePlanText(QByteArrayView file) {
    QByteArrayView bytes = file;
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    if (bom) {
        bytes = bytes.sliced(3);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        return text;
    }
    if (bom) {
        return std::nullopt;
    }
    const Cp932Decoded decoded = decodeCp932(bytes);
    if (!decoded.ok()) {
        return std::nullopt;
    }
    return decoded.text;
}

QList<QStringList> parseCsv(QStringView text) {
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field.append(u'"');
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field.append(c);
            }
            continue;
        }
        if (c == u'"') {
            quoted = true;
            fieldStarted = true;
        } else if (c == u',') {
            record.append(field);
            field.clear();
            fieldStarted = true;
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
                ++i;
            }
            if (fieldStarted || !field.isEmpty() || !record.isEmpty()) {
                record.append(field);
            }
            records.append(record);
            record.clear();
            field.clear();
            fieldStarted = false;
        } else {
            field.append(c);
            fieldStarted = true;
        }
    }
    if (fieldStarted || !field.isEmpty() || !record.isEmpty()) {
        record.append(field);
        records.append(record);
    }
    return records;
}

QList<LineEdit> PlanRow::edits() const {
    QList<LineEdit> all = lines;
    all.append({LogFileKind::LogFile4, kPsNumberColumn, charactersOf(psNumber)});
    // A write-back takes the PS-ID of log file 4; log file 1 says the same so the two agree.
    all.append({LogFileKind::LogFile4, kPsIdColumn, charactersOf(psId)});
    all.append({LogFileKind::LogFile1, kPsIdColumn, charactersOf(psId)});
    return all;
}

const PlanRow* ProvisionPlan::rowAt(int row) const {
    const auto found =
        std::find_if(m_rows.begin(), m_rows.end(), [row](const PlanRow& r) { return r.row == row; });
    return found == m_rows.end() ? nullptr : &*found;
}

std::variant<ProvisionPlan, QStringList> ProvisionPlan::read(QByteArrayView file,
                                                             const ProvisionTemplate& base) {
    QStringList problems;
    const auto text = decodePlanText(file);
    if (!text) {
        return QStringList{
            problem(kHeaderRow, {}, QStringLiteral("文字コードがUTF-8でもShift-JISでもありません"))};
    }
    const QList<QStringList> records = parseCsv(*text);
    if (records.isEmpty()) {
        return QStringList{problem(kHeaderRow, {}, QStringLiteral("見出しの行がありません"))};
    }

    QList<Column> columns;
    QHash<QString, int> seen;
    for (const QString& cell : records.first()) {
        const QString label = cell.trimmed();
        Column column{label, std::nullopt};
        if (label.isEmpty()) {
            problems.append(problem(kHeaderRow, QStringLiteral("%1列目").arg(columns.size() + 1),
                                    QStringLiteral("見出しが空です")));
        } else if (seen.contains(label)) {
            problems.append(problem(kHeaderRow, label, QStringLiteral("見出しが重複しています")));
        } else if (label == kPinColumn && !psent::PsEntRules::pinEnabled(base.modelCode())) {
            problems.append(problem(kHeaderRow, label,
                                    QStringLiteral("暗証番号はZX-VA100のテンプレートでしか使えません")));
        } else if (label != kPsIdColumn && label != kPsNumberColumn && label != kPinColumn &&
                   label != kMemoColumn) {
            QString whyNot;
            column.line = base.lineOf(label, &whyNot);
            if (!column.line) {
                problems.append(problem(kHeaderRow, label, whyNot));
            }
        }
        seen.insert(label, static_cast<int>(columns.size()));
        columns.append(column);
    }
    for (const QString& required : {kPsIdColumn, kPsNumberColumn}) {
        if (!seen.contains(required)) {
            problems.append(problem(kHeaderRow, required, QStringLiteral("この列がありません")));
        }
    }
    if (!problems.isEmpty()) {
        return problems;
    }

    ProvisionPlan plan;
    plan.m_hasPin = seen.contains(kPinColumn);
    QHash<QString, int> psIdRows;
    QHash<QString, int> psNumberRows;
    for (qsizetype r = 1; r < records.size(); ++r) {
        const QStringList& cells = records[r];
        const int rowNumber = static_cast<int>(r) + 1;
        if (std::all_of(cells.begin(), cells.end(), [](const QString& c) { return c.trimmed().isEmpty(); })) {
            continue; // the blank rows a spreadsheet leaves at the end
        }
        if (cells.size() > columns.size()) {
            problems.append(problem(rowNumber, QStringLiteral("%1列目").arg(columns.size() + 1),
                                    QStringLiteral("見出しのない列に値があります")));
        }
        PlanRow row;
        row.row = rowNumber;
        for (qsizetype c = 0; c < columns.size(); ++c) {
            const Column& column = columns[c];
            const QString cell = cells.value(c).trimmed();
            if (column.label == kPsIdColumn) {
                if (!allDigits(cell, 9) || cell.toUInt() > psent::PsEntRules::kPsIdLimit) {
                    problems.append(problem(rowNumber, column.label,
                                            QStringLiteral("9桁の数字(268435455まで)ではありません")));
                } else if (psIdRows.contains(cell)) {
                    problems.append(
                        problem(rowNumber, column.label,
                                QStringLiteral("%1行目と重複しています").arg(psIdRows.value(cell))));
                } else {
                    psIdRows.insert(cell, rowNumber);
                }
                row.psId = cell;
            } else if (column.label == kPsNumberColumn) {
                if (!allDigits(cell, 3) || cell.toInt() > kHighestPsNumber) {
                    problems.append(problem(rowNumber, column.label,
                                            QStringLiteral("3桁の数字(000～391)ではありません")));
                } else if (psNumberRows.contains(cell)) {
                    problems.append(
                        problem(rowNumber, column.label,
                                QStringLiteral("%1行目と重複しています").arg(psNumberRows.value(cell))));
                } else {
                    psNumberRows.insert(cell, rowNumber);
                }
                row.psNumber = cell;
            } else if (column.label == kPinColumn) {
                if (!cell.isEmpty() && !allDigits(cell, 4)) {
                    problems.append(
                        problem(rowNumber, column.label, QStringLiteral("4桁の数字ではありません")));
                }
                row.pin = cell;
            } else if (column.label == kMemoColumn) {
                if (!encodeCp932(cell).ok()) {
                    problems.append(problem(rowNumber, column.label,
                                            QStringLiteral("Shift-JISで書けない文字があります")));
                }
                row.memo = cell;
            } else if (!cell.isEmpty()) {
                const LineEdit edit{*column.line, column.label, cell.split(u' ', Qt::SkipEmptyParts)};
                // The cell holds when the line, loaded as a write-back loads it, writes the same values.
                handset::HandsetBlocks blocks;
                const TemplateLoad load = base.loadInto(blocks, {edit});
                const QStringList& unread =
                    edit.file == LogFileKind::LogFile1 ? load.jv1Unread : load.jv4Unread;
                const auto written = base.writtenFields(blocks, edit.file, edit.label);
                const bool unreadLine = std::any_of(unread.begin(), unread.end(), [&](const QString& label) {
                    return label.trimmed() == column.label;
                });
                if (unreadLine || !written || !sameFields(edit.fields, *written)) {
                    problems.append(problem(rowNumber, column.label,
                                            QStringLiteral("「%1」は選べる値ではありません").arg(cell)));
                }
                row.lines.append(edit);
            }
        }
        plan.m_rows.append(row);
    }
    if (problems.isEmpty() && plan.m_rows.isEmpty()) {
        problems.append(problem(2, {}, QStringLiteral("子機の行がありません")));
    }
    if (!problems.isEmpty()) {
        return problems;
    }
    return plan;
}

} // namespace tolvan::provision

#pragma once

#include "flows/provision/provisiontemplate.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <variant>

namespace tolvan::provision {

// One handset of a plan: its identity and the lines of the template it changes.
struct PlanRow {
    int row = 0;      // the spreadsheet's row number (the header is row 1)
    QString psId;     // nine digits
    QString psNumber; // three digits
    QString pin;      // four digits, or empty: the handset keeps its own
    QString memo;     // the memo of the handset's saved set
    QList<LineEdit> lines;

    // Every line the handset's write changes: the plan's lines, then its PS number and PS-ID.
    QList<LineEdit> edits() const;
};

// The plan of a provisioning run: a CSV file (UTF-8 with or without BOM, or code page 932), one
// handset per row after a header row of labels. Cell syntax:
// - "PS-ID": nine digits (at most 268435455); "PS番号": three digits, 000 to 391; both required.
// - "暗証番号": four digits; only a ZX-VA100 template takes it. An empty cell keeps the PIN.
// - "メモ": any text code page 932 can carry; the memo of the handset's saved set.
// - any other label of a line log file 1 or log file 4 writes (written as the log file writes
//   its first field, surrounding spaces ignored): the line's values as the log file writes them,
//   fields separated by single spaces, exactly as `check` and `write-back --verify` print them
//   (e.g. "付加ID1" = "0 0 1 a", a list line = its list text). An empty cell keeps the
//   template's line.
class ProvisionPlan {
public:
    // A plan longer than this is not a spreadsheet of handsets.
    static constexpr qsizetype kMaxFileBytes = qsizetype{16} * 1024 * 1024;

    // Reads and checks the whole plan against the template; every problem is one line
    // "ROW行目, COLUMN, WHY", and a plan with any problem gives no rows at all.
    static std::variant<ProvisionPlan, QStringList> read(QByteArrayView file, const ProvisionTemplate& base);

    const QList<PlanRow>& rows() const { return m_rows; }
    const PlanRow* rowAt(int row) const;
    bool hasPin() const { return m_hasPin; }

private:
    QList<PlanRow> m_rows;
    bool m_hasPin = false;
};

// The records of a CSV text: fields split at commas, double-quoted fields with "" for a quote
// and line breaks inside, CR LF or LF between records.
QList<QStringList> parseCsv(QStringView text);
// The plan's text: UTF-8 (a BOM dropped) when it is valid UTF-8, else code page 932; nothing when
// it is neither.
std::optional<QString> decodePlanText(QByteArrayView file);

} // namespace tolvan::provision

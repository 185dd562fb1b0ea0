#pragma once

#include <QDateTime>
#include <QFile>
#include <QList>
#include <QString>

#include <optional>

namespace tolvan::provision {

// The steps of one handset, as the journal names them.
enum class Step { Read, Model, Skip, Backup, Write, Verify, Register, Save, Done };
QString stepName(Step step);
std::optional<Step> stepOf(const QString& name);

// One finished step of one handset.
struct JournalEntry {
    int row = 0; // the plan row; 0 for a handset that took no row (another model, one already done)
    QString psIdBefore;
    QString psIdAfter;
    QString model;
    Step step = Step::Read;
    bool ok = true;
    QString cause; // the message text when the step failed
    QString backup;
    QString savedSet;
    QDateTime started;
    QDateTime finished;
    double seconds = 0; // the handset's time so far (on Done and on a failure, the whole row's)
    bool operator==(const JournalEntry&) const = default;
};

// What the journal says about a plan row.
enum class RowState { Open, Done, Failed };

// DIR/provision.jsonl: one JSON object a line, appended and flushed as each step of a handset
// finishes, so a run killed at any moment resumes from what it shows.
class ProvisionJournal {
public:
    // Reads what is there (a torn last line from a kill is ignored) and opens it for appending;
    // the file layer's reason when it cannot.
    std::optional<QString> open(const QString& path);
    std::optional<QString> append(const JournalEntry& entry);

    const QList<JournalEntry>& entries() const { return m_entries; }
    // Done when the row's last Done entry came after its last failure, with that PS-ID; Failed
    // when the row's last end was a failure; Open when it never ended (or ran with another PS-ID).
    RowState stateOf(int row, const QString& psId) const;
    // The row's last entry that ended it (Done or a failure).
    std::optional<JournalEntry> lastEnd(int row) const;
    // The row whose handset is done with this PS-ID, if any.
    std::optional<int> doneRowWithPsId(const QString& psId) const;

    static QByteArray encode(const JournalEntry& entry);
    static std::optional<JournalEntry> decode(const QByteArray& line);

private:
    QFile m_file;
    QList<JournalEntry> m_entries;
};

} // namespace tolvan::provision

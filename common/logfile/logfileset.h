#pragma once

// LogFileSet: files that belong together (a saved set, a registration's pair, a backup), written
// so that either every file of the set is the new one or none changed, also when the process is
// killed at any instant and when several processes write the same set at once.

#include "common/logfile/setrecovery.h"
#include "common/message.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

namespace tolvan::logfile {

// A save takes the lock of the set's base name (base.tolvan-lock: the common path without the
// extension), recovers what an earlier, interrupted save of that base left, then writes every
// file completely beside its target (target.tolvan-new-<hex>, synced) and keeps a second name of
// each old file (target.tolvan-old-<hex>). Only then does a record of intent (base.tolvan-intent)
// say which staged file goes over which target; the staged files are renamed over their targets
// (a target path is never missing), the folder is synced, the record removed, the old names
// dropped. Killed before the record exists, the old set stands and the next use removes the
// staged files; killed after, the next use finishes the placement. A link is written through: the
// file it points to is replaced, the link stays.
class LogFileSet {
public:
    // The steps of a save, in order; Stage, Keep, Place and DropKept come once for each file.
    enum class Step : std::uint8_t {
        Lock,
        Recover,
        Stage,
        Keep,
        Intent,
        Place,
        SyncFolder,
        DropIntent,
        DropKept
    };
    // Called before each step with the index of its file (0 for the steps of the whole set).
    // Returning false makes the step fail as if the file layer had refused it.
    using StepHook = std::function<bool(Step, qsizetype)>;

    LogFileSet() = default;
    ~LogFileSet() = default;
    LogFileSet(const LogFileSet&) = delete;
    LogFileSet& operator=(const LogFileSet&) = delete;

    void add(const QString& path, const QByteArray& bytes);
    void setStepHook(StepHook hook) { m_hook = std::move(hook); }
    void setLockWait(int ms) { m_lockWaitMs = ms; }
    // Off for backups: a file that exists already is never replaced, the save fails instead.
    void setReplaceExisting(bool replace) { m_replaceExisting = replace; }

    // Writes the set. A failure before the record of intent is removed leaves every target as it
    // was. What failed (the path and the reason, in Japanese), or nothing once every file is the
    // new one.
    std::optional<QString> save();
    // What the last save did beside the set: an earlier placement finished or undone, leftovers
    // removed, or named because they could not be.
    const QList<Message>& notices() const { return m_notices; }

private:
    struct Entry {
        QString path;
        QByteArray bytes;
        QString target; // path with its links followed
        QString staged; // the new file, written completely, beside the target
        QString kept;   // a second name of the replaced file until the set is in place
    };

    bool passes(Step step, qsizetype index = 0) const { return !m_hook || m_hook(step, index); }
    std::optional<QString> stage(Entry& entry, qsizetype index);
    std::optional<QString> place(const QString& base);
    // Removes what was staged and kept before the record of intent was written.
    void dropStaged();

    QList<Entry> m_entries;
    StepHook m_hook;
    int m_lockWaitMs = kSetLockWaitMs;
    bool m_replaceExisting = true;
    QList<Message> m_notices;
};

} // namespace tolvan::logfile

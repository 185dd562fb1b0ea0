#pragma once

// The lock and the recovery of a set of log files of one base name (the common path of its files
// without the extension): what every process that saves, loads or compares the set does first.

#include "common/message.h"

#include <QList>
#include <QLockFile>
#include <QString>

#include <optional>

namespace tolvan::logfile {

// How long a second process waits for the one saving the same set before it gives up.
inline constexpr int kSetLockWaitMs = 10000;

// A lock file beside the set. A process that died holding it leaves a stale lock, which the next
// one takes over; a live holder is never robbed, however long it takes.
class SetLock {
public:
    explicit SetLock(const QString& lockPath);
    // Waits up to waitMs; the message says why the lock could not be had.
    std::optional<Message> acquire(int waitMs);
    // Another process holds it (rather than the lock file not being creatable at all, as in a
    // read-only or missing folder, where nobody saves either).
    bool busy() const { return m_lock.error() == QLockFile::LockFailedError; }

private:
    QString m_name;
    QLockFile m_lock;
};

struct Recovery {
    QList<Message> notices;        // lines for the user, one for each thing done
    std::optional<Message> failed; // an earlier placement that could not be finished
};

// With the base's lock held: finishes a placement an earlier process left with its record of
// intent (every staged file was complete), or undoes one that was being rolled back; removes the
// staged and kept files of interrupted saves, putting a kept file back where its target is
// missing. Leftovers that cannot be removed are named in a notice.
Recovery recoverLocked(const QString& base);

// The set of a reader (a write-back's load, a comparison): locked and recovered while it lives.
// A set on read-only media is read as it is unless an unfinished placement is found there.
class SetAccess {
public:
    explicit SetAccess(const QString& base, int waitMs = kSetLockWaitMs);
    SetAccess(const SetAccess&) = delete;
    SetAccess& operator=(const SetAccess&) = delete;
    ~SetAccess() = default;

    const QList<Message>& notices() const { return m_recovery.notices; }
    // Why the set must not be used (busy, or left unfinished); then nothing of it may be written.
    const std::optional<Message>& refused() const { return m_recovery.failed; }

private:
    SetLock m_lock;
    Recovery m_recovery;
};

} // namespace tolvan::logfile

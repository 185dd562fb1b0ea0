#pragma once

#include <QString>

// A system-wide lock that only one process can hold. The system drops it when the holder
// ends, however it ends, so a crashed launcher never blocks the next one.
class SingleInstanceLock {
public:
    enum class State {
        Acquired,
        HeldElsewhere,
        Unavailable, // the lock could not be set up at all; better to run than to lock the user out
    };

    explicit SingleInstanceLock(const QString& name);
    ~SingleInstanceLock();
    SingleInstanceLock(const SingleInstanceLock&) = delete;
    SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;

    State state() const { return m_state; }

#ifndef Q_OS_WIN
    // Where the lock of that name lives: the user's runtime folder.
    static QString lockFilePath(const QString& name);
#endif

private:
    State m_state = State::Unavailable;
#ifdef Q_OS_WIN
    void* m_mutex = nullptr;
#else
    int m_fd = -1;
#endif
};

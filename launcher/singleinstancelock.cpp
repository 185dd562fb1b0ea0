#include "singleinstancelock.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#ifdef Q_OS_WIN

SingleInstanceLock::SingleInstanceLock(const QString& name) {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<LPCWSTR>(name.utf16()));
    if (mutex == nullptr) {
        m_state = GetLastError() == ERROR_ACCESS_DENIED ? State::HeldElsewhere : State::Unavailable;
        return;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        m_state = State::HeldElsewhere;
        return;
    }
    m_mutex = mutex;
    m_state = State::Acquired;
}

SingleInstanceLock::~SingleInstanceLock() {
    if (m_mutex != nullptr) {
        CloseHandle(static_cast<HANDLE>(m_mutex));
    }
}

#else

QString SingleInstanceLock::lockFilePath(const QString& name) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        folder = QDir::tempPath();
    }
    QString fileName = name;
    fileName.replace(QLatin1Char('/'), QLatin1Char('_'));
    return folder + QLatin1Char('/') + fileName + QStringLiteral(".lock");
}

SingleInstanceLock::SingleInstanceLock(const QString& name) {
    // The file stays behind on purpose: only the flock counts, and removing the file on exit
    // would let a later copy lock a fresh file while an earlier one still holds the old one.
    // O_CLOEXEC keeps the started tools from inheriting, and so prolonging, the lock.
    const QByteArray path = QFile::encodeName(lockFilePath(name));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return;
    }
    int result = 0;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        m_state = errno == EWOULDBLOCK ? State::HeldElsewhere : State::Unavailable;
        ::close(fd);
        return;
    }
    m_fd = fd;
    m_state = State::Acquired;
}

SingleInstanceLock::~SingleInstanceLock() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

#endif

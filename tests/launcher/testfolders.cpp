#include "testfolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#ifdef Q_OS_LINUX
#include <sys/stat.h>
#endif

ScopedEnv::ScopedEnv(const char* name, const QByteArray& value)
    : m_name(name), m_wasSet(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
    qputenv(name, value);
}

ScopedEnv::~ScopedEnv() {
    if (m_wasSet) {
        qputenv(m_name, m_old);
    } else {
        qunsetenv(m_name);
    }
}

bool placeFakeTool(const QString& programFolder, const QString& relativePath) {
    const QString target = programFolder + relativePath;
    return QDir().mkpath(QFileInfo(target).absolutePath()) &&
           QFile::copy(QStringLiteral(FAKE_TOOL_BINARY), target);
}

bool holdsFlock(qint64 pid, const QString& path) {
#ifdef Q_OS_LINUX
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return false;
    }
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly)) {
        return false;
    }
    // "1: FLOCK  ADVISORY  WRITE 1234 00:2f:5678 0 EOF"
    const QString inode = QString::number(info.st_ino);
    for (const QByteArray& line : locks.readAll().split('\n')) {
        const QStringList fields = QString::fromLatin1(line).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() >= 6 && fields[1] == QLatin1String("FLOCK") && fields[4] == QString::number(pid) &&
            fields[5].section(QLatin1Char(':'), 2) == inode) {
            return true;
        }
    }
    return false;
#else
    Q_UNUSED(pid)
    Q_UNUSED(path)
    return false;
#endif
}

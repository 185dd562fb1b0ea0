#pragma once

#include <QString>
#include <QtGlobal>

// Sets an environment variable for the life of the object and restores it after.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    bool m_wasSet;
    QByteArray m_old;
};

// Puts the fake tool into programFolder at the relative path (given with '/').
bool placeFakeTool(const QString& programFolder, const QString& relativePath);

// True when process pid holds a flock on the file at path (read from /proc/locks, which
// observes the lock without taking it).
bool holdsFlock(qint64 pid, const QString& path);

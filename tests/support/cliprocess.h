#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

namespace tolvan::test {

// tolvan-sim started as a process; the pseudo-terminal it serves is its first line of output.
class SimProcess {
public:
    explicit SimProcess(const QStringList& arguments);
    ~SimProcess();
    bool started() const { return !m_device.isEmpty(); }
    const QString& device() const { return m_device; }

private:
    QProcess m_process;
    QString m_device;
};

struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs tolvan-cli to its end (bounded) and collects what it printed.
CliResult runCli(const QStringList& arguments, int timeoutMs = 30000);

} // namespace tolvan::test

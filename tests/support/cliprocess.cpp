#include "tests/support/cliprocess.h"

namespace tolvan::test {

SimProcess::SimProcess(const QStringList& arguments) {
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(QStringLiteral(TOLVAN_SIM_PATH), arguments);
    if (!m_process.waitForStarted(5000)) {
        return;
    }
    while (!m_process.canReadLine() && m_process.waitForReadyRead(5000)) {
    }
    if (m_process.canReadLine()) {
        m_device = QString::fromUtf8(m_process.readLine()).trimmed();
    }
}

SimProcess::~SimProcess() {
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

CliResult runCli(const QStringList& arguments, int timeoutMs) {
    QProcess cli;
    cli.start(QStringLiteral(TOLVAN_CLI_PATH), arguments);
    CliResult result;
    if (!cli.waitForStarted(5000)) {
        return result;
    }
    if (!cli.waitForFinished(timeoutMs)) {
        cli.kill();
        cli.waitForFinished(3000);
        result.err = QStringLiteral("<timed out>");
        return result;
    }
    result.exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    result.out = QString::fromUtf8(cli.readAllStandardOutput());
    result.err += QString::fromUtf8(cli.readAllStandardError());
    return result;
}

} // namespace tolvan::test

#include "toolrunner.h"

#include <QProcess>

ToolRunner::ToolRunner(QObject* parent) : QObject(parent) {}

void ToolRunner::start(const QString& commandLine) {
    if (m_process != nullptr) {
        return;
    }
    m_process = new QProcess(this);
    // The whole command line is the program path: a folder with spaces must not split it.
    m_process->setProgram(commandLine);
    // The tool talks to no one through its standard streams; output still reaches a terminal,
    // and nothing piles up unread in the launcher.
    m_process->setProcessChannelMode(QProcess::ForwardedChannels);
    m_process->setStandardInputFile(QProcess::nullDevice());
    connect(m_process, &QProcess::finished, this, &ToolRunner::finish);
    connect(m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            finish();
        }
    });
    m_process->start();
}

void ToolRunner::finish() {
    if (m_process == nullptr) {
        return;
    }
    m_process->deleteLater();
    m_process = nullptr;
    emit ended();
}

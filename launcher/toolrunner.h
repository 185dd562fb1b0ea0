#pragma once

#include <QObject>
#include <QString>

class QProcess;

// Runs one tool at a time and reports when it is over, without blocking the event loop.
class ToolRunner : public QObject {
    Q_OBJECT
public:
    explicit ToolRunner(QObject* parent = nullptr);

    bool isRunning() const { return m_process != nullptr; }

    // Starts the tool at that path; ended() follows when it exits, crashes or cannot start.
    void start(const QString& commandLine);

signals:
    void ended();

private:
    void finish();

    QProcess* m_process = nullptr;
};

#pragma once

#include "cli/cliapp.h"
#include "cli/clisession.h"
#include "flows/provision/runnerline.h"

#include <QIODevice>
#include <QString>
#include <QTextStream>

#include <memory>

namespace tolvan::cli {

// The handset on one port as the provisioning steps see it: one command-line session for the
// whole run, its link on that port. What the session would print is dropped: each step's cause
// is the line's own, and one trace per port would interleave on stderr.
class ProvisionLine {
public:
    ProvisionLine(const GlobalOptions& options, const QString& port);

    provision::HandsetLine& line() { return *m_line; }

private:
    class Discard : public QIODevice {
    public:
        Discard() { open(QIODevice::WriteOnly); }

    protected:
        qint64 readData(char*, qint64) override { return -1; }
        qint64 writeData(const char*, qint64 size) override { return size; }
    };

    Discard m_discard;
    QTextStream m_quiet{&m_discard};
    CliApp m_cli{m_quiet, m_quiet};
    std::unique_ptr<CliSession> m_session;
    std::unique_ptr<provision::RunnerLine> m_line;
};

} // namespace tolvan::cli

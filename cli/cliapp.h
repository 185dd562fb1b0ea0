#pragma once

#include "cli/clilink.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>
#include <vector>

namespace tolvan::cli {

struct GlobalOptions {
    QString port; // --port DEVICE: bypasses discovery
    bool trace = false;
    QString memo;       // --memo TEXT: the memo written into saved files
    QString logRoot;    // --log-root DIR: stands for drive C
    bool backup = true; // --no-backup: no backup set before a write
};

// tolvan-cli: global options, then a command and its arguments. Each mode adds its commands to
// the table; the exit statuses are those of ExitStatus.
class CliApp {
public:
    CliApp(QTextStream& out, QTextStream& err);

    struct Command {
        QString name;
        QString synopsis; // for the usage text
        int minArgs;
        int maxArgs;
        std::function<int(CliApp&, const QStringList&)> run;
    };
    void addCommand(Command command) { m_commands.push_back(std::move(command)); }

    int run(const QStringList& arguments);

    const GlobalOptions& options() const { return m_options; }
    // A worker of a command (one per port) runs with the command's options on streams of its own.
    void setOptions(const GlobalOptions& options) { m_options = options; }
    // A command's own --port (history --port DEV) stands for the global one.
    void setPort(const QString& port) { m_options.port = port; }
    QTextStream& out() { return m_out; }
    QTextStream& err() { return m_err; }
    // A link set up with the global options, for commands that talk to a handset.
    std::unique_ptr<CliLink> makeLink();
    int usage();

private:
    QTextStream& m_out;
    QTextStream& m_err;
    GlobalOptions m_options;
    std::vector<Command> m_commands;
};

// The commands of the link itself: ports and identify.
void addLinkCommands(CliApp& app);

} // namespace tolvan::cli

#include "cli/cliapp.h"

#include "link/portfinder.h"

namespace tolvan::cli {

CliApp::CliApp(QTextStream& out, QTextStream& err) : m_out(out), m_err(err) {}

int CliApp::usage() {
    m_err << "usage: tolvan-cli [--port DEVICE] [--trace] [--memo TEXT] [--log-root DIR] [--no-backup] "
             "COMMAND ...\n";
    for (const Command& c : m_commands) {
        m_err << "  " << c.synopsis << '\n';
    }
    m_err.flush();
    return kExitUsage;
}

std::unique_ptr<CliLink> CliApp::makeLink() {
    auto link = std::make_unique<CliLink>(m_out, m_err);
    link->setTrace(m_options.trace);
    if (!m_options.port.isEmpty()) {
        link->setDevicePath(m_options.port);
    }
    return link;
}

int CliApp::run(const QStringList& arguments) {
    qsizetype i = 0;
    auto value = [&](QString& target) {
        if (i + 1 >= arguments.size()) {
            return false;
        }
        target = arguments.at(++i);
        return true;
    };
    for (; i < arguments.size(); ++i) {
        const QString& a = arguments.at(i);
        if (a == QLatin1String("--port")) {
            if (!value(m_options.port)) {
                return usage();
            }
        } else if (a == QLatin1String("--memo")) {
            if (!value(m_options.memo)) {
                return usage();
            }
        } else if (a == QLatin1String("--log-root")) {
            if (!value(m_options.logRoot)) {
                return usage();
            }
        } else if (a == QLatin1String("--no-backup")) {
            m_options.backup = false;
        } else if (a == QLatin1String("--trace")) {
            m_options.trace = true;
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            usage();
            return kExitOk;
        } else if (a.startsWith(QLatin1String("--"))) {
            m_err << "tolvan-cli: unknown option " << a << '\n';
            return usage();
        } else {
            break;
        }
    }
    if (i >= arguments.size()) {
        return usage();
    }
    const QString name = arguments.at(i);
    QStringList rest = arguments.mid(i + 1);
    for (const Command& c : m_commands) {
        if (c.name == name) {
            if (rest.size() < c.minArgs || rest.size() > c.maxArgs) {
                return usage();
            }
            return c.run(*this, rest);
        }
    }
    // Some commands have two words ("params read").
    if (!rest.isEmpty()) {
        const QString two = name + QLatin1Char(' ') + rest.first();
        for (const Command& c : m_commands) {
            if (c.name == two) {
                rest.removeFirst();
                if (rest.size() < c.minArgs || rest.size() > c.maxArgs) {
                    return usage();
                }
                return c.run(*this, rest);
            }
        }
    }
    m_err << "tolvan-cli: unknown command " << name << '\n';
    return usage();
}

void addLinkCommands(CliApp& app) {
    app.addCommand({QStringLiteral("ports"), QStringLiteral("ports                       list handset ports"),
                    0, 0, [](CliApp& cli, const QStringList&) {
                        for (const link::DeviceInfo& device : link::presentDevices()) {
                            if (!link::findHandsetPortName({device}).isEmpty()) {
                                cli.out() << device.devicePath << '\t' << device.friendlyName << '\n';
                            }
                        }
                        cli.out().flush();
                        return int(kExitOk);
                    }});
    app.addCommand({QStringLiteral("identify"),
                    QStringLiteral("identify                    print the attached model"), 0, 0,
                    [](CliApp& cli, const QStringList&) {
                        auto link = cli.makeLink();
                        const auto result = link->identify();
                        if (const auto* status = std::get_if<ExitStatus>(&result)) {
                            return int(*status);
                        }
                        cli.out() << modelName(std::get<std::uint32_t>(result)) << '\n';
                        cli.out().flush();
                        return int(kExitOk);
                    }});
}

} // namespace tolvan::cli

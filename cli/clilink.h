#pragma once

#include "link/linksession.h"

#include <QTextStream>

#include <functional>
#include <optional>
#include <variant>

namespace tolvan::cli {

// Exit statuses of tolvan-cli; scripts rely on them.
enum ExitStatus {
    kExitOk = 0,
    kExitNoAnswer = 1, // the handset did not answer, or the script failed
    kExitUsage = 2,
    kExitFileError = 3,
    kExitLinkFatal = 4, // a link error that ends Tolvan
};

// The link for one command-line run: the session the handset's runner drives (identify opens it
// itself); it prints what Tolvan would show in message boxes as "TITLE: TEXT" on stderr and,
// with --trace, every unit on stderr too, so stdout stays the command's result.
class CliLink : public QObject {
    Q_OBJECT
public:
    CliLink(QTextStream& out, QTextStream& err, QObject* parent = nullptr);

    link::LinkSession& session() { return m_session; }
    const link::LinkState& state() const { return m_session.state(); }
    void setTrace(bool on) { m_trace = on; }
    void setDevicePath(const QString& path) { m_session.setFixedDevicePath(path); }

    // Opens the handset's port; on failure the messages are printed and the exit status returned.
    // dataSetting picks the data setting mode's spelling of the no-communication message.
    std::optional<ExitStatus> open(bool dataSetting = false);
    // Asks the handset for its model in a keep-alive dialogue; the model code, or an exit status.
    std::variant<std::uint32_t, ExitStatus> identify();
    // Leaves the dialogue the way a mode does and waits for the port to close.
    void close();

    void printMessage(const QString& title, const QString& text);

private:
    bool waitFor(const std::function<bool()>& done, int timeoutMs);
    void onMessage(link::LinkMessage message);

    link::LinkSession m_session;
    QTextStream& m_out;
    QTextStream& m_err;
    bool m_trace = false;
    bool m_aborted = false;
};

QString modelName(std::uint32_t modelCode);

} // namespace tolvan::cli

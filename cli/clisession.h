#pragma once

#include "cli/cliapp.h"
#include "cli/clilink.h"
#include "common/message.h"
#include "runner/handsetrunner.h"
#include "runner/writeoperation.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <variant>

namespace tolvan::psent {
class RegistrationRun;
}

namespace tolvan::cli {

// One command-line run against a handset, for the commands of every mode: the handset's runner
// (its store, sink and link session) on the command line's link, which prints. It turns how each
// step of the runner ended into the command's stderr lines and exit status.
class CliSession {
public:
    explicit CliSession(CliApp& cli);
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    CliLink& link() { return *m_link; }
    runner::HandsetRunner& runner() { return *m_runner; }
    handset::HandsetStore& store() { return m_runner->store(); }
    std::uint32_t modelCode() { return m_runner->modelCode(); }
    // A close frame was just acknowledged: the dialogue is closing.
    bool closePauseRunning() { return m_runner->closePauseRunning(); }
    link::RequestBuffers& requestBuffers() { return m_runner->requestBuffers(); }

    // Opens the link; dataSetting picks that mode's spelling of the no-communication message.
    std::optional<ExitStatus> open(bool dataSetting = false);
    // Runs a script and stays in the keep-alive dialogue it leaves, for what follows.
    std::optional<ExitStatus> runScript(std::uint32_t operationId, std::uint8_t script);
    // Runs the command's last script and ends the session at the script's acknowledged close
    // frame: the handset is done, so no keep-alive dialogue is opened only to be closed again.
    // The engine closes the port when the close pause ends; nothing is sent during it.
    std::optional<ExitStatus> runLastScript(std::uint32_t operationId, std::uint8_t script);
    // A script step's end as the command line says it: nothing when it succeeded, else the
    // messages printed, the link closed and the exit status.
    std::optional<ExitStatus> finish(runner::ScriptEnd end);
    // Lets the close pause run out (the engine then closes the port) and closes the link.
    void close() { m_runner->close(); }
    // One command in place of the next frame of the keep-alive dialogue, under an operation id.
    void sendSingle(std::uint32_t operationId, std::uint32_t code) {
        m_runner->sendSingle(operationId, code);
    }
    // Starts the registration run and feeds it the handset's reports and the link's notices until
    // done() holds, the port closes or limitMs pass; false when the link was lost meanwhile.
    bool followRegistration(psent::RegistrationRun& run, int limitMs, const std::function<bool()>& done);
    // Runs the event loop for ms, or until stop() holds; false when the link was lost meanwhile.
    bool runFor(int ms, const std::function<bool()>& stop = {}) {
        return m_runner->waitFor(ms, stop) != runner::WaitEnd::Lost;
    }

    void printMessage(const QString& title, const QString& text) { m_link->printMessage(title, text); }
    void printMessage(const Message& message) { m_link->printMessage(message.title, message.text); }

    // A write command's sequence (open, read, load, backup, frames, write) run to its end, the link
    // closed; source names the file in the frame-building error. The exit status.
    ExitStatus runWrite(const runner::WritePlan& plan, const QString& source);
    // A write's outcome as the command line says it; the link closed unless the dialogue follows
    // (a check after a write that went out).
    ExitStatus exitOf(const runner::WriteOutcome& outcome, const QString& source,
                      bool dialogueFollows = false);

    // How a read command ends: the log file written (replaced only when complete), or the message
    // that says why it could not be made; the link closed either way. The exit status.
    using FileContents = std::variant<QByteArray, Message>;
    ExitStatus saveAndClose(const QString& path, const FileContents& contents);

private:
    CliApp& m_cli;
    std::unique_ptr<CliLink> m_link;
    std::unique_ptr<runner::HandsetRunner> m_runner;
};

} // namespace tolvan::cli

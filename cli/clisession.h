#pragma once

#include "cli/cliapp.h"
#include "cli/clilink.h"
#include "common/message.h"
#include "handset/handsetstore.h"
#include "handset/storesink.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <variant>

namespace tolvan::cli {

// One command-line run against a handset, for the commands of every mode: the handset store
// with the sink that fills it, and the link. It runs the mode's scripts, ends the last one at
// its acknowledged close frame, and turns what went wrong into the exit status.
class CliSession {
public:
    explicit CliSession(CliApp& cli);
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    CliLink& link() { return *m_link; }
    handset::HandsetStore& store() { return m_store; }
    std::uint32_t modelCode() const { return m_link->state().modelCode; }
    // A close frame was just acknowledged: the dialogue is closing.
    bool closePauseRunning() { return m_link->session().engine().closePauseRunning(); }
    link::RequestBuffers& requestBuffers() { return m_link->session().engine().requests(); }

    // Opens the link; dataSetting picks that mode's spelling of the no-communication message.
    std::optional<ExitStatus> open(bool dataSetting = false);
    // Runs a script and stays in the keep-alive dialogue it leaves, for what follows.
    std::optional<ExitStatus> runScript(std::uint32_t operationId, std::uint8_t script);
    // Runs the command's last script and ends the session at the script's acknowledged close
    // frame: the handset is done, so no keep-alive dialogue is opened only to be closed again.
    // The engine closes the port when the close pause ends; nothing is sent during it.
    std::optional<ExitStatus> runLastScript(std::uint32_t operationId, std::uint8_t script);
    // Lets the close pause run out (the engine then closes the port) and closes the link.
    void close();
    // One command in place of the next frame of the keep-alive dialogue, under an operation id.
    void sendSingle(std::uint32_t operationId, std::uint32_t code);
    // Runs the event loop for ms, or until stop() holds; false when the link was lost meanwhile.
    bool runFor(int ms, const std::function<bool()>& stop = {});

    void printMessage(const QString& title, const QString& text) { m_link->printMessage(title, text); }

    // How a read command ends: the log file written (replaced only when complete), or the message
    // that says why it could not be made; the link closed either way. The exit status.
    using FileContents = std::variant<QByteArray, Message>;
    ExitStatus saveAndClose(const QString& path, const FileContents& contents);

private:
    std::optional<ExitStatus> finish(ExitStatus status, bool closedAtEnd);

    handset::HandsetStore m_store;
    handset::StoreSink m_sink{m_store};
    std::unique_ptr<CliLink> m_link;
};

} // namespace tolvan::cli

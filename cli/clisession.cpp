#include "cli/clisession.h"

#include "modes/psent/model/registerunder.h"

#include "modes/test/model/testresultparser.h"

#include "common/logfile/logfileio.h"

namespace tolvan::cli {

CliSession::CliSession(CliApp& cli)
    : m_cli(cli), m_link(cli.makeLink()),
      m_runner(std::make_unique<runner::HandsetRunner>(m_link->session())) {
    // As in Tolvan: a test result out of range gets the test mode's result class and is not kept.
    m_runner->sink()->setTestResultCheck([](std::span<const std::uint8_t> unit) {
        return testmode::TestResultParser::parse(unit, 0).resultClass;
    });
}

CliSession::~CliSession() = default;

std::optional<ExitStatus> CliSession::open(bool dataSetting) {
    if (!m_runner->open()) {
        printMessage(QString::fromUtf8(link::kErrorTitle),
                     QString::fromUtf8(dataSetting ? link::kNoCommunicationDataSettingText
                                                   : link::kNoCommunicationText));
        return kExitNoAnswer;
    }
    return std::nullopt;
}

std::optional<ExitStatus> CliSession::runScript(std::uint32_t operationId, std::uint8_t script) {
    return finish(m_runner->runScript(operationId, script));
}

std::optional<ExitStatus> CliSession::runLastScript(std::uint32_t operationId, std::uint8_t script) {
    return finish(m_runner->runLastScript(operationId, script));
}

std::optional<ExitStatus> CliSession::finish(runner::ScriptEnd end) {
    using runner::ScriptEnd;
    if (runner::succeeded(end)) {
        return std::nullopt;
    }
    if (end == ScriptEnd::Unfinished) {
        m_cli.err() << "tolvan-cli: the handset did not finish the operation\n";
        m_cli.err().flush();
    }
    if (end != ScriptEnd::Fatal) {
        // What Tolvan's no-data dialog says.
        printMessage(QString::fromUtf8(link::kErrorTitle), QString::fromUtf8(link::kNoDataText));
    }
    m_runner->leave();
    return end == ScriptEnd::Fatal ? kExitLinkFatal : kExitNoAnswer;
}

ExitStatus CliSession::runWrite(const runner::WritePlan& plan, const QString& source) {
    runner::WriteOperation write(plan);
    const runner::WriteOutcome done = write.run(*m_runner);
    if (done.end == runner::WriteOutcome::End::NotOpened) {
        printMessage(QString::fromUtf8(link::kErrorTitle),
                     QString::fromUtf8(plan.dataSettingOpen ? link::kNoCommunicationDataSettingText
                                                            : link::kNoCommunicationText));
        return kExitNoAnswer;
    }
    return exitOf(done, source, plan.dialogueFollows);
}

ExitStatus CliSession::exitOf(const runner::WriteOutcome& done, const QString& source, bool dialogueFollows) {
    using End = runner::WriteOutcome::End;
    switch (done.end) {
    case End::Written:
        if (!dialogueFollows) {
            close();
        }
        return kExitOk;
    case End::NotOpened:
        printMessage(QString::fromUtf8(link::kErrorTitle), QString::fromUtf8(link::kNoCommunicationText));
        return kExitNoAnswer;
    case End::ReadFailed:
    case End::WriteFailed:
        return *finish(done.link);
    case End::Refused:
        printMessage(*done.message);
        close();
        return kExitNoAnswer;
    case End::NotLoaded:
        close();
        return kExitFileError;
    case End::BackupFailed:
        printMessage(*done.message);
        close();
        return kExitFileError;
    case End::FrameNotBuilt:
        m_cli.err() << "tolvan-cli: a write frame could not be built from " << source << '\n';
        m_cli.err().flush();
        close();
        return kExitNoAnswer;
    }
    return kExitNoAnswer;
}

ExitStatus CliSession::saveAndClose(const QString& path, const FileContents& contents) {
    std::optional<Message> error;
    if (const auto* bytes = std::get_if<QByteArray>(&contents)) {
        if (const QString failed = logfile::saveAtomically(path, *bytes); !failed.isEmpty()) {
            error = errorMessage(path + QStringLiteral(": ") + failed);
        }
    } else {
        error = std::get<Message>(contents);
    }
    close();
    if (error) {
        printMessage(error->title, error->text);
        return kExitFileError;
    }
    return kExitOk;
}

bool CliSession::followRegistration(psent::RegistrationRun& run, int limitMs,
                                    const std::function<bool()>& done) {
    return psent::followRegistration(run, *m_runner, limitMs, done);
}

} // namespace tolvan::cli

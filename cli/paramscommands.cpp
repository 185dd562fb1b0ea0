#include "cli/paramscommands.h"

#include "cli/boundedfile.h"

#include "modes/dataset/logfile1files.h"
#include "modes/dataset/logfile1format.h"
#include "modes/dataset/logfile1reader.h"
#include "modes/dataset/logfile1writer.h"
#include "modes/dataset/systemparamframes.h"
#include "modes/dataset/systemparamimage.h"
#include "modes/dataset/systemparamparser.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSaveFile>

namespace tolvan::cli {
namespace {

using dataset::LogFile1Format;

// The operation ids the data setting mode runs its scripts under: the main menu's read, and the
// write from the screen's data-shown state.
constexpr std::uint32_t kReadOperation = 0xA000;
constexpr std::uint32_t kWriteOperation = 0xA001;
constexpr std::uint8_t kReadScript = 0;
constexpr std::uint8_t kWriteScript = 1;
// Script 1 is 30 steps at 9600 baud, with retries: be generous.
constexpr int kScriptTimeoutMs = 120000;
// Longer than the engine's close pause.
constexpr int kClosePauseWaitMs = 3000;

void printFileError(CliLink& link, const QString& path, const QString& error) {
    link.printMessage(LogFile1Format::errorTitle(), path + QStringLiteral(": ") + error);
}

// The image, its parser as the engine's response sink, and the link; the link goes first.
class ParamsSession {
public:
    explicit ParamsSession(CliApp& cli) : m_err(cli.err()), m_link(cli.makeLink()) {}
    ~ParamsSession() { m_link->session().engine().setResponseSink(nullptr); }
    ParamsSession(const ParamsSession&) = delete;
    ParamsSession& operator=(const ParamsSession&) = delete;

    CliLink& link() { return *m_link; }
    dataset::SystemParamImage& image() { return m_image; }

    // Opens the link and runs script 0 into the image; the exit status when that failed (the
    // link is then closed). A write follows in the keep-alive dialogue the read leaves open.
    std::optional<ExitStatus> readHandset(bool writeFollows) {
        if (const auto failed = m_link->open(true)) {
            return failed;
        }
        m_link->session().engine().setResponseSink(&m_parser);
        if (writeFollows) {
            return runScript(kReadOperation, kReadScript, false);
        }
        return runLastScript(kReadOperation, kReadScript);
    }

    // Runs the command's last script and ends the session at the script's acknowledged close
    // frame: the handset is done, so no keep-alive dialogue is opened only to be closed again.
    // The engine closes the port when the close pause ends; nothing is sent during it.
    std::optional<ExitStatus> runLastScript(std::uint32_t operationId, std::uint8_t script) {
        link::LinkSession& session = m_link->session();
        bool closed = false;
        const auto connection = QObject::connect(&session.driver(), &link::LinkDriver::unitHandled, [&] {
            if (!closed && session.state().dialogueState == link::kScriptRunning &&
                session.engine().closePauseRunning()) {
                closed = true;
                session.leaveMode();
            }
        });
        const auto failed = runScript(operationId, script, closed);
        QObject::disconnect(connection);
        return failed;
    }

    // Lets the close pause run out (the engine then closes the port) before the link goes.
    void close() {
        const QDeadlineTimer deadline(kClosePauseWaitMs);
        while (m_link->state().portOpen && m_link->session().engine().closePauseRunning() &&
               !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
        m_link->close();
    }

private:
    std::optional<ExitStatus> runScript(std::uint32_t operationId, std::uint8_t script, const bool& closed) {
        ExitStatus status = m_link->runScript(operationId, script, kScriptTimeoutMs);
        // Left at the close frame, the dialogue is idle rather than in keep-alive.
        if (closed && status == kExitNoAnswer) {
            status = kExitOk;
        }
        if (status == kExitOk) {
            return std::nullopt;
        }
        if (status == kExitNoAnswer) {
            // What Tolvan's no-data dialog says.
            m_link->printMessage(QString::fromUtf8(link::kErrorTitle), QString::fromUtf8(link::kNoDataText));
        }
        m_link->close();
        return status;
    }

    QTextStream& m_err;
    dataset::SystemParamImage m_image;
    dataset::SystemParamParser m_parser{m_image};
    std::unique_ptr<CliLink> m_link;
};

int paramsRead(CliApp& cli, const QString& path) {
    ParamsSession params(cli);
    CliLink& link = params.link();
    const QString memo = cli.options().memo;
    // Refuse what cannot be saved before the handset is read for nothing: a memo without a code
    // page 932 form, a folder that does not exist or cannot be written.
    if (const auto probe = dataset::LogFile1Writer::fromImage({}, link::kModelVa150, memo); !probe.ok()) {
        link.printMessage(LogFile1Format::errorTitle(), probe.error);
        return kExitFileError;
    }
    {
        QSaveFile probe(path);
        if (!probe.open(QIODevice::WriteOnly)) {
            printFileError(link, path, probe.errorString());
            return kExitFileError;
        }
        probe.cancelWriting();
    }

    if (const auto failed = params.readHandset(false)) {
        return *failed;
    }
    const auto text = dataset::LogFile1Writer::fromImage(params.image(), link.state().modelCode, memo);
    QString error = text.error;
    if (text.ok()) {
        error = dataset::LogFile1Files::save(path, text.bytes);
        if (!error.isEmpty()) {
            error = path + QStringLiteral(": ") + error;
        }
    }
    params.close();
    if (!error.isEmpty()) {
        link.printMessage(LogFile1Format::errorTitle(), error);
        return kExitFileError;
    }
    return kExitOk;
}

int paramsWrite(CliApp& cli, const QString& path) {
    ParamsSession params(cli);
    CliLink& link = params.link();
    // A file that is not there or does not read is known before the handset is touched.
    const BoundedFile file = BoundedFile::read(path, LogFile1Format::kMaxFileBytes);
    if (file.status == BoundedFile::Status::Missing) {
        const dataset::DataSetMessage missing = LogFile1Format::fileMissing();
        link.printMessage(missing.title, missing.text);
        return kExitFileError;
    }
    if (file.status == BoundedFile::Status::Unreadable) {
        printFileError(link, path, file.error);
        return kExitFileError;
    }

    // The screen reads the handset before it can write: the blocks it does not edit go back as
    // read, and the model decides the file's layout.
    if (const auto failed = params.readHandset(true)) {
        return *failed;
    }
    const std::uint32_t model = link.state().modelCode;
    const auto loaded = dataset::LogFile1Reader::readThroughScreen(file.bytes, model, params.image());
    for (const dataset::DataSetMessage& message : loaded.messages) {
        link.printMessage(message.title, message.text);
    }
    if (!loaded.loaded) {
        params.close();
        return kExitFileError;
    }
    if (!dataset::SystemParamFrames::fillRequestBuffers(params.image(), link.state().requests)) {
        cli.err() << "tolvan-cli: a write frame could not be built from " << path << '\n';
        cli.err().flush();
        params.close();
        return kExitNoAnswer;
    }
    if (const auto failed = params.runLastScript(kWriteOperation, kWriteScript)) {
        return *failed;
    }
    params.close();
    return kExitOk;
}

} // namespace

void addParamsCommands(CliApp& app) {
    app.addCommand({QStringLiteral("params read"),
                    QStringLiteral("params read FILE            read the system parameters into FILE "
                                   "(log file 1)"),
                    1, 1, [](CliApp& cli, const QStringList& args) { return paramsRead(cli, args.at(0)); }});
    app.addCommand({QStringLiteral("params write"),
                    QStringLiteral("params write FILE           write the system parameters of FILE "
                                   "(log file 1)"),
                    1, 1, [](CliApp& cli, const QStringList& args) { return paramsWrite(cli, args.at(0)); }});
}

} // namespace tolvan::cli

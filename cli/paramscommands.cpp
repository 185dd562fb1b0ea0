#include "cli/paramscommands.h"

#include "cli/clisession.h"
#include "common/logfile/logfileio.h"

#include "modes/dataset/model/datasetbackup.h"
#include "modes/dataset/model/datasetoperations.h"
#include "modes/dataset/model/logfile1format.h"
#include "modes/dataset/model/logfile1reader.h"
#include "modes/dataset/model/logfile1writer.h"
#include "modes/dataset/model/systemparamframes.h"
#include "modes/dataset/model/systemparamimage.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace tolvan::cli {
namespace {

using dataset::LogFile1Format;

void printFileError(CliSession& session, const QString& path, const QString& error) {
    session.printMessage(LogFile1Format::errorTitle(), path + QStringLiteral(": ") + error);
}

// Opens the link and runs the data setting read into the store; a write follows in the
// keep-alive dialogue the read leaves open.
std::optional<ExitStatus> readHandset(CliSession& session, bool writeFollows) {
    if (const auto failed = session.open(true)) {
        return failed;
    }
    // The read runs as the main menu starts the mode.
    if (writeFollows) {
        return session.runScript(dataset::op::kReadPending, dataset::op::kReadScript);
    }
    return session.runLastScript(dataset::op::kReadPending, dataset::op::kReadScript);
}

int paramsRead(CliApp& cli, const QString& path) {
    CliSession params(cli);
    CliSession& link = params;
    const QString memo = cli.options().memo;
    // Refuse what cannot be saved before the handset is read for nothing: a memo without a code
    // page 932 form, a folder that does not exist or cannot be written.
    if (const auto probe = dataset::LogFile1Writer::fromImage({}, link::kModelVa150, memo); !probe.ok()) {
        link.printMessage(LogFile1Format::errorTitle(), probe.error);
        return kExitFileError;
    }
    if (const auto unwritable = logfile::checkWritable(path)) {
        link.printMessage(unwritable->title, unwritable->text);
        return kExitFileError;
    }

    if (const auto failed = readHandset(params, false)) {
        return *failed;
    }
    const auto text = dataset::LogFile1Writer::fromImage(dataset::SystemParamImage::fromStore(params.store()),
                                                         params.modelCode(), memo);
    QString error = text.error;
    if (text.ok()) {
        error = logfile::saveAtomically(path, text.bytes);
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
    CliSession params(cli);
    CliSession& link = params;
    // A file that is not there or does not read is known before the handset is touched.
    const logfile::LoadedFile file = logfile::loadExact(path, LogFile1Format::kMaxFileBytes);
    if (file.status == logfile::LoadedFile::Status::Missing) {
        const Message missing = LogFile1Format::fileMissing();
        link.printMessage(missing.title, missing.text);
        return kExitFileError;
    }
    if (file.status == logfile::LoadedFile::Status::Unreadable) {
        printFileError(link, path, file.message.text);
        return kExitFileError;
    }

    // The screen reads the handset before it can write: the blocks it does not edit go back as
    // read, and the model decides the file's layout.
    if (const auto failed = readHandset(params, true)) {
        return *failed;
    }
    const std::uint32_t model = params.modelCode();
    dataset::SystemParamImage image = dataset::SystemParamImage::fromStore(params.store());
    const auto loaded = dataset::LogFile1Reader::readThroughScreen(file.bytes, model, image);
    for (const Message& message : loaded.messages) {
        link.printMessage(message.title, message.text);
    }
    if (!loaded.loaded) {
        params.close();
        return kExitFileError;
    }
    // Before anything is written, what the handset held as read is kept.
    if (cli.options().backup) {
        const auto backedUp =
            dataset::backUpSystemParams(params.store(), model, cli.options().memo, backup::backupRoot());
        if (const auto* failed = std::get_if<Message>(&backedUp)) {
            params.printMessage(failed->title, failed->text);
            params.close();
            return kExitFileError;
        }
    }
    image.storeInto(params.store().prepareWrite());
    if (!dataset::SystemParamFrames::fillRequestBuffers(image, params.requestBuffers())) {
        cli.err() << "tolvan-cli: a write frame could not be built from " << path << '\n';
        cli.err().flush();
        params.close();
        return kExitNoAnswer;
    }
    // The write runs from the screen's data-shown state.
    if (const auto failed = params.runLastScript(dataset::op::kDataShown, dataset::op::kWriteScript)) {
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

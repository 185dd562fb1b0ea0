#include "cli/settingscommands.h"

#include "cli/cliapp.h"
#include "cli/clisession.h"

#include "modes/datasave/model/handsetbackup.h"
#include "modes/psent/model/logfile4format.h"
#include "modes/psent/model/logfile4imagereader.h"
#include "modes/psent/model/logfile4writer.h"
#include "modes/psent/model/psentframes.h"
#include "modes/psent/model/psentoperations.h"

#include "common/logfile/logfileio.h"

namespace tolvan::cli {
namespace {

std::optional<ExitStatus> readSettings(CliSession& session, bool writeFollows) {
    if (const auto failed = session.open()) {
        return failed;
    }
    if (writeFollows) {
        return session.runScript(psent::op::kReadPending, psent::op::kReadScript);
    }
    return session.runLastScript(psent::op::kReadPending, psent::op::kReadScript);
}

int settingsRead(CliApp& cli, const QString& path) {
    CliSession session(cli);
    // A file that cannot be written is known before the handset is read for nothing.
    if (const auto unwritable = logfile::checkWritable(path)) {
        session.printMessage(unwritable->title, unwritable->text);
        return kExitFileError;
    }
    if (const auto failed = readSettings(session, false)) {
        return *failed;
    }
    const psent::LogFile4Text text =
        psent::LogFile4Writer::fromStore(session.store(), session.modelCode(), cli.options().memo);
    return session.saveAndClose(path,
                                text.ok() ? CliSession::FileContents{text.bytes} : errorMessage(text.error));
}

int settingsWrite(CliApp& cli, const QString& path) {
    CliSession session(cli);
    const logfile::LoadedFile file = logfile::loadExact(path, psent::LogFile4Format::kMaxFileBytes);
    if (file.status != logfile::LoadedFile::Status::Loaded) {
        const QString text = file.status == logfile::LoadedFile::Status::Missing
                                 ? file.message.text
                                 : path + QStringLiteral(": ") + file.message.text;
        session.printMessage(file.message.title, text);
        return kExitFileError;
    }
    // The screen reads the handset before it can write: the records it does not edit go back as
    // read, and the model decides the file's layout.
    if (const auto failed = readSettings(session, true)) {
        return *failed;
    }
    const std::uint32_t model = session.modelCode();
    // Before anything is written, what the handset held as read is kept.
    if (cli.options().backup) {
        const auto backedUp =
            datasave::backUpHandset(session.store(), model, cli.options().memo, backup::backupRoot(), false);
        if (const auto* failed = std::get_if<Message>(&backedUp)) {
            session.printMessage(failed->title, failed->text);
            session.close();
            return kExitFileError;
        }
    }
    handset::HandsetBlocks& pending = session.store().prepareWrite();
    const psent::LogFile4ImageRead read =
        psent::LogFile4ImageReader::readIntoStore(file.bytes, model, pending);
    for (const Message& message : read.messages) {
        session.printMessage(message.title, message.text);
    }
    if (!read.loaded) {
        session.close();
        return kExitFileError;
    }
    if (!psent::PsEntFrames::fillRequestBuffers(pending, session.requestBuffers())) {
        cli.err() << "tolvan-cli: a write frame could not be built from " << path << '\n';
        cli.err().flush();
        session.close();
        return kExitNoAnswer;
    }
    if (const auto failed = session.runLastScript(psent::op::kWriting, psent::op::kWriteScript)) {
        return *failed;
    }
    session.close();
    return kExitOk;
}

} // namespace

void addSettingsCommands(CliApp& app) {
    app.addCommand(
        {QStringLiteral("settings read"),
         QStringLiteral("settings read FILE          read the handset settings into FILE (log file 4)"), 1, 1,
         [](CliApp& cli, const QStringList& args) { return settingsRead(cli, args.at(0)); }});
    app.addCommand(
        {QStringLiteral("settings write"),
         QStringLiteral("settings write FILE         write the handset settings of FILE (log file 4)"), 1, 1,
         [](CliApp& cli, const QStringList& args) { return settingsWrite(cli, args.at(0)); }});
}

} // namespace tolvan::cli

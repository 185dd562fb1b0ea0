#include "cli/settingscommands.h"

#include "cli/cliapp.h"
#include "cli/clisession.h"

#include "modes/psent/model/logfile4format.h"
#include "modes/psent/model/logfile4imagereader.h"
#include "modes/psent/model/logfile4writer.h"
#include "modes/psent/model/psentframes.h"
#include "modes/psent/model/psentoperations.h"
#include "modes/psent/model/settingspair.h"

#include "common/backup/backupfolder.h"

#include "common/logfile/logfileio.h"

namespace tolvan::cli {
namespace {

std::optional<ExitStatus> readSettings(CliSession& session) {
    if (const auto failed = session.open()) {
        return failed;
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
    if (const auto failed = readSettings(session)) {
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
    runner::WritePlan plan;
    plan.readOperation = psent::op::kReadPending;
    plan.readScript = psent::op::kReadScript;
    // Before anything is written, what the handset held as read is kept (before the file is
    // looked at, as the screen's write does).
    if (cli.options().backup) {
        plan.backUp = [&](const handset::HandsetStore& store, std::uint32_t model) {
            return psent::backUpSettingsPair(store, model, cli.options().memo, backup::backupRoot());
        };
    }
    plan.backUpBeforeLoad = true;
    plan.load = [&](handset::HandsetStore& store, std::uint32_t model) {
        const psent::LogFile4ImageRead read =
            psent::LogFile4ImageReader::readIntoStore(file.bytes, model, store.prepareWrite());
        for (const Message& message : read.messages) {
            session.printMessage(message);
        }
        return read.loaded;
    };
    plan.steps.push_back({psent::op::kWriting, psent::op::kWriteScript,
                          [](handset::HandsetStore& store, link::RequestBuffers& requests) {
                              return psent::PsEntFrames::fillRequestBuffers(store.pendingWrite(), requests);
                          }});
    return session.runWrite(plan, path);
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

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

// Opens the link and runs the data setting read into the store, as the main menu starts the mode.
std::optional<ExitStatus> readHandset(CliSession& session) {
    if (const auto failed = session.open(true)) {
        return failed;
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

    if (const auto failed = readHandset(params)) {
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

    // The screen reads the handset before it can write (the read runs as the main menu starts the
    // mode): the blocks it does not edit go back as read, and the model decides the file's layout.
    runner::WritePlan plan;
    plan.dataSettingOpen = true;
    plan.readOperation = dataset::op::kReadPending;
    plan.readScript = dataset::op::kReadScript;
    dataset::SystemParamImage image;
    plan.load = [&](handset::HandsetStore& store, std::uint32_t model) {
        image = dataset::SystemParamImage::fromStore(store);
        const auto loaded = dataset::LogFile1Reader::readThroughScreen(file.bytes, model, image);
        for (const Message& message : loaded.messages) {
            link.printMessage(message);
        }
        return loaded.loaded;
    };
    // Before anything is written, what the handset held as read is kept.
    if (cli.options().backup) {
        plan.backUp = [&](const handset::HandsetStore& store, std::uint32_t model) {
            return dataset::backUpSystemParams(store, model, cli.options().memo, backup::backupRoot());
        };
    }
    // The write runs from the screen's data-shown state.
    plan.steps.push_back({dataset::op::kDataShown, dataset::op::kWriteScript,
                          [&](handset::HandsetStore& store, link::RequestBuffers& requests) {
                              image.storeInto(store.prepareWrite());
                              return dataset::SystemParamFrames::fillRequestBuffers(image, requests);
                          }});
    return params.runWrite(plan, path);
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

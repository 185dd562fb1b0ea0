#include "cli/datasavecommands.h"

#include "cli/cliapp.h"
#include "cli/clisession.h"

#include "common/backup/backupfolder.h"
#include "common/logfile/logfileio.h"
#include "modes/datasave/model/datasaveoperations.h"
#include "modes/datasave/model/handsetbackup.h"
#include "modes/datasave/model/saveset.h"
#include "modes/datasave/model/savesetnames.h"
#include "modes/datasave/model/writebackrun.h"

#include <QFileInfo>

namespace tolvan::cli {
namespace {

using datasave::SaveSetNames;

void print(CliSession& session, const Message& message) {
    session.printMessage(message.title, message.text);
}

int save(CliApp& cli, const QString& chosen) {
    CliSession session(cli);
    // BASE gets the three extensions; a.jv4 saves a.jv1, a.jv3 and a.jv4 side by side.
    const QString base = SaveSetNames::commandBase(chosen);
    const QString memo = cli.options().memo;
    if (const auto refused = datasave::checkSaveSet(base, memo)) {
        print(session, *refused);
        return kExitFileError;
    }
    if (const auto failed = session.open()) {
        return *failed;
    }
    // Everything is read as the main menu does before the screen opens.
    if (const auto failed = session.runLastScript(datasave::op::kEntry, datasave::op::kReadAllScript)) {
        return *failed;
    }
    const auto built = datasave::buildSaveSet(session.store(), session.modelCode(), memo);
    std::optional<Message> error;
    QList<Message> notices; // an earlier interrupted save recovered, leftovers that stayed
    if (const auto* failed = std::get_if<Message>(&built)) {
        error = *failed;
    } else {
        error = datasave::writeSaveSet(base, std::get<datasave::SaveSetFiles>(built), true, &notices);
    }
    session.close();
    for (const Message& notice : notices) {
        print(session, notice);
    }
    if (error) {
        print(session, *error);
        return kExitFileError;
    }
    return kExitOk;
}

struct WriteBackArgs {
    QString file;
    bool verify = false;
    bool keepIdentity = false;
};

std::optional<WriteBackArgs> parseWriteBackArgs(const QStringList& args) {
    WriteBackArgs parsed;
    for (const QString& arg : args) {
        if (arg == QLatin1String("--verify") && !parsed.verify) {
            parsed.verify = true;
        } else if (arg == QLatin1String("--keep-identity") && !parsed.keepIdentity) {
            parsed.keepIdentity = true;
        } else if (!arg.startsWith(QLatin1String("--")) && parsed.file.isEmpty()) {
            parsed.file = arg;
        } else {
            return std::nullopt;
        }
    }
    if (parsed.file.isEmpty()) {
        return std::nullopt;
    }
    return parsed;
}

} // namespace

int writeBackSet(CliApp& cli, const QString& file, bool verify, const WriteBackGuard& guard,
                 bool keepIdentity) {
    const WriteBackArgs args{file, verify, keepIdentity};
    CliSession session(cli);
    // The screen asks for another name here; a script gets the same message and a file error.
    if (!QFileInfo(args.file).isFile() || !QFileInfo(args.file).fileName().contains(QLatin1Char('.'))) {
        print(session, logfile::fileMissing());
        return kExitFileError;
    }
    // Only the name was wrong: the screen and a command both refuse it and send nothing.
    const auto files = SaveSetNames::writeBackFiles(args.file);
    if (!files) {
        print(session, SaveSetNames::formatError());
        return kExitFileError;
    }

    datasave::WriteBackRequest request;
    request.files = *files;
    request.verify = args.verify;
    request.keepIdentity = args.keepIdentity;
    request.guard = guard;
    // Before anything is written, what the handset held as read is kept.
    if (cli.options().backup) {
        request.backUp = [&](const handset::HandsetStore& store, std::uint32_t model) {
            return datasave::backUpHandset(store, model, cli.options().memo, backup::backupRoot(), true);
        };
    }
    request.report = [&](const Message& message) { print(session, message); };
    const datasave::WriteBackOutcome done = datasave::writeBack(session.runner(), request);
    if (const ExitStatus written = session.exitOf(done.write, args.file, args.verify); written != kExitOk) {
        return written;
    }
    if (!args.verify) {
        return kExitOk;
    }
    if (const auto failed = session.finish(*done.check)) {
        return *failed;
    }
    session.close();
    for (const auto& d : done.differences) {
        cli.out() << d.label << '\t' << d.first << '\t' << d.second << '\n';
    }
    cli.out().flush();
    return done.differences.isEmpty() ? kExitOk : kExitNoAnswer;
}

void addDataSaveCommands(CliApp& app) {
    app.addCommand({QStringLiteral("save"),
                    QStringLiteral("save BASE                   read everything, write BASE.jv1, BASE.jv3, "
                                   "BASE.jv4"),
                    1, 1, [](CliApp& cli, const QStringList& args) { return save(cli, args.at(0)); }});
    app.addCommand(
        {QStringLiteral("write-back"),
         QStringLiteral("write-back FILE [--verify] [--keep-identity]\n"
                        "                              write a saved set back into the handset; "
                        "--verify reads it again and lists what differs; --keep-identity keeps the "
                        "handset's own PS-ID, PS number and PIN"),
         1, 3, [](CliApp& cli, const QStringList& args) {
             const auto parsed = parseWriteBackArgs(args);
             return parsed ? writeBackSet(cli, parsed->file, parsed->verify, {}, parsed->keepIdentity)
                           : cli.usage();
         }});
}

} // namespace tolvan::cli

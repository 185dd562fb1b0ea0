#include "cli/historycommands.h"

#include "cli/cliapp.h"
#include "cli/clisession.h"
#include "cli/datasavecommands.h"

#include "common/backup/backupfolder.h"
#include "common/logfolders.h"
#include "common/modelnames.h"
#include "flows/history/backupprune.h"
#include "flows/history/restoreversion.h"
#include "flows/history/versionchanges.h"
#include "flows/history/versionfinder.h"
#include "modes/dataset/model/datasetoperations.h"
#include "modes/dataset/model/systemparamimage.h"

#include <QRegularExpression>

#include <optional>

namespace tolvan::cli {
namespace {

using history::HandsetVersion;

struct HistoryArgs {
    std::optional<std::uint32_t> psId;
    QString port;          // --port DEV: the PS-ID of the handset there
    QStringList savedSets; // --sets DIR: folders of sets named <PS番号>_<PS-ID>
    std::optional<int> pruneDays;
    QString version; // restore's VERSION
    bool verify = false;
    bool force = false; // restore into a handset with another PS-ID
};

std::optional<std::uint32_t> psIdOf(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^\\d{1,9}$"));
    if (!digits.match(text).hasMatch()) {
        return std::nullopt;
    }
    return text.toUInt();
}

// The options both commands share, and the words left over in order; nothing on a slip.
std::optional<QStringList> parseCommon(const QStringList& args, HistoryArgs& parsed) {
    QStringList words;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        const bool hasValue = i + 1 < args.size();
        if (arg == QLatin1String("--sets") && hasValue) {
            parsed.savedSets.append(args.at(++i));
        } else if (arg == QLatin1String("--port") && hasValue && parsed.port.isEmpty()) {
            parsed.port = args.at(++i);
        } else if (arg == QLatin1String("--prune-older-than") && hasValue && !parsed.pruneDays) {
            bool ok = false;
            const int days = args.at(++i).toInt(&ok);
            if (!ok || days < 0) {
                return std::nullopt;
            }
            parsed.pruneDays = days;
        } else if (arg == QLatin1String("--verify") && !parsed.verify) {
            parsed.verify = true;
        } else if (arg == QLatin1String("--force") && !parsed.force) {
            parsed.force = true;
        } else if (arg.startsWith(QLatin1String("--"))) {
            return std::nullopt;
        } else {
            words.append(arg);
        }
    }
    return words;
}

history::VersionFinder finderFor(CliApp& cli, const HistoryArgs& args) {
    history::VersionFinder finder(backup::backupRoot(), LogFolders::resolveRoot(cli.options().logRoot));
    for (const QString& folder : args.savedSets) {
        finder.addSource(std::make_unique<history::SavedSetVersions>(folder));
    }
    return finder;
}

QString timeText(const QDateTime& when) {
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

int failed(CliApp& cli, const Message& message, int status) {
    cli.err() << message.title << ": " << message.text << '\n';
    cli.err().flush();
    return status;
}

// The PS-ID of the handset on the port, from the data setting read (which asks for it).
std::variant<std::uint32_t, int> psIdOnPort(CliApp& cli) {
    CliSession session(cli);
    if (const auto failed = session.open(true)) {
        return int(*failed);
    }
    if (const auto failed = session.runLastScript(dataset::op::kReadPending, dataset::op::kReadScript)) {
        return int(*failed);
    }
    session.close();
    return dataset::SystemParamImage::fromStore(session.store()).psIdValue();
}

int listHandsets(CliApp& cli, const history::VersionFinder& finder) {
    for (const history::KnownHandset& handset : finder.handsets()) {
        cli.out() << modelNameOf(handset.modelCode) << '\t' << history::psIdText(handset.psId) << '\t'
                  << handset.versions << '\t' << timeText(handset.last) << '\n';
    }
    cli.out().flush();
    return kExitOk;
}

int listVersions(CliApp& cli, const history::VersionFinder& finder, std::uint32_t psId) {
    const QList<HandsetVersion> versions = finder.versionsOf(psId);
    if (versions.isEmpty()) {
        return failed(
            cli,
            errorMessage(
                QStringLiteral("PS-ID %1 の子機の版が見つかりません。").arg(history::psIdText(psId))),
            kExitNoAnswer);
    }
    const QList<history::VersionChanges> changes = history::changesOf(versions);
    for (qsizetype i = 0; i < versions.size(); ++i) {
        const HandsetVersion& version = versions[i];
        cli.out() << version.id << '\t' << timeText(version.when) << '\t' << history::kindName(version.kind)
                  << '\t' << modelNameOf(version.modelCode) << '\t' << version.base << '\n';
        for (const auto& line : changes[i].lines) {
            cli.out() << '\t' << line.label << '\t' << line.first << '\t' << line.second << '\n';
        }
        for (const QString& problem : changes[i].problems) {
            cli.err() << "tolvan-cli: " << problem << '\n';
        }
    }
    cli.out().flush();
    cli.err().flush();
    return kExitOk;
}

int prune(CliApp& cli, int days) {
    const history::PruneResult result = history::pruneBackups(backup::backupRoot(), days);
    cli.out() << result.removed << '\n';
    cli.out().flush();
    for (const QString& path : result.failed) {
        cli.err() << errorTitle() << ": " << path << QStringLiteral(" を削除できません") << '\n';
    }
    cli.err().flush();
    return result.failed.isEmpty() ? kExitOk : kExitFileError;
}

int historyCommand(CliApp& cli, const QStringList& args) {
    HistoryArgs parsed;
    const auto words = parseCommon(args, parsed);
    if (!words || words->size() > 1 || parsed.verify || parsed.force ||
        (!words->isEmpty() && !parsed.port.isEmpty())) {
        return cli.usage();
    }
    if (parsed.pruneDays) {
        // Removing is its own request: never mixed with a listing.
        if (!words->isEmpty() || !parsed.port.isEmpty() || !parsed.savedSets.isEmpty()) {
            return cli.usage();
        }
        return prune(cli, *parsed.pruneDays);
    }
    std::optional<std::uint32_t> psId;
    if (!words->isEmpty()) {
        psId = psIdOf(words->first());
        if (!psId) {
            return cli.usage();
        }
    } else if (!parsed.port.isEmpty()) {
        cli.setPort(parsed.port);
        const auto read = psIdOnPort(cli);
        if (const auto* status = std::get_if<int>(&read)) {
            return *status;
        }
        psId = std::get<std::uint32_t>(read);
    }
    const history::VersionFinder finder = finderFor(cli, parsed);
    return psId ? listVersions(cli, finder, *psId) : listHandsets(cli, finder);
}

int restoreCommand(CliApp& cli, const QStringList& args) {
    HistoryArgs parsed;
    const auto words = parseCommon(args, parsed);
    if (!words || words->isEmpty() || words->size() > 2 || parsed.pruneDays || !parsed.port.isEmpty()) {
        return cli.usage();
    }
    const auto psId = psIdOf(words->first());
    if (!psId) {
        return cli.usage();
    }
    const history::VersionFinder finder = finderFor(cli, parsed);
    const auto chosen = history::versionToRestore(finder.versionsOf(*psId), *psId, words->value(1));
    if (const auto* none = std::get_if<Message>(&chosen)) {
        return failed(cli, *none, kExitFileError);
    }
    const auto& version = std::get<HandsetVersion>(chosen);
    const bool force = parsed.force;
    const std::uint32_t wanted = *psId;
    return writeBackSet(cli, history::writeBackFileOf(version), parsed.verify,
                        [force, wanted](const handset::HandsetStore& asRead, std::uint32_t) {
                            std::optional<Message> other = history::otherHandset(
                                dataset::SystemParamImage::fromStore(asRead).psIdValue(), wanted);
                            if (other && !force) {
                                other->text +=
                                    QStringLiteral("\n別の子機に書き込むときは --force を指定してください。");
                                return other;
                            }
                            return std::optional<Message>();
                        });
}

} // namespace

void addHistoryCommands(CliApp& app) {
    app.addCommand({QStringLiteral("history"),
                    QStringLiteral("history [PSID | --port DEV] [--sets DIR]... [--prune-older-than DAYS]\n"
                                   "                              the versions of one handset (backups, "
                                   "saved sets) with what changed; without PSID the handsets known"),
                    0, 64, historyCommand});
    app.addCommand({QStringLiteral("restore"),
                    QStringLiteral("restore PSID [VERSION] [--verify] [--force] [--sets DIR]...\n"
                                   "                              write a version back (its own backup "
                                   "first)"),
                    1, 64, restoreCommand});
}

} // namespace tolvan::cli

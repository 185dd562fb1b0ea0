#include "cli/comparecommands.h"

#include "cli/cliapp.h"
#include "cli/clisession.h"
#include "common/logfile/setrecovery.h"
#include "flows/history/comparedfile.h"

#include "modes/datasave/model/datasaveoperations.h"
#include "modes/dataset/model/datasetoperations.h"
#include "modes/psent/model/psentoperations.h"
#include "modes/test/model/testoperations.h"

#include <QFileInfo>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace tolvan::cli {
namespace {

using history::ComparedFile;
using Kind = ComparedFile::Kind;
using Differences = QList<logfile::LineDifference>;

// What a name on the command line stands for: one log file, by its ending, or a saved set (a
// BASE, or a name ending in .jv3: the buffers are not settings, so a set is its .jv1 and .jv4).
struct Named {
    std::optional<Kind> kind; // none: a set
    QString base;             // the set's name without its ending
};

Named namedBy(const QString& name) {
    const std::pair<QLatin1String, std::optional<Kind>> endings[] = {
        {QLatin1String(".jv1"), Kind::LogFile1},
        {QLatin1String(".jv2"), Kind::LogFile2},
        {QLatin1String(".jv3"), std::nullopt},
        {QLatin1String(".jv4"), Kind::LogFile4},
    };
    for (const auto& [ending, kind] : endings) {
        if (name.endsWith(ending, Qt::CaseInsensitive)) {
            return {kind, name.chopped(ending.size())};
        }
    }
    return {std::nullopt, name};
}

// The files of a set, in the order a write-back reads them.
const std::pair<QLatin1String, Kind> kSetFiles[] = {
    {QLatin1String(".jv1"), Kind::LogFile1},
    {QLatin1String(".jv4"), Kind::LogFile4},
};

int fileError(CliApp& cli, const QString& line) {
    cli.err() << "tolvan-cli: " << line << '\n';
    cli.err().flush();
    return kExitFileError;
}

// A message about one file, the file named in front of its text.
void printAbout(CliApp& cli, const ComparedFile& file, const Message& message) {
    cli.err() << message.title << ": " << file.path() << ": " << message.text << '\n';
}

// Every line that does not read, of every file, before anything is compared; false if any.
bool allRead(CliApp& cli, const ComparedFile& file, const QList<Message>& messages) {
    for (const Message& message : messages) {
        printAbout(cli, file, message);
    }
    cli.err().flush();
    return messages.isEmpty();
}

// The sets named are locked while their files are read, and a save of one that an earlier
// process left unfinished is finished first (one line each on stderr); false when a set may not
// be used.
using HeldSets = std::vector<std::unique_ptr<logfile::SetAccess>>;
bool holdSets(CliApp& cli, const QStringList& bases, HeldSets& held) {
    for (const QString& base : bases) {
        if (std::any_of(bases.begin(), bases.begin() + qsizetype(held.size()),
                        [&](const QString& earlier) { return earlier == base; })) {
            held.push_back(nullptr);
            continue;
        }
        const auto& access = held.emplace_back(std::make_unique<logfile::SetAccess>(base));
        for (const Message& notice : access->notices()) {
            cli.err() << notice.title << ": " << notice.text << '\n';
        }
        if (access->refused()) {
            cli.err() << access->refused()->title << ": " << access->refused()->text << '\n';
            cli.err().flush();
            return false;
        }
    }
    cli.err().flush();
    return true;
}

// 1 when any line differs, as write-back --verify.
constexpr int kExitDiffers = kExitNoAnswer;

int printDifferences(CliApp& cli, const Differences& differences) {
    for (const auto& d : differences) {
        cli.out() << d.label << '\t' << d.first << '\t' << d.second << '\n';
    }
    cli.out().flush();
    return differences.isEmpty() ? kExitOk : kExitDiffers;
}

// diff A B: two log files of one kind, or else the sets A and B belong to.
int diff(CliApp& cli, const QString& a, const QString& b) {
    const Named first = namedBy(a);
    const Named second = namedBy(b);
    HeldSets held;
    if (!holdSets(cli, {first.base, second.base}, held)) {
        return kExitFileError;
    }
    struct Pair {
        Kind kind;
        QString first;
        QString second;
    };
    QList<Pair> pairs;
    bool sets = false;
    if (first.kind && first.kind == second.kind) {
        pairs.append({*first.kind, a, b});
    } else if (first.kind == Kind::LogFile2 || second.kind == Kind::LogFile2) {
        // A log file 2 belongs to no set.
        return fileError(cli,
                         a + QStringLiteral(" and ") + b + QStringLiteral(" are not log files of one kind"));
    } else {
        sets = true;
        for (const auto& [ending, kind] : kSetFiles) {
            const QString one = first.base + ending;
            const QString other = second.base + ending;
            // A file only one of the sets has is missing from the other.
            if (QFileInfo::exists(one) || QFileInfo::exists(other)) {
                pairs.append({kind, one, other});
            }
        }
        if (pairs.isEmpty()) {
            return fileError(cli, a + QStringLiteral(": no .jv1 or .jv4 file of the set"));
        }
    }

    QList<std::pair<ComparedFile, ComparedFile>> files;
    for (const Pair& pair : pairs) {
        auto one = ComparedFile::load(pair.kind, pair.first);
        auto other = ComparedFile::load(pair.kind, pair.second);
        for (const auto* loaded : {&one, &other}) {
            if (const auto* problem = std::get_if<QString>(loaded)) {
                return fileError(cli, *problem);
            }
        }
        files.append({std::get<ComparedFile>(std::move(one)), std::get<ComparedFile>(std::move(other))});
    }
    held.clear();
    // The first file read decides the model the others must be of.
    const std::uint32_t model = files.first().first.modelCode();
    for (const auto& [one, other] : files) {
        for (const ComparedFile* file : {&one, &other}) {
            if (file->modelCode() != model) {
                printAbout(cli, *file, ComparedFile::modelMismatch(file->kind(), model));
                cli.err().flush();
                return kExitFileError;
            }
        }
    }
    Differences differences;
    bool sound = true;
    for (const auto& [one, other] : files) {
        handset::HandsetBlocks firstStore;
        handset::HandsetBlocks secondStore;
        sound = allRead(cli, one, one.readInto(firstStore)) && sound;
        sound = allRead(cli, other, other.readInto(secondStore)) && sound;
        differences +=
            ComparedFile::compare(one.kind(), firstStore, secondStore, model, sets && files.size() == 2);
    }
    if (!sound) {
        return kExitFileError;
    }
    return printDifferences(cli, differences);
}

// The read a kind needs, as its mode reads: the read-all for a set.
struct HandsetRead {
    std::uint32_t operationId;
    std::uint8_t script;
};

HandsetRead readFor(std::optional<Kind> kind) {
    if (!kind) {
        return {datasave::op::kEntry, datasave::op::kReadAllScript};
    }
    switch (*kind) {
    case Kind::LogFile1:
        return {dataset::op::kReadPending, dataset::op::kReadScript};
    case Kind::LogFile2:
        return {testmode::op::kReadPending, testmode::op::kReadScript};
    case Kind::LogFile4:
        return {psent::op::kReadPending, psent::op::kReadScript};
    }
    return {datasave::op::kEntry, datasave::op::kReadAllScript};
}

// check SET: the handset read as the set's files need and each of their lines it does not hold;
// nothing is written, so no backup either.
int check(CliApp& cli, const QString& name) {
    const Named named = namedBy(name);
    HeldSets held;
    if (!holdSets(cli, {named.base}, held)) {
        return kExitFileError;
    }
    QList<ComparedFile> files;
    auto add = [&](Kind kind, const QString& path) {
        auto loaded = ComparedFile::load(kind, path);
        if (const auto* problem = std::get_if<QString>(&loaded)) {
            return fileError(cli, *problem);
        }
        files.append(std::get<ComparedFile>(std::move(loaded)));
        return int(kExitOk);
    };
    if (named.kind) {
        if (const int status = add(*named.kind, name); status != kExitOk) {
            return status;
        }
    } else {
        // As a write-back, a set is the files of it that exist.
        for (const auto& [ending, kind] : kSetFiles) {
            const QString path = named.base + ending;
            if (QFileInfo::exists(path)) {
                if (const int status = add(kind, path); status != kExitOk) {
                    return status;
                }
            }
        }
        if (files.isEmpty()) {
            return fileError(cli, name + QStringLiteral(": no .jv1 or .jv4 file of the set"));
        }
    }
    // The files are in memory: a save of the set need not wait for the handset.
    held.clear();
    // A file that does not read is known before the handset is read for nothing.
    bool sound = true;
    for (const ComparedFile& file : files) {
        handset::HandsetBlocks scratch;
        sound = allRead(cli, file, file.readInto(scratch)) && sound;
    }
    if (!sound) {
        return kExitFileError;
    }

    CliSession session(cli);
    if (const auto failed = session.open(named.kind == Kind::LogFile1)) {
        return *failed;
    }
    const HandsetRead read = readFor(named.kind);
    if (const auto failed = session.runLastScript(read.operationId, read.script)) {
        return *failed;
    }
    session.close();
    const std::uint32_t model = session.modelCode();
    for (const ComparedFile& file : files) {
        if (file.modelCode() != model) {
            printAbout(cli, file, ComparedFile::modelMismatch(file.kind(), model));
            cli.err().flush();
            return kExitFileError;
        }
    }
    Differences differences;
    for (const ComparedFile& file : files) {
        handset::HandsetBlocks expected = session.store().held();
        file.readInto(expected);
        differences +=
            ComparedFile::compare(file.kind(), expected, session.store(), model, files.size() == 2);
    }
    return printDifferences(cli, differences);
}

// Neither command has options: a name that looks like one is a slip, not a file.
bool anOption(const QStringList& args) {
    return std::any_of(args.begin(), args.end(),
                       [](const QString& arg) { return arg.startsWith(QLatin1String("--")); });
}

} // namespace

void addCompareCommands(CliApp& app) {
    app.addCommand(
        {QStringLiteral("diff"),
         QStringLiteral("diff A B                    compare two saved sets or two log files of one "
                        "kind, line by line"),
         2, 2, [](CliApp& cli, const QStringList& args) {
             return anOption(args) ? cli.usage() : diff(cli, args.at(0), args.at(1));
         }});
    app.addCommand(
        {QStringLiteral("check"),
         QStringLiteral("check SET                   read the handset and list each line of SET it "
                        "does not hold (writes nothing)"),
         1, 1, [](CliApp& cli, const QStringList& args) {
             return anOption(args) ? cli.usage() : check(cli, args.at(0));
         }});
}

} // namespace tolvan::cli

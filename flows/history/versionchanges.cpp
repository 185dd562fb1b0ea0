#include "flows/history/versionchanges.h"

#include "flows/history/comparedfile.h"

#include "handset/handsetstore.h"

#include <map>
#include <utility>

namespace tolvan::history {
namespace {

using Kind = ComparedFile::Kind;

const std::pair<QString, Kind> kCompared[] = {
    {QStringLiteral("jv1"), Kind::LogFile1},
    {QStringLiteral("jv4"), Kind::LogFile4},
    {QStringLiteral("jv2"), Kind::LogFile2},
};

// One file of a version as its reader puts it onto an empty store.
struct ReadFile {
    std::uint32_t modelCode = 0;
    handset::HandsetBlocks store;
};

} // namespace

QList<VersionChanges> changesOf(const QList<HandsetVersion>& newestFirst) {
    QList<VersionChanges> changes(newestFirst.size());
    // The latest file read of each kind and model, walking from the oldest version up.
    std::map<std::pair<Kind, std::uint32_t>, ReadFile> before;
    for (qsizetype i = newestFirst.size() - 1; i >= 0; --i) {
        const HandsetVersion& version = newestFirst[i];
        VersionChanges& change = changes[i];
        for (const auto& [extension, kind] : kCompared) {
            if (!version.has(extension)) {
                continue;
            }
            const QString path = version.file(extension);
            auto loaded = ComparedFile::load(kind, path);
            if (const auto* problem = std::get_if<QString>(&loaded)) {
                change.problems.append(*problem);
                continue;
            }
            const ComparedFile& file = std::get<ComparedFile>(loaded);
            ReadFile read{file.modelCode(), {}};
            for (const Message& message : file.readInto(read.store)) {
                change.problems.append(path + QStringLiteral(": ") + message.text);
            }
            const auto key = std::pair{kind, file.modelCode()};
            if (const auto older = before.find(key); older != before.end()) {
                change.first = false;
                // The PS-ID is the handset's own and lives in its .jv4: one comparison of it.
                change.lines += ComparedFile::compare(kind, older->second.store, read.store, file.modelCode(),
                                                      kind == Kind::LogFile1);
            }
            before[key] = std::move(read);
        }
    }
    return changes;
}

} // namespace tolvan::history

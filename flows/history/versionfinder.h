#pragma once

// VersionFinder: every version of a handset the tool can find, from any number of sources.

#include "flows/history/handsetversion.h"

#include "common/logfolders.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace tolvan::history {

// One place versions are kept. A source lists every version it holds, of every handset.
class VersionSource {
public:
    virtual ~VersionSource() = default;
    virtual QList<HandsetVersion> versions() const = 0;
};

// The backups taken before writes: <root>/<model name>/<PS-ID>/<yyyyMMdd-HHmmss>[-N].jv*.
class BackupVersions : public VersionSource {
public:
    explicit BackupVersions(QString root) : m_root(std::move(root)) {}
    QList<HandsetVersion> versions() const override;

private:
    QString m_root;
};

// Sets in the model log folders and their sub-folders that carry a PS-ID (those with a .jv4): a
// registration's .jv1 and .jv4 pair, or a saved set with its .jv3.
class LogFolderVersions : public VersionSource {
public:
    explicit LogFolderVersions(QString logRoot) : m_folders(std::move(logRoot)) {}
    QList<HandsetVersion> versions() const override;

private:
    LogFolders m_folders;
};

// Sets saved into one folder under the names <PS番号>_<PS-ID> (a provisioning run's output).
class SavedSetVersions : public VersionSource {
public:
    explicit SavedSetVersions(QString folder) : m_folder(std::move(folder)) {}
    QList<HandsetVersion> versions() const override;

private:
    QString m_folder;
};

// A handset some source knows, with how many versions it has and when the newest was made.
struct KnownHandset {
    std::uint32_t modelCode = 0;
    std::uint32_t psId = 0;
    int versions = 0;
    QDateTime last;
};

class VersionFinder {
public:
    // The backups under backupRoot and the sets in the log folders below logRoot.
    VersionFinder(const QString& backupRoot, const QString& logRoot);
    VersionFinder() = default;

    void addSource(std::unique_ptr<VersionSource> source) { m_sources.push_back(std::move(source)); }

    // Every version of the handset with that PS-ID, newest first.
    QList<HandsetVersion> versionsOf(std::uint32_t psId) const;
    // Every handset of any source, by model and PS-ID, the one written to last first.
    QList<KnownHandset> handsets() const;

private:
    QList<HandsetVersion> all() const;

    std::vector<std::unique_ptr<VersionSource>> m_sources;
};

} // namespace tolvan::history

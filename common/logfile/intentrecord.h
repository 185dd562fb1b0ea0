#pragma once

// IntentRecord: what a placement of a set is about to do, written beside the set before the first
// target is touched, so the next process that uses the set can finish or undo it.

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace tolvan::logfile {

struct IntentRecord {
    // Forward: every staged file is complete, the set goes in. Back: an in-process failure is
    // putting the old files back.
    enum class Direction : std::uint8_t { Forward, Back };
    struct Entry {
        QString target; // the file that is replaced (a link already resolved)
        QString staged; // the new file beside it until it is renamed over the target
        QString kept;   // a second name of the old file until the set is in place; empty: none
    };
    Direction direction = Direction::Forward;
    QList<Entry> entries;

    // Written atomically (present whole or absent) and synced; the reason when it could not be.
    std::optional<QString> write(const QString& path) const;
    // Nothing when the record cannot be read or is not one.
    static std::optional<IntentRecord> read(const QString& path);
};

// Names beside a set of base name base (the common path of its files without the extension).
// Syncs every folder the record's targets are in, so the renames of a placement survive a power cut.
void syncFoldersOf(const IntentRecord& record);

QString intentPathOf(const QString& base);
QString lockPathOf(const QString& base);
// The base of one file of a set: its path without the last extension.
QString baseOf(const QString& path);
// A name beside path nothing uses, with the marker the leftover scan looks for
// (".tolvan-new-<hex>", ".tolvan-old-<hex>").
QString markedName(const QString& path, const QString& marker);

// File steps of a placement with Japanese reasons: renames from over to, replacing to at once
// (the target path is never missing); a second name of the same file is dropped.
std::optional<QString> renameOver(const QString& from, const QString& to);
// A second name for the file at path (a hard link, or a copy where links are not had).
std::optional<QString> keepAside(const QString& path, const QString& kept);
// True when nothing is left at path.
bool removeIfThere(const QString& path);
// Anything at path, a dangling link included.
bool isThere(const QString& path);
// The file a chain of links at path ends in (path itself when it is no link); the reason when the
// chain cannot be followed (a loop).
struct LinkEnd {
    QString path;
    QString error;
};
LinkEnd followLinks(const QString& path);

// Puts the old files of a recorded placement back over their targets and removes the staged
// ones; a target that had no old file is removed once its staged file was placed. The kept names
// that could not be put back.
QStringList undoPlacement(const IntentRecord& record);

} // namespace tolvan::logfile

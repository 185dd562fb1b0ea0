#pragma once

// LogFileSet: files that belong together (a saved set, a registration's pair, a backup), written
// so that either every file of the set is the new one or none changed.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace tolvan::logfile {

// A reader that merges the files of one base name must never find a new .jv1 beside an older
// .jv4: every file is first written completely beside its target, and only then are the targets
// replaced one after another, the files they replace kept aside until the last one is in place.
class LogFileSet {
public:
    LogFileSet() = default;
    virtual ~LogFileSet() = default;
    LogFileSet(const LogFileSet&) = delete;
    LogFileSet& operator=(const LogFileSet&) = delete;

    void add(const QString& path, const QByteArray& bytes);

    // Writes the set. A failure while writing leaves every target as it was; a failure while
    // replacing puts back each file already replaced. What failed (the path and the file
    // layer's reason), or nothing once every file is the new one.
    std::optional<QString> save();

protected:
    // Renames a file to a name that does not exist; the reason when it could not.
    virtual std::optional<QString> rename(const QString& from, const QString& to);

private:
    struct Entry {
        QString path;
        QByteArray bytes;
        QString staged; // the new file, written completely, beside the target
        QString kept;   // the replaced file until the whole set is in place
        bool placed = false;
    };

    std::optional<QString> stage(Entry& entry);
    std::optional<QString> replace(Entry& entry);
    // Puts back the files replaced so far and removes what was staged; the names of replaced
    // files that could not be put back, so the user can find them.
    QStringList rollBack();

    QList<Entry> m_entries;
};

} // namespace tolvan::logfile

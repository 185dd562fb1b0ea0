#include "common/logfile/logfileset.h"

#include "common/logfile/logfileio.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tolvan::logfile {
namespace {

// Taken by anything, a dangling link included.
bool occupied(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// A name beside path that nothing uses yet, for the new file while it waits and for the replaced
// one until the set is in place.
QString freeName(const QString& path, const QString& suffix) {
    QString candidate = path + suffix;
    for (int n = 2; occupied(candidate); ++n) {
        candidate = path + suffix + QString::number(n);
    }
    return candidate;
}

} // namespace

void LogFileSet::add(const QString& path, const QByteArray& bytes) {
    m_entries.append({path, bytes, {}, {}, false});
}

std::optional<QString> LogFileSet::save() {
    for (Entry& entry : m_entries) {
        if (auto failed = stage(entry)) {
            rollBack();
            return failed;
        }
    }
    for (Entry& entry : m_entries) {
        if (auto failed = replace(entry)) {
            const QStringList left = rollBack();
            if (!left.isEmpty()) {
                *failed += QStringLiteral("\n元のファイルは次の名前で残っています: ") +
                           left.join(QStringLiteral(", "));
            }
            return failed;
        }
    }
    for (const Entry& entry : m_entries) {
        if (!entry.kept.isEmpty()) {
            QFile::remove(entry.kept);
        }
    }
    return std::nullopt;
}

std::optional<QString> LogFileSet::stage(Entry& entry) {
    // A folder or a read-only file in the target's place is found before anything is written.
    if (const auto unwritable = checkWritable(entry.path)) {
        return unwritable->text;
    }
    const QString staged = freeName(entry.path, QStringLiteral(".tolvan-new"));
    QSaveFile file(staged);
    if (!file.open(QIODevice::WriteOnly)) {
        return entry.path + QStringLiteral(": ") + file.errorString();
    }
    if (file.write(entry.bytes) != entry.bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return entry.path + QStringLiteral(": ") + error;
    }
    if (!file.commit()) {
        return entry.path + QStringLiteral(": ") + file.errorString();
    }
    entry.staged = staged;
    // The new file takes over the permissions of the one it replaces, as a single save does.
    if (QFileInfo::exists(entry.path)) {
        QFile::setPermissions(staged, QFile::permissions(entry.path));
    }
    return std::nullopt;
}

std::optional<QString> LogFileSet::replace(Entry& entry) {
    if (occupied(entry.path)) {
        const QString kept = freeName(entry.path, QStringLiteral(".tolvan-old"));
        if (const auto failed = rename(entry.path, kept)) {
            return entry.path + QStringLiteral(": ") + *failed;
        }
        entry.kept = kept;
    }
    if (const auto failed = rename(entry.staged, entry.path)) {
        return entry.path + QStringLiteral(": ") + *failed;
    }
    entry.staged.clear();
    entry.placed = true;
    return std::nullopt;
}

QStringList LogFileSet::rollBack() {
    QStringList left;
    // Undone in the reverse of the order the set went in.
    for (qsizetype i = m_entries.size() - 1; i >= 0; --i) {
        Entry& entry = m_entries[i];
        if (entry.placed) {
            QFile::remove(entry.path);
            entry.placed = false;
        }
        if (!entry.staged.isEmpty()) {
            QFile::remove(entry.staged);
            entry.staged.clear();
        }
        if (!entry.kept.isEmpty()) {
            if (rename(entry.kept, entry.path)) {
                left.append(entry.kept);
            }
            entry.kept.clear();
        }
    }
    return left;
}

std::optional<QString> LogFileSet::rename(const QString& from, const QString& to) {
    QFile file(from);
    if (!file.rename(to)) {
        return file.errorString();
    }
    return std::nullopt;
}

} // namespace tolvan::logfile

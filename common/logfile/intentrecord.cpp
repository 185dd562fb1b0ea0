#include "common/logfile/intentrecord.h"

#include "common/logfile/filereason.h"
#include "common/logfile/foldersync.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QSet>

#include <filesystem>

namespace tolvan::logfile {
namespace {

namespace fs = std::filesystem;

const QByteArray kForward = "tolvan-intent forward";
const QByteArray kBack = "tolvan-intent back";

fs::path fsPath(const QString& path) {
    const QByteArray utf8 = path.toUtf8();
    return {std::u8string(reinterpret_cast<const char8_t*>(utf8.constData()), utf8.size())};
}

} // namespace

std::optional<QString> IntentRecord::write(const QString& path) const {
    QByteArray bytes = direction == Direction::Forward ? kForward : kBack;
    bytes += '\n';
    for (const Entry& entry : entries) {
        bytes += entry.target.toUtf8() + '\t' + entry.staged.toUtf8() + '\t' + entry.kept.toUtf8() + '\n';
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return fileReason(file.error());
    }
    if (file.write(bytes) != bytes.size()) {
        const QString reason = fileReason(file.error());
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) {
        return fileReason(file.error());
    }
    return std::nullopt;
}

std::optional<IntentRecord> IntentRecord::read(const QString& path) {
    QFile file(path);
    constexpr qint64 kMaxBytes = qint64(64) * 1024;
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QList<QByteArray> lines = file.read(kMaxBytes).split('\n');
    IntentRecord record;
    if (lines.first() == kBack) {
        record.direction = Direction::Back;
    } else if (lines.first() != kForward) {
        return std::nullopt;
    }
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].isEmpty()) {
            continue;
        }
        const QList<QByteArray> fields = lines[i].split('\t');
        if (fields.size() != 3 || fields[0].isEmpty() || fields[1].isEmpty()) {
            return std::nullopt;
        }
        record.entries.append(
            {QString::fromUtf8(fields[0]), QString::fromUtf8(fields[1]), QString::fromUtf8(fields[2])});
    }
    return record;
}

QString intentPathOf(const QString& base) {
    return base + QStringLiteral(".tolvan-intent");
}

QString lockPathOf(const QString& base) {
    return base + QStringLiteral(".tolvan-lock");
}

QString baseOf(const QString& path) {
    const QFileInfo info(path);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot <= 0 ? path : path.chopped(name.size() - dot);
}

QString markedName(const QString& path, const QString& marker) {
    for (;;) {
        QString candidate =
            path + marker +
            QString::number(QRandomGenerator::global()->generate64(), 16).rightJustified(16, u'0');
        if (!isThere(candidate)) {
            return candidate;
        }
    }
}

std::optional<QString> renameOver(const QString& from, const QString& to) {
    std::error_code error;
    fs::rename(fsPath(from), fsPath(to), error);
    if (error) {
        return fileReason(error);
    }
    // Renaming one name of a file over another name of the same file changes nothing.
    if (isThere(from)) {
        QFile::remove(from);
    }
    return std::nullopt;
}

std::optional<QString> keepAside(const QString& path, const QString& kept) {
    std::error_code error;
    fs::create_hard_link(fsPath(path), fsPath(kept), error);
    if (!error) {
        return std::nullopt;
    }
    // FAT-formatted sticks and some shares have no links.
    error.clear();
    fs::copy_file(fsPath(path), fsPath(kept), error);
    if (error) {
        removeIfThere(kept);
        return fileReason(error);
    }
    return std::nullopt;
}

bool removeIfThere(const QString& path) {
    std::error_code error;
    fs::remove(fsPath(path), error);
    return !isThere(path);
}

LinkEnd followLinks(const QString& path) {
    // As the kernel does, a chain longer than this is taken for a loop.
    constexpr int kMaxHops = 40;
    QString current = path;
    for (int hop = 0; hop < kMaxHops; ++hop) {
        std::error_code error;
        const fs::path at = fsPath(current);
        if (!fs::is_symlink(fs::symlink_status(at, error))) {
            return {current, {}};
        }
        const fs::path next = fs::read_symlink(at, error);
        if (error) {
            return {{}, current + QStringLiteral(": リンクをたどれません")};
        }
        const fs::path resolved = next.is_absolute() ? next : at.parent_path() / next;
        const std::u8string utf8 = resolved.lexically_normal().u8string();
        current = QString::fromUtf8(reinterpret_cast<const char*>(utf8.data()), qsizetype(utf8.size()));
    }
    return {{}, path + QStringLiteral(": リンクが循環しています")};
}

QStringList undoPlacement(const IntentRecord& record) {
    QStringList left;
    for (qsizetype i = record.entries.size() - 1; i >= 0; --i) {
        const IntentRecord::Entry& entry = record.entries[i];
        const bool placed = !isThere(entry.staged);
        if (!entry.kept.isEmpty()) {
            // Over a target not yet replaced this only drops the second name of the same file.
            if (isThere(entry.kept) && renameOver(entry.kept, entry.target)) {
                left.append(entry.kept);
            }
        } else if (placed) {
            removeIfThere(entry.target);
        }
        removeIfThere(entry.staged);
    }
    return left;
}

bool isThere(const QString& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(fsPath(path), error));
}

void syncFoldersOf(const IntentRecord& record) {
    QSet<QString> folders;
    for (const IntentRecord::Entry& entry : record.entries) {
        folders.insert(QFileInfo(entry.target).absolutePath());
    }
    for (const QString& folder : folders) {
        syncFolder(folder);
    }
}

} // namespace tolvan::logfile

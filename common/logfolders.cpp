#include "common/logfolders.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <array>
#include <utility>

namespace tolvan {

namespace {

// Created in this order at start; a technician who sorts by date sees the same order as ever.
constexpr std::array<std::uint32_t, 3> kCreationOrder{kLogModelVa150, kLogModelVa150C, kLogModelVa100};

bool isListedFolder(const QFileInfo& info) {
    const QString name = info.fileName();
    if (name.isEmpty() || name.startsWith(QLatin1Char('.'))) {
        return false;
    }
    if (!info.isDir() || info.isSymLink() || info.isHidden()) {
        return false;
    }
    // The owner's write bit stands for the read-only attribute: root can write anything, yet a
    // folder marked read-only must stay out of the list for root too.
    return info.isWritable() && info.permission(QFileDevice::WriteOwner);
}

} // namespace

LogFolders::LogFolders(QString root) : m_root(std::move(root)) {}

QString LogFolders::resolveRoot(const QString& explicitRoot) {
    if (!explicitRoot.isEmpty()) {
        return explicitRoot;
    }
    QString fromEnvironment = qEnvironmentVariable("TOLVAN_LOG_ROOT");
    if (!fromEnvironment.isEmpty()) {
        return fromEnvironment;
    }
#ifdef Q_OS_WIN
    return QStringLiteral("c:/");
#else
    return QDir::homePath();
#endif
}

QString LogFolders::modelFolderName(std::uint32_t modelCode) {
    switch (modelCode) {
    case kLogModelVa100:
        return QStringLiteral("ZXVA100設定ログフォルダ");
    case kLogModelVa150:
        return QStringLiteral("ZXVA150設定ログフォルダ");
    case kLogModelVa150C:
        return QStringLiteral("ZXVA150(C)設定ログフォルダ");
    default:
        return {};
    }
}

QString LogFolders::modelFolder(std::uint32_t modelCode) const {
    const QString name = modelFolderName(modelCode);
    if (name.isEmpty()) {
        return {};
    }
    return QDir(m_root).filePath(name);
}

bool LogFolders::createModelFolders() const {
    bool allThere = true;
    for (const std::uint32_t model : kCreationOrder) {
        const QString folder = modelFolder(model);
        if (!QFileInfo(folder).isDir() && !QDir().mkdir(folder)) {
            allThere = false;
        }
    }
    return allThere;
}

QStringList LogFolders::subFolders(std::uint32_t modelCode) const {
    QStringList names;
    const QString folder = modelFolder(modelCode);
    if (folder.isEmpty()) {
        return names;
    }
    // Every entry is examined: the file system does not promise that "." comes first.
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (names.size() < kMaxLogFolders && it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (isListedFolder(info)) {
            names.append(info.fileName());
        }
    }
    return names;
}

QString LogFolders::logPath(std::uint32_t modelCode, const QString& name) const {
    QString folder = modelFolder(modelCode);
    if (folder.isEmpty() || name.isEmpty()) {
        return folder;
    }
    return folder + QLatin1Char('/') + name;
}

QString LogFolders::withDefaultExtension(const QString& name, const QString& extension) {
    // Only the file name part counts: a dot in a folder name ("Acme.Inc") is not an extension.
    if (QFileInfo(name).fileName().contains(QLatin1Char('.'))) {
        return name;
    }
    return name + extension;
}

bool LogFolders::fileExists(const QString& name, const QString& extension) {
    if (name.isEmpty()) {
        return false;
    }
    return QFileInfo::exists(withDefaultExtension(name, extension));
}

bool LogFolders::isValidFolderName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) {
        return false;
    }
    // Separators would reach outside the model folder; the rest are refused by Windows, and
    // the logs travel between machines.
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || forbidden.contains(c)) {
            return false;
        }
    }
    return true;
}

} // namespace tolvan

#include "flows/history/versionfinder.h"

#include "flows/history/comparedfile.h"

#include "common/modelnames.h"
#include "modes/dataset/model/systemparamimage.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <map>
#include <optional>

namespace tolvan::history {
namespace {

using Kind = HandsetVersion::Kind;

const QString kJv1 = QStringLiteral("jv1");
const QString kJv2 = QStringLiteral("jv2");
const QString kJv3 = QStringLiteral("jv3");
const QString kJv4 = QStringLiteral("jv4");

std::optional<std::uint32_t> modelOfFolder(const QString& name) {
    for (const std::uint32_t model : {kModelVa100, kModelVa150, kModelVa150C}) {
        if (name == QLatin1String(modelNameOf(model))) {
            return model;
        }
    }
    return std::nullopt;
}

// The files of one folder grouped by their name without the ending, for the endings of a set.
std::map<QString, QStringList> setsIn(const QDir& folder) {
    std::map<QString, QStringList> sets;
    const QFileInfoList files = folder.entryInfoList(
        {QStringLiteral("*.jv1"), QStringLiteral("*.jv2"), QStringLiteral("*.jv3"), QStringLiteral("*.jv4")},
        QDir::Files | QDir::Readable);
    for (const QFileInfo& file : files) {
        sets[file.completeBaseName()].append(file.suffix().toLower());
    }
    return sets;
}

// The newest file of a set stands for when it was saved.
QDateTime savedAt(const QString& base, const QStringList& extensions) {
    QDateTime newest;
    for (const QString& extension : extensions) {
        const QDateTime modified = QFileInfo(base + QLatin1Char('.') + extension).lastModified();
        if (!newest.isValid() || modified > newest) {
            newest = modified;
        }
    }
    return newest;
}

// The model and PS-ID a set's .jv4 names (log file 1 in its image form does not carry the PS-ID).
std::optional<std::pair<std::uint32_t, std::uint32_t>> identityOf(const QString& jv4) {
    auto loaded = ComparedFile::load(ComparedFile::Kind::LogFile4, jv4);
    const auto* file = std::get_if<ComparedFile>(&loaded);
    if (file == nullptr) {
        return std::nullopt;
    }
    handset::HandsetBlocks store;
    file->readInto(store);
    return std::pair{file->modelCode(), dataset::SystemParamImage::fromStore(store).psIdValue()};
}

// The model a set's first file of a kind names.
std::optional<std::uint32_t> modelOfSet(const QString& base, const QStringList& extensions) {
    for (const auto& [extension, kind] :
         {std::pair{kJv1, ComparedFile::Kind::LogFile1}, std::pair{kJv4, ComparedFile::Kind::LogFile4}}) {
        if (extensions.contains(extension)) {
            auto loaded = ComparedFile::load(kind, base + QLatin1Char('.') + extension);
            if (const auto* file = std::get_if<ComparedFile>(&loaded)) {
                return file->modelCode();
            }
        }
    }
    return std::nullopt;
}

} // namespace

QList<HandsetVersion> BackupVersions::versions() const {
    static const QRegularExpression stamp(QStringLiteral("^(\\d{8}-\\d{6})(?:-(\\d+))?$"));
    static const QRegularExpression nineDigits(QStringLiteral("^\\d{9}$"));
    QList<HandsetVersion> found;
    const QDir root(m_root);
    for (const QString& modelFolder : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const auto model = modelOfFolder(modelFolder);
        if (!model) {
            continue;
        }
        const QDir models(root.filePath(modelFolder));
        for (const QString& psIdFolder : models.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (!nineDigits.match(psIdFolder).hasMatch()) {
                continue;
            }
            const QDir folder(models.filePath(psIdFolder));
            for (const auto& [name, extensions] : setsIn(folder)) {
                const QRegularExpressionMatch match = stamp.match(name);
                if (!match.hasMatch()) {
                    continue;
                }
                HandsetVersion version;
                version.modelCode = *model;
                version.psId = psIdFolder.toUInt();
                version.when = QDateTime::fromString(match.captured(1), QStringLiteral("yyyyMMdd-HHmmss"));
                version.sequence = match.captured(2).isEmpty() ? 1 : match.captured(2).toInt();
                version.id = name;
                version.base = folder.filePath(name);
                if (!version.when.isValid()) {
                    continue;
                }
                // A correction write's backup claims its name for the .jv2 alone, so a set of
                // another write may share the stamp: they are two versions.
                if (extensions.contains(kJv2)) {
                    HandsetVersion calibration = version;
                    calibration.kind = Kind::BeforeCalibrationWrite;
                    calibration.extensions = {kJv2};
                    found.append(calibration);
                }
                version.extensions = extensions;
                version.extensions.removeAll(kJv2);
                if (version.extensions.isEmpty()) {
                    continue;
                }
                version.kind = !version.has(kJv4)  ? Kind::BeforeParamsWrite
                               : version.has(kJv3) ? Kind::BeforeWriteBack
                                                   : Kind::BeforeSettingsWrite;
                found.append(version);
            }
        }
    }
    return found;
}

QList<HandsetVersion> LogFolderVersions::versions() const {
    QList<HandsetVersion> found;
    for (const std::uint32_t model : {kModelVa100, kModelVa150, kModelVa150C}) {
        QStringList folders{m_folders.modelFolder(model)};
        for (const QString& name : m_folders.subFolders(model)) {
            folders.append(m_folders.logPath(model, name));
        }
        for (const QString& path : folders) {
            const QDir folder(path);
            for (const auto& [name, extensions] : setsIn(folder)) {
                if (!extensions.contains(kJv4)) {
                    continue;
                }
                HandsetVersion version;
                version.base = folder.filePath(name);
                const auto identity = identityOf(version.file(kJv4));
                if (!identity) {
                    continue;
                }
                version.modelCode = identity->first;
                version.psId = identity->second;
                version.extensions = extensions;
                version.extensions.removeAll(kJv2);
                version.kind = version.has(kJv1) && !version.has(kJv3) ? Kind::Registration : Kind::Saved;
                version.id = version.base;
                version.when = savedAt(version.base, version.extensions);
                found.append(version);
            }
        }
    }
    return found;
}

QList<HandsetVersion> SavedSetVersions::versions() const {
    static const QRegularExpression named(QStringLiteral("^\\d{3}_(\\d{9})$"));
    QList<HandsetVersion> found;
    const QDir folder(m_folder);
    for (const auto& [name, extensions] : setsIn(folder)) {
        const QRegularExpressionMatch match = named.match(name);
        if (!match.hasMatch()) {
            continue;
        }
        HandsetVersion version;
        version.base = folder.filePath(name);
        version.extensions = extensions;
        version.extensions.removeAll(kJv2);
        const auto model = modelOfSet(version.base, version.extensions);
        if (!model) {
            continue;
        }
        version.modelCode = *model;
        version.psId = match.captured(1).toUInt();
        version.kind = Kind::Saved;
        version.id = version.base;
        version.when = savedAt(version.base, version.extensions);
        found.append(version);
    }
    return found;
}

VersionFinder::VersionFinder(const QString& backupRoot, const QString& logRoot) {
    addSource(std::make_unique<BackupVersions>(backupRoot));
    addSource(std::make_unique<LogFolderVersions>(logRoot));
}

QList<HandsetVersion> VersionFinder::all() const {
    QList<HandsetVersion> versions;
    for (const auto& source : m_sources) {
        versions += source->versions();
    }
    std::sort(versions.begin(), versions.end(), newerFirst);
    return versions;
}

QList<HandsetVersion> VersionFinder::versionsOf(std::uint32_t psId) const {
    QList<HandsetVersion> versions = all();
    versions.removeIf([psId](const HandsetVersion& version) { return version.psId != psId; });
    return versions;
}

QList<KnownHandset> VersionFinder::handsets() const {
    QList<KnownHandset> known;
    // Newest first, so the first version of a handset is its last.
    for (const HandsetVersion& version : all()) {
        auto same = std::find_if(known.begin(), known.end(), [&](const KnownHandset& handset) {
            return handset.modelCode == version.modelCode && handset.psId == version.psId;
        });
        if (same == known.end()) {
            known.append({version.modelCode, version.psId, 1, version.when});
        } else {
            ++same->versions;
        }
    }
    return known;
}

} // namespace tolvan::history

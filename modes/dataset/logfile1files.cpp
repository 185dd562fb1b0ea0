#include "modes/dataset/logfile1files.h"

#include "modes/dataset/logfile1format.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace tolvan::dataset {

QString LogFile1Files::saveName(const QString& chosen) {
    QString name = chosen;
    // Only the file name: a folder whose name holds ".jv" must not be renamed into another one.
    const qsizetype nameStart =
        std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\'))) + 1;
    const qsizetype at = name.indexOf(QStringLiteral(".jv"), nameStart);
    if (at >= 0) {
        name.remove(at, 4);
    }
    return name + QStringLiteral(".jv1");
}

QString LogFile1Files::openName(const QString& chosen) {
    if (!QFileInfo(chosen).fileName().contains(QLatin1Char('.'))) {
        const QString withExtension = chosen + QStringLiteral(".jv1");
        if (QFileInfo(withExtension).isFile()) {
            return withExtension;
        }
    }
    return QFileInfo(chosen).isFile() ? chosen : QString();
}

LogFileLoad LogFile1Files::load(const QString& chosen) {
    LogFileLoad result;
    result.path = openName(chosen);
    if (result.path.isEmpty()) {
        result.message = LogFile1Format::fileMissing();
        return result;
    }
    QFile file(result.path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = LogFileLoad::Status::Unreadable;
        result.message = {LogFile1Format::errorTitle(), file.errorString()};
        return result;
    }
    result.bytes = file.read(LogFile1Format::kMaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        result.status = LogFileLoad::Status::Unreadable;
        result.message = {LogFile1Format::errorTitle(), file.errorString()};
        result.bytes.clear();
        return result;
    }
    result.status = LogFileLoad::Status::Loaded;
    return result;
}

QString LogFile1Files::save(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    if (file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return error;
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return {};
}

} // namespace tolvan::dataset

#include "common/logfile/logfileio.h"

#include "common/logfile/filereason.h"
#include "common/logfile/logfilenames.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tolvan::logfile {

Message fileMissing() {
    return errorMessage(
        QStringLiteral("指定されたファイルは存在しません。\nファイル名を再入力してください。"));
}

LoadedFile loadExact(const QString& path, qsizetype maxBytes) {
    LoadedFile result;
    result.path = path;
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        result.message = fileMissing();
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = LoadedFile::Status::Unreadable;
        result.message = errorMessage(fileReason(file.error()));
        return result;
    }
    result.bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        result.status = LoadedFile::Status::Unreadable;
        result.message = errorMessage(fileReason(file.error()));
        result.bytes.clear();
        return result;
    }
    result.status = LoadedFile::Status::Loaded;
    return result;
}

LoadedFile loadChosen(const QString& chosen, const QString& extension, qsizetype maxBytes) {
    return loadExact(openName(chosen, extension), maxBytes);
}

QString saveAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return fileReason(file.error());
    }
    if (file.write(bytes) != bytes.size()) {
        QString error = fileReason(file.error());
        file.cancelWriting();
        return error;
    }
    if (!file.commit()) {
        return fileReason(file.error());
    }
    return {};
}

std::optional<Message> checkWritable(const QString& path) {
    QSaveFile probe(path);
    if (!probe.open(QIODevice::WriteOnly)) {
        if (QFileInfo(path).isDir()) {
            return errorMessage(path + QStringLiteral(": ") +
                                fileReason(std::make_error_code(std::errc::is_a_directory)));
        }
        return errorMessage(path + QStringLiteral(": ") + fileReason(probe.error()));
    }
    probe.cancelWriting();
    return std::nullopt;
}

} // namespace tolvan::logfile

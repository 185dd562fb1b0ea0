#include "cli/boundedfile.h"

#include <QFile>
#include <QFileInfo>

namespace tolvan::cli {

BoundedFile BoundedFile::read(const QString& path, qsizetype maxBytes) {
    BoundedFile result;
    if (!QFileInfo(path).isFile()) {
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.status = Status::Unreadable;
        result.error = file.errorString();
        return result;
    }
    result.bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        result.status = Status::Unreadable;
        result.error = file.errorString();
        result.bytes.clear();
        return result;
    }
    result.status = Status::Loaded;
    return result;
}

} // namespace tolvan::cli

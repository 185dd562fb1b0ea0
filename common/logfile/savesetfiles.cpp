#include "common/logfile/savesetfiles.h"

#include "common/logfile/logfileio.h"
#include "common/logfile/logfileset.h"

#include <utility>

namespace tolvan::logfile {
namespace {

// The files of a set in the order they are written.
QList<std::pair<QString, QByteArray>> partsOf(const SaveSetFiles& files, bool withBuffers) {
    QList<std::pair<QString, QByteArray>> parts{{QStringLiteral(".jv1"), files.jv1}};
    if (withBuffers) {
        parts.append({QStringLiteral(".jv3"), files.jv3});
    }
    parts.append({QStringLiteral(".jv4"), files.jv4});
    return parts;
}

} // namespace

QStringList saveSetPaths(const QString& base, bool withBuffers) {
    QStringList paths;
    for (const auto& part : partsOf({}, withBuffers)) {
        paths.append(base + part.first);
    }
    return paths;
}

std::optional<Message> writeSaveSet(const QString& base, const SaveSetFiles& files, bool withBuffers,
                                    QList<Message>* notices) {
    LogFileSet set;
    for (const auto& [extension, bytes] : partsOf(files, withBuffers)) {
        set.add(base + extension, bytes);
    }
    const auto failed = set.save();
    if (notices) {
        notices->append(set.notices());
    }
    if (failed) {
        return errorMessage(*failed);
    }
    return std::nullopt;
}

std::optional<Message> checkSaveSetWritable(const QString& base, bool withBuffers) {
    for (const QString& path : saveSetPaths(base, withBuffers)) {
        if (auto unwritable = checkWritable(path)) {
            return unwritable;
        }
    }
    return std::nullopt;
}

} // namespace tolvan::logfile

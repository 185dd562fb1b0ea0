#include "common/logfile/savesetnames.h"

#include <algorithm>

namespace tolvan::logfile {
namespace {

// Where the file name starts: a folder whose name holds ".jv" is never renamed.
qsizetype fileNameStart(const QString& path) {
    return std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\'))) + 1;
}

} // namespace

QString SaveSetNames::baseName(const QString& chosen) {
    QString base = chosen;
    const qsizetype at = base.indexOf(QStringLiteral(".jv"), fileNameStart(base));
    if (at >= 0) {
        base.remove(at, 4);
    }
    return base;
}

QString SaveSetNames::commandBase(const QString& given) {
    for (const QLatin1String extension :
         {QLatin1String(".jv1"), QLatin1String(".jv3"), QLatin1String(".jv4")}) {
        if (given.endsWith(extension)) {
            return given.chopped(extension.size());
        }
    }
    return given;
}

std::optional<SaveSetNames::WriteBackFiles> SaveSetNames::writeBackFiles(const QString& chosen) {
    const qsizetype nameStart = fileNameStart(chosen);
    QString jv1;
    if (chosen.indexOf(QStringLiteral(".jv1"), nameStart) >= 0) {
        jv1 = chosen;
    } else {
        for (const QString& other : {QStringLiteral(".jv3"), QStringLiteral(".jv4")}) {
            const qsizetype at = chosen.indexOf(other, nameStart);
            if (at >= 0) {
                jv1 = chosen;
                jv1.replace(at, 4, QStringLiteral(".jv1"));
                break;
            }
        }
    }
    if (jv1.isEmpty()) {
        return std::nullopt;
    }
    // Only the file name's ".jv1"s: the folders stay as they are.
    QString jv4 =
        jv1.left(nameStart) + jv1.mid(nameStart).replace(QStringLiteral(".jv1"), QStringLiteral(".jv4"));
    return WriteBackFiles{jv1, jv4};
}

Message SaveSetNames::formatError() {
    return errorMessage(QStringLiteral("jv読み出しフォーマットエラー"));
}

} // namespace tolvan::logfile

#include "common/logfile/logfilenames.h"

#include <QFileInfo>

#include <algorithm>

namespace tolvan::logfile {

QString saveName(const QString& chosen, const QString& extension) {
    QString name = chosen;
    // Only the file name: a folder whose name holds ".jv" must not be renamed into another one.
    const qsizetype nameStart =
        std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\'))) + 1;
    const qsizetype at = name.indexOf(QStringLiteral(".jv"), nameStart);
    if (at >= 0) {
        name.remove(at, 4);
    }
    return name + QLatin1Char('.') + extension;
}

QString openName(const QString& chosen, const QString& extension) {
    if (!QFileInfo(chosen).fileName().contains(QLatin1Char('.'))) {
        QString withExtension = chosen + QLatin1Char('.') + extension;
        if (QFileInfo(withExtension).isFile()) {
            return withExtension;
        }
    }
    return QFileInfo(chosen).isFile() ? chosen : QString();
}

} // namespace tolvan::logfile

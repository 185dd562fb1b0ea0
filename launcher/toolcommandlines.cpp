#include "toolcommandlines.h"

#include <QDir>

namespace {

// Written as installed on Windows; other systems get their own separator.
QString belowProgramFolder(const char16_t* windowsPath) {
    QString path = QString::fromUtf16(windowsPath);
    path.replace(QLatin1Char('\\'), QDir::separator());
    return path;
}

} // namespace

QString programFolderFor(const QString& applicationDirPath) {
    QString folder = QDir::toNativeSeparators(applicationDirPath);
    if (!folder.endsWith(QDir::separator())) {
        folder += QDir::separator();
    }
    return folder;
}

ToolCommandLines ToolCommandLines::forProgramFolder(const QString& programFolder) {
    return {programFolder + belowProgramFolder(u"ZX-VA020\\Tolvan.EXE"),
            programFolder + belowProgramFolder(u"ZX-VA1XX\\TOLVAN.EXE")};
}

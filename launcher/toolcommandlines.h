#pragma once

#include <QString>

// The program folder is the launcher's own folder with a trailing separator; both tools are
// installed below it at fixed relative paths.
QString programFolderFor(const QString& applicationDirPath);

struct ToolCommandLines {
    QString olderTool; // ZX-VA020 / ZX-QB20 tool, not part of this system
    QString mainTool;  // Tolvan

    static ToolCommandLines forProgramFolder(const QString& programFolder);
};

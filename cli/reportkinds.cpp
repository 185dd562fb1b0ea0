#include "cli/reportkinds.h"

#include "common/logfile/logfilekind.h"
#include "common/logfolders.h"

#include <QDir>
#include <QFileInfo>

namespace tolvan::cli {

const ReportKinds::Builder* ReportKinds::find(int fileNumber) const {
    const auto it = m_builders.find(fileNumber);
    return it == m_builders.end() ? nullptr : &it->second;
}

int ReportKinds::fileNumberOf(const QString& path, QByteArrayView bytes) {
    for (int number = 1; number <= 4; ++number) {
        if (logfile::logFileKind(number)->modelOfFile(bytes)) {
            return number;
        }
    }
    const QString name = QFileInfo(path).fileName();
    for (int number = 1; number <= 4; ++number) {
        if (name.endsWith(QLatin1Char('.') + logfile::logFileKind(number)->extension(),
                          Qt::CaseInsensitive)) {
            return number;
        }
    }
    return 0;
}

QString ReportKinds::customerOf(const QString& path, std::uint32_t modelCode, const QString& logRoot) {
    const QString modelFolder = LogFolders(LogFolders::resolveRoot(logRoot)).modelFolder(modelCode);
    if (modelFolder.isEmpty()) {
        return {};
    }
    const QDir folder = QFileInfo(path).absoluteDir();
    QDir above = folder;
    if (!above.cdUp()) {
        return {};
    }
    const QString expected = QFileInfo(modelFolder).canonicalFilePath();
    if (expected.isEmpty() || QFileInfo(above.absolutePath()).canonicalFilePath() != expected) {
        return {};
    }
    return folder.dirName();
}

} // namespace tolvan::cli

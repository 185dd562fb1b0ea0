#include "cli/reportkinds.h"

#include "common/cp932.h"
#include "common/logfolders.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace tolvan::cli {

const ReportKinds::Builder* ReportKinds::find(int fileNumber) const {
    const auto it = m_builders.find(fileNumber);
    return it == m_builders.end() ? nullptr : &it->second;
}

int ReportKinds::fileNumberOf(const QString& path, QByteArrayView bytes) {
    qsizetype end = bytes.indexOf('\n');
    end = end < 0 ? bytes.size() : end;
    if (end > 0 && bytes.at(end - 1) == '\r') {
        --end;
    }
    // A header is short; a long first line is no header and need not be decoded.
    if (end <= 64) {
        static const QRegularExpression header(
            QStringLiteral("^\"ZX-VA(?:100|150|150\\(C\\))ログファイル([1-4])\"$"));
        const auto match = header.match(decodeCp932(bytes.first(end)).text);
        if (match.hasMatch()) {
            return match.captured(1).toInt();
        }
    }
    static const QRegularExpression extension(QStringLiteral("\\.jv([1-4])$"),
                                              QRegularExpression::CaseInsensitiveOption);
    const auto match = extension.match(QFileInfo(path).fileName());
    return match.hasMatch() ? match.captured(1).toInt() : 0;
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

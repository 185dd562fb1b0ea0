#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace tolvan::test {

// The text of a PDF as pdftotext lays it out (UTF-8); empty when it cannot be read.
inline QString pdfText(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                                QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!process.waitForFinished(30000)) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace tolvan::test

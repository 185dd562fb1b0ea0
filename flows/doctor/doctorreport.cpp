#include "flows/doctor/doctorreport.h"

#include "common/cp932.h"
#include "link/linktrace.h"
#include "link/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSysInfo>

namespace tolvan::doctor {

ReportContext currentReportContext(const QString& program, const QString& version) {
    ReportContext context;
    context.program = program;
    context.version = version;
    context.qtVersion = QStringLiteral("%1（ビルド時 %2）")
                            .arg(QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR));
    context.os = QSysInfo::prettyProductName();
    context.kernel = QSysInfo::kernelType() + QLatin1Char(' ') + QSysInfo::kernelVersion();
    context.generated = QDateTime::currentDateTime();
    QFile ini(QDir::current().filePath(QLatin1String(link::kSettingsFileName)));
    if (ini.open(QIODevice::ReadOnly)) {
        context.settingsFile = ini.readAll();
    }
    return context;
}

QString doctorReport(const DoctorResult& result, const ReportContext& context) {
    QString text;
    text += QStringLiteral("Tolvan 接続診断レポート\n");
    text += QStringLiteral("作成日時: %1\n")
                .arg(context.generated.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    text += QStringLiteral("プログラム: %1 %2\n").arg(context.program, context.version);
    text += QStringLiteral("Qt: %1\n").arg(context.qtVersion);
    text += QStringLiteral("OS: %1\n").arg(context.os);
    text += QStringLiteral("カーネル: %1\n").arg(context.kernel);
    text += QStringLiteral("\n[診断結果]\n");
    for (const Finding& finding : result.findings) {
        text += findingLine(finding) + QLatin1Char('\n');
    }
    text += QStringLiteral("\n[ポートの udev プロパティ] %1\n")
                .arg(result.port.isEmpty() ? QStringLiteral("（なし）") : result.port);
    for (const auto& [key, value] : result.portProperties) {
        text += key + QLatin1Char('=') + value + QLatin1Char('\n');
    }
    text += QStringLiteral("\n[%1]\n").arg(QLatin1String(link::kSettingsFileName));
    if (context.settingsFile) {
        QString ini = decodeCp932(*context.settingsFile).text;
        ini.remove(QLatin1Char('\r'));
        text += ini;
        if (!ini.endsWith(QLatin1Char('\n'))) {
            text += QLatin1Char('\n');
        }
    } else {
        text += QStringLiteral("（ありません）\n");
    }
    text += QStringLiteral("\n[回線テストのトレース]\n");
    if (result.line) {
        for (const TraceUnit& unit : result.line->trace) {
            const QByteArray bytes(reinterpret_cast<const char*>(unit.bytes.data()),
                                   static_cast<qsizetype>(unit.bytes.size()));
            text += link::traceLine(unit.direction, bytes, unit.atMs) + QLatin1Char('\n');
        }
    } else {
        text += QStringLiteral("（回線テストは行われませんでした）\n");
    }
    return text;
}

std::optional<QString> writeDoctorReport(const QString& path, const QString& report) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(report.toUtf8()) < 0 || !file.commit()) {
        return QStringLiteral("%1 に診断レポートを書き込めませんでした").arg(QDir::toNativeSeparators(path));
    }
    return std::nullopt;
}

} // namespace tolvan::doctor

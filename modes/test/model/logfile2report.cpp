#include "modes/test/model/logfile2report.h"

#include <QStringList>

namespace tolvan::testmode {
namespace {

template <std::size_t N> QString joined(const std::array<QString, N>& fields) {
    QString out;
    for (const QString& field : fields) {
        out += field;
    }
    return out;
}

} // namespace

ReportPage LogFile2Report::page(const CalibrationFields& fields, std::uint32_t modelCode,
                                const QString& logFolderName, const QString& memo) {
    const std::uint32_t printedModel = modelCode == 2 || modelCode == 4 ? modelCode : 3;
    const QStringList lines{
        reportHeaderLine(printedModel, 2, logFolderName, memo),
        reportRuleLine(),
        QStringLiteral("送信DAC値補正係数\t\t\t") + joined(fields.dac[0]),
        QStringLiteral("RSSI補正係数1\t\t\t\t") + joined(fields.rssi[0][0]),
        QStringLiteral("RSSI補正係数2\t\t\t\t") + joined(fields.rssi[0][1]),
        QStringLiteral("送信AMPﾊﾞｲｱｽ補正係数\t\t\t") + joined(fields.amp[0]),
    };
    return ReportPage::singleColumn(lines);
}

} // namespace tolvan::testmode

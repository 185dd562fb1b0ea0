#include "modes/test/model/logfile2writer.h"

#include "modes/test/model/calibrationcodec.h"
#include "modes/test/model/calibrationimage.h"
#include "modes/test/model/logfile2format.h"

#include "common/logline.h"

#include <QStringList>

#include <algorithm>

namespace tolvan::testmode {
namespace {

// The label, then the fields least significant byte first.
template <std::size_t N>
QStringList coefficientLine(const QString& label, const std::array<QString, N>& fields) {
    QStringList line{label};
    std::for_each(fields.rbegin(), fields.rend(), [&line](const QString& field) { line << field; });
    return line;
}

} // namespace

LogFile2Text LogFile2Writer::write(const CalibrationFields& fields, std::uint32_t modelCode,
                                   const QString& memo) {
    const QString header = LogFile2Format::headerField(modelCode);
    if (header.isEmpty()) {
        // Without a header the file would load as nobody's: refuse rather than write one.
        return {QByteArray(), QStringLiteral("接続モデルが不明なため書き込めません")};
    }
    const QList<std::pair<QString, QStringList>> lines{
        {header, {header}},
        {LogFile2Format::dacLabel(), coefficientLine(LogFile2Format::dacLabel(), fields.dac[0])},
        {LogFile2Format::rssi1Label(), coefficientLine(LogFile2Format::rssi1Label(), fields.rssi[0][0])},
        {LogFile2Format::rssi2Label(), coefficientLine(LogFile2Format::rssi2Label(), fields.rssi[0][1])},
        {LogFile2Format::ampLabel(), coefficientLine(LogFile2Format::ampLabel(), fields.amp[0])},
        {QStringLiteral("メモ"), {memo}},
    };
    LogFile2Text out;
    for (const auto& [what, line] : lines) {
        for (const QString& field : line) {
            // A line break or a quote inside a field would shift every line or field after it.
            if (field.contains(QLatin1Char('\r')) || field.contains(QLatin1Char('\n')) ||
                field.contains(QLatin1Char('"'))) {
                return {QByteArray(),
                        QStringLiteral("%1: 改行や「\"」はログファイルに書き込めません").arg(what)};
            }
        }
        const Cp932Encoded encoded = encodeQuotedLine(line);
        if (!encoded.ok()) {
            const QString all = line.join(QString());
            const Cp932Encoded probe = encodeCp932(all);
            const QString bad = probe.ok() ? QString() : all.mid(probe.errorIndex, 1);
            return {QByteArray(), QStringLiteral("%1: 文字「%2」はShift-JISで書き込めません").arg(what, bad)};
        }
        out.bytes += encoded.bytes;
    }
    return out;
}

LogFile2Text LogFile2Writer::fromStore(const handset::HandsetBlocks& store, std::uint32_t modelCode,
                                       const QString& memo) {
    return write(CalibrationCodec::fieldsOf(CalibrationImage::fromStore(store)), modelCode, memo);
}

} // namespace tolvan::testmode

#include "modes/test/model/logfile2writer.h"

#include "modes/test/model/calibrationcodec.h"
#include "modes/test/model/calibrationimage.h"
#include "modes/test/model/logfile2format.h"

#include "common/logfile/linewriter.h"

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
    using F = LogFile2Format;
    if (logfile::kLogFile2.headerField(modelCode).isEmpty()) {
        // Without a header the file would load as nobody's: refuse rather than write one.
        return {QByteArray(), QStringLiteral("接続モデルが不明なため書き込めません")};
    }
    logfile::LineWriter out(logfile::kLogFile2);
    out.header(modelCode);
    out.fields(F::dacLabel(), coefficientLine(F::dacLabel(), fields.dac[0]));
    out.fields(F::rssi1Label(), coefficientLine(F::rssi1Label(), fields.rssi[0][0]));
    out.fields(F::rssi2Label(), coefficientLine(F::rssi2Label(), fields.rssi[0][1]));
    out.fields(F::ampLabel(), coefficientLine(F::ampLabel(), fields.amp[0]));
    out.memo(memo);
    return {out.bytes(), out.errorText()};
}

LogFile2Text LogFile2Writer::fromStore(const handset::HandsetBlocks& store, std::uint32_t modelCode,
                                       const QString& memo) {
    return write(CalibrationCodec::fieldsOf(CalibrationImage::fromStore(store)), modelCode, memo);
}

} // namespace tolvan::testmode

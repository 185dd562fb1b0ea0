#include "modes/test/model/logfile2writer.h"

#include "modes/test/model/calibrationcodec.h"
#include "modes/test/model/calibrationimage.h"
#include "modes/test/model/logfile2format.h"

#include <QStringList>

namespace tolvan::testmode {
namespace {

// A coefficient's fields least significant byte first.
template <std::size_t N> QStringList lowByteFirst(const std::array<QString, N>& fields) {
    return {fields.rbegin(), fields.rend()};
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
    out.labelled(F::dacLabel(), lowByteFirst(fields.dac[0]));
    out.labelled(F::rssi1Label(), lowByteFirst(fields.rssi[0][0]));
    out.labelled(F::rssi2Label(), lowByteFirst(fields.rssi[0][1]));
    out.labelled(F::ampLabel(), lowByteFirst(fields.amp[0]));
    out.memo(memo);
    return out.text();
}

LogFile2Text LogFile2Writer::fromStore(const handset::HandsetBlocks& store, std::uint32_t modelCode,
                                       const QString& memo) {
    return write(CalibrationCodec::fieldsOf(CalibrationImage::fromStore(store)), modelCode, memo);
}

} // namespace tolvan::testmode

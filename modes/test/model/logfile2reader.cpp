#include "modes/test/model/logfile2reader.h"

#include "modes/test/model/calibrationcodec.h"
#include "modes/test/model/calibrationimage.h"
#include "modes/test/model/logfile2format.h"

#include "common/cp932.h"
#include "common/logfile/linetable.h"
#include "common/logfile/logfilekind.h"

namespace tolvan::testmode {
namespace {

using F = LogFile2Format;

QString text(const QList<QByteArray>& tokens, qsizetype i) {
    return decodeCp932(tokens.value(i)).text;
}

// Tokens 2 onwards into the fields, undoing the writer's least-significant-first order.
template <std::size_t N> void takeFields(const QList<QByteArray>& tokens, std::array<QString, N>& fields) {
    for (std::size_t k = 0; k < N; ++k) {
        fields[N - 1 - k] = text(tokens, static_cast<qsizetype>(k) + 1);
    }
}

template <std::size_t N>
void readCoefficientLine(const QList<QByteArray>& tokens, const QString& label,
                         std::array<QString, N>& fields, QList<Message>& messages) {
    if (text(tokens, 0) != label) {
        messages.append(F::readError(label));
        return;
    }
    takeFields(tokens, fields);
}

} // namespace

LogFile2Read LogFile2Reader::read(QByteArrayView file, std::uint32_t modelCode,
                                  const CalibrationFields& current, const QString& currentMemo) {
    LogFile2Read result;
    result.fields = current;
    result.memo = currentMemo;
    const logfile::LineTable table = logfile::kLogFile2.lines(file);
    if (!logfile::kLogFile2.headerMatches(table.line(1), modelCode)) {
        if (const auto mismatch = logfile::kLogFile2.modelMismatch(modelCode)) {
            result.messages.append(*mismatch);
        }
        return result;
    }
    result.loaded = true;
    auto tokens = [&table](qsizetype line) { return table.tokens(line, logfile::kLogFile2.maxFields()); };
    readCoefficientLine(tokens(2), F::dacLabel(), result.fields.dac[0], result.messages);
    readCoefficientLine(tokens(3), F::rssi1Label(), result.fields.rssi[0][0], result.messages);
    readCoefficientLine(tokens(4), F::rssi2Label(), result.fields.rssi[0][1], result.messages);
    const QList<QByteArray> amp = tokens(5);
    if (text(amp, 0) == F::ampLabel() && amp.size() == 5) {
        takeFields(amp, result.fields.amp[0]);
    } else {
        result.fields.amp[0] = {};
    }
    result.memo = text(tokens(6), 0);
    return result;
}

LogFile2Read LogFile2Reader::readIntoStore(QByteArrayView file, std::uint32_t modelCode,
                                           handset::HandsetBlocks& store) {
    CalibrationImage image = CalibrationImage::fromStore(store);
    LogFile2Read result = read(file, modelCode, CalibrationCodec::fieldsOf(image), QString());
    if (!result.loaded) {
        return result;
    }
    const std::optional<Message> slips[] = {CalibrationCodec::takeDac(result.fields, image),
                                            CalibrationCodec::takeRssi(result.fields, image),
                                            CalibrationCodec::takeAmp(result.fields, image)};
    for (const auto& slip : slips) {
        if (slip) {
            result.messages.append(*slip);
            break;
        }
    }
    image.storeInto(store);
    return result;
}

} // namespace tolvan::testmode

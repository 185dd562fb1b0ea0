#include "modes/test/model/calibrationcodec.h"

#include "modes/test/model/calibrationcalc.h"

namespace tolvan::testmode {
namespace {

using Row = CalibrationFields::Hex4;

std::optional<Message> takeRows(const std::array<Row, 8>& rows, CalibrationImage& image,
                                void (CalibrationImage::*set)(int, std::uint32_t)) {
    bool bad = false;
    for (int i = 0; i < CalibrationImage::kCoefficientCount; ++i) {
        const auto value = CalibrationCalc::valueOf(rows[static_cast<std::size_t>(i)]);
        bad = bad || value.badCharacter;
        (image.*set)(i, value.value);
    }
    return bad ? std::optional(CalibrationCalc::inputError()) : std::nullopt;
}

} // namespace

CalibrationFields CalibrationCodec::fieldsOf(const CalibrationImage& image) {
    CalibrationFields fields;
    for (int i = 0; i < CalibrationImage::kCoefficientCount; ++i) {
        const auto row = static_cast<std::size_t>(i);
        fields.dac[row] = CalibrationCalc::hexFields(image.dacCoefficient(i));
        fields.amp[row] = CalibrationCalc::hexFields(image.ampCoefficient(i));
    }
    for (int antenna = 0; antenna < CalibrationImage::kAntennaCount; ++antenna) {
        auto& rssi = fields.rssi[static_cast<std::size_t>(antenna)];
        rssi[0] = CalibrationCalc::hexFields(image.rssiSlope(antenna));
        rssi[1] = CalibrationCalc::hexFields(image.rssiOffset(antenna));
    }
    fields.referenceClock = image.referenceClock();
    fields.backlight = image.backlightLevel();
    return fields;
}

std::optional<Message> CalibrationCodec::takeRssi(const CalibrationFields& fields, CalibrationImage& image) {
    bool bad = false;
    for (int antenna = 0; antenna < CalibrationImage::kAntennaCount; ++antenna) {
        const auto& rssi = fields.rssi[static_cast<std::size_t>(antenna)];
        const auto slope = CalibrationCalc::valueOf(rssi[0]);
        const auto offset = CalibrationCalc::valueOf(rssi[1]);
        bad = bad || slope.badCharacter || offset.badCharacter;
        image.setRssiSlope(antenna, static_cast<std::uint16_t>(slope.value));
        image.setRssiOffset(antenna, static_cast<std::uint16_t>(offset.value));
    }
    return bad ? std::optional(CalibrationCalc::inputError()) : std::nullopt;
}

std::optional<Message> CalibrationCodec::takeAmp(const CalibrationFields& fields, CalibrationImage& image) {
    return takeRows(fields.amp, image, &CalibrationImage::setAmpCoefficient);
}

std::optional<Message> CalibrationCodec::takeDac(const CalibrationFields& fields, CalibrationImage& image) {
    return takeRows(fields.dac, image, &CalibrationImage::setDacCoefficient);
}

} // namespace tolvan::testmode

#include "modes/test/model/calibrationcalc.h"

namespace tolvan::testmode {
namespace {

// One digit of a typed field; anything else counts as 0 and is reported.
int digitOf(QChar c, bool& bad) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    if (u >= u'A' && u <= u'F') {
        return u - u'A' + 10;
    }
    if (u >= u'a' && u <= u'f') {
        return u - u'a' + 10;
    }
    bad = true;
    return 0;
}

QString hexDigits(std::uint32_t value, int width) {
    return QStringLiteral("%1").arg(value, width, 16, QLatin1Char('0')).toUpper();
}

} // namespace

Message CalibrationCalc::inputError() {
    return errorMessage(QStringLiteral("入力ミスです。"));
}

Message CalibrationCalc::rssiCalculationError() {
    return errorMessage(QStringLiteral("計算エラー。ＲＳＳＩ値を再測定してください。"));
}

std::optional<CalibrationCalc::Number> CalibrationCalc::readNumber(const QString& field) {
    if (field.isEmpty()) {
        return std::nullopt;
    }
    Number number;
    for (const QChar c : field.left(3)) {
        number.value = number.value * 10 + digitOf(c, number.badCharacter);
    }
    return number;
}

CalibrationCalc::Hex4 CalibrationCalc::rowFields(int input) {
    // Negative inputs cannot be typed (a minus sign is a bad character); clamp rather than wrap.
    const auto v = static_cast<std::uint32_t>(input < 0 ? 0 : input) * 100u;
    const QString digits = hexDigits(v, 4).left(4);
    return {QStringLiteral("00"), QStringLiteral("00"), digits.mid(0, 2), digits.mid(2, 2)};
}

std::optional<CalibrationCalc::RowResult> CalibrationCalc::calculateRow(const QString& input) {
    const auto number = readNumber(input);
    if (!number) {
        return std::nullopt;
    }
    RowResult result{rowFields(number->value), std::nullopt};
    if (number->badCharacter) {
        result.message = inputError();
    }
    return result;
}

CalibrationCalc::Rssi CalibrationCalc::rssiCoefficients(int x50, int x20) {
    Rssi result;
    if (x50 < x20) {
        result.slope = 0xFFFF;
        result.offset = 0xFFFF;
        result.messages.append(rssiCalculationError());
        return result;
    }
    // Integer division truncates toward zero, as the handset's own calibration expects.
    result.slope = static_cast<std::uint16_t>((x50 - x20) * 100 / 30);
    result.offset = static_cast<std::uint16_t>(x50 * 100 + ((x20 - x50) * 5000) / 30);
    return result;
}

std::optional<CalibrationCalc::Rssi> CalibrationCalc::calculateRssi(const QString& x50, const QString& x20) {
    const auto high = readNumber(x50);
    const auto low = readNumber(x20);
    if (!high || !low) {
        return std::nullopt;
    }
    Rssi result = rssiCoefficients(high->value, low->value);
    if (high->badCharacter || low->badCharacter) {
        result.messages.prepend(inputError());
    }
    return result;
}

CalibrationCalc::Hex2 CalibrationCalc::hexFields(std::uint16_t value) {
    const QString digits = hexDigits(value, 4);
    return {digits.mid(0, 2), digits.mid(2, 2)};
}

CalibrationCalc::Hex4 CalibrationCalc::hexFields(std::uint32_t value) {
    const QString digits = hexDigits(value, 8);
    return {digits.mid(0, 2), digits.mid(2, 2), digits.mid(4, 2), digits.mid(6, 2)};
}

CalibrationCalc::Value CalibrationCalc::valueOf(std::span<const QString> fields) {
    Value result;
    for (const QString& field : fields) {
        int byte = 0;
        for (qsizetype i = 0; i < 2; ++i) {
            if (i >= field.size()) {
                // A field left short is a typing slip: say so rather than guess its place.
                result.badCharacter = true;
                byte *= 16;
                continue;
            }
            byte = byte * 16 + digitOf(field.at(i), result.badCharacter);
        }
        result.value = (result.value << 8) | static_cast<std::uint32_t>(byte);
    }
    return result;
}

} // namespace tolvan::testmode

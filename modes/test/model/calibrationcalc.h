#pragma once

#include "modes/test/model/calibrationfields.h"

#include "common/message.h"

#include <QList>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>

namespace tolvan::testmode {

// The coefficient calculations of the test mode and the reading of what the technician typed.
// A character that is not a digit shows "入力ミスです。" and counts as 0; one message per
// calculation or field set is enough to tell the technician.
class CalibrationCalc {
public:
    using Hex4 = CalibrationFields::Hex4;
    using Hex2 = CalibrationFields::Hex2;

    static Message inputError();
    static Message rssiCalculationError();

    // A number field: its first three characters, digit by digit in base ten, "A" to "F" (either
    // case) counting 10 to 15. Nothing for an empty field, which leaves its button without effect.
    struct Number {
        int value = 0;
        bool badCharacter = false;
    };
    static std::optional<Number> readNumber(const QString& field);

    // One DAC or amplifier bias row: input x 100 as four upper-case hex digits (the first four
    // when it has more), shown as "00", "00", digits 1-2, digits 3-4.
    static Hex4 rowFields(int input);
    struct RowResult {
        Hex4 fields;
        std::optional<Message> message;
    };
    // Nothing for an empty input field.
    static std::optional<RowResult> calculateRow(const QString& input);

    // The RSSI coefficients of one antenna from the readings at 50 dBμV and 20 dBμV.
    struct Rssi {
        std::uint16_t slope = 0;
        std::uint16_t offset = 0;
        QList<Message> messages;
    };
    static Rssi rssiCoefficients(int x50, int x20);
    // Nothing unless both fields hold text.
    static std::optional<Rssi> calculateRssi(const QString& x50, const QString& x20);

    // Values as the fields show them, most significant byte first, upper-case.
    static Hex2 hexFields(std::uint16_t value);
    static Hex4 hexFields(std::uint32_t value);

    // Fields back to a value before a write: each field's first two characters as hex digits,
    // the first field the most significant byte. A missing or bad character counts as 0 and is
    // reported.
    struct Value {
        std::uint32_t value = 0;
        bool badCharacter = false;
    };
    static Value valueOf(std::span<const QString> fields);
};

} // namespace tolvan::testmode

#pragma once

#include "modes/test/model/testslots.h"

#include <QList>
#include <QString>

#include <cstdint>

namespace tolvan::testmode {

// How the test mode screen shows results and which of its per-model and per-slot controls it
// enables; the screen and tolvan-cli show the same thing.
class TestDisplay {
public:
    // "SW　DATA": three upper-case hex digits.
    static QString switchText(std::uint16_t switchData);
    // The switch indicators a model has, each with whether its bit is set: bits 0 to 3 on every
    // model, bit 4 on handset model codes 3 and 4, bits 5 to 8 on model code 2.
    struct SwitchIndicator {
        int bit = 0;
        bool pressed = false;
        bool operator==(const SwitchIndicator&) const = default;
    };
    static QList<SwitchIndicator> switchIndicators(std::uint32_t modelCode, std::uint16_t switchData);
    // "接続マイク種別" during the user-interface test.
    static QString microphoneText();

    // Share of the battery indicator's width that is filled: voltage / 1024 (never more than
    // 1023/1024, since the reading has ten bits).
    static double batteryFraction(std::uint16_t voltage);

    static QString testRunningText();
    static QString measuringText();

    // The backlight list and its two buttons: not on a ZX-VA100.
    static bool backlightEnabled(std::uint32_t modelCode);
    // Calculate button of a coefficient row (0 to 7, two rows per slot) in the connected idle
    // state: enabled while the row's slot is "ON"; the DAC rows of slot 1 never are.
    static bool dacCalculateEnabled(int row, const SlotTable& table);
    static bool ampCalculateEnabled(int row, const SlotTable& table);
};

} // namespace tolvan::testmode

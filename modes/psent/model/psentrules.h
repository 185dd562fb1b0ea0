#pragma once

#include "modes/psent/model/psentscreenvalues.h"

#include "common/message.h"
#include "modes/dataset/model/datasetrules.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace tolvan::psent {

// The handset setting screen's rules as pure functions: which controls a model lets the user
// edit, the entry rules of the PS-ID, PS number, sliders and call number boxes, the menu
// assignment both ways and the parameter reset when a function is picked.
class PsEntRules {
public:
    using V = PsEntScreenValues;

    // PIN lists and registration: the ZX-VA100 (and a handset not yet known).
    static bool pinEnabled(std::uint32_t modelCode);
    // Menu slots, function button, emergency notice, talk button, key and button locks.
    static bool upperModelControlsEnabled(std::uint32_t modelCode);
    // Seamless handover and the two hearing lists.
    static bool hearingEnabled(std::uint32_t modelCode);
    // Manual handover and volume button lists: shown (never editable) for a ZX-VA100 only.
    static bool buttonAssignmentShown(std::uint32_t modelCode);

    static constexpr std::uint32_t kPsIdLimit = dataset::DataSetRules::kPsIdLimit;
    // Run after PS-ID box `edited` changed: empties it when the nine digits pass the limit and
    // says which box gets the focus.
    static dataset::DataSetRules::DigitEntry applyPsIdEntry(std::array<QString, 9>& boxes, int edited);
    // Run after PS number list `changed` was picked: a number above 391 gets the hundreds digit 2.
    // Returns the list that gets the focus next.
    static int applyPsNumberEntry(std::array<int, 3>& digits, int changed);

    enum class Slider { ReceiveVolume, Sidetone, MicLevel, Notification };
    static constexpr int kSliderMax = 120;
    static int sliderStep(Slider slider);
    // Where a released slider comes to rest: the nearest step, halfway going up.
    static int snapSlider(Slider slider, int position);
    static int sliderValue(Slider slider, int position);
    // The position that shows a stored value (kept on the slider's range).
    static int sliderPosition(Slider slider, int value);

    // What a call number box keeps of typed text: its digits, at most four.
    static QString callNumberInput(const QString& typed);
    // "%04d", or an empty box for 0.
    static QString callNumberText(int number);
    // The box's number; an empty box is 0.
    static int callNumberValue(const QString& text);
    // 0, 100-799 and 1000-7999.
    static bool callNumberAccepted(int number);
    // The test before a write: every number out of range becomes 100 + its slot ("%03d"); the
    // message names the first such slot only.
    static std::optional<Message> checkCallNumbers(std::array<QString, V::kCallNumbers>& boxes);

    // Slot values (function codes, slot 01 first) as the positions D5-D18 hold per function.
    static std::array<std::uint8_t, V::kMenuSlots>
    menuPositions(const std::array<int, V::kMenuSlots>& slotCodes);
    static std::array<int, V::kMenuSlots> menuSlots(std::span<const std::uint8_t, V::kMenuSlots> positions);

    // A newly picked function: its parameter reset and the parameter entry that shows it.
    static V::FunctionChoice pickFunctionButton(int index);
    static V::FunctionChoice pickRemoteKey(int index);
};

} // namespace tolvan::psent

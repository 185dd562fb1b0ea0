#include "modes/psent/model/psentrules.h"

#include "modes/psent/model/functioncodes.h"

#include <algorithm>

namespace tolvan::psent {

bool PsEntRules::pinEnabled(std::uint32_t modelCode) {
    return modelCode != 3 && modelCode != 4;
}

bool PsEntRules::upperModelControlsEnabled(std::uint32_t modelCode) {
    return modelCode != 2;
}

bool PsEntRules::hearingEnabled(std::uint32_t modelCode) {
    return modelCode == 2 || modelCode == 4;
}

bool PsEntRules::buttonAssignmentShown(std::uint32_t modelCode) {
    return modelCode == 2;
}

dataset::DataSetRules::DigitEntry PsEntRules::applyPsIdEntry(std::array<QString, 9>& boxes, int edited) {
    return dataset::DataSetRules::applyDigitEntry(boxes, edited, kPsIdLimit);
}

int PsEntRules::applyPsNumberEntry(std::array<int, 3>& digits, int changed) {
    int number = 0;
    for (const int d : digits) {
        number = number * 10 + std::max(d, 0);
    }
    if (number > 391) {
        digits[0] = 2;
    }
    return std::clamp(changed + 1, 0, 2);
}

int PsEntRules::sliderStep(Slider slider) {
    switch (slider) {
    case Slider::ReceiveVolume:
        return 60;
    case Slider::MicLevel:
        return 30;
    case Slider::Sidetone:
    case Slider::Notification:
        break;
    }
    return 40;
}

int PsEntRules::snapSlider(Slider slider, int position) {
    const int step = sliderStep(slider);
    const int clamped = std::clamp(position, 0, kSliderMax);
    return std::min((clamped + step / 2) / step * step, kSliderMax);
}

int PsEntRules::sliderValue(Slider slider, int position) {
    return std::clamp(position, 0, kSliderMax) / sliderStep(slider);
}

int PsEntRules::sliderPosition(Slider slider, int value) {
    // A file may hold any number: bounded first, so the product cannot overflow.
    return std::min(std::clamp(value, 0, kSliderMax) * sliderStep(slider), kSliderMax);
}

QString PsEntRules::callNumberInput(const QString& typed) {
    QString digits;
    for (const QChar c : typed) {
        if (c >= u'0' && c <= u'9' && digits.size() < 4) {
            digits.append(c);
        }
    }
    return digits;
}

QString PsEntRules::callNumberText(int number) {
    return number == 0 ? QString() : QStringLiteral("%1").arg(number, 4, 10, QLatin1Char('0'));
}

int PsEntRules::callNumberValue(const QString& text) {
    return callNumberInput(text).toInt();
}

bool PsEntRules::callNumberAccepted(int number) {
    return number == 0 || (number >= 100 && number <= 799) || (number >= 1000 && number <= 7999);
}

std::optional<Message> PsEntRules::checkCallNumbers(std::array<QString, V::kCallNumbers>& boxes) {
    std::optional<Message> message;
    for (int k = 1; k <= V::kCallNumbers; ++k) {
        QString& box = boxes[static_cast<std::size_t>(k - 1)];
        if (callNumberAccepted(callNumberValue(box))) {
            continue;
        }
        box = QStringLiteral("%1").arg(100 + k, 3, 10, QLatin1Char('0'));
        if (!message) {
            message = Message{
                QStringLiteral("個別通話子機番号登録"),
                QString::asprintf(
                    "No.%dの内線番号は100～799または1000～7999の範囲ではありません。\n%dに変更します。", k,
                    100 + k)};
        }
    }
    return message;
}

std::array<std::uint8_t, PsEntScreenValues::kMenuSlots>
PsEntRules::menuPositions(const std::array<int, V::kMenuSlots>& slotCodes) {
    std::array<std::uint8_t, V::kMenuSlots> positions{};
    int position = 0;
    for (const int function : slotCodes) {
        if (function < 1 || function >= FunctionCodes::kCount) {
            continue; // "なし" or nothing chosen: the gap closes
        }
        // A function in two slots ends at the later position.
        positions[static_cast<std::size_t>(function - 1)] = static_cast<std::uint8_t>(++position);
    }
    return positions;
}

std::array<int, PsEntScreenValues::kMenuSlots>
PsEntRules::menuSlots(std::span<const std::uint8_t, V::kMenuSlots> positions) {
    std::array<int, V::kMenuSlots> slotCodes{};
    for (int function = 1; function <= V::kMenuSlots; ++function) {
        const int position = positions[static_cast<std::size_t>(function - 1)];
        if (position >= 1 && position <= V::kMenuSlots) {
            slotCodes[static_cast<std::size_t>(position - 1)] = function;
        }
    }
    return slotCodes;
}

PsEntScreenValues::FunctionChoice PsEntRules::pickFunctionButton(int index) {
    const int code = FunctionCodes::functionButtonCode(index);
    if (code == FunctionCodes::kNone) {
        return {};
    }
    return {index, FunctionCodes::parameterIndex(code, FunctionCodes::resetParameter(code))};
}

PsEntScreenValues::FunctionChoice PsEntRules::pickRemoteKey(int index) {
    const int code = FunctionCodes::remoteKeyCode(index);
    if (code == FunctionCodes::kNone) {
        return {};
    }
    return {index, FunctionCodes::parameterIndex(code, FunctionCodes::resetParameter(code))};
}

} // namespace tolvan::psent

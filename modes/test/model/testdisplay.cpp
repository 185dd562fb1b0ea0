#include "modes/test/model/testdisplay.h"

#include <algorithm>

namespace tolvan::testmode {
namespace {

bool slotOfRowOn(int row, const SlotTable& table) {
    const int slot = row / 2;
    return row >= 0 && slot < SlotTable::kSlotCount && table.columns[static_cast<std::size_t>(slot)].on;
}

} // namespace

QString TestDisplay::switchText(std::uint16_t switchData) {
    return QStringLiteral("%1").arg(switchData, 3, 16, QLatin1Char('0')).toUpper();
}

QList<TestDisplay::SwitchIndicator> TestDisplay::switchIndicators(std::uint32_t modelCode,
                                                                  std::uint16_t switchData) {
    QList<int> bits{0, 1, 2, 3};
    if (modelCode == 3 || modelCode == 4) {
        bits << 4;
    } else if (modelCode == 2) {
        bits << 5 << 6 << 7 << 8;
    }
    QList<SwitchIndicator> indicators;
    for (const int bit : bits) {
        indicators.append({bit, (switchData >> bit & 1) != 0});
    }
    return indicators;
}

QString TestDisplay::microphoneText() {
    return QStringLiteral("接続なし");
}

double TestDisplay::batteryFraction(std::uint16_t voltage) {
    return static_cast<double>(std::min<std::uint16_t>(voltage, 1023)) / 1024.0;
}

QString TestDisplay::testRunningText() {
    return QStringLiteral("テスト実行中");
}

QString TestDisplay::measuringText() {
    return QStringLiteral("測定実行中");
}

bool TestDisplay::backlightEnabled(std::uint32_t modelCode) {
    return modelCode != 2;
}

bool TestDisplay::dacCalculateEnabled(int row, const SlotTable& table) {
    return row >= 2 && slotOfRowOn(row, table);
}

bool TestDisplay::ampCalculateEnabled(int row, const SlotTable& table) {
    return slotOfRowOn(row, table);
}

} // namespace tolvan::testmode

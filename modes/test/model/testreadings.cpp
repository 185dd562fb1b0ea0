#include "modes/test/model/testreadings.h"

#include "modes/test/model/testdisplay.h"

#include <QStringList>

namespace tolvan::testmode {
namespace {

template <typename T> void take(std::optional<T>& reading, const std::optional<T>& update) {
    if (update) {
        reading = update;
    }
}

} // namespace

void TestReadings::apply(const TestResultUpdate& update) {
    take(rssi, update.rssi);
    take(fer, update.fer);
    take(switchData, update.switchData);
    take(measuredValue, update.measuredValue);
    take(batteryVoltage, update.batteryVoltage);
    take(batteryState, update.batteryState);
}

QString TestReadings::resultLine() const {
    QStringList fields;
    auto add = [&fields](const char* key, const auto& reading) {
        if (reading) {
            fields << QLatin1String(key) + QLatin1Char('=') + QString::number(*reading);
        }
    };
    add("rssi", rssi);
    add("fer", fer);
    if (switchData) {
        fields << QStringLiteral("switches=") + TestDisplay::switchText(*switchData);
    }
    add("value", measuredValue);
    add("battery_voltage", batteryVoltage);
    add("battery_state", batteryState);
    return fields.join(QLatin1Char('\t'));
}

} // namespace tolvan::testmode

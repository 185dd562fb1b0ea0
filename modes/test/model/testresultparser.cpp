#include "modes/test/model/testresultparser.h"

#include "modes/test/model/testoperations.h"

#include "link/core/linkstate.h"

namespace tolvan::testmode {
namespace {

constexpr std::size_t kDataOffset = 4; // after STX, class byte, status and item
constexpr std::size_t kSlotBlockBytes = 6;

// The data bytes of a result; a layout reads only inside them.
class ResultData {
public:
    explicit ResultData(std::span<const std::uint8_t> unit)
        : m_data(unit.size() >= kDataOffset + 2 ? unit.subspan(kDataOffset, unit.size() - kDataOffset - 2)
                                                : std::span<const std::uint8_t>{}) {}

    bool holds(std::size_t count) const { return m_data.size() >= count; }
    std::uint8_t at(std::size_t i) const { return m_data[i]; }
    bool inRange(std::size_t i, std::uint8_t first, std::uint8_t last) const {
        return m_data[i] >= first && m_data[i] <= last;
    }
    // Bits 0 to 6 in one byte and bit 7 in the next.
    std::uint8_t split8(std::size_t i) const {
        return static_cast<std::uint8_t>((m_data[i] & 0x7F) | ((m_data[i + 1] & 0x01) << 7));
    }
    // The receive and measurement header: 0, channel, output control (two), selection.
    bool headerInRange() const { return inRange(1, 1, 77) && inRange(4, 0, 1); }
    bool slotBlocksInRange(std::size_t first) const {
        for (std::size_t b = first; b < first + 4 * kSlotBlockBytes; b += kSlotBlockBytes) {
            if (!inRange(b, 0, 1) || !inRange(b + 1, 1, 77) || !inRange(b + 4, 0, 1) ||
                !inRange(b + 5, 0, 1)) {
                return false;
            }
        }
        return true;
    }

private:
    std::span<const std::uint8_t> m_data;
};

TestResultUpdate refused() {
    TestResultUpdate update;
    update.resultClass = link::rc::kDataError;
    return update;
}

std::optional<TestEvent> eventWhile(std::uint32_t operationId, std::uint32_t wanted, TestEvent event) {
    return operationId == wanted ? std::optional(event) : std::nullopt;
}

TestResultUpdate testResult(std::uint8_t item, const ResultData& d, std::uint32_t operationId) {
    TestResultUpdate update;
    switch (item) {
    case 1:
        if (!d.holds(10) || !d.headerInRange() || !d.inRange(9, 0, 1)) {
            return refused();
        }
        update.rssi = d.split8(5);
        update.fer = d.split8(7);
        update.event = eventWhile(operationId, op::kReceiveTest, TestEvent::RssiFer);
        break;
    case 2:
        if (!d.holds(29) || !d.inRange(0, 0, 3) || !d.slotBlocksInRange(1)) {
            return refused();
        }
        update.rssi = d.split8(25);
        update.fer = d.split8(27);
        update.event = eventWhile(operationId, op::kBurstReceiveTest, TestEvent::RssiFer);
        break;
    case 7: {
        if (!d.holds(4)) {
            return refused();
        }
        std::uint16_t switches = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            switches = static_cast<std::uint16_t>(switches | ((d.at(i) & 0x0F) << (4 * i)));
        }
        update.switchData = switches;
        update.event = eventWhile(operationId, op::kButtonsTest, TestEvent::Switches);
        break;
    }
    default:
        break; // transmit tests and the stop confirmation carry nothing the tool keeps
    }
    return update;
}

TestResultUpdate measurementResult(std::uint8_t item, const ResultData& d, std::uint32_t operationId) {
    TestResultUpdate update;
    switch (item) {
    case 1:
    case 2:
    case 4:
    case 6:
    case 7:
        if (!d.holds(8) || !d.headerInRange() || !d.inRange(7, 0, 1)) {
            return refused();
        }
        update.measuredValue = d.split8(5);
        if (item == 4) {
            update.event = eventWhile(operationId, op::kRssiGainMeasure, TestEvent::MeasuredValue);
        }
        break;
    case 3:
    case 8:
        if (!d.holds(4 * kSlotBlockBytes) || !d.slotBlocksInRange(0)) {
            return refused();
        }
        break;
    case 5:
        if (!d.holds(2)) {
            return refused();
        }
        update.batteryVoltage = static_cast<std::uint16_t>((d.at(0) & 0x7F) | ((d.at(1) & 0x07) << 7));
        update.event = eventWhile(operationId, op::kBatteryVoltageMeasure, TestEvent::BatteryVoltage);
        break;
    default:
        break;
    }
    return update;
}

} // namespace

TestResultUpdate TestResultParser::parse(std::span<const std::uint8_t> unit, std::uint32_t operationId) {
    const std::uint8_t classByte = link::unitByte(unit, 1);
    if (classByte != 0x50 && classByte != 0x60) {
        return {};
    }
    TestResultUpdate update;
    switch (link::unitByte(unit, 2)) {
    case 0x01:
        break;
    case 0x10:
        update.resultClass = link::rc::kStatus10;
        return update;
    case 0x20:
        update.resultClass = link::rc::kBatteryEmpty;
        return update;
    case 0x30:
        update.resultClass = link::rc::kStatus30;
        return update;
    default:
        update.resultClass = link::rc::kCommandError;
        return update;
    }
    const std::uint8_t item = link::unitByte(unit, 3);
    const ResultData data(unit);
    return classByte == 0x50 ? testResult(item, data, operationId)
                             : measurementResult(item, data, operationId);
}

TestResultUpdate TestResultParser::batteryState(std::uint8_t value) {
    TestResultUpdate update;
    update.batteryState = value;
    update.event = TestEvent::BatteryState;
    return update;
}

} // namespace tolvan::testmode

#include "link/core/receiver.h"

namespace tolvan::link {
namespace {

bool fail(LinkState& state, std::uint8_t resultClass) {
    state.resultClass = resultClass;
    return false;
}

bool statusResponse(LinkState& state, std::uint8_t status) {
    switch (status) {
    case 0x01:
        state.resultClass = rc::kAccepted;
        return true;
    case 0x20:
        return fail(state, rc::kBatteryEmpty);
    case 0x30:
        return fail(state, rc::kStatus30);
    case 0x50:
        return fail(state, rc::kStatus50);
    default:
        return fail(state, rc::kCommandError);
    }
}

// Class 0x50 and 0x60 results, and the two data responses redirected to them.
bool testResponse(LinkState& state, ResponseSink& sink, std::span<const std::uint8_t> unit) {
    const std::uint8_t status = unitByte(unit, 2);
    switch (status) {
    case 0x01:
        state.resultClass = rc::kAccepted;
        if (const auto replaced = sink.testResult(unit[1], unitByte(unit, 3), unit)) {
            state.resultClass = *replaced;
        }
        return true;
    case 0x10:
        return fail(state, rc::kStatus10);
    case 0x20:
        return fail(state, rc::kBatteryEmpty);
    case 0x30:
        return fail(state, rc::kStatus30);
    default:
        return fail(state, rc::kCommandError);
    }
}

bool dataResponse(LinkState& state, ResponseSink& sink, std::span<const std::uint8_t> unit) {
    const std::uint8_t status = unitByte(unit, 2);
    const std::uint8_t group = unitByte(unit, 3);
    const std::uint8_t item = unitByte(unit, 4);
    const bool redirected = group == 0x1C || (group == 0x1B && item == 2);
    if (redirected) {
        if (status != 0x00) {
            return testResponse(state, sink, unit);
        }
        if (group == 0x1C) {
            sink.settingRedirect(unitByte(unit, 5));
            state.resultClass = rc::kDataReceived;
        } else {
            sink.testRedirect(unitByte(unit, 5));
        }
        return true;
    }
    switch (status) {
    case 0x00:
        state.resultClass = rc::kDataReceived;
        break;
    case 0x01:
        state.resultClass = rc::kAccepted;
        break;
    case 0x10:
        return fail(state, rc::kStatus10);
    case 0x20:
        return fail(state, rc::kBatteryEmpty);
    default:
        return fail(state, rc::kCommandError);
    }
    const auto code = static_cast<std::uint16_t>((group << 8) | item);
    if (status == 0x00 && unit.size() == 7 && isDataWriteCommand(code)) {
        // Write echo: the handset repeats the write command's code with no data.
        sink.writeEchoed(code);
        return true;
    }
    if (!isParsedDataItem(group, item)) {
        return fail(state, rc::kCommandError);
    }
    // Data from byte 5 up to the byte before ETX.
    const std::span<const std::uint8_t> data =
        unit.size() > 7 ? unit.subspan(5, unit.size() - 7) : std::span<const std::uint8_t>{};
    if (const auto replaced = sink.dataResponse(group, item, data)) {
        state.resultClass = *replaced;
    }
    return true;
}

bool registrationResponse(LinkState& state, ResponseSink& sink, std::span<const std::uint8_t> unit) {
    state.registrationAnswerFlag = 1;
    const std::uint8_t status = unitByte(unit, 2);
    const std::uint8_t detail[] = {unitByte(unit, 3), unitByte(unit, 4), unitByte(unit, 5)};
    switch (status) {
    case 0x00:
        state.resultClass = rc::kDataReceived;
        state.registrationAccepted = true;
        return true;
    case 0x01:
        if (state.resultClass == rc::kAccepted || state.resultClass == rc::kRetryFailure) {
            state.resultClass = rc::kAccepted;
            sink.registrationAnswer(status, {});
        }
        return true;
    case 0x10:
        state.resultClass = rc::kDataReceived;
        sink.registrationAnswer(status, detail);
        return true;
    case 0x30:
        state.resultClass = rc::kStatus30;
        sink.registrationAnswer(status, detail);
        return true;
    case 0x40:
        state.resultClass = rc::kDataReceived;
        sink.registrationAnswer(status, {});
        return true;
    case 0x20:
        return fail(state, rc::kBatteryEmpty);
    default:
        return fail(state, rc::kCommandError);
    }
}

} // namespace

bool validateUnit(LinkState& state, ResponseSink& sink) {
    const std::size_t len = state.receiveLength;
    std::uint8_t* buf = state.receiveBuffer.data();
    if (len == 0) {
        return fail(state, rc::kStxEtxError);
    }
    if (len == 1) {
        if (buf[0] == kAck || buf[0] == kNak) {
            return true;
        }
        return fail(state, rc::kCommandError);
    }
    if (buf[0] != kStx || buf[len - 2] != kEtx) {
        return fail(state, rc::kStxEtxError);
    }
    if (checkByte({buf, len}, static_cast<std::uint8_t>(len - 1)) != buf[len - 1]) {
        return fail(state, rc::kCheckByteError);
    }
    for (std::size_t i = 2; i + 2 < len; ++i) {
        buf[i] = static_cast<std::uint8_t>(buf[i] - kBodyOffset);
    }
    const std::span<const std::uint8_t> unit{buf, len};
    switch (buf[1]) {
    case 0x20:
        return statusResponse(state, unitByte(unit, 2));
    case 0x30:
        return dataResponse(state, sink, unit);
    case 0x40:
        return registrationResponse(state, sink, unit);
    case 0x50:
    case 0x60:
        return testResponse(state, sink, unit);
    case 0x71: {
        const std::uint8_t model = unitByte(unit, 2);
        if (model >= kModelVa100 && model <= kModelVa150C) {
            state.modelCode = model;
            state.resultClass = rc::kAccepted;
            return true;
        }
        return fail(state, rc::kDataError);
    }
    default:
        return fail(state, rc::kCommandError);
    }
}

} // namespace tolvan::link

#pragma once

#include "link/core/linkstate.h"

#include <cstdint>
#include <optional>
#include <span>

namespace tolvan::link {

// Where the receiver hands the contents of validated responses. The modes' parsers implement it;
// the link never includes a mode. Every span is decoded (0x20 already subtracted).
class ResponseSink {
public:
    virtual ~ResponseSink() = default;
    // Data response (status 0 or 1) of a group and item that has a parser; data is byte 5 up to
    // the byte before ETX. Return a result class to replace the receiver's (4 for data out of
    // range), or nothing to keep it.
    virtual std::optional<std::uint8_t> dataResponse(std::uint8_t group, std::uint8_t item,
                                                     std::span<const std::uint8_t> data) = 0;
    // Class 0x50 or 0x60 result with status 1; item is byte 3, unit the whole decoded unit.
    // Return a result class to replace the receiver's (4 for a result out of range), or nothing.
    virtual std::optional<std::uint8_t> testResult(std::uint8_t classByte, std::uint8_t item,
                                                   std::span<const std::uint8_t> unit) = 0;
    // Group 0x1C data response with status 0: byte 5 is for the data setting mode.
    virtual void settingRedirect(std::uint8_t value) = 0;
    // Group 0x1B item 2 data response with status 0: byte 5 is for the test mode.
    virtual void testRedirect(std::uint8_t value) = 0;
    // Registration answers the registration mode is told of (status 1, 0x10, 0x30, 0x40);
    // detail holds bytes 3 to 5 for status 0x10 and 0x30, and is empty otherwise.
    virtual void registrationAnswer(std::uint8_t status, std::span<const std::uint8_t> detail) = 0;
    // The echo of a class 0x30 write command (its code): the handset took the write.
    virtual void writeEchoed(std::uint16_t /*writeCode*/) {}
};

// A sink that stores nothing; responses are still validated and classified.
class NullResponseSink : public ResponseSink {
public:
    std::optional<std::uint8_t> dataResponse(std::uint8_t, std::uint8_t,
                                             std::span<const std::uint8_t>) override {
        return std::nullopt;
    }
    std::optional<std::uint8_t> testResult(std::uint8_t, std::uint8_t,
                                           std::span<const std::uint8_t>) override {
        return std::nullopt;
    }
    void settingRedirect(std::uint8_t) override {}
    void testRedirect(std::uint8_t) override {}
    void registrationAnswer(std::uint8_t, std::span<const std::uint8_t>) override {}
};

// Validates and classifies the unit in state.receiveBuffer (state.receiveLength bytes): sets the
// result class, decodes a frame in place, stores the model code, raises the registration flags
// and runs the sink. Returns true on success; byte 0 then tells ACK, NAK or frame.
bool validateUnit(LinkState& state, ResponseSink& sink);

} // namespace tolvan::link

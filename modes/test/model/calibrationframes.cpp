#include "modes/test/model/calibrationframes.h"

#include "handset/writefields.h"
#include "modes/test/model/testoperations.h"

#include <array>

namespace tolvan::testmode {
namespace {

using handset::appendCoefficient16;
using handset::appendCoefficients32;
using link::Bytes;

std::uint8_t nibble(std::uint8_t b) {
    return link::encodeNibble(b);
}

void appendNibbles(Bytes& out, std::span<const std::uint8_t> stored) {
    for (const std::uint8_t b : stored) {
        out.push_back(nibble(b));
    }
}

Bytes rssiPayload(const CalibrationImage& image) {
    const std::span<const std::uint8_t> r(image.rssi);
    Bytes out;
    appendCoefficient16(out, r.subspan(0, 3));
    appendCoefficient16(out, r.subspan(3, 3));
    // C and D are signed bytes: value + 0x20 wraps exactly as the receiver unwraps it.
    out.push_back(link::encodeSmall(r[6]));
    out.push_back(link::encodeSmall(r[7]));
    appendCoefficient16(out, r.subspan(8, 3));
    appendCoefficient16(out, r.subspan(11, 3));
    return out;
}

constexpr std::array<std::uint16_t, 5> kImageCodes{0x0002, 0x0003, 0x0005, op::kWriteReferenceClock,
                                                   op::kWriteBacklight};

} // namespace

std::span<const std::uint16_t> CalibrationFrames::imageCodes() {
    return kImageCodes;
}

link::Bytes CalibrationFrames::payload(std::uint16_t code, const CalibrationImage& image) {
    Bytes out;
    switch (code) {
    case 0x0002:
        appendNibbles(out, std::span(image.dac).first(4)); // A and B, low nibble first
        appendCoefficients32(out, std::span(image.dac).subspan(4));
        break;
    case 0x0003:
        out = rssiPayload(image);
        break;
    case 0x0005:
        appendCoefficients32(out, image.ampBias);
        break;
    case op::kWriteReferenceClock:
        link::appendNibblePair(out, image.referenceClock());
        break;
    case op::kWriteBacklight:
        link::appendNibblePair(out, image.backlightLevel());
        break;
    default:
        break;
    }
    return out;
}

link::Bytes CalibrationFrames::frame(std::uint16_t code, const CalibrationImage& image) {
    const Bytes body = payload(code, image);
    return body.empty() ? Bytes{} : link::buildDataFrame(code, body);
}

bool CalibrationFrames::fillRequestBuffer(std::uint16_t code, const CalibrationImage& image,
                                          link::RequestBuffers& buffers) {
    const Bytes built = frame(code, image);
    return !built.empty() && buffers.set(code, built);
}

std::optional<link::Bytes> CalibrationFrames::bbicRegisterFrame(std::uint16_t address, std::uint8_t data) {
    if (address > kLastBbicAddress) {
        return std::nullopt;
    }
    Bytes body{nibble(static_cast<std::uint8_t>(address)), nibble(static_cast<std::uint8_t>(address >> 4)),
               nibble(static_cast<std::uint8_t>(address >> 8)), link::encodeSmall(0)};
    link::appendNibblePair(body, data);
    return link::buildDataFrame(op::kWriteBbicRegister, body);
}

} // namespace tolvan::testmode

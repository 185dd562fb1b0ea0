#include "modes/dataset/model/systemparamframes.h"

#include "handset/writefields.h"
#include "modes/dataset/model/datasetcodec.h"

#include <array>

namespace tolvan::dataset {
namespace {

using handset::appendCoefficient16;
using handset::appendCoefficients32;
using link::Bytes;
// One 7-bit group; the stored byte's eighth bit stays in the image.
constexpr auto group = handset::encodeGroup;

// A stored byte as it travels: value + 0x20, wrapping exactly as the receiver unwraps it.
std::uint8_t whole(std::uint8_t b) {
    return link::encodeSmall(b);
}

std::uint8_t nibble(std::uint8_t b) {
    return link::encodeNibble(b);
}

Bytes versionPayload(const SystemParamImage& image) {
    // The low four bits of byte 8 carry the fourth version box, which shows the last digit of
    // the minor version.
    const int fourth = DataSetCodec::versionDigits(image.version[1])[1].toInt();
    const auto byte8 = static_cast<std::uint8_t>((image.version[3] & 0xF0) | (fourth & 0x0F));
    return {whole(0), whole(0), whole(image.version[2]), whole(byte8)};
}

Bytes levelsPayload(const SystemParamImage& image) {
    const auto& l = image.levels;
    return {whole(l[0]), whole(l[1]), whole(l[2]), whole(l[3]), whole(l[4]), group(l[5]), whole(l[6])};
}

Bytes systemCallPayload(const SystemParamImage& image) {
    const auto& s = image.systemCall;
    return {group(s[0]), group(s[1]), group(s[2]), group(s[3]), whole(s[4]), group(s[5]), whole(s[6])};
}

Bytes groupBytes(std::span<const std::uint8_t> ids) {
    Bytes out;
    for (const std::uint8_t b : ids) {
        out.push_back(group(b));
    }
    return out;
}

Bytes wholeBytes(std::span<const std::uint8_t> stored) {
    Bytes out;
    for (const std::uint8_t b : stored) {
        out.push_back(whole(b));
    }
    return out;
}

Bytes dacPayload(const SystemParamImage& image) {
    Bytes out;
    for (std::size_t i = 0; i < 4; ++i) {
        out.push_back(nibble(image.dac[i])); // prefix bytes A and B, low nibble first
    }
    appendCoefficients32(out, std::span(image.dac).subspan(4));
    return out;
}

Bytes rssiPayload(const SystemParamImage& image) {
    const std::span<const std::uint8_t> r(image.rssi);
    Bytes out;
    appendCoefficient16(out, r.subspan(0, 3));
    appendCoefficient16(out, r.subspan(3, 3));
    out.push_back(whole(r[6])); // C and D are signed bytes sent as they came
    out.push_back(whole(r[7]));
    appendCoefficient16(out, r.subspan(8, 3));
    appendCoefficient16(out, r.subspan(11, 3));
    return out;
}

Bytes otherParamsPayload(const SystemParamImage& image) {
    Bytes out;
    for (std::size_t i = 0; i < image.otherParams.size(); ++i) {
        // D1, D2 and D8 to D12 travel as their low four bits only.
        const bool lowNibble = i <= 1 || (i >= 7 && i <= 11);
        out.push_back(lowNibble ? nibble(image.otherParams[i]) : whole(image.otherParams[i]));
    }
    return out;
}

constexpr std::array<std::uint16_t, 15> kWriteCodes{0x0201, 0x0401, 0x0402, 0x0403, 0x0404,
                                                    0x0405, 0x0406, 0x0001, 0x0002, 0x0003,
                                                    0x0008, 0x0005, 0x0102, 0x0C01, 0x0B01};

} // namespace

std::span<const std::uint16_t> SystemParamFrames::writeCodes() {
    return kWriteCodes;
}

link::Bytes SystemParamFrames::payload(std::uint16_t code, const SystemParamImage& image) {
    switch (code) {
    case 0x0201:
        return groupBytes(image.psId);
    case 0x0401:
        return levelsPayload(image);
    case 0x0402:
        return systemCallPayload(image);
    case 0x0403:
        return {nibble(image.area[0]), whole(image.area[1])};
    case 0x0404:
        return groupBytes(std::span(image.additionalIds).first(8));
    case 0x0405:
        return groupBytes(std::span(image.additionalIds).last(8));
    case 0x0406:
        return wholeBytes(image.channel);
    case 0x0001:
        return versionPayload(image);
    case 0x0002:
        return dacPayload(image);
    case 0x0003:
        return rssiPayload(image);
    case 0x0005: {
        Bytes out;
        appendCoefficients32(out, image.ampBias);
        return out;
    }
    case 0x0008:
        return {whole(image.gain[0]), whole(image.gain[1]), whole(image.gain[2]), whole(0), whole(0)};
    case 0x0102:
        return otherParamsPayload(image);
    case 0x0C01:
        return {whole(image.accessory)};
    case 0x0B01:
        return wholeBytes(image.faultCode);
    default:
        return {};
    }
}

link::Bytes SystemParamFrames::frame(std::uint16_t code, const SystemParamImage& image) {
    const Bytes body = payload(code, image);
    if (body.empty()) {
        return {};
    }
    return link::buildDataFrame(code, body);
}

bool SystemParamFrames::fillRequestBuffers(const SystemParamImage& image, link::RequestBuffers& buffers) {
    for (const std::uint16_t code : kWriteCodes) {
        if (!buffers.set(code, frame(code, image))) {
            return false;
        }
    }
    return true;
}

} // namespace tolvan::dataset

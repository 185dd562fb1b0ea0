#include "modes/psent/model/psentframes.h"

#include "modes/dataset/model/systemparamframes.h"

#include <array>

namespace tolvan::psent {
namespace {

using link::Bytes;

Bytes wholeBytes(std::span<const std::uint8_t> stored) {
    Bytes out;
    for (const std::uint8_t b : stored) {
        out.push_back(link::encodeSmall(b));
    }
    return out;
}

constexpr auto kWriteCodes =
    std::to_array<std::uint16_t>({0x0102, 0x0104, 0x0105, 0x0106, 0x0107, 0x0108, 0x0109, 0x010A, 0x0003,
                                  0x0008, 0x0201, 0x0301, 0x0302, 0x0406, 0x0407});

} // namespace

std::span<const std::uint16_t> PsEntFrames::writeCodes() {
    return kWriteCodes;
}

link::Bytes PsEntFrames::payload(std::uint16_t code, const HandsetSettingImage& image,
                                 const dataset::SystemParamImage& system) {
    switch (code) {
    case 0x0102:
    case 0x0008:
    case 0x0201: {
        // The blocks both views hold, taken from this mode's view.
        dataset::SystemParamImage shared = system;
        shared.otherParams = image.otherParams;
        shared.gain = image.buttons;
        shared.psId = image.psId;
        return dataset::SystemParamFrames::payload(code, shared);
    }
    case 0x0003:
    case 0x0406:
        return dataset::SystemParamFrames::payload(code, system);
    case 0x0104:
    case 0x0105:
    case 0x0106:
    case 0x0107:
    case 0x0108:
    case 0x0109:
    case 0x010A:
    case 0x0301:
    case 0x0302:
    case 0x0407:
        return wholeBytes(image.block(static_cast<std::uint16_t>(code | 0x1000)));
    default:
        return {};
    }
}

link::Bytes PsEntFrames::frame(std::uint16_t code, const HandsetSettingImage& image,
                               const dataset::SystemParamImage& system) {
    const Bytes body = payload(code, image, system);
    if (body.empty()) {
        return {};
    }
    return link::buildDataFrame(code, body);
}

bool PsEntFrames::fillRequestBuffers(const HandsetSettingImage& image,
                                     const dataset::SystemParamImage& system, link::RequestBuffers& buffers) {
    for (const std::uint16_t code : kWriteCodes) {
        if (!buffers.set(code, frame(code, image, system))) {
            return false;
        }
    }
    return true;
}

bool PsEntFrames::fillRequestBuffers(const handset::HandsetBlocks& store, link::RequestBuffers& buffers) {
    return fillRequestBuffers(HandsetSettingImage::fromStore(store),
                              dataset::SystemParamImage::fromStore(store), buffers);
}

} // namespace tolvan::psent

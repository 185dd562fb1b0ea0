#pragma once

// Handset answers fed through the real receiver into a store, as the test mode meets them.
#include "handset/storesink.h"
#include "link/core/receiver.h"

#include <algorithm>

namespace tolvan::testmode::testing {

using link::Bytes;

inline Bytes plus20(const Bytes& decoded) {
    Bytes out;
    for (const std::uint8_t b : decoded) {
        out.push_back(static_cast<std::uint8_t>(b + 0x20));
    }
    return out;
}

// A frame of any class whose body is given decoded (status, item and data).
inline Bytes answer(std::uint8_t classByte, const Bytes& decodedBody) {
    return link::buildFrame(classByte, plus20(decodedBody));
}

inline Bytes dataResponse(std::uint16_t code, const Bytes& data) {
    Bytes body{0x00, static_cast<std::uint8_t>(code >> 8), static_cast<std::uint8_t>(code & 0xFF)};
    body.insert(body.end(), data.begin(), data.end());
    return answer(0x30, body);
}

// Runs one frame through validation into the store; the link state keeps its result class.
inline bool receive(link::LinkState& state, handset::HandsetStore& store, const Bytes& frame) {
    handset::StoreSink sink(store);
    std::copy(frame.begin(), frame.end(), state.receiveBuffer.begin());
    state.receiveLength = frame.size();
    return link::validateUnit(state, sink);
}

} // namespace tolvan::testmode::testing

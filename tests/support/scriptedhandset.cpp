#include "tests/support/scriptedhandset.h"

namespace tolvan::test {

using link::Bytes;

Bytes ScriptedHandset::statusAnswer(std::uint8_t status) {
    const std::uint8_t body[] = {static_cast<std::uint8_t>(status + 0x20)};
    return link::buildFrame(0x20, body);
}

Bytes ScriptedHandset::modelAnswer(std::uint8_t model) {
    const std::uint8_t body[] = {static_cast<std::uint8_t>(model + 0x20)};
    return link::buildFrame(0x71, body);
}

Bytes ScriptedHandset::dataResponse(std::uint16_t code, const Bytes& decoded, std::uint8_t status) {
    Bytes body{static_cast<std::uint8_t>(status + 0x20), static_cast<std::uint8_t>((code >> 8) + 0x20),
               static_cast<std::uint8_t>((code & 0xFF) + 0x20)};
    for (const std::uint8_t b : decoded) {
        body.push_back(static_cast<std::uint8_t>(b + 0x20));
    }
    return link::buildFrame(0x30, body);
}

Bytes ScriptedHandset::dueFrame() const {
    switch (m_due) {
    case Due::Model:
        return modelAnswer(m_model);
    case Due::Data: {
        const auto it = data.find(m_dueCode);
        return dataResponse(m_dueCode, it == data.end() ? Bytes(4, 0) : it->second);
    }
    case Due::Echo:
        return dataResponse(m_dueCode, {});
    case Due::Status:
        break;
    }
    return statusAnswer();
}

void ScriptedHandset::received(const Bytes& bytes, VirtualLink& link) {
    const int index = m_index++;
    if (override) {
        if (auto replies = override(bytes, index)) {
            for (auto& r : *replies) {
                link.deliverLater(std::move(r.bytes), r.delayMs);
            }
            return;
        }
    }
    if (bytes.size() < 4 || bytes[0] != link::kStx) {
        return;
    }
    const std::uint8_t cls = bytes[1];
    Bytes reply{link::kAck};
    switch (cls) {
    case 0x20:
    case 0x21:
        m_due = Due::Status;
        break;
    case 0x70: {
        reply = dueFrame();
        m_due = Due::Status; // after the answer only keep-alive status is due
        break;
    }
    case 0x71:
        m_due = Due::Model;
        break;
    case 0x30:
        if (bytes.size() >= 6) {
            m_dueCode = static_cast<std::uint16_t>(((bytes[2] - 0x20) << 8) | (bytes[3] - 0x20));
            m_due = (m_dueCode >> 8) >= 0x10 ? Due::Data : Due::Echo;
        } else {
            m_due = Due::Status; // buffer clear: ACK alone
        }
        break;
    default:
        m_due = Due::Status;
        break;
    }
    if (splitGapMs > 0 && reply.size() > 1) {
        const auto half = static_cast<std::ptrdiff_t>(reply.size() / 2);
        link.deliverLater(Bytes(reply.begin(), reply.begin() + half), answerDelayMs);
        link.deliverLater(Bytes(reply.begin() + half, reply.end()), answerDelayMs + splitGapMs);
        return;
    }
    link.deliverLater(std::move(reply), answerDelayMs);
}

} // namespace tolvan::test

#include "tests/support/virtuallink.h"

#include "link/core/catalogue.h"
#include "modes/modeoperations.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace tolvan::test {

VirtualLink::VirtualLink() : VirtualLink(modeOperations()) {}

VirtualLink::VirtualLink(link::OperationTable operations) : m_engine(*this, std::move(operations)) {
    m_engine.portAttached();
}

void VirtualLink::deliverLater(link::Bytes bytes, std::int64_t delayMs) {
    m_deliveries.push_back({m_now + delayMs, m_seq++, std::move(bytes)});
}

bool VirtualLink::write(std::span<const std::uint8_t> bytes) {
    if (failWrites) {
        return false;
    }
    link::Bytes copy(bytes.begin(), bytes.end());
    sent.push_back({m_now, copy});
    if (m_peer) {
        m_peer->received(copy, *this);
    }
    return true;
}

void VirtualLink::startTimer(link::LinkTimer timer, int ms) {
    m_timers[index(timer)] = m_now + ms;
    m_periods[index(timer)] = ms;
}

void VirtualLink::stopTimer(link::LinkTimer timer) {
    m_timers[index(timer)].reset();
}

bool VirtualLink::step(std::int64_t limit) {
    // Earliest event: a delivery, the splitter's inter-byte deadline, then the two timers.
    std::optional<std::int64_t> next;
    auto consider = [&](std::optional<std::int64_t> t) {
        if (t && (!next || *t < *next)) {
            next = t;
        }
    };
    auto firstDelivery =
        std::min_element(m_deliveries.begin(), m_deliveries.end(), [](const auto& a, const auto& b) {
            return a.at != b.at ? a.at < b.at : a.seq < b.seq;
        });
    if (firstDelivery != m_deliveries.end()) {
        consider(firstDelivery->at);
    }
    consider(m_splitter.deadline());
    for (const auto& due : m_timers) {
        consider(due);
    }
    if (!next || *next > limit) {
        return false;
    }
    m_now = std::max(m_now, *next);
    if (firstDelivery != m_deliveries.end() && firstDelivery->at <= m_now) {
        const link::Bytes bytes = std::move(firstDelivery->bytes);
        m_deliveries.erase(firstDelivery);
        std::vector<link::Bytes> units;
        m_splitter.feed(bytes, m_now, units);
        for (const auto& unit : units) {
            m_engine.receiveUnit(unit);
        }
        return true;
    }
    if (const auto d = m_splitter.deadline(); d && *d <= m_now) {
        std::vector<link::Bytes> units;
        m_splitter.expire(m_now, units);
        for (const auto& unit : units) {
            m_engine.receiveUnit(unit);
        }
        return true;
    }
    for (const link::LinkTimer timer :
         {link::LinkTimer::Response, link::LinkTimer::ClosePause, link::LinkTimer::Watchdog}) {
        auto& due = m_timers[index(timer)];
        if (due && *due <= m_now) {
            due = m_now + m_periods[index(timer)]; // periodic until stopped
            m_engine.timerFired(timer);
            return true;
        }
    }
    return true;
}

bool VirtualLink::runUntil(const std::function<bool()>& pred, std::int64_t limitMs) {
    const std::int64_t limit = m_now + limitMs;
    while (!pred()) {
        if (!step(limit)) {
            m_now = std::max(m_now, limit);
            return pred();
        }
    }
    return true;
}

void VirtualLink::runFor(std::int64_t ms) {
    runUntil([] { return false; }, ms);
}

std::vector<std::string> VirtualLink::sentHex() const {
    std::vector<std::string> out;
    out.reserve(sent.size());
    for (const auto& s : sent) {
        out.push_back(hex(s.bytes));
    }
    return out;
}

std::string hex(const link::Bytes& bytes) {
    std::string out;
    char buf[4];
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(buf, sizeof buf, i ? " %02X" : "%02X", bytes[i]);
        out += buf;
    }
    return out;
}

link::Bytes unhex(const std::string& text) {
    link::Bytes out;
    std::istringstream in(text);
    std::string tok;
    while (in >> tok) {
        out.push_back(static_cast<std::uint8_t>(std::stoul(tok, nullptr, 16)));
    }
    return out;
}

void fillRequestBuffers(link::LinkState& state) {
    for (std::uint32_t code = 0; code <= 0x6FFF; ++code) {
        const link::CommandInfo* info = link::findCommand(code);
        if (!info || !info->requestBuffer) {
            continue;
        }
        const std::size_t frameLength = code == 0x0008 ? info->byteCount - 1u : info->byteCount;
        link::Bytes frame;
        if (code < 0x1000) {
            frame =
                link::buildDataFrame(static_cast<std::uint16_t>(code), link::Bytes(frameLength - 6, 0x21));
        } else {
            link::Bytes body{static_cast<std::uint8_t>((code & 0xFF) + 0x20)};
            body.resize(frameLength - 4, 0x21);
            frame = link::buildFrame(static_cast<std::uint8_t>(code >> 8), body);
        }
        state.requests.set(static_cast<std::uint16_t>(code), frame);
    }
}

} // namespace tolvan::test

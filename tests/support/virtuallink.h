#pragma once

#include "link/core/engine.h"
#include "link/core/splitter.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tolvan::test {

class VirtualLink;

// The other end of the wire: sees every transmission and schedules its answers.
class Peer {
public:
    virtual ~Peer() = default;
    virtual void received(const link::Bytes& bytes, VirtualLink& link) = 0;
};

// Runs a link engine against a peer on a virtual clock: no sleeps, every time-out is exact.
// Bytes from the peer pass through the real splitter, so split and merged bursts behave as on
// the wire.
class VirtualLink : public link::LinkHost {
public:
    VirtualLink(); // runs the five modes' operations
    explicit VirtualLink(link::OperationTable operations);

    link::LinkEngine& engine() { return m_engine; }
    link::LinkState& state() { return m_engine.stateForTests(); }
    void setPeer(Peer* peer) { m_peer = peer; }
    std::int64_t now() const { return m_now; }

    // Bytes that arrive at the engine's side after delayMs.
    void deliverLater(link::Bytes bytes, std::int64_t delayMs);

    // Advances the clock event by event until pred() holds or limitMs of virtual time have
    // passed; returns pred().
    bool runUntil(const std::function<bool()>& pred, std::int64_t limitMs);
    void runFor(std::int64_t ms);

    // Everything the engine transmitted, as hex strings ("02 20 03 23"), one per write.
    std::vector<std::string> sentHex() const;
    struct Sent {
        std::int64_t at;
        link::Bytes bytes;
    };
    std::vector<Sent> sent;
    std::vector<link::LinkNotice> notices;
    std::vector<link::LinkMessage> messages;
    int portCloses = 0;
    bool failWrites = false;

    bool timerRunning(link::LinkTimer timer) const { return m_timers[index(timer)].has_value(); }

private:
    bool write(std::span<const std::uint8_t> bytes) override;
    void startTimer(link::LinkTimer timer, int ms) override;
    void stopTimer(link::LinkTimer timer) override;
    void notify(link::LinkNotice notice) override { notices.push_back(notice); }
    void showMessage(link::LinkMessage message) override { messages.push_back(message); }
    void closePort() override { ++portCloses; }

    static std::size_t index(link::LinkTimer t) { return static_cast<std::size_t>(t); }
    bool step(std::int64_t limit);

    struct Delivery {
        std::int64_t at;
        std::uint64_t seq;
        link::Bytes bytes;
    };
    link::LinkEngine m_engine;
    Peer* m_peer = nullptr;
    std::int64_t m_now = 0;
    std::uint64_t m_seq = 0;
    std::vector<Delivery> m_deliveries;
    std::array<std::optional<std::int64_t>, 3> m_timers{};
    std::array<int, 3> m_periods{};
    link::UnitSplitter m_splitter;
};

std::string hex(const link::Bytes& bytes);
// Fills every request buffer with a well-formed frame of its catalogue length.
void fillRequestBuffers(link::LinkState& state);
link::Bytes unhex(const std::string& text);

} // namespace tolvan::test

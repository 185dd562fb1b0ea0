#include "sim/virtualhandset.h"

#include <algorithm>

namespace tolvan::sim {
namespace {

struct Answer {
    std::uint8_t classByte;
    Bytes body; // decoded
};

Bytes frameOf(const Answer& a) {
    Bytes body;
    body.reserve(a.body.size());
    for (const std::uint8_t b : a.body) {
        body.push_back(static_cast<std::uint8_t>(b + link::kBodyOffset));
    }
    return link::buildFrame(a.classByte, body);
}

Answer dataAnswer(std::uint8_t status, std::uint16_t code, const Bytes* data = nullptr) {
    Answer a{0x30, {status, static_cast<std::uint8_t>(code >> 8), static_cast<std::uint8_t>(code & 0xFF)}};
    if (data) {
        a.body.insert(a.body.end(), data->begin(), data->end());
    }
    return a;
}

bool has(const std::vector<FaultRule>& faults, FaultKind kind) {
    return std::any_of(faults.begin(), faults.end(), [&](const FaultRule& f) { return f.kind == kind; });
}

} // namespace

HandsetConfig realisticConfig(std::uint8_t modelCode) {
    HandsetConfig config;
    config.modelCode = modelCode;
    config.pacing = true;
    config.replyDelayUs = 10'000;
    return config;
}

VirtualHandset::VirtualHandset(const HandsetConfig& config)
    : m_config(config), m_store(config.modelCode), m_bench(config.modelCode, config.seed),
      m_registration(config.registration) {
    m_faults.seed(config.seed);
    for (const FaultRule& rule : config.faults) {
        m_faults.add(rule);
    }
}

std::int64_t VirtualHandset::lineTimeUs(std::size_t bytes) {
    return static_cast<std::int64_t>(bytes) * 11 * 1'000'000 / 9600;
}

void VirtualHandset::powerUp() {
    m_off = false;
    m_offUntilUs = std::numeric_limits<std::int64_t>::min();
    m_due = Due::Idle;
    m_bench.stop();
    m_registration.cancel();
}

void VirtualHandset::replug() {
    m_plugged = true;
    m_assembler.clear();
    powerUp();
}

std::vector<VirtualHandset::Burst> VirtualHandset::receive(std::span<const std::uint8_t> bytes,
                                                           std::int64_t nowUs) {
    std::vector<Burst> out;
    if (!m_plugged) {
        return out;
    }
    std::vector<RequestAssembler::Unit> units;
    m_assembler.feed(bytes, nowUs, units);
    for (const RequestAssembler::Unit& unit : units) {
        std::int64_t arrival = nowUs;
        if (m_config.pacing) {
            arrival = std::max(nowUs, m_inLineFreeUs) + lineTimeUs(unit.bytes.size());
            m_inLineFreeUs = arrival;
        }
        if (onUnitReceived) {
            onUnitReceived(nowUs, unit.bytes);
        }
        if (!unit.frame) {
            continue; // line noise and broken frames get no reaction
        }
        ++m_frames;
        if (m_off) {
            if (arrival < m_offUntilUs) {
                continue;
            }
            powerUp();
        }
        handleFrame(unit.bytes, arrival, out);
        if (!m_plugged) {
            break;
        }
    }
    return out;
}

void VirtualHandset::handleFrame(const Bytes& frame, std::int64_t arrivalUs, std::vector<Burst>& out) {
    const std::uint16_t code = requestCodeOf(frame);
    const std::vector<FaultRule> faults = m_faults.take(code, false);
    if (has(faults, FaultKind::Unplug)) {
        m_plugged = false;
        m_assembler.clear();
        return;
    }
    if (has(faults, FaultKind::Silence)) {
        return;
    }
    const auto chaos = std::find_if(faults.begin(), faults.end(),
                                    [](const FaultRule& f) { return f.kind == FaultKind::Chaos; });
    if (chaos != faults.end()) {
        if (!m_chaos) {
            m_chaos.emplace(static_cast<std::uint32_t>(chaos->value));
        }
        for (ChaosAnswers::Answer& answer : m_chaos->answer()) {
            send(std::move(answer.bytes), arrivalUs + std::int64_t{answer.delayMs} * 1000, out);
        }
        return;
    }
    if (m_chaos) {
        return; // the chaos is spent: a handset that says nothing more
    }
    const std::int64_t ready = std::max(arrivalUs, m_busyUntilUs) + m_config.replyDelayUs;
    m_busyUntilUs = ready;
    const bool checkOk =
        frame.back() ==
        link::checkByte(frame, static_cast<std::uint8_t>(std::min<std::size_t>(frame.size() - 1, 255)));
    if (has(faults, FaultKind::Nak) || !checkOk) {
        send({link::kNak}, ready, out);
        return;
    }
    m_ignoreWrite = has(faults, FaultKind::IgnoreWrite);
    react(frame, code, ready, out);
}

bool VirtualHandset::storeWrite(std::uint16_t code, std::span<const std::uint8_t> payload) {
    if (m_ignoreWrite) {
        HandsetStore scratch = m_store;
        return scratch.write(code, payload);
    }
    return m_store.write(code, payload);
}

void VirtualHandset::react(const Bytes& frame, std::uint16_t code, std::int64_t readyUs,
                           std::vector<Burst>& out) {
    Bytes body;
    for (std::size_t i = 2; i + 2 < frame.size(); ++i) {
        body.push_back(static_cast<std::uint8_t>(frame[i] - link::kBodyOffset));
    }
    const std::uint8_t classByte = frame[1];
    switch (classByte) {
    case 0x70:
        answerPoll(readyUs, out);
        return;
    case 0x20:
        m_due = Due::Status;
        break;
    case 0x21:
        m_due = Due::Idle;
        break;
    case 0x71:
    case 0x72:
        m_due = Due::Model;
        break;
    case 0x40:
        if (code == 0x40FF) {
            m_registration.start(readyUs);
            m_due = Due::Idle;
        } else {
            m_registration.cancel();
            m_due = Due::RegistrationEnd;
        }
        break;
    case 0x30:
        reactToData(body, code, readyUs, out);
        return;
    case 0x50:
    case 0x60: {
        const std::uint8_t item = body.empty() ? 0xFF : body[0];
        const std::span<const std::uint8_t> data =
            body.empty() ? std::span<const std::uint8_t>{} : std::span<const std::uint8_t>(body).subspan(1);
        m_dueClass = classByte;
        m_dueCode = item;
        if (m_bench.start(classByte, item, data, readyUs)) {
            m_due = Due::Test;
            logTestStart(classByte, item);
        } else {
            m_due = Due::TestRefused;
        }
        break;
    }
    default:
        send({link::kNak}, readyUs, out);
        return;
    }
    m_lastCommand = code;
    send({link::kAck}, readyUs, out);
}

void VirtualHandset::reactToData(const Bytes& body, std::uint16_t code, std::int64_t readyUs,
                                 std::vector<Burst>& out) {
    if (body.size() < 2) {
        // Buffer clear: answered by ACK alone.
        const bool cleared =
            body.size() == 1 && m_store.clearBuffer(static_cast<std::uint8_t>(body[0] + 0x10));
        if (cleared) {
            m_lastCommand = code;
            m_due = Due::Idle;
        }
        send({cleared ? link::kAck : link::kNak}, readyUs, out);
        return;
    }
    const std::span<const std::uint8_t> payload = std::span<const std::uint8_t>(body).subspan(2);
    switch (code) {
    case 0x6009:
    case 0x600A:
        // Power off and reset take effect at once; the handset has no time to answer.
        m_off = true;
        m_offUntilUs = code == 0x600A || m_config.powerOffMs > 0
                           ? readyUs + (code == 0x600A ? m_config.resetMs : m_config.powerOffMs) * 1000
                           : std::numeric_limits<std::int64_t>::max();
        m_bench.stop();
        m_registration.cancel();
        m_due = Due::Idle;
        return;
    case 0x600B:
        m_bench.startBatteryState(readyUs);
        m_due = Due::Idle;
        break;
    case 0x0C01:
        // Stored and acknowledged; nothing follows.
        if (!storeWrite(code, payload)) {
            send({link::kNak}, readyUs, out);
            return;
        }
        m_due = Due::Idle;
        break;
    default:
        m_dueCode = code;
        if ((code >> 8) >= 0x10) {
            m_due = m_store.read(code) ? Due::Data : Due::Refused;
        } else {
            m_due = storeWrite(code, payload) ? Due::Echo : Due::Refused;
        }
        break;
    }
    m_lastCommand = code;
    send({link::kAck}, readyUs, out);
}

void VirtualHandset::answerPoll(std::int64_t readyUs, std::vector<Burst>& out) {
    const std::vector<FaultRule> faults = m_faults.take(m_lastCommand, true);
    for (const FaultRule& f : faults) {
        if (f.kind == FaultKind::Delay) {
            readyUs += static_cast<std::int64_t>(f.value) * 1000;
        }
    }
    m_busyUntilUs = std::max(m_busyUntilUs, readyUs);
    if (has(faults, FaultKind::NoAnswer)) {
        return; // the answer stays due for the next poll
    }
    Bytes frame = dueAnswer(readyUs);
    const std::uint8_t classByte = frame[1];
    auto rebuildWith = [&](std::size_t offset, std::uint8_t value) {
        frame[offset] = static_cast<std::uint8_t>(value + link::kBodyOffset);
        frame.back() = link::checkByte(frame, static_cast<std::uint8_t>(frame.size() - 1));
    };
    for (const FaultRule& f : faults) {
        if (f.kind == FaultKind::Battery && classByte != 0x71 && frame.size() > 4) {
            rebuildWith(2, 0x20);
        } else if (f.kind == FaultKind::Model && classByte == 0x71) {
            rebuildWith(2, static_cast<std::uint8_t>(f.value));
        }
    }
    if (has(faults, FaultKind::BadCheck)) {
        frame.back() ^= 0xFF;
    }
    for (const FaultRule& f : faults) {
        if (f.kind == FaultKind::Stray) {
            send({static_cast<std::uint8_t>(f.value)}, readyUs, out);
        }
    }
    for (const FaultRule& f : faults) {
        if (f.kind == FaultKind::Split) {
            const auto half = static_cast<std::ptrdiff_t>(frame.size() / 2);
            send(Bytes(frame.begin(), frame.begin() + half), readyUs, out);
            send(Bytes(frame.begin() + half, frame.end()),
                 out.back().atUs + static_cast<std::int64_t>(f.value) * 1000, out);
            return;
        }
    }
    send(std::move(frame), readyUs, out);
}

Bytes VirtualHandset::dueAnswer(std::int64_t atUs) {
    const Due due = m_due;
    m_due = Due::Idle;
    switch (due) {
    case Due::Status:
        break;
    case Due::Model:
        return frameOf({0x71, {m_config.modelCode}});
    case Due::Data:
        return frameOf(dataAnswer(0x00, m_dueCode, m_store.read(m_dueCode)));
    case Due::Echo:
        return frameOf(dataAnswer(0x00, m_dueCode));
    case Due::Refused:
        return frameOf(dataAnswer(0x10, m_dueCode));
    case Due::Test: {
        const TestBench::Answer a = m_bench.result(atUs);
        return frameOf({a.classByte, a.body});
    }
    case Due::TestRefused:
        return frameOf({m_dueClass, {0x10, static_cast<std::uint8_t>(m_dueCode)}});
    case Due::RegistrationEnd:
        return frameOf({0x40, {0x40}});
    case Due::Idle:
        if (m_registration.active()) {
            const Bytes report = m_registration.report(atUs);
            if (m_registration.completed()) {
                const std::uint8_t event[] = {0x02, 0x04};
                const std::uint8_t status[] = {0x04, 0x01};
                const std::uint8_t done[] = {0x01, 0x74, 0x00};
                m_store.appendLogEntry(0x15, event);
                m_store.appendLogEntry(0x17, status);
                m_store.appendLogEntry(0x19, done);
            } else if (report.size() == 4) {
                const std::uint8_t failed[] = {0x01, report[2], report[3]};
                m_store.appendLogEntry(0x19, failed);
            }
            return frameOf({0x40, report});
        }
        if (m_bench.running()) {
            const TestBench::Answer a = m_bench.result(atUs);
            return frameOf({a.classByte, a.body});
        }
        break;
    }
    return frameOf({0x20, {0x01}});
}

void VirtualHandset::logTestStart(std::uint8_t classByte, std::uint8_t item) {
    // Test modes 0 to 6 and measurements 1 to 7 have texts in the event and status history.
    const bool known = classByte == 0x50 ? item <= 6 : item >= 1 && item <= 7;
    if (!known) {
        return;
    }
    const std::uint8_t entry[] = {static_cast<std::uint8_t>(classByte == 0x50 ? 0x10 : 0x20), item};
    m_store.appendLogEntry(0x15, entry);
    m_store.appendLogEntry(0x17, entry);
}

void VirtualHandset::send(Bytes bytes, std::int64_t readyUs, std::vector<Burst>& out) {
    const std::int64_t start = std::max(readyUs, m_outLineFreeUs);
    const std::int64_t at = start + (m_config.pacing ? lineTimeUs(bytes.size()) : 0);
    m_outLineFreeUs = at;
    out.push_back({at, std::move(bytes)});
}

} // namespace tolvan::sim

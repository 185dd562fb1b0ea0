#include "flows/doctor/lineprobe.h"

#include "link/core/catalogue.h"
#include "link/core/linkstate.h"
#include "link/core/receiver.h"

#include <algorithm>

namespace tolvan::doctor {

Verdict verdictOf(const LineTestResult& result) {
    if (result.dialogue != DialogueOutcome::Answered || result.line.reads == 0) {
        return Verdict::NoCommunication;
    }
    if (result.line.failedReads > 0 || result.line.retryPercent() > kGoodRetryPercent) {
        return Verdict::Unstable;
    }
    return Verdict::Good;
}

const char* verdictText(Verdict verdict) {
    switch (verdict) {
    case Verdict::Good:
        return "良好";
    case Verdict::Unstable:
        return "不安定";
    case Verdict::NoCommunication:
        break;
    }
    return "通信不可";
}

LineProbe::LineProbe(Writer writer, std::int64_t lineTestMs)
    : m_writer(std::move(writer)), m_lineTestMs(lineTestMs) {}

void LineProbe::start(std::int64_t nowMs) {
    m_startMs = nowMs;
    m_stage = Stage::Open;
    sendCommand(nowMs);
}

std::uint32_t LineProbe::command() const {
    switch (m_stage) {
    case Stage::Open:
        return link::cmd::kOpen;
    case Stage::Model:
        return link::cmd::kModelQuery;
    case Stage::Reads:
        return kReadCode;
    case Stage::Close:
    case Stage::Done:
        break;
    }
    return link::cmd::kClose;
}

void LineProbe::transmit(std::uint32_t code, std::int64_t nowMs) {
    static const link::RequestBuffers kNoBuffers;
    const std::optional<link::Bytes> bytes = link::transmitBytesOf(code, kNoBuffers);
    if (!bytes) {
        return;
    }
    ++counts().framesSent;
    m_result.trace.push_back({nowMs - m_startMs, '>', *bytes});
    m_deadline = nowMs + kAnswerTimeoutMs;
    m_writer(*bytes);
}

void LineProbe::sendCommand(std::int64_t nowMs) {
    m_awaiting = Awaiting::Ack;
    m_attemptMs = nowMs;
    transmit(command(), nowMs);
}

void LineProbe::sendPoll(std::int64_t nowMs) {
    m_awaiting = Awaiting::Answer;
    transmit(link::cmd::kPoll, nowMs);
}

void LineProbe::feed(std::span<const std::uint8_t> bytes, std::int64_t nowMs) {
    std::vector<link::Bytes> units;
    m_splitter.feed(bytes, nowMs, units);
    for (const link::Bytes& unit : units) {
        handleUnit(unit, nowMs);
    }
}

void LineProbe::advance(std::int64_t nowMs) {
    if (const auto due = m_splitter.deadline(); due && *due <= nowMs) {
        std::vector<link::Bytes> units;
        m_splitter.expire(nowMs, units);
        for (const link::Bytes& unit : units) {
            handleUnit(unit, nowMs);
        }
    }
    if (m_stage != Stage::Done && m_deadline && *m_deadline <= nowMs) {
        m_deadline.reset();
        ++counts().timeouts;
        // A lost poll is asked again; a command that got no ACK goes out again.
        failed(m_awaiting == Awaiting::Answer, nowMs);
    }
}

std::optional<std::int64_t> LineProbe::nextDeadline() const {
    if (m_stage == Stage::Done) {
        return std::nullopt;
    }
    const std::optional<std::int64_t> split = m_splitter.deadline();
    if (split && m_deadline) {
        return std::min(*split, *m_deadline);
    }
    return split ? split : m_deadline;
}

bool LineProbe::isAnswer(const link::Bytes& decoded) const {
    const std::uint16_t id = link::responseId(decoded);
    switch (m_stage) {
    case Stage::Open:
        return id == 0x2000;
    case Stage::Model:
        return (id & 0xFF00) == 0x7100;
    case Stage::Reads:
        return id == kReadCode;
    case Stage::Close:
    case Stage::Done:
        break;
    }
    return false;
}

void LineProbe::handleUnit(const link::Bytes& unit, std::int64_t nowMs) {
    if (m_stage == Stage::Done) {
        return;
    }
    m_heardAnything = true;
    m_result.trace.push_back({nowMs - m_startMs, '<', unit});
    link::LinkState state;
    link::NullResponseSink sink;
    state.receiveLength = std::min(unit.size(), state.receiveBuffer.size());
    std::copy_n(unit.begin(), state.receiveLength, state.receiveBuffer.begin());
    const bool valid = link::validateUnit(state, sink);
    const link::Bytes decoded(state.receiveBuffer.begin(),
                              state.receiveBuffer.begin() + static_cast<std::ptrdiff_t>(state.receiveLength));
    LineCounts& c = counts();
    if (!valid) {
        if (state.resultClass == link::rc::kCheckByteError) {
            ++c.badCheck;
        } else if (state.resultClass == link::rc::kStxEtxError || unit.size() == 1) {
            ++c.framing;
        } else {
            ++c.framesReceived; // a whole frame, but not one that answers
            ++c.unexpected;
        }
        failed(false, nowMs);
        return;
    }
    if (decoded.size() == 1) {
        if (decoded[0] == link::kNak) {
            ++c.naks;
            failed(false, nowMs);
        } else if (m_awaiting == Awaiting::Ack) {
            // The close frame is answered by its ACK alone; everything else is polled for.
            if (m_stage == Stage::Close) {
                exchangeDone(nowMs);
            } else {
                sendPoll(nowMs);
            }
        }
        return; // an ACK that comes late for a frame already sent again changes nothing
    }
    ++c.framesReceived;
    if (m_awaiting == Awaiting::Answer && isAnswer(decoded)) {
        if (m_stage == Stage::Model) {
            m_result.modelCode = state.modelCode;
        }
        exchangeDone(nowMs);
        return;
    }
    ++c.unexpected;
    if (m_awaiting == Awaiting::Answer) {
        failed(false, nowMs);
    }
}

void LineProbe::failed(bool resendPoll, std::int64_t nowMs) {
    if (++m_failuresInRow > kRetryLimit) {
        exchangeFailed(nowMs);
        return;
    }
    ++counts().retries;
    if (resendPoll) {
        sendPoll(nowMs);
    } else {
        sendCommand(nowMs);
    }
}

void LineProbe::exchangeDone(std::int64_t nowMs) {
    m_failuresInRow = 0;
    m_deadline.reset();
    switch (m_stage) {
    case Stage::Open:
        m_stage = Stage::Model;
        sendCommand(nowMs);
        return;
    case Stage::Model:
        m_result.dialogue = DialogueOutcome::Answered;
        m_stage = Stage::Reads;
        m_readsStartMs = nowMs;
        sendCommand(nowMs);
        return;
    case Stage::Reads: {
        LineCounts& c = m_result.line;
        const std::int64_t rtt = nowMs - m_attemptMs;
        c.rttMinMs = c.reads == 0 ? rtt : std::min(c.rttMinMs, rtt);
        c.rttMaxMs = std::max(c.rttMaxMs, rtt);
        c.rttTotalMs += rtt;
        ++c.reads;
        m_failedReadsInRow = 0;
        nextRead(nowMs);
        return;
    }
    case Stage::Close:
    case Stage::Done:
        break;
    }
    m_stage = Stage::Done;
}

void LineProbe::exchangeFailed(std::int64_t nowMs) {
    m_failuresInRow = 0;
    m_deadline.reset();
    switch (m_stage) {
    case Stage::Open:
    case Stage::Model:
        m_result.dialogue = m_heardAnything ? DialogueOutcome::Garbled : DialogueOutcome::Silent;
        m_stage = Stage::Done;
        return;
    case Stage::Reads:
        ++m_result.line.failedReads;
        if (++m_failedReadsInRow >= kFailedReadsInARow) {
            m_result.lineTestMs = nowMs - m_readsStartMs;
            m_stage = Stage::Done;
            return;
        }
        nextRead(nowMs);
        return;
    case Stage::Close:
    case Stage::Done:
        break;
    }
    m_stage = Stage::Done;
}

void LineProbe::nextRead(std::int64_t nowMs) {
    if (nowMs - m_readsStartMs >= m_lineTestMs) {
        m_result.lineTestMs = nowMs - m_readsStartMs;
        m_stage = Stage::Close;
    }
    sendCommand(nowMs);
}

} // namespace tolvan::doctor

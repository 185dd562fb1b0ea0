#pragma once

#include "link/core/frame.h"
#include "link/core/splitter.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace tolvan::doctor {

// What happened on the line, counted from the tool's side.
struct LineCounts {
    int framesSent = 0;     // requests and polls, retries included
    int framesReceived = 0; // frames from the handset that validated
    int retries = 0;        // frames sent again after a NAK, a broken answer or a time-out
    int naks = 0;
    int badCheck = 0;   // frames whose check byte did not match
    int framing = 0;    // units without STX or ETX where they belong, stray bytes, cut frames
    int timeouts = 0;   // nothing came back in time
    int unexpected = 0; // valid frames that were not the answer asked for
    int reads = 0;      // line test reads answered
    int failedReads = 0;
    std::int64_t rttMinMs = 0;
    std::int64_t rttMaxMs = 0;
    std::int64_t rttTotalMs = 0;

    double rttMeanMs() const { return reads > 0 ? double(rttTotalMs) / reads : 0.0; }
    // Retries per hundred frames sent.
    double retryPercent() const { return framesSent > 0 ? 100.0 * retries / framesSent : 0.0; }
    bool garbled() const { return naks + badCheck + framing + unexpected > 0; }
};

enum class DialogueOutcome : std::uint8_t {
    Answered, // the open frame and the model query were answered
    Silent,   // nothing at all came back
    Garbled,  // something came back, but no usable answer
};

struct TraceUnit {
    std::int64_t atMs;
    char direction; // '>' sent, '<' received
    link::Bytes bytes;
};

struct LineTestResult {
    DialogueOutcome dialogue = DialogueOutcome::Silent;
    std::optional<std::uint32_t> modelCode; // from the model answer
    LineCounts opening;                     // the open frame and the model query
    LineCounts line;                        // the repeated reads
    std::int64_t lineTestMs = 0;            // how long the reads ran
    std::vector<TraceUnit> trace;
};

enum class Verdict : std::uint8_t { Good, Unstable, NoCommunication };

// Thresholds of the verdict: every read answered with at most kGoodRetryPercent retries per
// hundred frames sent is good; any read left unanswered, or more retries, is unstable; a
// dialogue that did not open, or no read answered at all, is no communication.
inline constexpr double kGoodRetryPercent = 5.0;
Verdict verdictOf(const LineTestResult& result);
const char* verdictText(Verdict verdict); // "良好", "不安定", "通信不可"

// The line test: opens a dialogue (open frame, poll, model query, poll), reads one small block
// (0x1001, four bytes) again and again for the given time, then closes the dialogue. Each
// exchange is retried up to five times after a NAK, a broken answer or 500 ms of silence, and
// everything is counted. Plain C++ on an explicit clock: the caller feeds received bytes,
// advances time to the next deadline, and writes what the writer is given.
class LineProbe {
public:
    using Writer = std::function<void(const link::Bytes&)>;
    static constexpr std::uint32_t kReadCode = 0x1001;
    static constexpr std::int64_t kAnswerTimeoutMs = 500;
    static constexpr int kRetryLimit = 5;
    // Reads in a row left unanswered after which the handset counts as gone.
    static constexpr int kFailedReadsInARow = 3;

    LineProbe(Writer writer, std::int64_t lineTestMs);

    void start(std::int64_t nowMs);
    void feed(std::span<const std::uint8_t> bytes, std::int64_t nowMs);
    // Runs every deadline due at nowMs.
    void advance(std::int64_t nowMs);
    std::optional<std::int64_t> nextDeadline() const;
    bool finished() const { return m_stage == Stage::Done; }
    const LineTestResult& result() const { return m_result; }

private:
    enum class Stage : std::uint8_t { Open, Model, Reads, Close, Done };
    enum class Awaiting : std::uint8_t { Ack, Answer };

    LineCounts& counts() {
        return m_stage == Stage::Open || m_stage == Stage::Model ? m_result.opening : m_result.line;
    }
    std::uint32_t command() const;
    void sendCommand(std::int64_t nowMs);
    void sendPoll(std::int64_t nowMs);
    void transmit(std::uint32_t code, std::int64_t nowMs);
    void handleUnit(const link::Bytes& unit, std::int64_t nowMs);
    bool isAnswer(const link::Bytes& decoded) const;
    void failed(bool resendPoll, std::int64_t nowMs);
    void exchangeDone(std::int64_t nowMs);
    void exchangeFailed(std::int64_t nowMs);
    void nextRead(std::int64_t nowMs);

    Writer m_writer;
    std::int64_t m_lineTestMs;
    std::int64_t m_startMs = 0;
    std::int64_t m_readsStartMs = 0;
    std::int64_t m_attemptMs = 0; // when the current command went out
    Stage m_stage = Stage::Open;
    Awaiting m_awaiting = Awaiting::Ack;
    std::optional<std::int64_t> m_deadline;
    int m_failuresInRow = 0;
    int m_failedReadsInRow = 0;
    bool m_heardAnything = false;
    link::UnitSplitter m_splitter;
    LineTestResult m_result;
};

} // namespace tolvan::doctor

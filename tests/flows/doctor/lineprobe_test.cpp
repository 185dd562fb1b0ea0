// The line test against the virtual handset on a virtual clock: what a healthy, a silent, a
// garbled and a flaky line look like in the counts and the verdict.
#include "flows/doctor/lineprobe.h"
#include "sim/faultplan.h"
#include "tests/support/doctorfakes.h"
#include "tests/support/virtuallink.h"

#include <gtest/gtest.h>

#include <set>

namespace tolvan::test {
namespace {

using doctor::DialogueOutcome;
using doctor::Verdict;

doctor::LineTestResult lineTest(const std::vector<std::string>& faults, std::uint8_t model = 3) {
    sim::HandsetConfig config = sim::realisticConfig(model);
    for (const std::string& text : faults) {
        config.faults.push_back(*sim::parseFaultRule(text));
    }
    sim::VirtualHandset handset(config);
    return runLineTest(handset, 10'000);
}

TEST(LineProbe, HealthyHandsetAnswersEveryReadForTenSeconds) {
    const doctor::LineTestResult r = lineTest({}, 4);
    EXPECT_EQ(r.dialogue, DialogueOutcome::Answered);
    EXPECT_EQ(r.modelCode, 4U);
    EXPECT_GE(r.lineTestMs, 10'000);
    EXPECT_LT(r.lineTestMs, 10'200);
    const doctor::LineCounts& c = r.line;
    // A read at 9600 baud with 10 ms of handset processing per reply takes some 45 ms.
    EXPECT_GT(c.reads, 150);
    EXPECT_EQ(c.framesSent, 2 * c.reads + 1); // request and poll per read, then the close frame
    EXPECT_EQ(c.framesReceived, c.reads);
    EXPECT_EQ(c.retries + c.naks + c.badCheck + c.framing + c.timeouts + c.failedReads, 0);
    EXPECT_GT(c.rttMinMs, 30);
    EXPECT_LE(c.rttMaxMs, 60);
    EXPECT_EQ(doctor::verdictOf(r), Verdict::Good);

    // The conversation: open, poll, model query, poll, then the read of 0x1001 and its poll over
    // and over, and the close frame last.
    ASSERT_GE(r.trace.size(), 8U);
    EXPECT_EQ(hex(r.trace[0].bytes), "02 20 03 23");
    EXPECT_EQ(hex(r.trace[1].bytes), "06");
    EXPECT_EQ(hex(r.trace[2].bytes), "02 70 03 73");
    EXPECT_EQ(hex(r.trace[4].bytes), "02 71 03 72");
    EXPECT_EQ(hex(r.trace[8].bytes), "02 30 30 21 03 22");
    EXPECT_EQ(hex(r.trace.back().bytes), "06");
    EXPECT_EQ(hex(r.trace[r.trace.size() - 2].bytes), "02 21 03 22");
    std::set<std::string> sent;
    for (const doctor::TraceUnit& unit : r.trace) {
        if (unit.direction == '>') {
            sent.insert(hex(unit.bytes));
        }
    }
    EXPECT_EQ(sent.size(), 5U);
}

TEST(LineProbe, SilentOrGarbledHandsetNeverOpensTheDialogue) {
    const doctor::LineTestResult silent = lineTest({"silence,count=0"});
    EXPECT_EQ(silent.dialogue, DialogueOutcome::Silent);
    EXPECT_EQ(silent.opening.timeouts, 6);
    EXPECT_EQ(silent.opening.retries, 5);
    EXPECT_EQ(silent.line.framesSent, 0);
    EXPECT_EQ(doctor::verdictOf(silent), Verdict::NoCommunication);

    const doctor::LineTestResult naks = lineTest({"nak,count=0"});
    EXPECT_EQ(naks.dialogue, DialogueOutcome::Garbled);
    EXPECT_EQ(naks.opening.naks, 6);
    EXPECT_EQ(doctor::verdictOf(naks), Verdict::NoCommunication);

    const doctor::LineTestResult badCheck = lineTest({"bad-check,count=0"});
    EXPECT_EQ(badCheck.dialogue, DialogueOutcome::Garbled);
    EXPECT_EQ(badCheck.opening.badCheck, 6);

    const doctor::LineTestResult model = lineTest({"model,count=0"});
    EXPECT_EQ(model.dialogue, DialogueOutcome::Garbled);
    EXPECT_EQ(model.opening.unexpected, 6);
    EXPECT_FALSE(model.modelCode);
}

TEST(LineProbe, BrokenAnswersDuringTheReadsAreRetriedAndCounted) {
    // Three bad check bytes, a stray byte and a NAK among the reads; each costs one retry.
    const doctor::LineTestResult r =
        lineTest({"bad-check@1001,skip=10,count=3", "stray@1001,skip=40,value=55", "nak@1001,skip=60"});
    EXPECT_EQ(r.dialogue, DialogueOutcome::Answered);
    EXPECT_EQ(r.line.badCheck, 3);
    EXPECT_EQ(r.line.framing, 1);
    EXPECT_EQ(r.line.naks, 1);
    EXPECT_EQ(r.line.retries, 5);
    EXPECT_EQ(r.line.failedReads, 0);
    EXPECT_EQ(doctor::verdictOf(r), Verdict::Good);

    // A handset that falls silent in the middle: three reads go unanswered, then the test stops.
    const doctor::LineTestResult gone = lineTest({"silence,skip=50,count=0"});
    EXPECT_EQ(gone.line.failedReads, doctor::LineProbe::kFailedReadsInARow);
    EXPECT_GT(gone.line.reads, 10);
    EXPECT_EQ(doctor::verdictOf(gone), Verdict::Unstable);
}

TEST(LineProbe, FlakyCableAtThreePercentIsGoodAndAtTenPercentUnstable) {
    const doctor::LineTestResult three = lineTest({"silence,count=0,percent=3"});
    EXPECT_EQ(three.dialogue, DialogueOutcome::Answered);
    EXPECT_GT(three.line.timeouts, 0);
    EXPECT_EQ(three.line.retries, three.line.timeouts);
    EXPECT_GT(three.line.retryPercent(), 1.0);
    EXPECT_LE(three.line.retryPercent(), doctor::kGoodRetryPercent);
    EXPECT_EQ(doctor::verdictOf(three), Verdict::Good);

    const doctor::LineTestResult ten = lineTest({"silence,count=0,percent=10"});
    EXPECT_EQ(ten.dialogue, DialogueOutcome::Answered);
    EXPECT_GT(ten.line.retryPercent(), doctor::kGoodRetryPercent);
    EXPECT_LT(ten.line.reads, three.line.reads); // every loss costs a 500 ms time-out
    EXPECT_EQ(doctor::verdictOf(ten), Verdict::Unstable);
    EXPECT_STREQ(doctor::verdictText(doctor::verdictOf(ten)), "不安定");
}

} // namespace
} // namespace tolvan::test

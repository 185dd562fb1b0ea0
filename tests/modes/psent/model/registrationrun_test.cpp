// The registration run without a handset: what its start asks of the link, and the steps it makes
// of the handset's reports and the link's notices.
#include "modes/psent/model/psentoperations.h"
#include "modes/psent/model/registrationrun.h"

#include "link/linksession.h"
#include "modes/modeoperations.h"

#include <gtest/gtest.h>

#include <vector>

namespace tolvan::psent {
namespace {

using State = RegistrationRun::State;

struct RunHarness {
    RunHarness() {
        run.setListener([this](const RegistrationRun::Step& step) { steps.push_back(step); });
        run.start(runner);
    }
    link::LinkSession session{modeOperations()};
    runner::HandsetRunner runner{session};
    RegistrationRun run;
    std::vector<RegistrationRun::Step> steps;
};

const link::LinkNotice kStep{link::LinkEvent::RegistrationStep, op::kNoticeOwner};
const link::LinkNotice kFinished{link::LinkEvent::RegistrationFinished, op::kNoticeOwner};

TEST(RegistrationRun, StartsWithTheOperationRecordAndFollowsBothPhasesToCompletion) {
    RunHarness h;
    const link::LinkState& state = h.session.state();
    EXPECT_EQ(state.registrationAnswerFlag, 2);
    EXPECT_EQ(state.operationId, op::kRegistrationRunning);
    EXPECT_TRUE(state.pendingFlag);
    EXPECT_EQ(state.pendingCommand, 0x0104U);

    h.run.take({0x01, {}});
    h.run.take(kStep);
    EXPECT_EQ(h.run.state(), State::SecondPhase);
    h.run.take(kStep); // one second phase only
    h.run.take(kFinished);
    EXPECT_EQ(h.run.state(), State::Completed);
    h.run.take(kFinished);
    ASSERT_EQ(h.steps.size(), 3U);
    EXPECT_EQ(h.steps[0].state, State::Running);
    EXPECT_EQ(h.steps[0].status, QStringLiteral("子機登録実行中"));
    EXPECT_EQ(h.steps[1].viewState, op::kRegistrationSecondPhase);
    EXPECT_EQ(h.steps[2].viewState, op::kRegistrationCompleted);
    EXPECT_EQ(h.steps[2].status, QStringLiteral("子機登録制御完了(正常終了)"));
}

TEST(RegistrationRun, AFailureStaysWhatLateReportsSayAndAnAbortSilencesThem) {
    RunHarness h;
    h.run.take({0x30, {0x99, 0x90, 0x1A}});
    EXPECT_EQ(h.run.state(), State::Failed);
    ASSERT_EQ(h.steps.size(), 1U);
    EXPECT_EQ(h.steps[0].error, QStringLiteral("候補CSなし：1A"));
    // A late "running" shows; the notices of a run that failed change nothing.
    h.run.take({0x01, {}});
    h.run.take(kFinished);
    EXPECT_EQ(h.run.state(), State::Failed);
    h.run.take({0x40, {}});
    EXPECT_EQ(h.run.state(), State::CommandEnded);
    ASSERT_EQ(h.steps.size(), 3U);
    EXPECT_EQ(h.steps[1].state, State::Running);

    h.run.abort();
    h.run.take({0x10, {0, 0x40, 8}});
    h.run.take({0x01, {}});
    EXPECT_EQ(h.run.state(), State::Aborted);
    EXPECT_EQ(h.steps.size(), 3U);

    RunHarness unknown;
    unknown.run.take({0x10, {0, 0x40, 8}});
    EXPECT_EQ(unknown.run.state(), State::ContentError);
    EXPECT_EQ(unknown.steps.at(0).error, QStringLiteral("バッファ内容エラー"));
}

} // namespace
} // namespace tolvan::psent

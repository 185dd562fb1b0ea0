#include "runner/handsetrunner.h"
#include "runner/writeoperation.h"

#include "link/core/catalogue.h"
#include "modes/dataset/model/datasetoperations.h"
#include "modes/modeoperations.h"
#include "tests/support/virtualhandsetport.h"
#include "tests/support/virtuallink.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>

namespace tolvan::runner {
namespace {

using sim::FaultKind;

// The first command of a script whose code is in [low, high): a read (0x1xxx) or a write (0x0xxx).
std::uint16_t firstCodeOf(int script, std::uint32_t low, std::uint32_t high) {
    for (int step = 1; step <= link::scriptLastStep(script); ++step) {
        const std::uint32_t code = link::scriptEntry(script, step);
        if (code >= low && code < high) {
            return static_cast<std::uint16_t>(code);
        }
    }
    return 0;
}

const std::uint16_t kFirstRead = firstCodeOf(dataset::op::kReadScript, 0x1000, 0x2000);
const std::uint16_t kFirstWrite = firstCodeOf(dataset::op::kWriteScript, 0x0001, 0x1000);

struct RunnerHarness {
    RunnerHarness() { port.install(session); }

    bool sent(std::uint16_t code) const {
        return std::find(port.requests.begin(), port.requests.end(), code) != port.requests.end();
    }

    // The data setting write of one changed byte, backed up into backupPath.
    WritePlan writePlan(const QString& backupPath) {
        WritePlan plan;
        plan.readOperation = dataset::op::kReadPending;
        plan.readScript = dataset::op::kReadScript;
        plan.backUp = [backupPath](const handset::HandsetStore&,
                                   std::uint32_t) -> std::variant<QString, Message> {
            QFile file(backupPath);
            if (!file.open(QIODevice::WriteOnly)) {
                return errorMessage(QStringLiteral("バックアップを保存できませんでした。"));
            }
            file.write("held");
            return backupPath;
        };
        plan.steps.push_back({dataset::op::kDataShown, dataset::op::kWriteScript,
                              [this](handset::HandsetStore& store, link::RequestBuffers&) {
                                  store.prepareWrite().block(kFirstRead)[0] ^= 0xFF;
                                  test::fillRequestBuffers(session.engine().stateForTests());
                                  return true;
                              }});
        return plan;
    }

    link::LinkSession session{tolvan::modeOperations()};
    test::VirtualHandsetPort port;
    HandsetRunner runner{session};
};

TEST(HandsetRunner, AReadFillsTheStoreAndEndsAtItsCloseOrInKeepAlive) {
    ASSERT_NE(kFirstRead, 0);
    RunnerHarness h;
    ASSERT_TRUE(h.runner.open());
    EXPECT_EQ(h.runner.runScript(dataset::op::kReadPending, dataset::op::kReadScript), ScriptEnd::KeepAlive);
    EXPECT_EQ(h.runner.store().responses(kFirstRead), 1U);
    // The last script of a run ends at its close frame: no keep-alive opened only to be closed.
    EXPECT_EQ(h.runner.runLastScript(dataset::op::kReadPending, dataset::op::kReadScript), ScriptEnd::Closed);
    EXPECT_EQ(h.runner.store().responses(kFirstRead), 2U);
    h.runner.close();
    EXPECT_FALSE(h.runner.state().portOpen);
    EXPECT_EQ(std::count(h.port.requests.begin(), h.port.requests.end(), link::cmd::kClose), 2);
}

TEST(HandsetRunner, NoHandsetDoesNotOpen) {
    RunnerHarness h;
    h.port.attached = false;
    EXPECT_FALSE(h.runner.open());
    WriteOperation write(h.writePlan(QString()));
    EXPECT_EQ(write.run(h.runner).end, WriteOutcome::End::NotOpened);
    EXPECT_EQ(write.state(), WriteOperation::State::Done);
}

TEST(HandsetRunner, AHandsetPulledOffDuringAReadIsLostNotDone) {
    RunnerHarness h;
    h.port.faults.push_back({FaultKind::Unplug, kFirstRead, 0, 1, 0});
    ASSERT_TRUE(h.runner.open());
    const ScriptEnd end = h.runner.runScript(dataset::op::kReadPending, dataset::op::kReadScript);
    EXPECT_TRUE(end == ScriptEnd::NoData || end == ScriptEnd::Fatal);
    EXPECT_EQ(h.runner.store().responses(kFirstRead), 0U);
    EXPECT_EQ(h.runner.waitFor(10, [] { return true; }), WaitEnd::Lost);
    h.runner.leave();
    EXPECT_FALSE(h.runner.state().portOpen);
}

TEST(WriteOperation, AWriteTheHandsetNeverTakesKeepsItsBackupAndLeavesTheStoreAsRead) {
    ASSERT_NE(kFirstWrite, 0);
    QTemporaryDir dir;
    RunnerHarness h;
    // Pulled off the cable as the first write arrives.
    h.port.faults.push_back({FaultKind::Unplug, kFirstWrite, 0, 1, 0});
    const QString backup = dir.filePath(QStringLiteral("held.jv1"));
    WritePlan plan = h.writePlan(backup);
    handset::HandsetBlocks asRead;
    plan.load = [&](handset::HandsetStore& store, std::uint32_t) {
        asRead = store.held();
        return true;
    };
    WriteOperation write(plan);
    const WriteOutcome outcome = write.run(h.runner);
    EXPECT_EQ(outcome.end, WriteOutcome::End::WriteFailed);
    EXPECT_FALSE(succeeded(outcome.link));
    EXPECT_EQ(outcome.backupPath, backup);
    EXPECT_TRUE(QFile::exists(backup));
    EXPECT_TRUE(h.sent(kFirstWrite));
    EXPECT_FALSE(h.runner.store().pendingWrite() == asRead);
    EXPECT_TRUE(h.runner.store().held() == asRead);
    h.runner.leave();
}

TEST(WriteOperation, NothingIsSentWithoutItsBackupOrAFileThatLoads) {
    RunnerHarness h;
    // A backup that cannot be saved.
    WriteOperation unsaved(h.writePlan(QStringLiteral("/nonexistent/folder/held.jv1")));
    const WriteOutcome noBackup = unsaved.run(h.runner);
    EXPECT_EQ(noBackup.end, WriteOutcome::End::BackupFailed);
    ASSERT_TRUE(noBackup.message.has_value());
    EXPECT_EQ(noBackup.message->text, QStringLiteral("バックアップを保存できませんでした。"));
    EXPECT_FALSE(noBackup.backupPath.has_value());
    h.runner.close();

    // A file refused, and a handset the guard does not want: nothing backed up either.
    QTemporaryDir dir;
    WritePlan notLoaded = h.writePlan(dir.filePath(QStringLiteral("a.jv1")));
    notLoaded.load = [](handset::HandsetStore&, std::uint32_t) { return false; };
    EXPECT_EQ(WriteOperation(notLoaded).run(h.runner).end, WriteOutcome::End::NotLoaded);
    h.runner.close();
    WritePlan guarded = h.writePlan(dir.filePath(QStringLiteral("b.jv1")));
    guarded.guard = [](const handset::HandsetStore&, std::uint32_t) {
        return std::optional<Message>(errorMessage(QStringLiteral("別の子機です。")));
    };
    const WriteOutcome refused = WriteOperation(guarded).run(h.runner);
    EXPECT_EQ(refused.end, WriteOutcome::End::Refused);
    h.runner.close();
    EXPECT_FALSE(h.sent(kFirstWrite));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("a.jv1"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("b.jv1"))));
}

} // namespace
} // namespace tolvan::runner

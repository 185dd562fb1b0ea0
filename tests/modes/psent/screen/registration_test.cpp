// Registration from the handset setting screen against the in-process virtual handset: success
// with its file pair and write-back, a failure's texts, an abort, a cancelled save dialog, the
// question before the pair replaces files.
#include "modes/dataset/model/logfile1writer.h"
#include "modes/dataset/model/systemparamimage.h"
#include "modes/psent/model/registrationflow.h"
#include "modes/psent/screen/psentform.h"
#include "tests/modes/psent/screen/screenharness.h"
#include "tests/support/iconvbytes.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace tolvan::psent {
namespace {

using testing::ScreenHarness;
using Outcome = sim::RegistrationScenario::Outcome;

QAction* exitItem(const PsEntModeDialog& screen) {
    for (QAction* action : screen.findChildren<QAction*>()) {
        if (action->text() == QStringLiteral("終了(&X)")) {
            return action;
        }
    }
    return nullptr;
}

class Registration : public ::testing::Test {
protected:
    PsEntModeDialog& start(sim::RegistrationScenario scenario) {
        h.prepare = [scenario](sim::VirtualHandset& handset) {
            for (const auto& [code, data] : testing::sampleRecords()) {
                handset.store().setBlock(code, data);
            }
            handset.registration().setScenario(scenario);
        };
        PsEntModeDialog& screen = h.readAndOpen();
        QObject::connect(screen.statusBox(), &QLineEdit::textChanged,
                         [this](const QString& text) { statuses.append(text); });
        EXPECT_TRUE(screen.registerButton()->isEnabled());
        screen.registerButton()->click();
        EXPECT_EQ(screen.buttonState(), op::kAllLocked);
        EXPECT_FALSE(screen.buttons(0).back->isEnabled());
        EXPECT_FALSE(exitItem(screen)->isEnabled());
        return screen;
    }
    // From here on no backup can be saved: the folder's place is taken by a file.
    void blockBackups() {
        const QString blocked = h.root.filePath(QStringLiteral("blocked"));
        ASSERT_TRUE(QFile(blocked).open(QIODevice::WriteOnly));
        qputenv("TOLVAN_BACKUP_DIR", blocked.toLocal8Bit());
    }
    static void expectWrittenWithoutBackup(const QString& said) {
        EXPECT_TRUE(said.startsWith(QStringLiteral("書き込み前のバックアップを保存できませんでした。")))
            << said.toStdString();
        EXPECT_TRUE(said.endsWith(QStringLiteral("\nバックアップなしで設定を子機に書き戻します。")))
            << said.toStdString();
        EXPECT_FALSE(said.contains(QStringLiteral("何も書き込んでいません"))) << said.toStdString();
    }
    static sim::RegistrationScenario scenario(Outcome outcome, int runningMs = 300) {
        sim::RegistrationScenario s;
        s.outcome = outcome;
        s.runningMs = runningMs;
        return s;
    }
    // Waits until the screen is back from the write-back after a completed registration.
    bool waitForWriteBack(PsEntModeDialog& screen) {
        return QTest::qWaitFor(
            [&] {
                return !h.dialogs.messages.isEmpty() && screen.viewState() == op::kSettingsShown &&
                       screen.statusBox()->text() == registration::statusText(op::kRegistrationCompleted);
            },
            30000);
    }
    std::size_t writesOf(std::uint16_t code) const {
        return static_cast<std::size_t>(std::count(h.requests.begin(), h.requests.end(), code));
    }

    ScreenHarness h{2};
    QStringList statuses;
};

TEST_F(Registration, SuccessSavesTheFilePairWritesBackWithSeamlessOffThenFollowsASwap) {
    h.dialogs.saveAnswers.push_back(h.root.filePath(QStringLiteral("next.jv4")));
    PsEntModeDialog& screen = start(scenario(Outcome::Success));
    ASSERT_TRUE(waitForWriteBack(screen));
    EXPECT_TRUE(statuses.contains(QStringLiteral("子機登録実行中")));
    EXPECT_TRUE(screen.errorBox()->text().isEmpty());
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_EQ(h.dialogs.messages[0].text, registration::completedMessage());
    EXPECT_FALSE(h.dialogs.messages[0].title.isEmpty());
    ASSERT_EQ(h.dialogs.saveRequests.size(), 1);
    EXPECT_TRUE(h.dialogs.saveRequests[0].defaultSuffix.isEmpty());
    EXPECT_EQ(h.noDataShown, 0);

    // The pair holds the registered handset as read after the registration: seamless handover off.
    auto lines = testing::sampleLines(2);
    lines[24] = "\"ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ\",\"ｵﾌ\"";
    QFile jv4(h.root.filePath(QStringLiteral("next.jv4")));
    ASSERT_TRUE(jv4.open(QIODevice::ReadOnly));
    EXPECT_EQ(jv4.readAll(), dataset::testing::cp932Lines(lines));
    QFile jv1(h.root.filePath(QStringLiteral("next.jv1")));
    ASSERT_TRUE(jv1.open(QIODevice::ReadOnly));
    EXPECT_EQ(jv1.readAll(), dataset::LogFile1Writer::fromImage(dataset::SystemParamImage::fromStore(h.store),
                                                                2, testing::sampleScreen().memo)
                                 .bytes);
    // The settings read leaves the accessory detection out; the .jv1 has the handset's, not zeros.
    EXPECT_EQ(h.store.block(0x1C01, 1)[0], 1);

    // The write-back sent the whole script 16 with seamless handover off.
    EXPECT_GE(writesOf(0x0104), 2u);
    EXPECT_EQ(writesOf(0x0105), 1u);
    EXPECT_EQ(h.handsetBlock(0x1104).at(0), 0);
    EXPECT_EQ(screen.form()->pick(PsEntForm::Pick::Seamless)->currentText(), QStringLiteral("ｵﾌ"));
    EXPECT_TRUE(screen.buttons(0).read->isEnabled());

    // The next handset goes onto the cable.
    ASSERT_TRUE(h.waitForKeepAlive());
    h.attached = false;
    h.session.deviceTreeChanged();
    EXPECT_EQ(screen.viewState(), op::kUnplugged);
    h.attached = true;
    h.session.deviceTreeChanged();
    h.session.deviceTreeChanged();
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen.viewState() == op::kSettingsShown; }, 10000));
    EXPECT_EQ(screen.modelBox()->text(), QStringLiteral("ZX-VA100"));
    EXPECT_TRUE(screen.registerButton()->isEnabled());
}

TEST_F(Registration, ThreeHandsetsOneAfterAnotherWithoutLeavingTheScreen) {
    for (const char* name : {"first", "second", "third"}) {
        h.dialogs.saveAnswers.push_back(h.root.filePath(QString::fromLatin1(name)));
    }
    PsEntModeDialog& screen = start(scenario(Outcome::Success));
    for (int done = 1; done <= 3; ++done) {
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return h.dialogs.messages.size() == done && screen.viewState() == op::kSettingsShown &&
                       screen.statusBox()->text() == registration::statusText(op::kRegistrationCompleted);
            },
            30000))
            << "registration " << done;
        // Swap: the screen follows the next handset by itself.
        ASSERT_TRUE(h.waitForKeepAlive());
        h.attached = false;
        h.session.deviceTreeChanged();
        h.attached = true;
        h.session.deviceTreeChanged();
        h.session.deviceTreeChanged();
        ASSERT_TRUE(QTest::qWaitFor([&] { return screen.viewState() == op::kSettingsShown; }, 10000));
        ASSERT_TRUE(h.waitForKeepAlive());
        if (done < 3) {
            screen.registerButton()->click();
        }
    }
    for (const char* name : {"first", "second", "third"}) {
        EXPECT_TRUE(QFile::exists(h.root.filePath(QString::fromLatin1(name) + QStringLiteral(".jv4"))))
            << name;
    }
    EXPECT_EQ(h.noDataShown, 0);
}

TEST_F(Registration, ABlockedBackupStopsTheStartBeforeAnythingIsSent) {
    PsEntModeDialog& screen = h.readAndOpen();
    ASSERT_TRUE(h.waitForKeepAlive());
    const QString blocked = h.root.filePath(QStringLiteral("blocked"));
    ASSERT_TRUE(QFile(blocked).open(QIODevice::WriteOnly));
    const QByteArray saved = qgetenv("TOLVAN_BACKUP_DIR");
    qputenv("TOLVAN_BACKUP_DIR", blocked.toLocal8Bit());
    h.requests.clear();
    screen.registerButton()->click();
    qputenv("TOLVAN_BACKUP_DIR", saved);
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_TRUE(h.dialogs.messages[0].text.startsWith(
        QStringLiteral("書き込み前のバックアップを保存できませんでした。")));
    EXPECT_EQ(screen.viewState(), op::kSettingsShown);
    EXPECT_TRUE(screen.registerButton()->isEnabled());
    EXPECT_EQ(writesOf(0x0104), 0u);
    EXPECT_EQ(h.session.state().registrationAnswerFlag, 0u);
}

TEST_F(Registration, TheWriteBackAfterACompletedRegistrationGoesOutWithoutItsBackup) {
    PsEntModeDialog& screen = start(scenario(Outcome::Success));
    blockBackups(); // the start's own backup is saved
    ASSERT_TRUE(waitForWriteBack(screen));
    ASSERT_EQ(h.dialogs.messages.size(), 2);
    EXPECT_EQ(h.dialogs.messages[0].text, registration::completedMessage());
    expectWrittenWithoutBackup(h.dialogs.messages[1].text);
    EXPECT_EQ(writesOf(0x0105), 1u);
    EXPECT_EQ(h.handsetBlock(0x1104).at(0), 0);
    EXPECT_EQ(h.noDataShown, 0);
}

TEST_F(Registration, CancellingTheSaveDialogStillWritesBack) {
    PsEntModeDialog& screen = start(scenario(Outcome::Success));
    ASSERT_TRUE(waitForWriteBack(screen));
    EXPECT_EQ(h.dialogs.saveRequests.size(), 1);
    EXPECT_EQ(writesOf(0x0105), 1u);
    EXPECT_EQ(h.handsetBlock(0x1104).at(0), 0);
    EXPECT_TRUE(QDir(h.root.path()).entryList({QStringLiteral("*.jv1")}, QDir::Files).isEmpty());
}

TEST_F(Registration, APairThatCouldNotBeReadIsNamedAsNotSavedAndTheSettingsStillGoBack) {
    // The settings read goes through; the data setting read that completes the .jv1 does not.
    h.dialogs.saveAnswers.push_back(h.root.filePath(QStringLiteral("lost.jv4")));
    h.dialogs.whileFileDialogOpen = [this] {
        h.handset().faults().add({sim::FaultKind::Battery, 0x1C01, 0, 1, 0});
    };
    PsEntModeDialog& screen = start(scenario(Outcome::Success));
    ASSERT_TRUE(waitForWriteBack(screen));
    const auto said = std::find_if(h.dialogs.messages.begin(), h.dialogs.messages.end(), [](const auto& m) {
        return m.text.contains(QStringLiteral("保存していません"));
    });
    ASSERT_NE(said, h.dialogs.messages.end());
    EXPECT_TRUE(said->text.contains(QStringLiteral("lost.jv1")) &&
                said->text.contains(QStringLiteral("lost.jv4")))
        << said->text.toStdString();
    EXPECT_FALSE(QFile::exists(h.root.filePath(QStringLiteral("lost.jv1"))));
    EXPECT_FALSE(QFile::exists(h.root.filePath(QStringLiteral("lost.jv4"))));
    EXPECT_EQ(writesOf(0x0105), 1u);
}

TEST_F(Registration, APairOverAnExistingOneAsksOnceAndNoWritesNeitherFileButStillWritesBack) {
    const QString older = h.root.filePath(QStringLiteral("next.jv1"));
    {
        QFile file(older);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("older\r\n");
    }
    h.dialogs.saveAnswers.push_back(h.root.filePath(QStringLiteral("next.jv4")));
    h.dialogs.saveAnswers.push_back(h.root.filePath(QStringLiteral("other")));
    h.dialogs.messageAnswers = {QMessageBox::Ok, QMessageBox::No};
    PsEntModeDialog& screen = start(scenario(Outcome::Success));
    ASSERT_TRUE(waitForWriteBack(screen));
    ASSERT_EQ(h.dialogs.messages.size(), 2);
    EXPECT_EQ(h.dialogs.messages[1].buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_TRUE(h.dialogs.messages[1].text.contains(QStringLiteral("next.jv1")));
    EXPECT_FALSE(h.dialogs.messages[1].text.contains(QStringLiteral("next.jv4")));
    EXPECT_FALSE(h.dialogs.saveRequests[0].confirmOverwrite);
    QFile file(older);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("older\r\n"));
    EXPECT_FALSE(QFile::exists(h.root.filePath(QStringLiteral("next.jv4"))));
    // "いいえ" goes back to the save dialog for another name.
    ASSERT_EQ(h.dialogs.saveRequests.size(), 2);
    EXPECT_EQ(h.dialogs.saveRequests[1].directory, h.root.path());
    EXPECT_TRUE(QFile::exists(h.root.filePath(QStringLiteral("other.jv1"))));
    EXPECT_TRUE(QFile::exists(h.root.filePath(QStringLiteral("other.jv4"))));
    EXPECT_EQ(writesOf(0x0105), 1u);
}

TEST_F(Registration, AFailureShowsItsCauseAndFreesTheButtons) {
    sim::RegistrationScenario failure = scenario(Outcome::Failure);
    failure.cause = 0x70;
    PsEntModeDialog& screen = start(failure);
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen.viewState() == op::kRegistrationFailed; }, 10000));
    EXPECT_EQ(screen.statusBox()->text(), QStringLiteral("子機登録制御失敗(異常終了)"));
    EXPECT_EQ(screen.errorBox()->text(), QStringLiteral("子機増設拒否(子機番号不一致)"));
    // The button timer does not lock the buttons of the failure again.
    QTest::qWait(1100);
    EXPECT_EQ(screen.buttonState(), op::kRegistrationFailed);
    EXPECT_TRUE(screen.buttons(1).write->isEnabled());
    EXPECT_TRUE(screen.registerButton()->isEnabled());
    EXPECT_FALSE(screen.abortButton()->isEnabled());
    EXPECT_TRUE(screen.buttons(0).back->isEnabled());
    EXPECT_TRUE(exitItem(screen)->isEnabled());

    // The command's abnormal end that follows still shows.
    h.sink.registrationAnswer(0x40, {});
    EXPECT_TRUE(QTest::qWaitFor([&] { return screen.viewState() == op::kRegistrationCommandError; }, 2000));
    EXPECT_EQ(screen.statusBox()->text(), QStringLiteral("コマンド終了(異常終了)"));
    EXPECT_TRUE(screen.errorBox()->text().isEmpty());
    EXPECT_TRUE(screen.registerButton()->isEnabled());
}

TEST_F(Registration, AnAbortWritesBackAndALateFailureReportChangesNothing) {
    PsEntModeDialog& screen = start(scenario(Outcome::Failure, 2500));
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen.abortButton()->isEnabled(); }, 5000));
    EXPECT_FALSE(screen.buttons(0).read->isEnabled());
    EXPECT_EQ(screen.buttonState(), op::kRegistrationRunning);
    screen.close(); // the way back is closed while the registration runs
    EXPECT_TRUE(screen.isVisible());
    for (QAction* item : screen.fileActions()) {
        EXPECT_FALSE(item->isEnabled()) << item->text().toStdString();
    }
    EXPECT_FALSE(exitItem(screen)->isEnabled());
    const std::size_t before = writesOf(0x0105);
    screen.abortButton()->click();
    EXPECT_EQ(writesOf(0x0105), before + 1);
    EXPECT_EQ(h.noDataShown, 0);
    EXPECT_EQ(screen.viewState(), op::kSettingsShown);
    EXPECT_EQ(screen.statusBox()->text(), QStringLiteral("子機登録中断"));
    EXPECT_TRUE(exitItem(screen)->isEnabled());
    // The handset's own failure report still comes; the screen keeps the abort.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto& reports = h.store.registration().reports;
            return std::any_of(reports.begin(), reports.end(),
                               [](const auto& r) { return r.status == 0x10; });
        },
        10000));
    QCoreApplication::processEvents();
    EXPECT_EQ(screen.statusBox()->text(), QStringLiteral("子機登録中断"));
    EXPECT_TRUE(screen.errorBox()->text().isEmpty());
    EXPECT_EQ(screen.viewState(), op::kSettingsShown);
}

TEST_F(Registration, AnAbortWritesBackWithoutItsBackupWhenItCannotBeSaved) {
    PsEntModeDialog& screen = start(scenario(Outcome::Failure, 2500));
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen.abortButton()->isEnabled(); }, 5000));
    blockBackups();
    const std::size_t before = writesOf(0x0105);
    screen.abortButton()->click();
    EXPECT_EQ(writesOf(0x0105), before + 1);
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    expectWrittenWithoutBackup(h.dialogs.messages[0].text);
    EXPECT_EQ(screen.viewState(), op::kSettingsShown);
    EXPECT_EQ(screen.statusBox()->text(), QStringLiteral("子機登録中断"));
}

TEST_F(Registration, AnEmptyBatteryLosesTheLinkAndTheScreenShowsNoData) {
    PsEntModeDialog& screen = start(scenario(Outcome::Battery));
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen.viewState() == op::kNoData; }, 10000));
    QTest::qWait(1100); // past the button timer
    EXPECT_EQ(screen.buttonState(), op::kNoData);
    EXPECT_FALSE(screen.buttons(0).write->isEnabled());
    EXPECT_FALSE(screen.abortButton()->isEnabled());
    EXPECT_TRUE(screen.buttons(0).back->isEnabled());
    EXPECT_TRUE(screen.statusBox()->text().isEmpty());
}

TEST_F(Registration, AnAnswerWithAnUnknownCauseEndsTheProgram) {
    sim::RegistrationScenario failure = scenario(Outcome::Failure);
    failure.cause = 0x1D;
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_EXIT(
        {
            PsEntModeDialog& screen = start(failure);
            // Still running after the answer came: a status that says the registration went on.
            std::exit(QTest::qWaitFor([&] { return screen.viewState() != op::kRegistrationRunning; }, 10000)
                          ? 0
                          : 1);
        },
        ::testing::ExitedWithCode(4), "");
}

} // namespace
} // namespace tolvan::psent

#include "link/core/linkstate.h"
#include "shell/aborttextflag.h"
#include "shell/dialogservice.h"
#include "shell/initcom.h"
#include "shell/pserrdialog.h"
#include "shell/windowhider.h"
#include "shell/writingmessage.h"
#include "tests/support/fakedialogservice.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace tolvan::shell {
namespace {

using tolvan::link::LinkState;

// Waits for n ticks of a dialog's own poll timer; its handler has run when the count moves.
bool waitTicks(QDialog& dialog, int n) {
    auto* timer = dialog.findChild<QTimer*>();
    if (timer == nullptr) {
        return false;
    }
    int ticks = 0;
    const auto connection = QObject::connect(timer, &QTimer::timeout, [&ticks] { ++ticks; });
    const bool reached = QTest::qWaitFor([&] { return ticks >= n; }, 2000);
    QObject::disconnect(connection);
    return reached;
}

LinkState runningScript(std::uint8_t script, std::uint8_t step, std::uint32_t model) {
    LinkState state;
    state.portOpen = true;
    state.dialogueState = tolvan::link::kScriptRunning;
    state.scriptId = script;
    state.scriptStep = step;
    state.modelCode = model;
    return state;
}

QString labelText(const QDialog& dialog) {
    const auto* label = dialog.findChild<QLabel*>();
    return label ? label->text() : QString();
}

TEST(InitCom, BarFollowsTheScriptStep) {
    LinkState state = runningScript(0, 8, tolvan::link::kModelVa150);
    ASSERT_EQ(tolvan::link::scriptLastStep(0), 17);
    InitCom dialog(state);
    dialog.open();
    auto* bar = dialog.findChild<QProgressBar*>();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->value() == 47; }, 2000));
    state.scriptStep = 17;
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->value() == 100; }, 2000));
    EXPECT_TRUE(dialog.isVisible());
    // Escape cannot stop a running script's dialog.
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
}

TEST(InitCom, BarStaysForAnUnknownModelOrScript) {
    LinkState state = runningScript(0, 8, 0);
    InitCom dialog(state);
    dialog.open();
    auto* bar = dialog.findChild<QProgressBar*>();
    ASSERT_TRUE(waitTicks(dialog, 3));
    EXPECT_EQ(bar->value(), 0);
    // A script id without a table must not divide by zero.
    state.modelCode = tolvan::link::kModelVa100;
    state.scriptId = 200;
    ASSERT_TRUE(waitTicks(dialog, 3));
    EXPECT_EQ(bar->value(), 0);
    EXPECT_TRUE(dialog.isVisible());
}

TEST(InitCom, ExecEndsWhenTheDialogueLeavesTheRunningState) {
    for (const std::uint32_t next : {tolvan::link::kKeepAlive, tolvan::link::kIdle}) {
        LinkState state = runningScript(0, 3, tolvan::link::kModelVa150C);
        InitCom dialog(state);
        QTimer::singleShot(0, &dialog, [&] { state.dialogueState = next; });
        EXPECT_EQ(dialog.exec(), QDialog::Accepted);
        EXPECT_FALSE(dialog.closedByPortLoss());
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST(InitCom, ClosesWhenThePortDrops) {
    LinkState state = runningScript(7, 2, tolvan::link::kModelVa150);
    InitCom dialog(state);
    dialog.open();
    ASSERT_TRUE(waitTicks(dialog, 1));
    EXPECT_TRUE(dialog.isVisible());
    state.portOpen = false;
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.isVisible(); }, 2000));
    EXPECT_TRUE(dialog.closedByPortLoss());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    // The dialogue state was still 1: the dialog never touches the link state.
    EXPECT_EQ(state.dialogueState, tolvan::link::kScriptRunning);
}

TEST(InitCom, AbortTextIsShownOnceAndTakenDown) {
    LinkState state = runningScript(15, 1, tolvan::link::kModelVa150);
    AbortTextFlag flag;
    flag.raise();
    InitCom dialog(state, &flag);
    dialog.open();
    EXPECT_EQ(labelText(dialog), QStringLiteral("中断処理中です。お待ち下さい。"));
    EXPECT_FALSE(flag.isRaised());
    state.dialogueState = tolvan::link::kKeepAlive;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.isVisible(); }, 2000));

    state.dialogueState = tolvan::link::kScriptRunning;
    dialog.open();
    EXPECT_TRUE(labelText(dialog).startsWith(QStringLiteral("データを読み込み、書き込み中です。")));
    dialog.done(QDialog::Accepted);
}

TEST(PsErrDialog, StaysForNoAnswerAndNormalClassesUntilOk) {
    for (const std::uint8_t resultClass : {0, 10, 11}) {
        LinkState state;
        state.resultClass = resultClass;
        PsErrDialog dialog(state);
        dialog.open();
        ASSERT_TRUE(waitTicks(dialog, 3));
        EXPECT_TRUE(dialog.isVisible()) << int(resultClass);
        auto* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        QTest::mouseClick(ok, Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
}

TEST(PsErrDialog, ClosesByItselfForAnyOtherClass) {
    LinkState state;
    state.resultClass = tolvan::link::rc::kCommandError;
    PsErrDialog dialog(state);
    dialog.open();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.isVisible(); }, 2000));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    // A class that turns while it is open closes it at the next tick.
    state.resultClass = tolvan::link::rc::kRetryFailure;
    dialog.open();
    ASSERT_TRUE(waitTicks(dialog, 2));
    ASSERT_TRUE(dialog.isVisible());
    state.resultClass = tolvan::link::rc::kBatteryEmpty;
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.isVisible(); }, 2000));
}

TEST(WritingMessage, CarriesItsNumberAndIgnoresEscape) {
    WritingMessage notice;
    notice.setValue(42);
    notice.show();
    QTest::keyClick(&notice, Qt::Key_Escape);
    EXPECT_TRUE(notice.isVisible());
    EXPECT_EQ(notice.value(), 42);
    EXPECT_TRUE(notice.findChildren<QPushButton*>().isEmpty());
    // The owner closes it.
    notice.close();
    EXPECT_FALSE(notice.isVisible());
    EXPECT_EQ(notice.value(), 42);
}

TEST(WindowHider, HidesTheOwnerWhileTheDialogRuns) {
    QWidget window;
    window.show();
    QDialog dialog(&window);
    bool hiddenDuringDialog = false;
    QTimer::singleShot(0, &dialog, [&] {
        hiddenDuringDialog = !window.isVisible();
        dialog.accept();
    });
    EXPECT_EQ(WindowHider::execHidden(&window, dialog), QDialog::Accepted);
    EXPECT_TRUE(hiddenDuringDialog);
    EXPECT_TRUE(window.isVisible());

    // A window that was not shown stays hidden afterwards.
    window.hide();
    QTimer::singleShot(0, &dialog, [&] { dialog.reject(); });
    WindowHider::execHidden(&window, dialog);
    EXPECT_FALSE(window.isVisible());
}

TEST(DialogService, ErrorsAndLinkMessagesGoThroughTheInstalledService) {
    FakeDialogService fake;
    fake.messageAnswers.push_back(QMessageBox::Cancel);
    {
        const ScopedDialogService scope(fake);
        EXPECT_EQ(&DialogService::current(), &fake);
        DialogService::current().linkMessage(nullptr, tolvan::link::LinkMessage::BatteryEmpty);
        DialogService::current().error(nullptr, QStringLiteral("指定されたファイルは存在しません。"));
    }
    EXPECT_NE(&DialogService::current(), &fake);
    ASSERT_EQ(fake.messages.size(), 2);
    for (const MessageRequest& request : fake.messages) {
        EXPECT_EQ(request.title, QStringLiteral("エラー"));
        EXPECT_EQ(request.icon, QMessageBox::Warning);
        EXPECT_EQ(request.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    EXPECT_EQ(fake.messages[0].text,
              QString::fromUtf8(tolvan::link::messageText(tolvan::link::LinkMessage::BatteryEmpty)));
    EXPECT_EQ(fake.messages[1].text, QStringLiteral("指定されたファイルは存在しません。"));
}

} // namespace
} // namespace tolvan::shell

// The handset setting screen against the in-process virtual handset: what a read shows per model,
// the entry rules, the write, the states of unplug and replug, log file 4 and the report.
#include "app/modes.h"
#include "modes/psent/screen/psentform.h"
#include "tests/modes/psent/screen/screenharness.h"
#include "tests/support/iconvbytes.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

namespace tolvan::psent {
namespace {

using testing::ScreenHarness;
using Pick = PsEntForm::Pick;
using Slider = PsEntForm::Slider;

struct Enabled {
    bool pin, registration, menu, seamless, buttonCaption;
    bool operator==(const Enabled&) const = default;
};

Enabled enabledParts(const PsEntModeDialog& screen) {
    const PsEntForm& form = *screen.form();
    return {form.pin(0)->isEnabled(), screen.registerButton()->isEnabled(), form.menuSlot(0)->isEnabled(),
            form.pick(Pick::Seamless)->isEnabled(), !form.buttonAssignCaption()->isHidden()};
}

TEST(PsEntScreen, ReadShowsTheSettingsWithTheModelsEnableRules) {
    const std::map<int, Enabled> expected = {
        {2, {true, true, false, true, true}},
        {3, {false, false, true, false, false}},
        {4, {false, false, true, true, false}},
    };
    for (const auto& [model, parts] : expected) {
        ScreenHarness h(static_cast<std::uint8_t>(model));
        PsEntModeDialog& screen = h.readAndOpen();
        EXPECT_EQ(screen.windowTitle(), QStringLiteral("子機設定／登録モード"));
        EXPECT_EQ(screen.viewState(), op::kSettingsShown);
        EXPECT_EQ(enabledParts(screen), parts) << model;
        EXPECT_EQ(screen.form()->pick(Pick::ManualHandover)->isEnabled(), false);
        EXPECT_EQ(screen.form()->psIdBox(0)->text(), QStringLiteral("1"));
        EXPECT_EQ(screen.form()->function(3)->currentText(), QStringLiteral("外部音源制御"));
        EXPECT_EQ(screen.form()->parameter(3)->currentText(), QStringLiteral("No.250"));
        if (model == 2) {
            // Every record is read from a ZX-VA100: the screen is the sample exactly.
            PsEntScreenValues sample = testing::sampleScreen();
            sample.connectedModel = QStringLiteral("ZX-VA100");
            EXPECT_EQ(screen.screenValues(), sample);
        }
    }
}

TEST(PsEntScreen, EntryRulesOfTheDigitBoxesListsSlidersAndFunctions) {
    ScreenHarness h(2);
    PsEntModeDialog& screen = h.readAndOpen();
    screen.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    PsEntForm& form = *screen.form();

    for (int i = 0; i < 9; ++i) {
        form.psIdBox(i)->clear();
    }
    form.psIdBox(0)->setFocus();
    for (const QChar c : QStringLiteral("268435456")) {
        QTest::keyClicks(screen.focusWidget(), QString(c));
    }
    EXPECT_TRUE(form.psIdBox(8)->text().isEmpty()); // one past 0x0FFFFFFF
    EXPECT_EQ(form.psIdBox(7)->text(), QStringLiteral("5"));
    EXPECT_EQ(screen.focusWidget(), form.psIdBox(8));

    form.psNumber(0)->setCurrentIndex(3);
    form.psNumber(1)->setCurrentIndex(9);
    form.psNumber(2)->setCurrentIndex(5);
    emit form.psNumber(2)->activated(5);
    EXPECT_EQ(form.psNumber(0)->currentText(), QStringLiteral("2")); // 395 -> 295

    QSlider* mic = form.slider(Slider::MicLevel);
    mic->setValue(44);
    emit mic->sliderReleased();
    EXPECT_EQ(mic->value(), 30);
    mic->setValue(45); // halfway goes up
    emit mic->sliderReleased();
    EXPECT_EQ(mic->value(), 60);

    // A new function resets its parameter and refills the list.
    form.function(1)->setCurrentIndex(3);
    emit form.function(1)->activated(3);
    EXPECT_EQ(form.parameter(1)->count(), 48);
    EXPECT_EQ(form.parameter(1)->currentText(), QStringLiteral("内線番号１"));
    form.function(1)->setCurrentIndex(2);
    emit form.function(1)->activated(2);
    EXPECT_EQ(form.parameter(1)->count(), 1);
    EXPECT_EQ(form.parameter(1)->currentText(), QStringLiteral("なし"));

    QLineEdit* call = form.callNumber(4);
    call->clear();
    QTest::keyClicks(call, QStringLiteral("1a2-3456"));
    EXPECT_EQ(call->text(), QStringLiteral("1234"));
}

TEST(PsEntScreen, WriteSendsTheScreenAfterReplacingOutOfRangeCallNumbersWithOneMessage) {
    ScreenHarness h(2);
    PsEntModeDialog& screen = h.readAndOpen();
    PsEntForm& form = *screen.form();
    form.callNumber(2)->setText(QStringLiteral("0099"));
    form.callNumber(8)->setText(QStringLiteral("8000"));
    form.slider(Slider::ReceiveVolume)->setValue(60);
    form.pick(Pick::VoxSensitivity)->setCurrentIndex(0);
    form.pin(3)->setCurrentIndex(9);
    h.requests.clear();
    screen.buttons(1).write->click();

    ASSERT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_EQ(h.dialogs.messages[0].title, QStringLiteral("個別通話子機番号登録"));
    EXPECT_EQ(
        h.dialogs.messages[0].text,
        QStringLiteral("No.3の内線番号は100～799または1000～7999の範囲ではありません。\n103に変更します。"));
    EXPECT_EQ(h.noDataShown, 0);
    EXPECT_EQ(screen.viewState(), op::kSettingsShown);
    EXPECT_EQ(form.callNumber(2)->text(), QStringLiteral("0103"));
    EXPECT_EQ(form.callNumber(8)->text(), QStringLiteral("0109"));
    // The ZX-VA100's hearing and button records go out too.
    for (const std::uint16_t code :
         {0x0102, 0x0104, 0x0105, 0x0106, 0x010A, 0x0201, 0x0302, 0x0407, 0x0008}) {
        EXPECT_NE(std::find(h.requests.begin(), h.requests.end(), code), h.requests.end())
            << std::hex << code;
    }
    const link::Bytes calls = h.handsetBlock(0x1106);
    EXPECT_EQ(link::Bytes(calls.begin() + 8, calls.begin() + 12), (link::Bytes{0, 1, 0, 3}));
    EXPECT_EQ(link::Bytes(calls.begin() + 32, calls.begin() + 36), (link::Bytes{0, 1, 0, 9}));
    EXPECT_EQ(h.handsetBlock(0x1102).at(10) & 0x0F, 1);
    EXPECT_EQ(h.handsetBlock(0x110A).at(0) >> 4, 1);
    EXPECT_EQ(h.handsetBlock(0x1104).at(18), 0);
    EXPECT_EQ(h.handsetBlock(0x1302), (link::Bytes{'1', '2', '3', '9'}));
    // What the handset held before is kept first.
    const QStringList backups =
        QDir(h.backups.filePath(QStringLiteral("ZX-VA100/123456789"))).entryList(QDir::Files);
    EXPECT_EQ(backups.filter(QStringLiteral(".jv4")).size(), 1) << backups.join(' ').toStdString();
}

TEST(PsEntScreen, UnplugEmptiesTheScreenAndReplugReadsAgainWithoutAButton) {
    ScreenHarness h(2);
    PsEntModeDialog& screen = h.readAndOpen();
    PsEntForm& form = *screen.form();
    screen.memoBox()->setText(QStringLiteral("差し替え"));
    h.attached = false;
    h.session.deviceTreeChanged();
    EXPECT_EQ(screen.viewState(), op::kUnplugged);
    EXPECT_EQ(form.psNumber(0)->currentIndex(), -1);
    EXPECT_EQ(form.pin(0)->currentIndex(), -1);
    EXPECT_EQ(form.slider(Slider::Sidetone)->value(), 0);
    EXPECT_TRUE(form.psIdBox(0)->text().isEmpty());
    EXPECT_FALSE(form.psIdBox(0)->isEnabled());
    EXPECT_TRUE(screen.modelBox()->text().isEmpty());
    EXPECT_FALSE(screen.modelBox()->isEnabled());
    EXPECT_EQ(form.callNumber(47)->text(), QStringLiteral("1234")); // kept
    EXPECT_FALSE(screen.buttons(0).read->isEnabled());
    EXPECT_FALSE(screen.buttons(1).write->isEnabled());
    EXPECT_FALSE(form.slider(Slider::Sidetone)->isEnabled());
    EXPECT_TRUE(screen.buttons(0).back->isEnabled());
    EXPECT_TRUE(screen.fileActions().first()->isEnabled());
    EXPECT_EQ(screen.buttons(0).swap->text(), QStringLiteral("交換完了"));
    EXPECT_FALSE(h.session.state().pendingFlag && h.session.state().pendingCommand == link::cmd::kClose);

    // The next handset hears the open frame first, and is read without a wait for a close.
    h.requests.clear();
    h.attached = true;
    QElapsedTimer replugged;
    QObject::connect(&h.session, &link::LinkSession::handsetReconnected, [&] { replugged.start(); });
    h.session.deviceTreeChanged();
    h.session.deviceTreeChanged();
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen.viewState() == op::kSettingsShown; }, 10000));
    EXPECT_LT(replugged.elapsed(), 2500);
    ASSERT_FALSE(h.requests.empty());
    EXPECT_EQ(h.requests.front(), link::cmd::kOpen);
    EXPECT_EQ(std::count(h.requests.begin(), h.requests.end(), link::cmd::kClose), 1);
    EXPECT_EQ(form.psNumber(0)->currentText(), QStringLiteral("2"));
    EXPECT_EQ(screen.modelBox()->text(), QStringLiteral("ZX-VA100"));
    EXPECT_EQ(screen.memoBox()->text(), QStringLiteral("差し替え"));
    EXPECT_TRUE(screen.buttons(1).write->isEnabled());
    EXPECT_EQ(screen.buttons(0).swap->text(), QStringLiteral("子機交換"));
}

TEST(PsEntScreen, TheSwapButtonClosesTheDialogueThenReadsTheNextHandset) {
    ScreenHarness h(2);
    PsEntModeDialog& screen = h.readAndOpen();
    ASSERT_TRUE(h.waitForKeepAlive());
    screen.swapHandset();
    EXPECT_EQ(screen.viewState(), op::kUnplugged);
    EXPECT_EQ(screen.buttons(0).swap->text(), QStringLiteral("交換完了"));
    EXPECT_EQ(h.session.state().pendingCommand, link::cmd::kClose);
    EXPECT_EQ(h.session.state().dialogueState, link::kIdle);

    h.requests.clear();
    screen.swapHandset();
    EXPECT_EQ(screen.viewState(), op::kSettingsShown);
    EXPECT_NE(std::find(h.requests.begin(), h.requests.end(), 0x1105), h.requests.end());
    EXPECT_EQ(screen.buttons(0).swap->text(), QStringLiteral("子機交換"));
}

TEST(PsEntScreen, WithoutDataOnlyTheWayBackAndTheFilesAreLive) {
    ScreenHarness h(3);
    PsEntModeDialog& screen = h.open<PsEntModeDialog>();
    EXPECT_EQ(screen.viewState(), op::kNoData);
    EXPECT_FALSE(screen.buttons(0).write->isEnabled());
    EXPECT_FALSE(screen.registerButton()->isEnabled());
    EXPECT_FALSE(screen.abortButton()->isEnabled());
    EXPECT_TRUE(screen.buttons(1).back->isEnabled());
    EXPECT_EQ(screen.buttons(1).swap->text(), QStringLiteral("接続確認完了"));
    EXPECT_TRUE(screen.buttons(1).swap->isHidden());
    EXPECT_EQ(screen.memoBox()->text(), testing::sampleScreen().memo);
    // On a display lower than the screen it scrolls, in tenths and hundredths of the range.
    screen.fitInto(QRect(0, 0, 1366, 500));
    QScrollBar* bar = screen.scrollArea()->verticalScrollBar();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return bar->maximum() > 100 && bar->pageStep() == bar->maximum() / 10; }));
    EXPECT_EQ(bar->singleStep(), bar->maximum() / 100);
}

TEST(PsEntScreen, LogFile4SavesByteExactAndAnotherModelsFileChangesNothing) {
    ScreenHarness h(2);
    PsEntModeDialog& screen = h.readAndOpen();
    const QString chosen = h.root.filePath(QStringLiteral("handset.jv1"));
    h.dialogs.saveAnswers.push_back(chosen);
    screen.saveFile();
    QFile saved(h.root.filePath(QStringLiteral("handset.jv4")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), dataset::testing::cp932Lines(testing::sampleLines(2)));
    EXPECT_EQ(h.dialogs.saveRequests.last().filter, QStringLiteral("ﾛｸﾞﾌｧｲﾙ4(*.jv4)"));

    const QString other = h.root.filePath(QStringLiteral("va150.jv4"));
    QFile file(other);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(dataset::testing::cp932Lines(testing::sampleLines(3)));
    file.close();
    screen.form()->pick(Pick::NoiseCut)->setCurrentIndex(0);
    const PsEntScreenValues before = screen.screenValues();
    h.dialogs.openAnswers.push_back(other);
    screen.openFile();
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_EQ(h.dialogs.messages[0].text,
              QStringLiteral("接続モデルはZX-VA100ですが、読み込みファイルはZX-VA100用ではありません"));
    EXPECT_EQ(screen.screenValues(), before);

    // Its own file comes back whole.
    h.dialogs.openAnswers.push_back(saved.fileName());
    screen.openFile();
    EXPECT_EQ(screen.form()->pick(Pick::NoiseCut)->currentIndex(), 1);
}

TEST(PsEntScreen, ReportPrintsToPdfAndTheMainMenuOffersTheMode) {
    ScreenHarness h(4);
    PsEntModeDialog& screen = h.readAndOpen();
    h.dialogs.printPdfPath = h.root.filePath(QStringLiteral("report.pdf"));
    screen.printReport();
    QFile pdf(h.dialogs.printPdfPath);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5).startsWith("%PDF"));
    EXPECT_GT(pdf.size(), 1000);

    const auto modes = app::availableModes();
    EXPECT_EQ(modes[3].buttonText, QStringLiteral("子機設定／登録モード"));
    EXPECT_EQ(modes[3].operationId, op::kReadPending);
    EXPECT_EQ(modes[3].readScript, 15);
    EXPECT_TRUE(static_cast<bool>(modes[3].open));
}

} // namespace
} // namespace tolvan::psent

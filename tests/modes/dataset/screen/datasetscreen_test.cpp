// The data setting screen against the in-process virtual handset: what it shows per model, read,
// write, the digit boxes, keys and menus, leaving, and the link's abort, removal and reconnection.
#include "modes/dataset/model/logfile1writer.h"
#include "modes/dataset/model/systemparamimage.h"
#include "modes/dataset/screen/datasetform.h"
#include "modes/dataset/screen/digitboxrow.h"
#include "modes/test/model/testoperations.h"
#include "tests/modes/dataset/printvalues.h"
#include "tests/modes/dataset/screen/screenharness.h"
#include "tests/support/filebytes.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace tolvan::dataset {
namespace {

using testing::ScreenHarness;
using V = DataSetScreenValues;

// What the virtual handset holds for a ZX-VA150(C) out of the box, as the screen shows it.
V va150cDefaults(const QString& memo) {
    V v;
    v.version = {"0", "2", "1", "4"};
    v.psId = {"1", "2", "3", "4", "5", "6", "7", "8", "9"};
    v.controlChannel = 2;
    v.handoverLevels = {20, 10, 15, 25, 18}; // 30, 20, 25, 35, 28 dBuV
    v.ferThreshold = 200;
    v.ferTriggeredLevel = 2;
    v.systemCall = {"5", "1", "2", "3", "4", "5", "6", "7", "8"};
    v.seamlessProcessLevel = 30;
    v.seamlessSelectLevel = 35;
    v.seamlessFerThreshold = 12;
    v.areaType = 1;
    v.additionalIdCount = 5;
    v.additionalIds = {{{1, 15, 15, 15},
                        {0, 1, 2, 3},
                        {0, 10, 5, 12},
                        {1, 0, 0, 0},
                        {0, 0, 0, 1},
                        {0, 15, 14, 13},
                        {0, 7, 7, 7},
                        {1, 10, 11, 12}}};
    v.rxGain = 0; // 0x1008 is not read from this model
    v.interval = 149;
    v.accessory = 1;
    v.faultCode = {0, 0, 0};
    v.memo = memo;
    return v;
}

std::vector<bool> rowsEnabled(const DataSetForm& form) {
    std::vector<bool> rows;
    for (int row = 0; row < 8; ++row) {
        bool all = true;
        bool none = true;
        for (int d = 0; d < 4; ++d) {
            all = all && form.additionalId(row, d)->isEnabled();
            none = none && !form.additionalId(row, d)->isEnabled();
        }
        EXPECT_TRUE(all || none) << "row " << row + 1 << " is half enabled";
        rows.push_back(all);
    }
    return rows;
}

void typeDigits(QWidget* window, const QString& digits) {
    for (const QChar c : digits) {
        QTest::keyClicks(window->focusWidget(), QString(c));
    }
}

TEST(DataSetScreen, ReadShowsWhatTheHandsetHolds) {
    ScreenHarness h(4);
    h.prepare = [](sim::VirtualHandset& handset) {
        // An odd system call code: bit 0 travels in the fifth byte.
        handset.store().setBlock(0x1402, {0x7F, 0x7F, 0x7F, 0x7F, 0x01, 0x7F, 0x01});
    };
    h.texts.setMemo(QStringLiteral("点検"));
    ASSERT_TRUE(h.readAsTheMenuDoes());
    EXPECT_EQ(h.progressShown, 1);
    DataSetModeDialog& screen = h.openScreen();
    EXPECT_EQ(screen.windowTitle(), QStringLiteral("データ設定モード"));
    EXPECT_EQ(screen.viewState(), 0xA001u);
    EXPECT_EQ(h.session.state().operationId, 0xA001u);

    V expected = va150cDefaults(QStringLiteral("点検"));
    expected.systemCall = {"5", "3", "6", "8", "7", "0", "9", "1", "1"};
    expected.interval = 254;
    EXPECT_EQ(screen.screenValues(), expected);

    DataSetForm& form = *screen.form();
    EXPECT_EQ(form.controlChannel()->currentText(), QStringLiteral("12chと18ch"));
    EXPECT_EQ(form.handoverLevel(0)->currentText(), QStringLiteral("30"));
    EXPECT_EQ(form.ferTriggeredLevel()->currentText(), QStringLiteral("+6dB"));
    EXPECT_EQ(form.seamlessProcessLevel()->currentText(), QStringLiteral("40"));
    EXPECT_EQ(form.interval()->currentText(), QStringLiteral("255"));
    EXPECT_EQ(form.additionalId(7, 1)->currentText(), QStringLiteral("a"));
    EXPECT_EQ(form.faultCode(2)->currentText(), QStringLiteral("O"));
    EXPECT_EQ(screen.modelBox()->text(), QStringLiteral("ZX-VA150(C)"));
    EXPECT_TRUE(screen.modelBox()->isEnabled());
    EXPECT_TRUE(screen.readButton()->isEnabled());
    EXPECT_TRUE(screen.writeButton()->isEnabled());
    EXPECT_FALSE(form.versionRow()->box(0)->isEnabled());
    EXPECT_TRUE(form.systemCallRow()->box(0)->isEnabled());
    EXPECT_EQ(screen.focusWidget(), form.controlChannel());
}

TEST(DataSetScreen, SelectorsOfferExactlyTheirListsAndTakeNoTypedText) {
    ScreenHarness h(4);
    DataSetForm& form = *h.openScreen().form();
    // Each selector has its own list: its size and one entry that tells it from the others.
    struct Probe {
        QComboBox* box;
        int size;
        int index;
        QString text;
    };
    const std::vector<Probe> probes = {
        {form.handoverLevel(2), 71, 0, "10"},
        {form.seamlessSelectLevel(), 71, 70, "80"},
        {form.seamlessFerThreshold(), 32, 5, "05"},
        {form.ferThreshold(), 241, 7, "7"},
        {form.interval(), 255, 0, "1"},
        {form.additionalIdCount(), 9, 8, "8"},
        {form.additionalId(0, 0), 2, 1, "1"},
        {form.additionalId(3, 2), 16, 10, "a"},
        {form.ferTriggeredLevel(), 6, 5, QStringLiteral("起動なし")},
        {form.controlChannel(), 3, 2, QStringLiteral("12chと18ch")},
        {form.areaType(), 2, 1, QStringLiteral("ｼｽﾃﾑ呼出符号+付加ID")},
        {form.accessory(), 2, 1, QStringLiteral("ｵﾝ")},
        {form.faultCode(1), 1, 0, "K"},
    };
    for (const Probe& probe : probes) {
        EXPECT_EQ(probe.box->count(), probe.size) << probe.text.toStdString();
        EXPECT_EQ(probe.box->itemText(probe.index), probe.text);
    }
    for (QComboBox* box : form.findChildren<QComboBox*>()) {
        EXPECT_FALSE(box->isEditable());
    }
    // The hidden seamless selectors are carried, never shown; the TCH level is never editable.
    EXPECT_TRUE(form.seamlessProcessLevel()->isHidden());
    EXPECT_TRUE(form.seamlessFerThreshold()->isHidden());
    EXPECT_FALSE(form.handoverLevel(V::TchProcess)->isEnabled());
    EXPECT_FALSE(form.handoverLevel(V::TchProcess)->isHidden());
}

TEST(DataSetScreen, Va150DisablesTheAreaControlsAndWritesWithoutTheGainBlock) {
    ScreenHarness h(3);
    h.prepare = [](sim::VirtualHandset& handset) { handset.store().setBlock(0x1403, {1, 3}); };
    ASSERT_TRUE(h.readAsTheMenuDoes());
    DataSetModeDialog& screen = h.openScreen();
    DataSetForm& form = *screen.form();
    EXPECT_FALSE(form.areaType()->isEnabled());
    EXPECT_FALSE(form.additionalIdCount()->isEnabled());
    EXPECT_EQ(form.areaType()->currentIndex(), -1);
    EXPECT_EQ(form.additionalIdCount()->currentIndex(), -1);
    EXPECT_EQ(rowsEnabled(form), std::vector<bool>(8, false));
    EXPECT_FALSE(form.rxGain()->isEnabled());
    // The seamless values are still read, for the write.
    EXPECT_EQ(form.seamlessSelectLevel()->currentText(), QStringLiteral("45"));
    EXPECT_EQ(screen.modelBox()->text(), QStringLiteral("ZX-VA150"));

    ASSERT_TRUE(h.waitForKeepAlive());
    h.requests.clear();
    screen.writeButton()->click();
    EXPECT_EQ(screen.viewState(), 0xA001u);
    EXPECT_EQ(h.noDataShown, 0);
    const std::vector<std::uint16_t> expected = {
        0x20FF, 0x7100, 0x1B01, 0x0201, 0x0401, 0x0402, 0x0403, 0x0404, 0x0405, 0x0406,
        0x0001, 0x0002, 0x0003, 0x0005, 0x0102, 0x0C01, 0x1201, 0x1401, 0x1402, 0x1403,
        0x1404, 0x1405, 0x1406, 0x1001, 0x1002, 0x1003, 0x1005, 0x1102, 0x1C01, 0x21FF};
    EXPECT_EQ(h.firstDialogue(), expected);
    // The empty area type and count selectors did not overwrite what the handset holds.
    EXPECT_EQ(*h.handset().store().read(0x1403), (link::Bytes{1, 3}));
}

TEST(DataSetScreen, AdditionalIdRowsFollowTheCountAndKeepTheirSelections) {
    ScreenHarness h(4);
    ASSERT_TRUE(h.readAsTheMenuDoes());
    DataSetModeDialog& screen = h.openScreen();
    DataSetForm& form = *screen.form();
    EXPECT_TRUE(form.areaType()->isEnabled());
    EXPECT_FALSE(form.rxGain()->isEnabled());
    EXPECT_EQ(rowsEnabled(form), (std::vector<bool>{true, true, true, true, true, false, false, false}));

    form.additionalIdCount()->setCurrentIndex(8);
    EXPECT_EQ(rowsEnabled(form), std::vector<bool>(8, true));
    form.additionalIdCount()->setCurrentIndex(2);
    EXPECT_EQ(rowsEnabled(form), (std::vector<bool>{true, true, false, false, false, false, false, false}));
    EXPECT_EQ(form.additionalId(7, 3)->currentText(), QStringLiteral("c"));

    // Disabled rows are written all the same.
    form.additionalId(7, 3)->setCurrentIndex(13);
    ASSERT_TRUE(h.waitForKeepAlive());
    screen.writeButton()->click();
    EXPECT_EQ(*h.handset().store().read(0x1403), (link::Bytes{1, 2}));
    EXPECT_EQ(h.handset().store().read(0x1405)->at(7), 0x3D); // 0x1ABD: low six bits
    EXPECT_EQ(form.additionalId(7, 3)->currentText(), QStringLiteral("d"));
    EXPECT_EQ(rowsEnabled(form), (std::vector<bool>{true, true, false, false, false, false, false, false}));
}

TEST(DataSetScreen, WriteSendsTheScreenAndShowsWhatTheHandsetStored) {
    ScreenHarness h(2);
    ASSERT_TRUE(h.readAsTheMenuDoes());
    DataSetModeDialog& screen = h.openScreen();
    screen.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    DataSetForm& form = *screen.form();
    EXPECT_TRUE(form.rxGain()->isEnabled());
    EXPECT_EQ(form.rxGain()->currentText(), QStringLiteral("ｵﾝ"));
    const std::map<std::uint16_t, link::Bytes> before = {
        {0x1002, *h.handset().store().read(0x1002)},
        {0x1003, *h.handset().store().read(0x1003)},
        {0x1005, *h.handset().store().read(0x1005)},
        {0x1102, *h.handset().store().read(0x1102)},
    };

    // Typed over emptied rows: over the old digits the entry rule would refuse the first ones.
    form.psIdRow()->clear();
    form.psIdRow()->box(0)->setFocus();
    typeDigits(&screen, QStringLiteral("268435455"));
    form.systemCallRow()->clear();
    form.systemCallRow()->box(0)->setFocus();
    typeDigits(&screen, QStringLiteral("000000001"));
    form.handoverLevel(V::StandbySelect)->setCurrentIndex(35); // 45 dBuV
    form.ferThreshold()->setCurrentIndex(17);
    form.ferTriggeredLevel()->setCurrentIndex(5);
    form.seamlessProcessLevel()->setCurrentIndex(35);
    form.interval()->setCurrentIndex(0);
    form.accessory()->setCurrentIndex(0);
    form.rxGain()->setCurrentIndex(0);
    form.additionalId(0, 0)->setCurrentIndex(0);
    form.additionalId(0, 1)->setCurrentIndex(10);
    screen.memoBox()->setText(QStringLiteral("書き込み後"));
    V written = screen.screenValues();

    ASSERT_TRUE(h.waitForKeepAlive());
    screen.writeButton()->click();
    EXPECT_EQ(h.progressShown, 2);
    EXPECT_EQ(h.noDataShown, 0);
    EXPECT_TRUE(h.linkMessages.empty());
    EXPECT_EQ(screen.viewState(), 0xA001u);
    EXPECT_EQ(screen.screenValues(), written);

    const sim::HandsetStore& store = h.handset().store();
    EXPECT_EQ(*store.read(0x1201), (link::Bytes{0x7F, 0x7F, 0x7F, 0x7F}));
    EXPECT_EQ(*store.read(0x1401), (link::Bytes{79, 54, 59, 69, 62, 17, 0}));
    EXPECT_EQ(*store.read(0x1402), (link::Bytes{0, 0, 0, 0, 1, 1, 0}));
    EXPECT_EQ(*store.read(0x1406), (link::Bytes{2, 45, 45, 12, 5}));
    EXPECT_EQ(store.read(0x1404)->at(0), 0x2B); // 0x0AFF: bits 12..6
    EXPECT_EQ(store.read(0x1404)->at(1), 0x3F);
    EXPECT_EQ(store.read(0x1008)->at(0), 0);
    EXPECT_EQ(*store.read(0x1C01), link::Bytes{0});
    // Blocks of other modes went back as they were read.
    for (const auto& [code, bytes] : before) {
        EXPECT_EQ(*store.read(code), bytes) << std::hex << code;
    }

    // A fresh read shows the same, and the memo typed here stays.
    ASSERT_TRUE(h.waitForKeepAlive());
    screen.readButton()->click();
    EXPECT_EQ(screen.viewState(), 0xA001u);
    EXPECT_EQ(screen.screenValues(), written);
    EXPECT_EQ(h.texts.memo(), QStringLiteral("書き込み後"));
}

TEST(DataSetScreen, DigitBoxesTakeOneDigitEachAndEmptyTheOneThatGoesPastTheLimit) {
    ScreenHarness h(3);
    DataSetModeDialog& screen = h.openScreen();
    screen.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    DigitBoxRow& psId = *screen.form()->psIdRow();
    psId.box(0)->setFocus();
    typeDigits(&screen, QStringLiteral("268435455"));
    EXPECT_EQ(psId.texts<9>(), (std::array<QString, 9>{"2", "6", "8", "4", "3", "5", "4", "5", "5"}));
    EXPECT_EQ(screen.focusWidget(), psId.box(8)); // the ninth box keeps the focus
    psId.box(8)->selectAll();
    QTest::keyClicks(psId.box(8), QStringLiteral("6")); // 268435456
    EXPECT_TRUE(psId.box(8)->text().isEmpty());
    EXPECT_EQ(screen.focusWidget(), psId.box(8));
    QTest::keyClicks(psId.box(8), QStringLiteral("x"));
    EXPECT_TRUE(psId.box(8)->text().isEmpty());

    // The system call code has its own limit; an emptied box keeps the focus. (Without data the
    // row is disabled, so it is switched on here.)
    DigitBoxRow& systemCall = *screen.form()->systemCallRow();
    systemCall.setBoxesEnabled(true);
    systemCall.setTexts(std::array<QString, 9>{"", "3", "6", "8", "7", "0", "9", "1", "1"});
    systemCall.box(0)->setFocus();
    QTest::keyClicks(systemCall.box(0), QStringLiteral("6"));
    EXPECT_TRUE(systemCall.box(0)->text().isEmpty());
    EXPECT_EQ(screen.focusWidget(), systemCall.box(0));
    QTest::keyClicks(systemCall.box(0), QStringLiteral("5"));
    EXPECT_EQ(systemCall.box(0)->text(), QStringLiteral("5"));
    EXPECT_EQ(screen.focusWidget(), systemCall.box(1));
    // Only typing is restricted: a file may put anything into a box, and it comes back as it was.
    psId.setTexts(std::array<QString, 9>{"12", "a"});
    EXPECT_EQ(screen.screenValues().psId[0], QStringLiteral("12"));
    EXPECT_EQ(screen.screenValues().psId[1], QStringLiteral("a"));
}

TEST(DataSetScreen, EnterAndEscapeDoNotCloseItAndTheMenusCarryTheirShortcuts) {
    ScreenHarness h(3);
    DataSetModeDialog& screen = h.openScreen();
    screen.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    QTest::keyClick(&screen, Qt::Key_Escape);
    QTest::keyClick(&screen, Qt::Key_Return);
    QTest::keyClick(screen.form()->controlChannel(), Qt::Key_Enter);
    screen.backButton()->setFocus();
    QTest::keyClick(screen.backButton(), Qt::Key_Return);
    EXPECT_TRUE(screen.isVisible());
    EXPECT_EQ(screen.result(), 0);

    const QList<QAction*> menus = screen.findChild<QMenuBar*>()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("ファイル(&F) "));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("ヘルプ(&H)"));
    QStringList items;
    for (QAction* action : menus[0]->menu()->actions()) {
        items.append(action->text() + QLatin1Char('|') + action->shortcut().toString());
    }
    EXPECT_EQ(items, (QStringList{QStringLiteral("ファイルを開く(&O)|Ctrl+O"),
                                  QStringLiteral("ファイル名を付けて保存(&N)|Ctrl+N"),
                                  QStringLiteral("印刷(&P)|Ctrl+P"), QStringLiteral("終了(&X)|")}));
    ASSERT_EQ(menus[1]->menu()->actions().size(), 1);
    EXPECT_EQ(menus[1]->menu()->actions()[0]->text(), QStringLiteral("バージョン情報(&A)"));

    // The accelerators reach the file functions (the fake dialogs answer "cancelled").
    QTest::keyClick(&screen, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(&screen, Qt::Key_N, Qt::ControlModifier);
    QTest::keyClick(&screen, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(h.dialogs.openRequests.size(), 1);
    EXPECT_EQ(h.dialogs.saveRequests.size(), 1);
    EXPECT_EQ(h.dialogs.printRequests, 1);
}

TEST(DataSetScreen, BackToMenuSendsTheCloseFrameAndKeepsTheMemo) {
    ScreenHarness h(3);
    ASSERT_TRUE(h.readAsTheMenuDoes());
    DataSetModeDialog& screen = h.openScreen();
    ASSERT_TRUE(h.waitForKeepAlive());
    h.requests.clear();
    screen.memoBox()->setText(QStringLiteral("戻る前"));
    screen.backButton()->click();
    EXPECT_FALSE(screen.isVisible());
    EXPECT_EQ(screen.result(), QDialog::Accepted);
    EXPECT_EQ(h.texts.memo(), QStringLiteral("戻る前"));
    EXPECT_EQ(h.session.state().operationId, 0xFFFFu);
    // The close frame goes out in place of the next keep-alive frame; its ACK closes the port.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !h.session.state().portOpen; }, 5000));
    ASSERT_FALSE(h.requests.empty());
    EXPECT_EQ(h.requests.back(), link::cmd::kClose);
    EXPECT_TRUE(h.linkMessages.empty());
}

TEST(DataSetScreen, AbortNoticeShowsTheNoDataView) {
    ScreenHarness h(4);
    ASSERT_TRUE(h.readAsTheMenuDoes());
    DataSetModeDialog& screen = h.openScreen();
    const V shown = screen.screenValues();
    emit h.session.driver().notice({link::LinkEvent::OperationAborted, dataset::op::kNoticeOwner});
    EXPECT_EQ(screen.viewState(), 0xA002u);

    V expected;
    expected.psId = shown.psId;
    expected.accessory = shown.accessory;
    expected.rxGain = shown.rxGain;
    expected.seamlessProcessLevel = shown.seamlessProcessLevel;
    expected.seamlessSelectLevel = shown.seamlessSelectLevel;
    expected.seamlessFerThreshold = shown.seamlessFerThreshold;
    expected.memo = shown.memo;
    EXPECT_EQ(screen.screenValues(), expected);
    DataSetForm& form = *screen.form();
    EXPECT_FALSE(form.versionRow()->box(3)->isEnabled());
    EXPECT_FALSE(form.systemCallRow()->box(0)->isEnabled());
    EXPECT_TRUE(form.psIdRow()->box(0)->isEnabled());
    EXPECT_TRUE(screen.modelBox()->text().isEmpty());
    EXPECT_FALSE(screen.modelBox()->isEnabled());
    EXPECT_FALSE(screen.readButton()->isEnabled());
    EXPECT_FALSE(screen.writeButton()->isEnabled());
    EXPECT_TRUE(screen.backButton()->isEnabled());
    // No count selected: every additional-ID row is disabled.
    EXPECT_EQ(rowsEnabled(form), std::vector<bool>(8, false));

    // Notices for other modes are not this screen's business.
    emit h.session.driver().notice({link::LinkEvent::OperationAborted, testmode::op::kNoticeOwner});
    EXPECT_EQ(screen.viewState(), 0xA002u);
}

// A handset that stops answering the keep-alive polls: the read the technician starts ends in
// the no-data view with the USB message instead of a progress dialog that never closes. Real
// time: the link gives up after 20 s without progress.
TEST(DataSetScreen, ReadWhileTheKeepAliveGoesUnansweredEndsInTheNoDataView) {
    ScreenHarness h(3);
    ASSERT_TRUE(h.readAsTheMenuDoes());
    DataSetModeDialog& screen = h.openScreen();
    ASSERT_TRUE(h.waitForKeepAlive());
    const auto silence = sim::parseFaultRule("silence@7000,count=0");
    ASSERT_TRUE(silence);
    h.handset().faults().add(*silence);
    QTest::qWait(300); // the next keep-alive poll goes out and is not answered
    screen.readButton()->click();
    EXPECT_EQ(h.noDataShown, 1);
    EXPECT_EQ(h.linkMessages, std::vector<link::LinkMessage>{link::LinkMessage::UsbError});
    EXPECT_EQ(screen.viewState(), 0xA002u);
    EXPECT_FALSE(screen.writeButton()->isEnabled());
}

TEST(DataSetScreen, ReadThatTheHandsetDoesNotAnswerEndsInTheNoDataView) {
    ScreenHarness h(3);
    ASSERT_TRUE(h.readAsTheMenuDoes());
    DataSetModeDialog& screen = h.openScreen();
    ASSERT_TRUE(h.waitForKeepAlive());
    const auto silence = sim::parseFaultRule("silence@1201,count=0");
    ASSERT_TRUE(silence);
    h.handset().faults().add(*silence);
    screen.readButton()->click();
    EXPECT_EQ(h.noDataShown, 1);
    ASSERT_EQ(h.linkMessages.size(), 1u);
    EXPECT_EQ(h.linkMessages[0], link::LinkMessage::UsbError);
    EXPECT_EQ(screen.viewState(), 0xA002u);
    EXPECT_EQ(h.session.state().operationId, 0xA002u);
    EXPECT_FALSE(screen.writeButton()->isEnabled());
    EXPECT_TRUE(screen.form()->systemCallRow()->texts<9>()[0].isEmpty());
    EXPECT_EQ(screen.form()->controlChannel()->currentIndex(), -1);
}

TEST(DataSetScreen, UnpluggedThenPluggedInAgainReadsByItselfAndKeepsTheMemo) {
    ScreenHarness h(4);
    ASSERT_TRUE(h.readAsTheMenuDoes());
    DataSetModeDialog& screen = h.openScreen();
    ASSERT_TRUE(h.waitForKeepAlive());
    screen.memoBox()->setText(QStringLiteral("抜き差し"));

    h.attached = false;
    h.session.deviceTreeChanged();
    EXPECT_EQ(screen.viewState(), 0xA003u);
    EXPECT_EQ(h.session.state().operationId, 0xA003u);
    EXPECT_EQ(h.session.state().dialogueState, link::kIdle);
    EXPECT_TRUE(h.session.state().pendingFlag);
    EXPECT_EQ(h.session.state().pendingCommand, link::cmd::kClose);
    EXPECT_FALSE(screen.readButton()->isEnabled());
    EXPECT_TRUE(screen.modelBox()->text().isEmpty());
    EXPECT_EQ(screen.memoBox()->text(), QStringLiteral("抜き差し"));

    // The handset comes back with other data: the screen reads it without being asked.
    h.prepare = [](sim::VirtualHandset& handset) { handset.store().setBlock(0x1201, {0, 0, 0, 42}); };
    h.attached = true;
    h.session.deviceTreeChanged();
    h.session.deviceTreeChanged();
    EXPECT_TRUE(QTest::qWaitFor([&] { return screen.viewState() == 0xA001u; }, 10000));
    EXPECT_EQ(h.noDataShown, 0);
    EXPECT_EQ(screen.form()->psIdRow()->texts<9>(),
              (std::array<QString, 9>{"0", "0", "0", "0", "0", "0", "0", "4", "2"}));
    EXPECT_EQ(screen.memoBox()->text(), QStringLiteral("抜き差し"));
    EXPECT_EQ(screen.modelBox()->text(), QStringLiteral("ZX-VA150(C)"));
    EXPECT_TRUE(screen.isVisible());
}

} // namespace
} // namespace tolvan::dataset

namespace tolvan::dataset {
namespace {

TEST(DataSetScreenBackup, WriteBacksUpFirstAndABlockedBackupSendsNothing) {
    QTemporaryDir backups;
    const QByteArray saved = qgetenv("TOLVAN_BACKUP_DIR");
    qputenv("TOLVAN_BACKUP_DIR", backups.path().toLocal8Bit());
    ScreenHarness h(3);
    ASSERT_TRUE(h.readAsTheMenuDoes());
    DataSetModeDialog& screen = h.openScreen();
    ASSERT_TRUE(h.waitForKeepAlive());
    screen.writeButton()->click();
    const QStringList sets =
        QDir(backups.filePath(QStringLiteral("ZX-VA150/234567891"))).entryList(QDir::Files);
    ASSERT_EQ(sets.size(), 1);
    EXPECT_TRUE(sets.first().endsWith(QStringLiteral(".jv1")));

    // The backup folder cannot be made: the write stops with the message, nothing goes out.
    const QString blocked = backups.filePath(QStringLiteral("blocked"));
    ASSERT_TRUE(QFile(blocked).open(QIODevice::WriteOnly));
    qputenv("TOLVAN_BACKUP_DIR", blocked.toLocal8Bit());
    ASSERT_TRUE(h.waitForKeepAlive());
    h.requests.clear();
    const auto messages = h.dialogs.messages.size();
    screen.writeButton()->click();
    ASSERT_EQ(h.dialogs.messages.size(), messages + 1);
    EXPECT_TRUE(h.dialogs.messages.back().text.startsWith(
        QStringLiteral("書き込み前のバックアップを保存できませんでした。")));
    EXPECT_TRUE(
        std::none_of(h.requests.begin(), h.requests.end(), [](std::uint16_t code) { return code < 0x1000; }));
    qputenv("TOLVAN_BACKUP_DIR", saved);
}

// The backup holds the handset as read, not the screen's edits; a write the handset refuses half
// way leaves the store holding what the handset took and nothing else, so a later save or
// backup files no value the handset does not have.
TEST(DataSetScreenBackup, AnEditedWriteIsBackedUpAsReadAndAFailedOneLeavesTheStoreAsTheHandset) {
    QTemporaryDir backups;
    const QByteArray saved = qgetenv("TOLVAN_BACKUP_DIR");
    qputenv("TOLVAN_BACKUP_DIR", backups.path().toLocal8Bit());
    ScreenHarness h(3);
    ASSERT_TRUE(h.readAsTheMenuDoes());
    DataSetModeDialog& screen = h.openScreen();
    ASSERT_TRUE(h.waitForKeepAlive());
    const handset::HandsetBlocks asRead = h.store.held();
    DataSetForm& form = *screen.form();
    form.handoverLevel(V::StandbySelect)
        ->setCurrentIndex(form.handoverLevel(V::StandbySelect)->currentIndex() + 1);
    form.interval()->setCurrentIndex(form.interval()->currentIndex() == 0 ? 1 : 0);
    const auto refused = sim::parseFaultRule("silence@0402,count=0");
    ASSERT_TRUE(refused);
    h.handset().faults().add(*refused);
    screen.writeButton()->click();
    qputenv("TOLVAN_BACKUP_DIR", saved);

    const QStringList sets =
        QDir(backups.filePath(QStringLiteral("ZX-VA150/234567891"))).entryList(QDir::Files);
    ASSERT_EQ(sets.size(), 1);
    EXPECT_EQ(test::contentsOf(backups.filePath(QStringLiteral("ZX-VA150/234567891/") + sets.first())),
              LogFile1Writer::fromImage(SystemParamImage::fromStore(asRead), 3, QString()).bytes);
    // 0x0401 went in before 0x0402 was refused: the store holds the first, and the second as read.
    EXPECT_NE(h.store.block(0x1401, 1)[0], asRead.block(0x1401, 1)[0]);
    auto holds = [&](std::uint16_t code) {
        const link::Bytes& bytes = *h.handset().store().read(code);
        const auto stored = h.store.block(code, bytes.size());
        return link::Bytes(stored.begin(), stored.end()) == bytes;
    };
    EXPECT_TRUE(holds(0x1401));
    EXPECT_TRUE(holds(0x1402));
    EXPECT_EQ(SystemParamImage::fromStore(h.store).systemCall,
              SystemParamImage::fromStore(asRead).systemCall);
}

} // namespace
} // namespace tolvan::dataset

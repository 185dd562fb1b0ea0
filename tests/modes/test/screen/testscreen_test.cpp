// The test mode screen against the in-process virtual handset's test bench.
#include "modes/test/model/calibrationcodec.h"
#include "modes/test/model/calibrationimage.h"
#include "modes/test/model/logfile2reader.h"
#include "modes/test/model/testoperations.h"
#include "modes/test/screen/calibrationpanel.h"
#include "modes/test/screen/ctestmodedialog.h"
#include "modes/test/screen/testpanel.h"
#include "tests/support/filebytes.h"
#include "tests/support/modescreenharness.h"
#include "tests/support/pdftext.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace tolvan::testmode {
namespace {

CTestModeDialog& openRead(test::ModeScreenHarness& h) {
    EXPECT_TRUE(h.readAsTheMenuDoes(op::kReadPending, op::kReadScript));
    return h.open<CTestModeDialog>();
}

// n more results (battery-state answers and the stop's answer included) arrived, and the screen
// has looked at them.
bool resultsArrive(test::ModeScreenHarness& h, std::uint32_t n) {
    const std::uint32_t from = h.store.testResults().count;
    if (!QTest::qWaitFor([&] { return h.store.testResults().count >= from + n; }, 5000)) {
        return false;
    }
    QTest::qWait(150); // the screen looks every 50 ms
    return true;
}

TEST(TestScreen, ReadShowsTheCorrectionValuesAndTheModelsControls) {
    for (const std::uint8_t model : {2, 3}) {
        test::ModeScreenHarness h(model);
        CTestModeDialog& screen = openRead(h);
        EXPECT_EQ(screen.viewState(), op::kIdle);
        // Antenna 2's fields hold its own coefficients, so an unchanged write sends back what was read.
        EXPECT_EQ(screen.calibration()->fields(),
                  CalibrationCodec::fieldsOf(CalibrationImage::fromStore(h.store)));
        EXPECT_EQ(screen.calibration()->backlight()->isEnabled(), model != 2);
        EXPECT_FALSE(screen.calibration()->dacWriteButton()->isEnabled());
        EXPECT_TRUE(screen.calibration()->rssiWriteButton()->isEnabled());
        EXPECT_FALSE(screen.tests()->stopTest()->isEnabled());
    }
}

TEST(TestScreen, ATestAndAMeasurementShowTheirResultsUntilStopped) {
    test::ModeScreenHarness h(3);
    CTestModeDialog& screen = openRead(h);
    ASSERT_TRUE(h.waitForKeepAlive());
    screen.tests()->testList()->setCurrentIndex(1); // continuous receive
    screen.tests()->runTest()->click();
    EXPECT_EQ(screen.viewState(), op::kReceiveTest);
    EXPECT_FALSE(screen.calibration()->readButton()->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !screen.tests()->rssi()->text().isEmpty(); }, 5000));
    screen.tests()->stopTest()->click();
    EXPECT_EQ(screen.viewState(), op::kTestIdle);
    // The last readings stay, greyed; the status goes.
    EXPECT_FALSE(screen.tests()->rssi()->text().isEmpty());
    EXPECT_FALSE(screen.tests()->fer()->text().isEmpty());
    EXPECT_FALSE(screen.tests()->rssi()->isEnabled());
    EXPECT_TRUE(screen.tests()->status()->text().isEmpty());
    EXPECT_FALSE(screen.tests()->status()->isEnabled());

    ASSERT_TRUE(QTest::qWaitFor([&] { return h.session.state().dialogueState == link::kKeepAlive; }, 5000));
    screen.tests()->measurementList()->setCurrentIndex(5); // battery voltage
    screen.tests()->runMeasure()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen.readings().batteryVoltage.has_value(); }, 5000));
    QTest::qWait(100);
    EXPECT_GT(screen.tests()->battery()->value(), 0);
    screen.tests()->stopMeasure()->click();
    EXPECT_EQ(screen.viewState(), op::kMeasureIdle);
    EXPECT_FALSE(screen.tests()->batteryVoltage()->text().isEmpty());
    EXPECT_FALSE(screen.tests()->batteryVoltage()->isEnabled());
    EXPECT_EQ(screen.tests()->battery()->value(), 0);
    EXPECT_TRUE(screen.tests()->status()->text().isEmpty());
}

TEST(TestScreen, EachResultShowsOnlyUnderItsOwnOperationAndAStopsClearingStays) {
    test::ModeScreenHarness h(2);
    CTestModeDialog& screen = openRead(h);
    ASSERT_TRUE(h.waitForKeepAlive());
    TestPanel& panel = *screen.tests();

    // A transmit measurement's value is kept, not shown.
    panel.measurementList()->setCurrentIndex(1);
    panel.runMeasure()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen.readings().measuredValue.has_value(); }, 5000));
    ASSERT_TRUE(resultsArrive(h, 2));
    EXPECT_EQ(panel.measuredValue()->text(), QString());
    panel.stopMeasure()->click();
    ASSERT_TRUE(h.waitForKeepAlive());

    // The stop's own answer does not bring the switches back.
    panel.testList()->setCurrentIndex(7);
    panel.runTest()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panel.switchData()->text().isEmpty(); }, 5000));
    panel.stopTest()->click();
    ASSERT_TRUE(resultsArrive(h, 1));
    EXPECT_EQ(panel.switchData()->text(), QString());
    EXPECT_EQ(panel.microphone()->text(), QStringLiteral("接続なし")); // kept, greyed
    EXPECT_FALSE(panel.microphone()->isEnabled());
    EXPECT_FALSE(panel.indicator(0)->isVisible());

    panel.measurementList()->setCurrentIndex(5);
    panel.runMeasure()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel.battery()->value() > 0; }, 5000));
    panel.stopMeasure()->click();
    ASSERT_TRUE(resultsArrive(h, 1));
    EXPECT_EQ(panel.battery()->value(), 0);

    // A battery state shows as it arrives and stays, greyed, after the stop; one that comes
    // while nothing runs is shown too.
    panel.measurementList()->setCurrentIndex(9);
    panel.runMeasure()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !panel.batteryState()->text().isEmpty(); }, 5000));
    panel.stopMeasure()->click();
    ASSERT_TRUE(h.waitForKeepAlive());
    EXPECT_FALSE(panel.batteryState()->text().isEmpty());
    EXPECT_FALSE(panel.batteryState()->isEnabled());
    h.sink.testRedirect(0xC7);
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel.batteryState()->text() == QStringLiteral("199"); }, 2000));
}

TEST(TestScreen, ASingleReadSelectsItsAnswerInTheList) {
    test::ModeScreenHarness h(3);
    CTestModeDialog& screen = openRead(h);
    ASSERT_TRUE(h.waitForKeepAlive());
    // The handset holds other values than the correction read brought.
    ASSERT_TRUE(h.handset().store().setBlock(op::kReadBacklight, {0x05, 0x03}));
    ASSERT_TRUE(h.handset().store().setBlock(op::kReadReferenceClock, {0x0C, 0x04}));
    CalibrationPanel& c = *screen.calibration();
    c.backlightButtons()[0]->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return c.backlight()->currentIndex() == 0x35; }, 5000));
    ASSERT_TRUE(h.waitForKeepAlive());
    c.referenceClockButtons()[0]->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return c.referenceClock()->currentIndex() == 0x4C; }, 5000));
    // The same answer again still selects it.
    ASSERT_TRUE(h.waitForKeepAlive());
    c.referenceClock()->setCurrentIndex(0);
    c.referenceClockButtons()[0]->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return c.referenceClock()->currentIndex() == 0x4C; }, 5000));
}

TEST(TestScreen, AValueChosenButNotWrittenSurvivesATestAndItsStop) {
    test::ModeScreenHarness h(3);
    CTestModeDialog& screen = openRead(h);
    ASSERT_TRUE(h.waitForKeepAlive());
    CalibrationPanel& c = *screen.calibration();
    c.backlight()->setCurrentIndex(0x21);
    c.referenceClock()->setCurrentIndex(0x42);
    screen.tests()->testList()->setCurrentIndex(1);
    screen.tests()->runTest()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen.readings().rssi.has_value(); }, 5000));
    screen.tests()->stopTest()->click();
    ASSERT_TRUE(resultsArrive(h, 1));
    EXPECT_EQ(c.backlight()->currentIndex(), 0x21);
    EXPECT_EQ(c.referenceClock()->currentIndex(), 0x42);
}

TEST(TestScreen, UnpluggingLeavesOnlyTheWayBack) {
    test::ModeScreenHarness h(4);
    CTestModeDialog& screen = openRead(h);
    h.attached = false;
    h.session.deviceTreeChanged();
    EXPECT_EQ(screen.viewState(), op::kUnplugged);
    EXPECT_FALSE(screen.tests()->runTest()->isEnabled());
    EXPECT_FALSE(screen.calibration()->readButton()->isEnabled());
    EXPECT_TRUE(screen.backButton()->isEnabled());
    EXPECT_TRUE(screen.calibration()->fields().dac[0][0].isEmpty());
}

TEST(TestScreen, ACorrectionWriteShowsPleaseWaitUntilFiveSecondsAfterTheDialogueClosed) {
    test::ModeScreenHarness h(3);
    CTestModeDialog& screen = openRead(h);
    ASSERT_TRUE(h.waitForKeepAlive());
    h.requests.clear();
    screen.calibration()->rssiWriteButton()->click();
    EXPECT_EQ(screen.viewState(), op::kWriting);
    ASSERT_NE(screen.pleaseWaitWindow(), nullptr);
    EXPECT_TRUE(screen.pleaseWaitWindow()->isVisible());
    EXPECT_FALSE(screen.calibration()->rssiWriteButton()->isEnabled());
    // Timer 1 gives the buttons back after 2 s; the window stays until 5 s after the close.
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen.viewState() == op::kIdleAfterWrite; }, 4000));
    EXPECT_TRUE(screen.calibration()->rssiWriteButton()->isEnabled());
    EXPECT_TRUE(screen.pleaseWaitWindow()->isVisible());
    EXPECT_NE(std::find(h.requests.begin(), h.requests.end(), 0x0003), h.requests.end());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !screen.pleaseWaitWindow()->isVisible(); }, 8000));
}

TEST(TestScreen, TheCorrectionValuesPrintToPdfAndAWriteIsBackedUpFirst) {
    test::ModeScreenHarness h(3);
    CTestModeDialog& screen = openRead(h);
    h.dialogs.printPdfPath = h.root.filePath(QStringLiteral("calibration.pdf"));
    screen.printReport();
    ASSERT_TRUE(h.dialogs.messages.isEmpty());
    const QString text = test::pdfText(h.dialogs.printPdfPath);
    EXPECT_TRUE(text.contains(QStringLiteral("送信DAC値補正係数"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("RSSI補正係数2")));

    // A backup folder that cannot be written: the message, and the write does not start.
    const QString blocked = h.root.filePath(QStringLiteral("blocked"));
    ASSERT_TRUE(QFile(blocked).open(QIODevice::WriteOnly));
    const QByteArray saved = qgetenv("TOLVAN_BACKUP_DIR");
    qputenv("TOLVAN_BACKUP_DIR", blocked.toLocal8Bit());
    h.requests.clear();
    screen.calibration()->rssiWriteButton()->click();
    qputenv("TOLVAN_BACKUP_DIR", saved);
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_TRUE(h.dialogs.messages.back().text.startsWith(
        QStringLiteral("書き込み前のバックアップを保存できませんでした。")));
    EXPECT_EQ(screen.viewState(), op::kIdle);
    EXPECT_TRUE(
        std::none_of(h.requests.begin(), h.requests.end(), [](std::uint16_t code) { return code < 0x1000; }));
}

// The calibration fields of every backup the tool took in this folder, oldest first.
std::vector<CalibrationFields> backedUpFields(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, {QStringLiteral("*.jv2")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files << it.next();
    }
    // yyyyMMdd-HHmmss, then -2, -3 ... for later sets of the same second.
    auto order = [](const QString& path) {
        const QStringList parts = QFileInfo(path).completeBaseName().split(QLatin1Char('-'));
        return std::pair{parts.value(0) + parts.value(1), parts.size() > 2 ? parts[2].toInt() : 1};
    };
    std::sort(files.begin(), files.end(),
              [&](const QString& a, const QString& b) { return order(a) < order(b); });
    std::vector<CalibrationFields> fields;
    for (const QString& file : files) {
        fields.push_back(
            LogFile2Reader::read(test::contentsOf(file), 3, CalibrationFields{}, QString()).fields);
    }
    return fields;
}

// Every write the screen starts keeps what the handset held before it, never the screen's edits.
TEST(TestScreen, EveryWriteIsBackedUpWithWhatTheHandsetHeldBeforeIt) {
    test::ModeScreenHarness h(3);
    const QString backups = h.root.filePath(QStringLiteral("backups"));
    const QByteArray saved = qgetenv("TOLVAN_BACKUP_DIR");
    qputenv("TOLVAN_BACKUP_DIR", backups.toLocal8Bit());
    CTestModeDialog& screen = openRead(h);
    ASSERT_TRUE(h.waitForKeepAlive());
    const CalibrationFields held = CalibrationCodec::fieldsOf(CalibrationImage::fromStore(h.store));

    CalibrationFields edited = held;
    edited.rssi[0][0] = {QStringLiteral("12"), QStringLiteral("34")};
    ASSERT_NE(edited.rssi, held.rssi);
    screen.calibration()->load(edited);
    screen.calibration()->rssiWriteButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen.viewState() == op::kIdleAfterWrite; }, 4000));
    ASSERT_TRUE(h.waitForKeepAlive(8000));
    // The handset took the write, and the store holds it now.
    EXPECT_EQ(CalibrationCodec::fieldsOf(CalibrationImage::fromStore(h.store)).rssi, edited.rssi);

    // The backlight and the reference clock are writes too.
    const int backlight = screen.calibration()->backlight()->currentIndex();
    screen.calibration()->backlight()->setCurrentIndex(backlight == 1 ? 2 : 1);
    screen.calibration()->backlightButtons()[1]->click();
    ASSERT_TRUE(h.waitForKeepAlive(8000));
    screen.calibration()->referenceClockButtons()[1]->click();
    ASSERT_TRUE(h.waitForKeepAlive(8000));
    qputenv("TOLVAN_BACKUP_DIR", saved);

    // Log file 2 carries the first antenna's coefficients (not the backlight): the first backup
    // holds them as read, the two after it as the first write left the handset.
    const std::vector<CalibrationFields> sets = backedUpFields(backups);
    ASSERT_EQ(sets.size(), 3u);
    EXPECT_EQ(sets[0].rssi[0], held.rssi[0]);
    EXPECT_EQ(sets[1].rssi[0], edited.rssi[0]);
    EXPECT_EQ(sets[2].rssi[0], edited.rssi[0]);
}

} // namespace
} // namespace tolvan::testmode

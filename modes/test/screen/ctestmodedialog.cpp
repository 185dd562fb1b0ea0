#include "modes/test/screen/ctestmodedialog.h"

#include "modes/test/model/calibrationbackup.h"

#include "modes/test/model/calibrationcodec.h"
#include "modes/test/model/calibrationframes.h"
#include "modes/test/model/calibrationimage.h"
#include "modes/test/model/calibrationwrites.h"
#include "modes/test/model/logfile2reader.h"
#include "modes/test/model/logfile2report.h"
#include "modes/test/model/logfile2writer.h"
#include "modes/test/model/testcommands.h"
#include "modes/test/model/testdisplay.h"
#include "modes/test/model/testlists.h"
#include "modes/test/model/testoperations.h"
#include "modes/test/model/testresultparser.h"
#include "modes/test/screen/calibrationpanel.h"
#include "modes/test/screen/testpanel.h"

#include "common/logfile/logfilekind.h"
#include "shell/dialogservice.h"
#include "shell/writingmessage.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

namespace tolvan::testmode {
namespace {

constexpr int kWriteTimerMs = 2000;
constexpr int kPleaseWaitAfterCloseMs = 5000;
constexpr int kResultPollMs = 50;

} // namespace

CTestModeDialog::CTestModeDialog(shell::ModeContext& context, QWidget* parent)
    : shell::LogFileScreen(context, op::kNoticeOwner, QStringLiteral("テストモード"), logfile::kLogFile2,
                           op::kReadScript, parent) {
    buildWindow();
    memoBox()->setText(context.texts.memo());
    m_resultTimer.setInterval(kResultPollMs);
    connect(&m_resultTimer, &QTimer::timeout, this, &CTestModeDialog::pollResults);
    m_resultTimer.start();
    m_writeTimer.setSingleShot(true);
    connect(&m_writeTimer, &QTimer::timeout, this, [this] {
        setViewState(viewState() == op::kNoData ? op::kNoData : op::kIdleAfterWrite);
        applyState();
    });
    refresh();
}

CTestModeDialog::~CTestModeDialog() = default;

QWidget* CTestModeDialog::pleaseWaitWindow() const {
    return m_pleaseWait;
}

shell::ModeDescriptor CTestModeDialog::descriptor() {
    return {QStringLiteral("テストモード"), op::kReadPending, op::kReadScript,
            shell::windowFactory<CTestModeDialog>()};
}

void CTestModeDialog::buildWindow() {
    addLogFileMenus();
    auto* content = new QWidget(this);
    auto* panels = new QHBoxLayout(content);
    panels->setContentsMargins(0, 0, 0, 0);
    m_calibration = new CalibrationPanel(content);
    m_tests = new TestPanel(content);
    panels->addWidget(m_calibration);
    panels->addWidget(m_tests, 0, Qt::AlignTop);
    setFrame(content, {});

    const CalibrationPanel* c = m_calibration;
    connect(c->readButton(), &QPushButton::clicked, this, &CTestModeDialog::readCorrections);
    connect(c->rssiWriteButton(), &QPushButton::clicked, this, [this] { writeCorrections(false); });
    connect(c->ampWriteButton(), &QPushButton::clicked, this, [this] { writeCorrections(true); });
    connect(m_calibration, &CalibrationPanel::message, this,
            [this](const Message& m) { shell::DialogService::current().show(this, m); });
    // The capture buttons copy the measured value into the 50 / 20 dBμV fields.
    connect(c->captureButtons()[0], &QPushButton::clicked, this,
            [this] { m_calibration->x50()->setText(m_tests->measuredValue()->text()); });
    connect(c->captureButtons()[1], &QPushButton::clicked, this,
            [this] { m_calibration->x20()->setText(m_tests->measuredValue()->text()); });
    connect(c->backlightButtons()[0], &QPushButton::clicked, this,
            [this] { sendSingle(viewState(), op::kReadBacklight); });
    connect(c->referenceClockButtons()[0], &QPushButton::clicked, this,
            [this] { sendSingle(viewState(), op::kReadReferenceClock); });
    auto writeSingle = [this](std::uint16_t code) {
        if (!backUpBeforeWrite()) {
            return;
        }
        handset::HandsetBlocks& pending = context().store.prepareWrite();
        CalibrationImage image = CalibrationImage::fromStore(pending);
        const CalibrationFields fields = m_calibration->fields();
        image.setBacklightLevel(static_cast<std::uint8_t>(std::max(0, fields.backlight)));
        image.setReferenceClock(static_cast<std::uint8_t>(std::max(0, fields.referenceClock)));
        image.storeInto(pending);
        if (CalibrationFrames::fillRequestBuffer(code, image, link().requestBuffers())) {
            sendSingle(viewState(), code);
        }
    };
    connect(c->backlightButtons()[1], &QPushButton::clicked, this,
            [writeSingle] { writeSingle(op::kWriteBacklight); });
    connect(c->referenceClockButtons()[1], &QPushButton::clicked, this,
            [writeSingle] { writeSingle(op::kWriteReferenceClock); });
    connect(c->bbicWriteButton(), &QPushButton::clicked, this, [this] {
        const auto frame = CalibrationFrames::bbicRegisterFrame(
            static_cast<std::uint16_t>(m_calibration->bbicAddress()->currentIndex()),
            static_cast<std::uint8_t>(m_calibration->bbicData()->currentIndex()));
        if (frame && link().requestBuffers().set(op::kWriteBbicRegister, *frame)) {
            sendSingle(viewState(), op::kWriteBbicRegister);
        }
    });
    connect(m_tests->runTest(), &QPushButton::clicked, this, &CTestModeDialog::runTest);
    connect(m_tests->stopTest(), &QPushButton::clicked, this, &CTestModeDialog::stopTest);
    connect(m_tests->runMeasure(), &QPushButton::clicked, this, &CTestModeDialog::runMeasurement);
    connect(m_tests->stopMeasure(), &QPushButton::clicked, this, &CTestModeDialog::stopMeasurement);
    connect(m_tests->powerOff(), &QPushButton::clicked, this, [this] {
        link().setNoTimer(TestCommands::powerOff().noTimer);
        sendSingle(viewState(), TestCommands::powerOff().code);
    });
    connect(m_tests->reset(), &QPushButton::clicked, this, [this] {
        link().setNoTimer(TestCommands::reset().noTimer);
        sendSingle(viewState(), TestCommands::reset().code);
    });
    connect(m_tests, &TestPanel::slotsChanged, this, &CTestModeDialog::applyState);
}

void CTestModeDialog::refresh() {
    const bool shown = link().keepAlive();
    setViewState(shown ? op::kIdle : op::kNoData);
    if (shown) {
        m_calibration->load(CalibrationCodec::fieldsOf(CalibrationImage::fromStore(context().store)));
    } else {
        m_calibration->clearValues();
    }
    m_tests->clearTestResults();
    m_tests->clearMeasurementResults();
    m_tests->selectIdle(shown);
    markSeen();
    memoBox()->setText(context().texts.memo());
    applyState();
}

void CTestModeDialog::applyState() {
    using op::ScreenState;
    const ScreenState state = op::screenStateOf(viewState());
    const bool idle = state == ScreenState::ConnectedIdle;
    const bool test = state == ScreenState::TestRunning;
    const bool measuring =
        state == ScreenState::MeasurementRunning || state == ScreenState::RssiGainMeasurement;
    const std::uint32_t model = link().modelCode();
    const CalibrationPanel* c = m_calibration;

    m_tests->runTest()->setEnabled(idle || test);
    m_tests->stopTest()->setEnabled(test);
    m_tests->runMeasure()->setEnabled(idle || measuring);
    m_tests->stopMeasure()->setEnabled(test || measuring);
    m_tests->powerOff()->setEnabled(idle);
    m_tests->reset()->setEnabled(idle);
    for (QPushButton* b :
         {c->readButton(), c->rssiWriteButton(), c->ampWriteButton(), c->bbicWriteButton()}) {
        b->setEnabled(idle);
    }
    // The DAC block belongs to the data setting write: its write button never comes alive here.
    c->dacWriteButton()->setEnabled(false);
    for (QPushButton* b : c->rssiCalculateButtons()) {
        b->setEnabled(idle);
    }
    for (QPushButton* b : c->captureButtons()) {
        b->setEnabled(state == ScreenState::RssiGainMeasurement);
    }
    for (QWidget* w : {static_cast<QWidget*>(c->referenceClock()), static_cast<QWidget*>(c->bbicAddress()),
                       static_cast<QWidget*>(c->bbicData())}) {
        w->setEnabled(idle);
    }
    for (QPushButton* b : c->referenceClockButtons()) {
        b->setEnabled(idle);
    }
    const bool backlight = idle && TestDisplay::backlightEnabled(model);
    c->backlight()->setEnabled(backlight);
    for (QPushButton* b : c->backlightButtons()) {
        b->setEnabled(backlight);
    }
    const SlotTable table = m_tests->slotTable();
    for (int row = 0; row < 8; ++row) {
        c->calculateButton(false, row)->setEnabled(idle && TestDisplay::dacCalculateEnabled(row, table));
        c->calculateButton(true, row)->setEnabled(idle && TestDisplay::ampCalculateEnabled(row, table));
    }
    backButton()->setEnabled(idle || state == ScreenState::NotConnected || state == ScreenState::Unplugged);
    const bool connected = state != ScreenState::NotConnected && state != ScreenState::Unplugged;
    modelBox()->setEnabled(connected);
    modelBox()->setText(connected ? modelText(model) : QString());
}

void CTestModeDialog::sendSingle(std::uint32_t operationId, std::uint32_t code) {
    setViewState(operationId);
    link().sendSingle(code);
}

void CTestModeDialog::readCorrections() {
    context().texts.setMemo(memoBox()->text());
    setViewState(op::kReadPending);
    link().runScript(op::kReadPending, op::kReadScript);
    refresh();
}

bool CTestModeDialog::backUpBeforeWrite() {
    // What the handset holds is kept before a write changes it; no backup, no write.
    const auto backedUp =
        backUpCalibration(context().store, link().modelCode(), memoBox()->text(), backup::backupRoot());
    if (const auto* failed = std::get_if<Message>(&backedUp)) {
        shell::DialogService::current().show(this, *failed);
        return false;
    }
    return true;
}

void CTestModeDialog::writeCorrections(bool amp) {
    const CalibrationWrites::Prepared prepared = CalibrationWrites::prepare(
        amp ? CorrectionWrite::AmpBias : CorrectionWrite::Rssi, m_calibration->fields(),
        context().store.prepareWrite(), link().requestBuffers());
    if (prepared.message) {
        shell::DialogService::current().show(this, *prepared.message);
    }
    if (!prepared.ready || !backUpBeforeWrite()) {
        return;
    }
    setViewState(op::kWriting);
    applyState();
    m_writeTimer.start(kWriteTimerMs);
    link().startScript(op::kWriting, prepared.script);
    if (!m_pleaseWait) {
        m_pleaseWait = new shell::WritingMessage(this);
    }
    m_pleaseWait->show();
}

void CTestModeDialog::dialogueClosed() {
    if (m_pleaseWait && m_pleaseWait->isVisible()) {
        QTimer::singleShot(kPleaseWaitAfterCloseMs, this, [this] {
            if (m_pleaseWait) {
                m_pleaseWait->hide();
            }
        });
    }
}

// What a test and a measurement run differ in on this screen.
struct RunKind {
    ContentList list;
    int (TestPanel::*selected)() const;
    std::uint32_t idleCommand;
    void (TestPanel::*clearResults)();
    void (TestPanel::*stopResults)();
    QString (*runningText)();
};

namespace {

constexpr RunKind kTestRun{
    ContentList::Tests,           &TestPanel::testIndex,       op::kTestIdle,
    &TestPanel::clearTestResults, &TestPanel::stopTestResults, &TestDisplay::testRunningText};
constexpr RunKind kMeasurementRun{
    ContentList::Measurements,           &TestPanel::measurementIndex,       op::kMeasureIdle,
    &TestPanel::clearMeasurementResults, &TestPanel::stopMeasurementResults, &TestDisplay::measuringText};

} // namespace

void CTestModeDialog::runTest() {
    run(kTestRun);
}

void CTestModeDialog::stopTest() {
    stop(kTestRun);
}

void CTestModeDialog::runMeasurement() {
    run(kMeasurementRun);
}

void CTestModeDialog::stopMeasurement() {
    stop(kMeasurementRun);
}

void CTestModeDialog::run(const RunKind& kind) {
    // What came under the operation id in force is shown before the id changes.
    pollResults();
    const auto entries = TestLists::entries(kind.list);
    const int index = (m_tests->*kind.selected)();
    if (index < 0 || index >= static_cast<int>(entries.size())) {
        return;
    }
    const ContentEntry& entry = entries[static_cast<std::size_t>(index)];
    if (!TestCommands::prepare(entry, m_tests->slotTable(), link().requestBuffers())) {
        return;
    }
    m_readings = {};
    if (entry.command == kind.idleCommand) {
        (m_tests->*kind.clearResults)();
    } else {
        m_tests->showStatus(kind.runningText());
        m_tests->enableFor(entry.command);
    }
    sendSingle(entry.command, entry.command);
    applyState();
}

void CTestModeDialog::stop(const RunKind& kind) {
    pollResults();
    const ContentEntry& idle = TestLists::entries(kind.list).front();
    m_tests->selectIdle(true);
    TestCommands::prepare(idle, m_tests->slotTable(), link().requestBuffers());
    (m_tests->*kind.stopResults)();
    sendSingle(idle.command, idle.command);
    applyState();
}

void CTestModeDialog::pollResults() {
    const handset::TestResults& results = context().store.testResults();
    const std::uint32_t resultCount = results.count - results.redirects;
    if (resultCount != m_resultsSeen) {
        m_resultsSeen = resultCount;
        if (results.latest) {
            // The parser raises an event only under the operation id that asked for it, so the
            // answer to a stop, or a late result of what ran before, shows nothing.
            showUpdate(TestResultParser::parse(results.latest->unit, viewState()));
        }
    }
    if (results.redirects != m_redirectsSeen) {
        m_redirectsSeen = results.redirects;
        // The battery state is shown whenever the handset sends it, whatever runs or not.
        if (results.redirect) {
            showUpdate(TestResultParser::batteryState(*results.redirect));
        }
    }
    selectSingleReads();
}

void CTestModeDialog::showUpdate(const TestResultUpdate& update) {
    m_readings.apply(update);
    if (update.event) {
        m_tests->showResult(*update.event, m_readings, link().modelCode());
    }
}

void CTestModeDialog::selectSingleReads() {
    const handset::HandsetStore& store = context().store;
    const std::uint32_t backlight = store.responses(op::kReadBacklight);
    const std::uint32_t clock = store.responses(op::kReadReferenceClock);
    if (backlight == m_backlightSeen && clock == m_clockSeen) {
        return;
    }
    // Only its own answer moves a list, so a value chosen and not yet written stays chosen
    // while tests run and stop.
    const op::ScreenState state = op::screenStateOf(viewState());
    if (state != op::ScreenState::NotConnected && state != op::ScreenState::Unplugged) {
        const CalibrationImage image = CalibrationImage::fromStore(store);
        if (backlight != m_backlightSeen) {
            m_calibration->backlight()->setCurrentIndex(image.backlightLevel());
        }
        if (clock != m_clockSeen) {
            m_calibration->referenceClock()->setCurrentIndex(image.referenceClock());
        }
    }
    m_backlightSeen = backlight;
    m_clockSeen = clock;
}

void CTestModeDialog::markSeen() {
    const handset::HandsetStore& store = context().store;
    m_resultsSeen = store.testResults().count - store.testResults().redirects;
    m_redirectsSeen = store.testResults().redirects;
    m_backlightSeen = store.responses(op::kReadBacklight);
    m_clockSeen = store.responses(op::kReadReferenceClock);
}

void CTestModeDialog::showNothingIn(std::uint32_t state) {
    setViewState(state);
    m_calibration->clearValues();
    m_tests->clearTestResults();
    m_tests->clearMeasurementResults();
    m_tests->selectIdle(false);
    applyState();
}

void CTestModeDialog::operationAborted() {
    showNothingIn(op::kNoData);
}

void CTestModeDialog::handsetRemoved() {
    showNothingIn(op::kUnplugged);
    link().dropDialogue();
}

void CTestModeDialog::handsetReconnected() {
    context().texts.setMemo(memoBox()->text());
    setViewState(op::kReadPending);
    link().runScript(op::kReadPending, op::kReadScript, true);
    refresh();
}

void CTestModeDialog::saveFile() {
    shell::LogFileFlow::save(fileTarget(), [this]() -> shell::LogFileFlow::Contents {
        const LogFile2Text text =
            LogFile2Writer::write(m_calibration->fields(), link().modelCode(), memoBox()->text());
        if (!text.ok()) {
            return errorMessage(text.error);
        }
        return text.bytes;
    });
}

void CTestModeDialog::openFile() {
    const auto read = shell::LogFileFlow::read<LogFile2Read>(fileTarget(), [this](const QByteArray& bytes) {
        return LogFile2Reader::read(bytes, link().modelCode(), m_calibration->fields(), memoBox()->text());
    });
    if (read && read->loaded) {
        m_calibration->load(read->fields);
        memoBox()->setText(read->memo);
    }
}

void CTestModeDialog::printReport() {
    shell::LogFileFlow::print(fileTarget(), [this] {
        return QList<ReportPage>{LogFile2Report::page(m_calibration->fields(), link().modelCode(),
                                                      context().texts.logFolderName(), memoBox()->text())};
    });
}

} // namespace tolvan::testmode

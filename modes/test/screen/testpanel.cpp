#include "modes/test/screen/testpanel.h"

#include "modes/test/model/testdisplay.h"
#include "modes/test/model/testlists.h"
#include "modes/test/model/testoperations.h"

#include "common/choicelists.h"
#include "shell/accessiblenames.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvan::testmode {
namespace {

QComboBox* list(QWidget* parent, const QStringList& items, int selected) {
    auto* box = new QComboBox(parent);
    box->addItems(items);
    box->setCurrentIndex(selected);
    return box;
}

QPushButton* button(const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setAutoDefault(false);
    return b;
}

QLineEdit* readOnly(QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    return field;
}

void setIndicator(QLabel* indicator, bool visible, bool pressed) {
    indicator->setVisible(visible);
    indicator->setText(pressed ? QStringLiteral("●") : QStringLiteral("○"));
}

} // namespace

TestPanel::TestPanel(QWidget* parent) : QWidget(parent) {
    // One column: the slot table, the lists with their buttons, the results.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildSlots());
    layout->addWidget(buildRuns());
    layout->addWidget(buildResults());
}

QWidget* TestPanel::buildSlots() {
    auto* box = new QGroupBox(this);
    auto* grid = new QGridLayout(box);
    const QStringList rows{QStringLiteral("送信/受信"), QStringLiteral("チャネル番号"),
                           QStringLiteral("送信出力制御"), QStringLiteral("出力制御選択"),
                           QStringLiteral("アンテナ選択")};
    std::array<QLabel*, 5> rowLabels{};
    for (int r = 0; r < rows.size(); ++r) {
        rowLabels[static_cast<std::size_t>(r)] = new QLabel(rows[r], box);
        grid->addWidget(rowLabels[static_cast<std::size_t>(r)], r + 1, 0);
    }
    const SlotTable initial = SlotTable::initial();
    for (std::size_t s = 0; s < SlotTable::kSlotCount; ++s) {
        const int column = static_cast<int>(s) + 1;
        const SlotSetting& slot = initial.columns[s];
        auto* slotCaption = new QLabel(QString(QChar(0xFF11 + static_cast<int>(s))), box);
        grid->addWidget(slotCaption, 0, column);
        m_onOff[s] = list(box, {QStringLiteral("OFF"), QStringLiteral("ON")}, slot.on ? 1 : 0);
        m_channel[s] = list(box, ChoiceLists::numbers(SlotSetting::kFirstChannel, SlotSetting::kLastChannel),
                            slot.channel - 1);
        m_output[s] = list(box, ChoiceLists::numbers(0, SlotSetting::kMaxOutputControl), slot.outputControl);
        m_selection[s] = list(box, {QStringLiteral("LO"), QStringLiteral("HI")}, slot.selection);
        m_antenna[s] = list(box, {QStringLiteral("1"), QStringLiteral("2")}, slot.antenna);
        const std::array<QComboBox*, 5> column5{m_onOff[s], m_channel[s], m_output[s], m_selection[s],
                                                m_antenna[s]};
        for (std::size_t r = 0; r < column5.size(); ++r) {
            grid->addWidget(column5[r], static_cast<int>(r) + 1, column);
            // Row and slot, as the table reads: "チャネル番号 ２".
            column5[r]->setAccessibleName(rowLabels[r]->text() + QLatin1Char(' ') + slotCaption->text());
        }
        connect(m_onOff[s], &QComboBox::currentIndexChanged, this, &TestPanel::slotsChanged);
    }
    auto* outputSlot = new QLabel(QStringLiteral("出力指定スロット"), box);
    grid->addWidget(outputSlot, 6, 0);
    m_outputSlot = list(box, ChoiceLists::numbers(1, SlotTable::kSlotCount), 0);
    shell::labelFor(outputSlot, m_outputSlot);
    grid->addWidget(m_outputSlot, 6, 1);
    return box;
}

QWidget* TestPanel::buildRuns() {
    auto* box = new QGroupBox(this);
    auto* grid = new QGridLayout(box);
    QStringList tests;
    for (const ContentEntry& e : TestLists::entries(ContentList::Tests)) {
        tests << TestLists::text(e);
    }
    QStringList measurements;
    for (const ContentEntry& e : TestLists::entries(ContentList::Measurements)) {
        measurements << TestLists::text(e);
    }
    m_tests = list(box, tests, 0);
    m_measurements = list(box, measurements, 0);
    m_runTest = button(QStringLiteral("テスト実行"), box);
    m_stopTest = button(QStringLiteral("テスト中断"), box);
    m_runMeasure = button(QStringLiteral("測定実行"), box);
    m_stopMeasure = button(QStringLiteral("測定中断"), box);
    m_powerOff = button(QStringLiteral("電源OFF"), box);
    m_reset = button(QStringLiteral("リセット"), box);
    // Each list over its run and stop buttons keeps the column as narrow as the longest entry.
    auto* testsCaption = new QLabel(QStringLiteral("->テスト内容指定"), box);
    auto* measurementsCaption = new QLabel(QStringLiteral("->測定内容指定"), box);
    shell::labelFor(testsCaption, m_tests);
    shell::labelFor(measurementsCaption, m_measurements);
    grid->addWidget(testsCaption, 0, 0);
    grid->addWidget(m_tests, 0, 1, 1, 2);
    grid->addWidget(m_runTest, 1, 1);
    grid->addWidget(m_stopTest, 1, 2);
    grid->addWidget(measurementsCaption, 2, 0);
    grid->addWidget(m_measurements, 2, 1, 1, 2);
    grid->addWidget(m_runMeasure, 3, 1);
    grid->addWidget(m_stopMeasure, 3, 2);
    grid->addWidget(m_powerOff, 4, 1);
    grid->addWidget(m_reset, 4, 2);
    return box;
}

QWidget* TestPanel::buildResults() {
    auto* box = new QGroupBox(this);
    auto* grid = new QGridLayout(box);
    m_status = readOnly(box);
    m_rssi = readOnly(box);
    m_fer = readOnly(box);
    m_switches = readOnly(box);
    m_microphone = readOnly(box);
    m_value = readOnly(box);
    m_voltage = readOnly(box);
    m_batteryState = readOnly(box);
    m_batteryBar = new QProgressBar(box);
    m_batteryBar->setRange(0, 1024);
    m_batteryBar->setTextVisible(false);
    const std::pair<const char*, QWidget*> rows[] = {
        {"状態", m_status},
        {"ＲＳＳＩデータ", m_rssi},
        {"ＦＥＲデータ", m_fer},
        {"SW　DATA", m_switches},
        {"接続マイク種別", m_microphone},
        {"測定データ", m_value},
        {"電池電圧データ", m_voltage},
        {"電池状態", m_batteryState},
    };
    int r = 0;
    for (const auto& [label, field] : rows) {
        auto* caption = new QLabel(QString::fromUtf8(label), box);
        shell::labelFor(caption, field);
        grid->addWidget(caption, r, 0);
        grid->addWidget(field, r, 1);
        ++r;
    }
    auto* indicators = new QHBoxLayout;
    for (std::size_t bit = 0; bit < m_indicators.size(); ++bit) {
        m_indicators[bit] = new QLabel(box);
        m_indicators[bit]->setToolTip(QStringLiteral("bit %1").arg(bit));
        indicators->addWidget(m_indicators[bit]);
    }
    grid->addLayout(indicators, 3, 2);
    grid->addWidget(m_batteryBar, 6, 2);
    clearTestResults();
    clearMeasurementResults();
    return box;
}

SlotTable TestPanel::slotTable() const {
    SlotTable table;
    for (std::size_t s = 0; s < SlotTable::kSlotCount; ++s) {
        SlotSetting& slot = table.columns[s];
        slot.on = m_onOff[s]->currentIndex() == 1;
        slot.channel = m_channel[s]->currentIndex() + SlotSetting::kFirstChannel;
        slot.outputControl = m_output[s]->currentIndex();
        slot.selection = m_selection[s]->currentIndex();
        slot.antenna = m_antenna[s]->currentIndex();
    }
    table.outputSlot = m_outputSlot->currentIndex();
    return table;
}

int TestPanel::testIndex() const {
    return m_tests->currentIndex();
}

int TestPanel::measurementIndex() const {
    return m_measurements->currentIndex();
}

void TestPanel::selectIdle(bool connected) {
    m_tests->setCurrentIndex(connected ? 0 : -1);
    m_measurements->setCurrentIndex(connected ? 0 : -1);
}

void TestPanel::showResult(TestEvent event, const TestReadings& readings, std::uint32_t modelCode) {
    auto show = [](QLineEdit* field, const auto& value) {
        if (value) {
            field->setText(QString::number(*value));
        }
    };
    switch (event) {
    case TestEvent::RssiFer:
        show(m_rssi, readings.rssi);
        show(m_fer, readings.fer);
        break;
    case TestEvent::Switches:
        if (readings.switchData) {
            m_switches->setText(TestDisplay::switchText(*readings.switchData));
            m_microphone->setText(TestDisplay::microphoneText());
            for (QLabel* indicator : m_indicators) {
                indicator->setVisible(false);
            }
            for (const TestDisplay::SwitchIndicator& i :
                 TestDisplay::switchIndicators(modelCode, *readings.switchData)) {
                setIndicator(m_indicators[static_cast<std::size_t>(i.bit)], true, i.pressed);
            }
        }
        break;
    case TestEvent::MeasuredValue:
        show(m_value, readings.measuredValue);
        break;
    case TestEvent::BatteryVoltage:
        show(m_voltage, readings.batteryVoltage);
        if (readings.batteryVoltage) {
            m_batteryBar->setValue(
                static_cast<int>(TestDisplay::batteryFraction(*readings.batteryVoltage) * 1024));
        }
        break;
    case TestEvent::BatteryState:
        show(m_batteryState, readings.batteryState);
        break;
    }
}

void TestPanel::showStatus(const QString& text) {
    m_status->setText(text);
}

void TestPanel::clearTestResults() {
    for (QLineEdit* field : {m_status, m_rssi, m_fer, m_switches, m_microphone}) {
        field->clear();
        field->setEnabled(false);
    }
    for (QLabel* indicator : m_indicators) {
        setIndicator(indicator, false, false);
    }
}

void TestPanel::clearMeasurementResults() {
    for (QLineEdit* field : {m_status, m_value, m_voltage, m_batteryState}) {
        field->clear();
        field->setEnabled(false);
    }
    m_batteryBar->setValue(0);
}

void TestPanel::stopTestResults() {
    m_status->clear();
    m_switches->clear();
    for (QLineEdit* field : {m_status, m_rssi, m_fer, m_switches, m_microphone}) {
        field->setEnabled(false);
    }
    for (QLabel* indicator : m_indicators) {
        setIndicator(indicator, false, false);
    }
}

void TestPanel::stopMeasurementResults() {
    m_status->clear();
    for (QLineEdit* field : {m_status, m_value, m_voltage, m_batteryState}) {
        field->setEnabled(false);
    }
    m_batteryBar->setValue(0);
}

void TestPanel::enableFor(std::uint32_t operationId) {
    m_status->setEnabled(true);
    m_rssi->setEnabled(operationId == op::kReceiveTest || operationId == op::kBurstReceiveTest);
    m_fer->setEnabled(m_rssi->isEnabled());
    m_switches->setEnabled(operationId == op::kButtonsTest);
    m_microphone->setEnabled(operationId == op::kButtonsTest);
    m_value->setEnabled(operationId == op::kRssiGainMeasure);
    m_voltage->setEnabled(operationId == op::kBatteryVoltageMeasure);
    m_batteryState->setEnabled(operationId == op::kBatteryStateMeasure);
}

} // namespace tolvan::testmode

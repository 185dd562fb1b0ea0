#pragma once

// TestPanel: the slot settings, the test and measurement lists and their results.

#include "modes/test/model/testreadings.h"
#include "modes/test/model/testslots.h"

#include <QWidget>

#include <array>
#include <cstdint>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tolvan::testmode {

// The four slot columns and the output slot, the two content lists with their run and stop
// buttons, power off and reset, and the result fields the running test or measurement fills.
class TestPanel : public QWidget {
    Q_OBJECT
public:
    explicit TestPanel(QWidget* parent = nullptr);

    SlotTable slotTable() const;
    int testIndex() const;
    int measurementIndex() const;
    // Both lists at index 0 (connected) or without a selection.
    void selectIdle(bool connected);

    // The result fields: what one result event shows (the fields of that event only), and
    // clearing them.
    void showResult(TestEvent event, const TestReadings& readings, std::uint32_t modelCode);
    void showStatus(const QString& text);
    void clearTestResults();
    void clearMeasurementResults();
    // After a stop: the status and the switch display go, the last readings stay, greyed.
    void stopTestResults();
    void stopMeasurementResults();
    // Which result fields are live for the running test or measurement.
    void enableFor(std::uint32_t operationId);

    QComboBox* testList() const { return m_tests; }
    QComboBox* measurementList() const { return m_measurements; }
    QPushButton* runTest() const { return m_runTest; }
    QPushButton* stopTest() const { return m_stopTest; }
    QPushButton* runMeasure() const { return m_runMeasure; }
    QPushButton* stopMeasure() const { return m_stopMeasure; }
    QPushButton* powerOff() const { return m_powerOff; }
    QPushButton* reset() const { return m_reset; }
    QLineEdit* status() const { return m_status; }
    QLineEdit* rssi() const { return m_rssi; }
    QLineEdit* fer() const { return m_fer; }
    QLineEdit* measuredValue() const { return m_value; }
    QLineEdit* batteryVoltage() const { return m_voltage; }
    QLineEdit* switchData() const { return m_switches; }
    QLineEdit* microphone() const { return m_microphone; }
    QLineEdit* batteryState() const { return m_batteryState; }
    QProgressBar* battery() const { return m_batteryBar; }
    QLabel* indicator(int bit) const { return m_indicators[static_cast<std::size_t>(bit)]; }
    // A slot's "送信/受信" list changed: the calculate buttons of its rows follow.
    QComboBox* onOff(int slot) const { return m_onOff[static_cast<std::size_t>(slot)]; }

signals:
    void slotsChanged();

private:
    QWidget* buildSlots();
    QWidget* buildRuns();
    QWidget* buildResults();

    std::array<QComboBox*, SlotTable::kSlotCount> m_onOff{};
    std::array<QComboBox*, SlotTable::kSlotCount> m_channel{};
    std::array<QComboBox*, SlotTable::kSlotCount> m_output{};
    std::array<QComboBox*, SlotTable::kSlotCount> m_selection{};
    std::array<QComboBox*, SlotTable::kSlotCount> m_antenna{};
    QComboBox* m_outputSlot = nullptr;
    QComboBox* m_tests = nullptr;
    QComboBox* m_measurements = nullptr;
    QPushButton* m_runTest = nullptr;
    QPushButton* m_stopTest = nullptr;
    QPushButton* m_runMeasure = nullptr;
    QPushButton* m_stopMeasure = nullptr;
    QPushButton* m_powerOff = nullptr;
    QPushButton* m_reset = nullptr;
    QLineEdit* m_status = nullptr;
    QLineEdit* m_rssi = nullptr;
    QLineEdit* m_fer = nullptr;
    QLineEdit* m_switches = nullptr;
    QLineEdit* m_microphone = nullptr;
    QLineEdit* m_value = nullptr;
    QLineEdit* m_voltage = nullptr;
    QLineEdit* m_batteryState = nullptr;
    QProgressBar* m_batteryBar = nullptr;
    std::array<QLabel*, 9> m_indicators{};
};

} // namespace tolvan::testmode

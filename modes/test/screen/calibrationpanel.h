#pragma once

// CalibrationPanel: the correction values of the test mode screen.

#include "modes/test/model/calibrationfields.h"

#include "common/message.h"

#include <QWidget>

#include <array>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tolvan::testmode {

// The eight DAC and eight amplifier-bias rows (input, calculate button, four hex fields), the
// RSSI fields of both antennas with the two readings they are calculated from, the backlight,
// reference clock and baseband register controls, and the correction read and write buttons.
// The calculations run here; the link work is the screen's.
class CalibrationPanel : public QWidget {
    Q_OBJECT
public:
    explicit CalibrationPanel(QWidget* parent = nullptr);

    // The pair between the fields and what they show.
    void load(const CalibrationFields& fields);
    CalibrationFields fields() const;
    // Empties every value field (no handset data).
    void clearValues();

    // A calculate button of a DAC (amp false) or amplifier row, 0 to 7.
    QPushButton* calculateButton(bool amp, int row) const;
    QLineEdit* input(bool amp, int row) const;
    QLineEdit* x50() const { return m_x50; }
    QLineEdit* x20() const { return m_x20; }

    QPushButton* readButton() const { return m_read; }
    QPushButton* rssiWriteButton() const { return m_rssiWrite; }
    QPushButton* ampWriteButton() const { return m_ampWrite; }
    QPushButton* dacWriteButton() const { return m_dacWrite; }
    std::array<QPushButton*, 2> rssiCalculateButtons() const { return m_rssiCalculate; }
    std::array<QPushButton*, 2> captureButtons() const { return m_capture; }
    QComboBox* backlight() const { return m_backlight; }
    QComboBox* referenceClock() const { return m_referenceClock; }
    QComboBox* bbicAddress() const { return m_bbicAddress; }
    QComboBox* bbicData() const { return m_bbicData; }
    std::array<QPushButton*, 2> backlightButtons() const { return m_backlightButtons; }
    std::array<QPushButton*, 2> referenceClockButtons() const { return m_clockButtons; }
    QPushButton* bbicWriteButton() const { return m_bbicWrite; }

signals:
    // A calculation or a field found a typing slip or a bad reading.
    void message(const tolvan::Message& message);

private:
    struct Row {
        QLineEdit* input = nullptr;
        QPushButton* calculate = nullptr;
        std::array<QLineEdit*, 4> hex{};
    };
    QWidget* buildRows(bool amp);
    QWidget* buildRssi();
    QWidget* buildSingles();
    void calculateRow(Row& row);
    void calculateRssi(int antenna);

    std::array<Row, 8> m_dac{};
    std::array<Row, 8> m_amp{};
    // [antenna][coefficient][byte]
    std::array<std::array<std::array<QLineEdit*, 2>, 2>, 2> m_rssi{};
    QLineEdit* m_x50 = nullptr;
    QLineEdit* m_x20 = nullptr;
    std::array<QPushButton*, 2> m_capture{};
    std::array<QPushButton*, 2> m_rssiCalculate{};
    QComboBox* m_backlight = nullptr;
    QComboBox* m_referenceClock = nullptr;
    QComboBox* m_bbicAddress = nullptr;
    QComboBox* m_bbicData = nullptr;
    std::array<QPushButton*, 2> m_backlightButtons{};
    std::array<QPushButton*, 2> m_clockButtons{};
    QPushButton* m_bbicWrite = nullptr;
    QPushButton* m_read = nullptr;
    QPushButton* m_dacWrite = nullptr;
    QPushButton* m_rssiWrite = nullptr;
    QPushButton* m_ampWrite = nullptr;
};

} // namespace tolvan::testmode

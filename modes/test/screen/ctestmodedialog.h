#pragma once

// CTestModeDialog: the test mode screen ("テストモード").

#include "modes/test/model/testreadings.h"

#include "shell/logfilescreen.h"
#include "shell/modedescriptor.h"

#include <QPointer>
#include <QTimer>

#include <cstdint>

class QLineEdit;
class QPushButton;

namespace tolvan::shell {
class WritingMessage;
}

namespace tolvan::testmode {

class CalibrationPanel;
class TestPanel;
struct RunKind;

// Reads and writes the correction values, runs tests and measurements through the keep-alive
// dialogue and shows their results, and saves, opens and prints log file 2. Its view state is
// the link's operation id while it is open.
class CTestModeDialog : public shell::LogFileScreen {
    Q_OBJECT
public:
    explicit CTestModeDialog(shell::ModeContext& context, QWidget* parent = nullptr);
    ~CTestModeDialog() override;

    // The main menu's "テストモード".
    static shell::ModeDescriptor descriptor();

    void readCorrections();
    // Saves the backup every write the user starts needs; false (with the message shown) stops it.
    bool backUpBeforeWrite();
    void writeCorrections(bool amp);
    void runTest();
    void stopTest();
    void runMeasurement();
    void stopMeasurement();
    void openFile() override;
    void saveFile() override;
    void printReport() override;

    CalibrationPanel* calibration() const { return m_calibration; }
    TestPanel* tests() const { return m_tests; }
    // The please-wait window of the correction writes (null before the first write).
    QWidget* pleaseWaitWindow() const;
    const TestReadings& readings() const { return m_readings; }

protected:
    void operationAborted() override;
    void handsetRemoved() override;
    void handsetReconnected() override;

private:
    void buildWindow();
    // After the screen opens and after a read: the values by the dialogue state.
    void refresh();
    // The enable rules of the view state.
    void applyState();
    // No values and no results: the handset's are unknown in that state.
    void showNothingIn(std::uint32_t state);
    void sendSingle(std::uint32_t operationId, std::uint32_t code);
    // Starts the test or measurement selected, or stops the one running with its idle command.
    void run(const RunKind& kind);
    void stop(const RunKind& kind);
    // What arrived since the last look: results, battery-state answers, single-read answers.
    void pollResults();
    void showUpdate(const TestResultUpdate& update);
    void selectSingleReads();
    // Takes the counts of what arrived so far as seen.
    void markSeen();
    void dialogueClosed() override;

    CalibrationPanel* m_calibration = nullptr;
    TestPanel* m_tests = nullptr;
    TestReadings m_readings;
    std::uint32_t m_resultsSeen = 0;   // test and measurement results
    std::uint32_t m_redirectsSeen = 0; // battery-state answers
    std::uint32_t m_backlightSeen = 0; // answers of the backlight read
    std::uint32_t m_clockSeen = 0;     // answers of the reference clock read
    QTimer m_resultTimer;
    QTimer m_writeTimer; // timer 1: back to connected idle after a correction write
    QPointer<shell::WritingMessage> m_pleaseWait;
};

} // namespace tolvan::testmode

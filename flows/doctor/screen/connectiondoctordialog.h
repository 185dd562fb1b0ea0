#pragma once

// The connection doctor's window ("接続診断"), opened from the main menu's help menu.

#include "flows/doctor/connectiondoctor.h"
#include "flows/doctor/doctorreport.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tolvan::doctor {

// What the window diagnoses with; tests hand in their own system and line test.
struct DoctorServices {
    std::unique_ptr<PlatformProbe> platform;
    std::unique_ptr<LineTester> tester;
    ConnectionDoctor::PortOpener opener;
    std::function<ReportContext()> context;
    std::int64_t lineTestMs = 10'000;
};
DoctorServices systemDoctorServices(const QString& program, const QString& version);

class ConnectionDoctorDialog : public QDialog {
    Q_OBJECT
public:
    // port: the device to test (Tolvan --port); empty lets discovery choose.
    ConnectionDoctorDialog(DoctorServices services, const QString& port, QWidget* parent = nullptr);
    ~ConnectionDoctorDialog() override;

    // Runs the diagnosis with the port box's device; the findings appear line by line.
    void runDiagnosis();
    // Asks for a file and writes the support report of the last diagnosis.
    void saveReport();

    QLineEdit* portBox() const { return m_port; }
    QPlainTextEdit* findingsBox() const { return m_findings; }
    QPushButton* startButton() const { return m_start; }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* closeButton() const { return m_close; }
    const std::optional<DoctorResult>& lastResult() const { return m_result; }

    // Not while the diagnosis runs: it ends by itself within seconds.
    void reject() override;

private:
    void setRunning(bool running);

    DoctorServices m_services;
    QLineEdit* m_port = nullptr;
    QPlainTextEdit* m_findings = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_close = nullptr;
    std::optional<DoctorResult> m_result;
    bool m_running = false;
};

} // namespace tolvan::doctor

#pragma once

#include "flows/doctor/linetester.h"
#include "flows/doctor/platformprobe.h"
#include "link/serialtransport.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace tolvan::doctor {

// One line of the diagnosis: what was found and, where something is wrong, what to do.
struct Finding {
    enum class Level : std::uint8_t { Ok, Warning, Problem };
    Level level = Level::Ok;
    QString text;
    QString action; // the exact command where there is one; empty when nothing is to be done
};

// "○ text", "△ text　対処: action", "× ...": one line as the window and the command line show it.
QString findingLine(const Finding& finding);

struct DoctorOptions {
    QString port; // the device to test; empty: the one discovery finds
    std::int64_t lineTestMs = 10'000;
};

struct DoctorResult {
    QList<Finding> findings;
    QString port; // the device tested, empty when none was
    QList<QPair<QString, QString>> portProperties;
    std::optional<LineTestResult> line;
    std::optional<Verdict> verdict;
};

// The connection doctor: which serial devices there are and which of them discovery takes, why
// the port does not open, which programs get in the way, and how the handset answers, ending in
// a line test with a verdict.
class ConnectionDoctor {
public:
    using PortOpener = std::function<link::SerialOpenResult(const QString& devicePath)>;

    ConnectionDoctor(PlatformProbe& platform, LineTester& tester,
                     PortOpener opener = link::openHandsetSerialPort);

    // Told of every finding as it is made, so a window can show it before the line test runs.
    void setFindingListener(std::function<void(const Finding&)> listener) {
        m_listener = std::move(listener);
    }

    DoctorResult run(const DoctorOptions& options);

private:
    void add(Finding::Level level, const QString& text, const QString& action = {});
    void listDevices(const QList<SerialDevice>& devices);
    void checkGrabbers(const QString& port);
    void explainOpenFailure(const QString& port, const link::SerialOpenResult& opened);
    void explainPermission(const QString& port, const DeviceAccess& access);
    void reportHandset(const LineTestResult& line);

    PlatformProbe& m_platform;
    LineTester& m_tester;
    PortOpener m_opener;
    std::function<void(const Finding&)> m_listener;
    DoctorResult m_result;
};

} // namespace tolvan::doctor

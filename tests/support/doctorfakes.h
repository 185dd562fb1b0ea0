#pragma once

// The connection doctor's system and line test as tests give them: a platform that says what
// the test wants, and the line test run against the virtual handset on a virtual clock.

#include "flows/doctor/linetester.h"
#include "flows/doctor/platformprobe.h"
#include "sim/virtualhandset.h"

#include <QMap>

namespace tolvan::test {

// Runs the line test against a virtual handset, on a virtual clock starting at 0: no sleeping,
// every time-out exact. The handset's replies reach the probe when the handset sends them.
doctor::LineTestResult runLineTest(sim::VirtualHandset& handset, std::int64_t lineTestMs);

// A line tester that ignores the port it is given and talks to a fresh virtual handset of the
// configuration instead.
class VirtualLineTester : public doctor::LineTester {
public:
    explicit VirtualLineTester(sim::HandsetConfig config) : m_config(std::move(config)) {}
    doctor::LineTestResult run(QIODevice& port, std::int64_t lineTestMs) override;
    int runs = 0;

private:
    sim::HandsetConfig m_config;
};

class FakePlatform : public doctor::PlatformProbe {
public:
    QList<doctor::SerialDevice> devices;
    QStringList absent; // paths that do not exist
    QMap<QString, doctor::DeviceAccess> accessOf;
    QMap<QString, QList<doctor::PortHolder>> holdersOf;
    doctor::GrabbingPrograms grabbing;
    std::optional<doctor::UdevRuleStatus> rule;
    QList<QPair<QString, QString>> properties;
    QString user = QStringLiteral("tech");

    QList<doctor::SerialDevice> serialDevices() override { return devices; }
    bool exists(const QString& path) override { return !absent.contains(path); }
    std::optional<doctor::DeviceAccess> access(const QString& path) override {
        return accessOf.contains(path) ? std::optional(accessOf.value(path)) : std::nullopt;
    }
    QList<doctor::PortHolder> holders(const QString& path) override { return holdersOf.value(path); }
    doctor::GrabbingPrograms grabbingPrograms() override { return grabbing; }
    std::optional<doctor::UdevRuleStatus> udevRule() override { return rule; }
    QList<QPair<QString, QString>> deviceProperties(const QString&) override { return properties; }
    QString userName() override { return user; }
};

// A handset adapter as discovery sees it.
doctor::SerialDevice handsetAdapter(const QString& path = QStringLiteral("/dev/ttyUSB0"));

} // namespace tolvan::test

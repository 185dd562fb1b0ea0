#include "flows/doctor/platformprobe.h"

#include "link/portfinder.h"

#include <QSerialPortInfo>

namespace tolvan::doctor {
namespace {

// Windows lists its COM ports with friendly names; who holds a port shows only in the open error.
class WindowsPlatformProbe : public PlatformProbe {
public:
    QList<SerialDevice> serialDevices() override {
        QList<SerialDevice> devices;
        for (const link::DeviceInfo& info : link::presentDevices()) {
            SerialDevice device{info.devicePath, info.friendlyName, {}, {}, {}};
            for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
                if (port.systemLocation() == info.devicePath) {
                    device.product = port.description();
                    device.driver = port.manufacturer();
                }
            }
            devices.append(device);
        }
        return devices;
    }

    bool exists(const QString& path) override { return link::devicePresent(path); }
    std::optional<DeviceAccess> access(const QString&) override { return std::nullopt; }
    QList<PortHolder> holders(const QString&) override { return {}; }
    GrabbingPrograms grabbingPrograms() override { return {}; }
    std::optional<UdevRuleStatus> udevRule() override { return std::nullopt; }

    QList<QPair<QString, QString>> deviceProperties(const QString& path) override {
        QList<QPair<QString, QString>> properties;
        for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts()) {
            if (port.systemLocation() != path) {
                continue;
            }
            properties.append({QStringLiteral("PORT"), port.portName()});
            properties.append({QStringLiteral("DESCRIPTION"), port.description()});
            properties.append({QStringLiteral("MANUFACTURER"), port.manufacturer()});
            if (port.hasVendorIdentifier()) {
                properties.append({QStringLiteral("VID"), QString::number(port.vendorIdentifier(), 16)});
            }
            if (port.hasProductIdentifier()) {
                properties.append({QStringLiteral("PID"), QString::number(port.productIdentifier(), 16)});
            }
        }
        return properties;
    }

    QString userName() override { return qEnvironmentVariable("USERNAME"); }
};

} // namespace

std::unique_ptr<PlatformProbe> systemPlatformProbe() {
    return std::make_unique<WindowsPlatformProbe>();
}

} // namespace tolvan::doctor

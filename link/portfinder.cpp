#include "link/portfinder.h"

#include "link/virtualdevices.h"

#include <QFileInfo>
#include <QSerialPortInfo>

namespace tolvan::link {
namespace {

QString portNameOf(const QString& friendlyName) {
    const qsizetype open = friendlyName.indexOf(QLatin1Char('('));
    if (open < 0) {
        return {};
    }
    const qsizetype close = friendlyName.indexOf(QLatin1Char(')'), open + 1);
    if (close < 0) {
        return {};
    }
    return friendlyName.mid(open + 1, close - open - 1);
}

QString friendlyNameOf(const QString& description, const QString& portName) {
    return description + QStringLiteral(" (") + portName + QLatin1Char(')');
}

// The name below /dev on Linux ("ttyUSB0", "pts/3"), the COM name on Windows.
QString portNameOfPath(const QString& path) {
#ifdef Q_OS_WIN
    return QString(path).remove(QStringLiteral("\\\\.\\"));
#else
    return path.startsWith(QStringLiteral("/dev/")) ? path.mid(5) : path;
#endif
}

} // namespace

QString findHandsetPortName(const QList<DeviceInfo>& devices) {
    for (const DeviceInfo& device : devices) {
        for (const char* description : kHandsetDescriptions) {
            if (device.friendlyName.startsWith(QLatin1String(description))) {
                return portNameOf(device.friendlyName);
            }
        }
    }
    return {};
}

QString devicePathOf(const QList<DeviceInfo>& devices, const QString& portName) {
    if (portName.isEmpty()) {
        return {};
    }
    for (const DeviceInfo& device : devices) {
        if (portNameOf(device.friendlyName) == portName) {
            return device.devicePath;
        }
    }
    return nativeDevicePath(portName);
}

QString nativeDevicePath(const QString& portName) {
#ifdef Q_OS_WIN
    return QStringLiteral("\\\\.\\") + portName;
#else
    return QStringLiteral("/dev/") + portName;
#endif
}

bool devicePresent(const QString& devicePath) {
#ifdef Q_OS_WIN
    const QString name = portNameOfPath(devicePath);
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        if (info.portName().compare(name, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
#else
    return QFileInfo::exists(devicePath);
#endif
}

QList<DeviceInfo> presentDevices() {
    QList<DeviceInfo> devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const QString port = portNameOfPath(info.systemLocation());
        devices.append({friendlyNameOf(info.description(), port), info.systemLocation()});
    }
    for (const VirtualDevices::Entry& entry : VirtualDevices::instance().entries()) {
        devices.append(
            {friendlyNameOf(entry.description, portNameOfPath(entry.devicePath)), entry.devicePath});
    }
    return devices;
}

} // namespace tolvan::link

#pragma once

#include <QList>
#include <QString>

namespace tolvan::link {

// One device as the system lists it: its friendly name ("ZX-VA150 USB Serial Ports Driver
// (COM7)", on Linux "(ttyUSB0)" or "(pts/3)") and where to open it.
struct DeviceInfo {
    QString friendlyName;
    QString devicePath;
};

// Driver descriptions that identify a handset, compared in this order as prefixes.
inline constexpr const char* kHandsetDescriptions[] = {
    "ZX-VA150 USB Serial Ports Driver",
    "ZX-VA1XX USB Serial Ports Driver",
    "ZX-VA100 USB Serial Ports Driver",
};

// The first device, in the list's order, whose friendly name starts with one of the handset
// descriptions; the port name is the text between its first "(" and the following ")". Empty
// when no device matches or the matching one holds no parenthesised name.
QString findHandsetPortName(const QList<DeviceInfo>& devices);
// The device that carries that port name, or an empty path.
QString devicePathOf(const QList<DeviceInfo>& devices, const QString& portName);

// The system's serial ports (QSerialPortInfo) followed by this process's virtual handsets.
QList<DeviceInfo> presentDevices();

// Whether a device named on the command line is there now: its node (or a link to it, as below
// /dev/serial/by-id) exists; on Windows the system lists the port.
bool devicePresent(const QString& devicePath);

// The path a port name opens: "\\.\COM7" on Windows, "/dev/ttyUSB0" elsewhere.
QString nativeDevicePath(const QString& portName);

} // namespace tolvan::link

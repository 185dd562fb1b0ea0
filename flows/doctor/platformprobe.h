#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace tolvan::doctor {

// A serial device as the system shows it.
struct SerialDevice {
    QString path;          // /dev/ttyUSB0, COM7
    QString friendlyName;  // what discovery compares with the handset descriptions
    QString product;       // the USB product string; empty when the system does not tell
    QString driver;        // the kernel driver (ftdi_sio, cdc_acm) or the manufacturer on Windows
    QStringList byIdNames; // its /dev/serial/by-id names
};

// Who may open a device node (Linux).
struct DeviceAccess {
    QString group;              // the node's group
    QString mode;               // as ls shows it, e.g. "crw-rw----"
    bool readWrite = false;     // this user may open it for reading and writing
    bool userInGroup = false;   // this user is in the node's group
    bool uaccessTagged = false; // udev tagged the node for the seat's user
    bool seatActive = false;    // this user has a local desktop session the tag applies to
};

struct PortHolder {
    qint64 pid = 0;
    QString program;
};

// Programs that take USB serial devices for themselves.
struct GrabbingPrograms {
    bool modemManager = false;
    bool brltty = false;
};

// Where the package's udev rule was looked for, and what was found.
struct UdevRuleStatus {
    QString fileName;    // 70-tolvan-handset.rules
    QString readPlace;   // a folder udev reads that holds it; empty when none
    QString unreadPlace; // a copy where udev does not look (an install below /usr/local)
};

// The system facts the connection doctor asks for. Linux reads /dev, /sys, /proc and udev's
// database; Windows lists its COM ports. Tests give their own answers.
class PlatformProbe {
public:
    virtual ~PlatformProbe() = default;
    virtual QList<SerialDevice> serialDevices() = 0;
    virtual bool exists(const QString& path) = 0;
    // Nothing where the system has no such notion (Windows).
    virtual std::optional<DeviceAccess> access(const QString& path) = 0;
    // Processes that have the device open.
    virtual QList<PortHolder> holders(const QString& path) = 0;
    virtual GrabbingPrograms grabbingPrograms() = 0;
    // Nothing where udev does not exist.
    virtual std::optional<UdevRuleStatus> udevRule() = 0;
    // The device's udev properties (KEY, VALUE), for the support report.
    virtual QList<QPair<QString, QString>> deviceProperties(const QString& path) = 0;
    virtual QString userName() = 0;
};

// The probe of the system the program runs on.
std::unique_ptr<PlatformProbe> systemPlatformProbe();

} // namespace tolvan::doctor

#pragma once

#include <QObject>
#include <QSet>
#include <QString>

#include <memory>

namespace tolvan::link {

// One device event as the system reports it (on Linux a udev event).
struct DeviceEvent {
    QString action;    // add, remove, bind, unbind, change, ...
    QString subsystem; // tty, usb, usb-serial, ...
    QString devNode;   // /dev/ttyUSB0; empty for devices without a node
    QString model;     // the USB product string, spaces as underscores as udev gives it
};

// Where device events come from: the system (udev), or a test's recorded sequence.
class DeviceEventSource : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    void deviceEvent(const tolvan::link::DeviceEvent& event);
};

// The system's device events: udev's on Linux where a udev daemon runs; null elsewhere (Windows
// reports device changes as window messages instead, and containers have no udev).
std::unique_ptr<DeviceEventSource> systemDeviceEvents();

// Turns device events into the notifications the reconnect rule counts, as a Windows plug
// raises them: the handset's serial device appearing counts twice, disappearing once. The usb
// and usb-serial events around them, bind, change, and every event of other devices count
// nothing, so one plug is one reconnect and one unplug one removal, however many events come.
class HotplugFilter {
public:
    int notificationsFor(const DeviceEvent& event);

private:
    // Serial devices seen to belong to a handset, so their removal counts even when the remove
    // event no longer carries the product string.
    QSet<QString> m_handsetNodes;
};

} // namespace tolvan::link

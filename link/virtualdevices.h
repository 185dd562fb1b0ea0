#pragma once

#include "link/deviceevent.h"

#include <QList>
#include <QObject>
#include <QString>

namespace tolvan::link {

// Handsets that live inside this process (the virtual handset on a pseudo-terminal). Port
// discovery lists them beside the system's serial ports, and plugging or unplugging one raises
// what real hardware raises: the notifications of a Windows plug, and the device events of a
// USB serial adapter on Linux (usb, usb-serial and tty events, add and bind).
class VirtualDevices : public QObject {
    Q_OBJECT
public:
    struct Entry {
        QString description; // e.g. "ZX-VA150 USB Serial Ports Driver"
        QString devicePath;  // e.g. "/dev/pts/3"
    };

    static VirtualDevices& instance();

    QList<Entry> entries() const { return m_entries; }
    // Adds or removes a device and then emits deviceTreeChanged notificationCount times (a real
    // USB plug raises several notifications).
    void plug(const Entry& entry, int notificationCount = 3);
    void unplug(const QString& devicePath, int notificationCount = 1);

signals:
    void deviceTreeChanged();
    void deviceEvent(const tolvan::link::DeviceEvent& event);

private:
    VirtualDevices() = default;
    void emitLinuxSequence(const QString& action, const Entry& entry);
    QList<Entry> m_entries;
};

} // namespace tolvan::link

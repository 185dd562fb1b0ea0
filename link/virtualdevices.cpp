#include "link/virtualdevices.h"

namespace tolvan::link {

VirtualDevices& VirtualDevices::instance() {
    static VirtualDevices devices;
    return devices;
}

void VirtualDevices::plug(const Entry& entry, int notificationCount) {
    m_entries.removeIf([&](const Entry& e) { return e.devicePath == entry.devicePath; });
    m_entries.append(entry);
    for (int i = 0; i < notificationCount; ++i) {
        emit deviceTreeChanged();
    }
    if (notificationCount > 0) {
        emitLinuxSequence(QStringLiteral("add"), entry);
    }
}

void VirtualDevices::unplug(const QString& devicePath, int notificationCount) {
    Entry gone{QString(), devicePath};
    for (const Entry& e : m_entries) {
        if (e.devicePath == devicePath) {
            gone = e;
        }
    }
    m_entries.removeIf([&](const Entry& e) { return e.devicePath == devicePath; });
    for (int i = 0; i < notificationCount; ++i) {
        emit deviceTreeChanged();
    }
    if (notificationCount > 0) {
        emitLinuxSequence(QStringLiteral("remove"), gone);
    }
}

void VirtualDevices::emitLinuxSequence(const QString& action, const Entry& entry) {
    QString model = entry.description;
    model.replace(QLatin1Char(' '), QLatin1Char('_'));
    const DeviceEvent usb{action, QStringLiteral("usb"), QString(), model};
    const DeviceEvent serial{action, QStringLiteral("usb-serial"), QString(), QString()};
    const DeviceEvent tty{action, QStringLiteral("tty"), entry.devicePath, model};
    if (action == QLatin1String("add")) {
        // The adapter, its serial function, then the node once it exists; bind events last.
        for (const DeviceEvent& e : {usb, serial, tty}) {
            emit deviceEvent(e);
        }
        emit deviceEvent({QStringLiteral("bind"), QStringLiteral("usb-serial"), QString(), QString()});
        emit deviceEvent({QStringLiteral("bind"), QStringLiteral("usb"), QString(), model});
    } else {
        emit deviceEvent(tty);
        emit deviceEvent({QStringLiteral("unbind"), QStringLiteral("usb-serial"), QString(), QString()});
        for (const DeviceEvent& e : {serial, usb}) {
            emit deviceEvent(e);
        }
    }
}

} // namespace tolvan::link

#include "link/virtualdevices.h"

namespace tolvan::link {

VirtualDevices& VirtualDevices::instance() {
    static VirtualDevices devices;
    return devices;
}

void VirtualDevices::plug(const Entry& entry, int notificationCount) {
    unplug(entry.devicePath, 0);
    m_entries.append(entry);
    for (int i = 0; i < notificationCount; ++i) {
        emit deviceTreeChanged();
    }
}

void VirtualDevices::unplug(const QString& devicePath, int notificationCount) {
    m_entries.removeIf([&](const Entry& e) { return e.devicePath == devicePath; });
    for (int i = 0; i < notificationCount; ++i) {
        emit deviceTreeChanged();
    }
}

} // namespace tolvan::link

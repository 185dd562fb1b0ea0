#include "link/deviceevent.h"

#include <QFileInfo>
#include <QSocketNotifier>

#include <libudev.h>

namespace tolvan::link {
namespace {

QString propertyOf(udev_device* device, const char* name) {
    const char* value = udev_device_get_property_value(device, name);
    return value ? QString::fromLocal8Bit(value) : QString();
}

// Serial device events from the udev daemon's monitor ("udev" source: the events arrive after
// udev has made the device node and knows the product string).
class UdevEvents : public DeviceEventSource {
public:
    UdevEvents(udev* context, udev_monitor* monitor) : m_udev(context), m_monitor(monitor) {
        auto* notifier = new QSocketNotifier(udev_monitor_get_fd(monitor), QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, &UdevEvents::read);
    }
    ~UdevEvents() override {
        udev_monitor_unref(m_monitor);
        udev_unref(m_udev);
    }
    UdevEvents(const UdevEvents&) = delete;
    UdevEvents& operator=(const UdevEvents&) = delete;

private:
    void read() {
        udev_device* device = udev_monitor_receive_device(m_monitor);
        if (!device) {
            return;
        }
        const char* action = udev_device_get_action(device);
        const char* subsystem = udev_device_get_subsystem(device);
        const char* node = udev_device_get_devnode(device);
        const DeviceEvent event{QString::fromLatin1(action ? action : ""),
                                QString::fromLatin1(subsystem ? subsystem : ""),
                                QString::fromLocal8Bit(node ? node : ""), propertyOf(device, "ID_MODEL")};
        udev_device_unref(device);
        emit deviceEvent(event);
    }

    udev* m_udev;
    udev_monitor* m_monitor;
};

} // namespace

std::unique_ptr<DeviceEventSource> systemDeviceEvents() {
    // Without a running udev daemon (containers) a monitor opens but never hears anything.
    if (!QFileInfo::exists(QStringLiteral("/run/udev/control"))) {
        return nullptr;
    }
    udev* context = udev_new();
    udev_monitor* monitor = context ? udev_monitor_new_from_netlink(context, "udev") : nullptr;
    if (monitor && udev_monitor_filter_add_match_subsystem_devtype(monitor, "tty", nullptr) >= 0 &&
        udev_monitor_enable_receiving(monitor) >= 0) {
        return std::make_unique<UdevEvents>(context, monitor);
    }
    if (monitor) {
        udev_monitor_unref(monitor);
    }
    if (context) {
        udev_unref(context);
    }
    return nullptr;
}

} // namespace tolvan::link

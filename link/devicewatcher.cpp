#include "link/devicewatcher.h"

#include "link/virtualdevices.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSocketNotifier>

#include <cstdio>

#ifdef Q_OS_WIN
#include <QAbstractNativeEventFilter>
#include <windows.h>
#endif

#if defined(Q_OS_LINUX) && defined(TOLVAN_HAVE_UDEV)
#include <libudev.h>
#endif

namespace tolvan::link {

#ifdef Q_OS_WIN
namespace {
// Top-level windows receive WM_DEVICECHANGE with DBT_DEVNODES_CHANGED when the device tree changes.
class DeviceChangeFilter : public QAbstractNativeEventFilter {
public:
    explicit DeviceChangeFilter(DeviceWatcher* watcher) : m_watcher(watcher) {}
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        const MSG* msg = static_cast<const MSG*>(message);
        if (type == "windows_generic_MSG" && msg->message == WM_DEVICECHANGE && msg->wParam == 0x0007) {
            QMetaObject::invokeMethod(m_watcher, &DeviceWatcher::deviceTreeChanged, Qt::QueuedConnection);
        }
        return false;
    }

private:
    DeviceWatcher* m_watcher;
};
} // namespace
#endif

DeviceWatcher::DeviceWatcher(QObject* parent) : QObject(parent) {
    connect(&VirtualDevices::instance(), &VirtualDevices::deviceTreeChanged, this,
            &DeviceWatcher::deviceTreeChanged);
#ifdef Q_OS_WIN
    static DeviceChangeFilter* filter = nullptr;
    if (!filter) {
        filter = new DeviceChangeFilter(this);
        QCoreApplication::instance()->installNativeEventFilter(filter);
    }
#endif
#if defined(Q_OS_LINUX) && defined(TOLVAN_HAVE_UDEV)
    // Without a running udev daemon (containers) a monitor opens but never hears anything.
    const bool udevRuns = QFileInfo::exists(QStringLiteral("/run/udev/control"));
    udev* context = udevRuns ? udev_new() : nullptr;
    udev_monitor* monitor = context ? udev_monitor_new_from_netlink(context, "udev") : nullptr;
    if (monitor && udev_monitor_filter_add_match_subsystem_devtype(monitor, "tty", nullptr) >= 0 &&
        udev_monitor_enable_receiving(monitor) >= 0) {
        m_udev = context;
        m_monitor = monitor;
        auto* notifier = new QSocketNotifier(udev_monitor_get_fd(monitor), QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, &DeviceWatcher::readSystemEvent);
        return;
    }
    if (monitor) {
        udev_monitor_unref(monitor);
    }
    if (context) {
        udev_unref(context);
    }
    static bool told = false;
    if (!told) {
        told = true;
        std::fputs("tolvan: udev is not available here; handset plug and unplug will not be noticed\n",
                   stderr);
    }
#endif
}

DeviceWatcher::~DeviceWatcher() {
#if defined(Q_OS_LINUX) && defined(TOLVAN_HAVE_UDEV)
    if (m_monitor) {
        udev_monitor_unref(static_cast<udev_monitor*>(m_monitor));
    }
    if (m_udev) {
        udev_unref(static_cast<udev*>(m_udev));
    }
#endif
}

void DeviceWatcher::readSystemEvent() {
#if defined(Q_OS_LINUX) && defined(TOLVAN_HAVE_UDEV)
    udev_device* device = udev_monitor_receive_device(static_cast<udev_monitor*>(m_monitor));
    if (device) {
        udev_device_unref(device);
        emit deviceTreeChanged();
    }
#endif
}

} // namespace tolvan::link

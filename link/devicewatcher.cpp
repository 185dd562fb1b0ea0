#include "link/devicewatcher.h"

#include "link/virtualdevices.h"

#include <QCoreApplication>

#include <cstdio>

#ifdef Q_OS_WIN
#include <QAbstractNativeEventFilter>
#include <windows.h>
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

DeviceWatcher::DeviceWatcher(std::unique_ptr<DeviceEventSource> source, const QString& nodePath,
                             QObject* parent)
    : QObject(parent), m_source(std::move(source)) {
#ifdef Q_OS_WIN
    // A virtual handset raises the notifications of a Windows plug itself.
    connect(&VirtualDevices::instance(), &VirtualDevices::deviceTreeChanged, this,
            &DeviceWatcher::deviceTreeChanged);
    static DeviceChangeFilter* filter = nullptr;
    if (!filter) {
        filter = new DeviceChangeFilter(this);
        QCoreApplication::instance()->installNativeEventFilter(filter);
    }
    // The session looks for a named port itself on every message.
    Q_UNUSED(nodePath);
#else
    // A virtual handset reports its plug as the system's device events would.
    connect(&VirtualDevices::instance(), &VirtualDevices::deviceEvent, this, &DeviceWatcher::deviceEvent);
    if (m_source) {
        connect(m_source.get(), &DeviceEventSource::deviceEvent, this, &DeviceWatcher::deviceEvent);
    }
    if (!nodePath.isEmpty()) {
        m_nodeWatch = std::make_unique<DeviceNodeWatch>(nodePath);
        // Its return is a plug, counted twice as the hot-plug filter counts a handset's node.
        connect(m_nodeWatch.get(), &DeviceNodeWatch::appeared, this, [this] {
            emit deviceTreeChanged();
            emit deviceTreeChanged();
        });
        connect(m_nodeWatch.get(), &DeviceNodeWatch::disappeared, this, &DeviceWatcher::deviceTreeChanged);
        return;
    }
    if (m_source) {
        return;
    }
    static bool told = false;
    if (!told) {
        told = true;
        std::fputs("tolvan: udev is not available here; handset plug and unplug will not be noticed\n",
                   stderr);
    }
#endif
}

DeviceWatcher::~DeviceWatcher() = default;

void DeviceWatcher::deviceEvent(const DeviceEvent& event) {
    if (m_nodeWatch) {
        m_nodeWatch->check();
        return;
    }
    for (int n = m_filter.notificationsFor(event); n > 0; --n) {
        emit deviceTreeChanged();
    }
}

} // namespace tolvan::link

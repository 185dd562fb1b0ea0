#pragma once

#include "link/deviceevent.h"
#include "link/devicenodewatch.h"

#include <QObject>

#include <memory>

namespace tolvan::link {

// Tells when the device tree changed, in the notifications the reconnect rule counts: on Linux
// the device events (udev's, and those of the virtual handsets of this process) pass through the
// hot-plug filter; on Windows the window system's device-change messages count as they come.
// Where no event source can be had (containers) it says so once on stderr and carries on with the
// virtual handsets alone.
// With a device named on the command line (nodePath), on Linux that device's node alone counts,
// as a plug and an unplug of the handset would: its return twice, its removal once; device
// events only make the watcher look at once.
class DeviceWatcher : public QObject {
    Q_OBJECT
public:
    // The system's events by default; tests hand in a source of recorded events.
    explicit DeviceWatcher(std::unique_ptr<DeviceEventSource> source = systemDeviceEvents(),
                           const QString& nodePath = QString(), QObject* parent = nullptr);
    ~DeviceWatcher() override;

    bool systemEventsAvailable() const { return m_source != nullptr; }
    // The watch on the named device; null without one (and on Windows).
    DeviceNodeWatch* nodeWatch() const { return m_nodeWatch.get(); }

signals:
    void deviceTreeChanged();

private:
    void deviceEvent(const DeviceEvent& event);

    std::unique_ptr<DeviceEventSource> m_source;
    HotplugFilter m_filter;
    std::unique_ptr<DeviceNodeWatch> m_nodeWatch;
};

} // namespace tolvan::link

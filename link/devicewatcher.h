#pragma once

#include "link/deviceevent.h"

#include <QObject>

#include <memory>

namespace tolvan::link {

// Tells when the device tree changed, in the notifications the reconnect rule counts: on Linux
// the device events (udev's, and those of the virtual handsets of this process) pass through the
// hot-plug filter; on Windows the window system's device-change messages count as they come.
// Where no event source can be had (containers) it says so once on stderr and carries on with the
// virtual handsets alone.
class DeviceWatcher : public QObject {
    Q_OBJECT
public:
    // The system's events by default; tests hand in a source of recorded events.
    explicit DeviceWatcher(std::unique_ptr<DeviceEventSource> source = systemDeviceEvents(),
                           QObject* parent = nullptr);
    ~DeviceWatcher() override;

    bool systemEventsAvailable() const { return m_source != nullptr; }

signals:
    void deviceTreeChanged();

private:
    void deviceEvent(const DeviceEvent& event);

    std::unique_ptr<DeviceEventSource> m_source;
    HotplugFilter m_filter;
};

} // namespace tolvan::link

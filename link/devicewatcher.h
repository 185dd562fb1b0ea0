#pragma once

#include <QObject>

namespace tolvan::link {

// Tells when the device tree changed: udev on Linux (one notification per event), and the
// virtual handsets of this process. Where udev cannot be reached (containers) it says so once on
// stderr and carries on with the virtual handsets alone.
class DeviceWatcher : public QObject {
    Q_OBJECT
public:
    explicit DeviceWatcher(QObject* parent = nullptr);
    ~DeviceWatcher() override;

    bool systemEventsAvailable() const { return m_monitor != nullptr; }

signals:
    void deviceTreeChanged();

private:
    void readSystemEvent();

    void* m_udev = nullptr;
    void* m_monitor = nullptr;
};

} // namespace tolvan::link

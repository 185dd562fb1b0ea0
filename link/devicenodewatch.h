#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace tolvan::link {

// Watches the one device named on the command line for its removal and return: it looks whether
// the device is there every quarter second and whenever the system reports a device event. A
// plain look works everywhere: containers have no udev, a link below /dev/serial/by-id raises no
// event of its own, and a pseudo-terminal's node simply goes away with its master.
class DeviceNodeWatch : public QObject {
    Q_OBJECT
public:
    using PresenceCheck = std::function<bool(const QString& devicePath)>;

    explicit DeviceNodeWatch(const QString& devicePath, QObject* parent = nullptr);

    // Tests look with their own check and time the looks themselves.
    void setPresenceCheck(PresenceCheck check);
    void setIntervalMs(int ms) { m_timer.setInterval(ms); }
    bool present() const { return m_present; }

    // Looks now; a change since the last look is signalled.
    void check();

signals:
    void appeared();
    void disappeared();

private:
    QString m_path;
    PresenceCheck m_presence;
    QTimer m_timer;
    bool m_present = false;
};

} // namespace tolvan::link

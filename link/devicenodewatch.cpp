#include "link/devicenodewatch.h"

#include "link/portfinder.h"

namespace tolvan::link {

DeviceNodeWatch::DeviceNodeWatch(const QString& devicePath, QObject* parent)
    : QObject(parent), m_path(devicePath), m_presence(devicePresent) {
    m_present = m_presence(m_path);
    m_timer.setInterval(250);
    connect(&m_timer, &QTimer::timeout, this, &DeviceNodeWatch::check);
    m_timer.start();
}

void DeviceNodeWatch::setPresenceCheck(PresenceCheck check) {
    m_presence = std::move(check);
    m_present = m_presence(m_path);
}

void DeviceNodeWatch::check() {
    const bool present = m_presence(m_path);
    if (present == m_present) {
        return;
    }
    m_present = present;
    if (present) {
        emit appeared();
    } else {
        emit disappeared();
    }
}

} // namespace tolvan::link

#include "link/deviceevent.h"

#include "link/portfinder.h"

namespace tolvan::link {
namespace {

bool isHandsetModel(const QString& model) {
    QString description = model;
    description.replace(QLatin1Char('_'), QLatin1Char(' '));
    for (const char* known : kHandsetDescriptions) {
        if (description.startsWith(QLatin1String(known))) {
            return true;
        }
    }
    return false;
}

} // namespace

int HotplugFilter::notificationsFor(const DeviceEvent& event) {
    if (event.subsystem != QLatin1String("tty") || event.devNode.isEmpty()) {
        return 0;
    }
    if (event.action == QLatin1String("add")) {
        if (!isHandsetModel(event.model)) {
            return 0;
        }
        m_handsetNodes.insert(event.devNode);
        return 2;
    }
    if (event.action == QLatin1String("remove")) {
        const bool known = m_handsetNodes.remove(event.devNode);
        return known || isHandsetModel(event.model) ? 1 : 0;
    }
    return 0;
}

} // namespace tolvan::link

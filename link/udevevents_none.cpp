#include "link/deviceevent.h"

namespace tolvan::link {

// No device event stream here (Windows reports device changes as window messages).
std::unique_ptr<DeviceEventSource> systemDeviceEvents() {
    return nullptr;
}

} // namespace tolvan::link

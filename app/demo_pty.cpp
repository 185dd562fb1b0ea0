#include "app/demo.h"

#include "app/simulatorpanel.h"

namespace tolvan::app {

std::unique_ptr<QWidget> startDemo(const QString& modelName, const QStringList& faults, QString* error) {
    auto handset = startVirtualHandset(modelName, faults, error);
    if (!handset) {
        return nullptr;
    }
    return std::make_unique<SimulatorPanel>(std::move(handset));
}

} // namespace tolvan::app

#include "app/demo.h"

#include "app/simulatorpanel.h"

namespace tolvan::app {

std::unique_ptr<QWidget> startDemo(const QString& modelName, QString* error) {
    auto handset = startVirtualHandset(modelName, error);
    if (!handset) {
        return nullptr;
    }
    return std::make_unique<SimulatorPanel>(std::move(handset));
}

} // namespace tolvan::app

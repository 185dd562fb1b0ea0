#include "app/demo.h"

namespace tolvan::app {

// Systems without pseudo-terminals have no demo; the real handset works as usual.
std::unique_ptr<QWidget> startDemo(const QString&, const QStringList&, QString* error) {
    if (error) {
        *error = QStringLiteral("the virtual handset needs a pseudo-terminal, which this system lacks");
    }
    return nullptr;
}

} // namespace tolvan::app

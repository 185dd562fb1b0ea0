#include "app/toolicon.h"

namespace tolvan::app {

QIcon toolIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 256}) {
        icon.addFile(QStringLiteral(":/tolvan/tolvan-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

} // namespace tolvan::app

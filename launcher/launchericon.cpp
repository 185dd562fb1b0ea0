#include "launchericon.h"

QIcon launcherIcon() {
    QIcon icon;
    for (const int size : {16, 32, 48, 256}) {
        icon.addFile(QStringLiteral(":/launcher/vantor-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

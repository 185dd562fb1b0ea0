#pragma once

#include <QIODevice>
#include <QString>

#include <memory>

namespace tolvan::link {

struct SerialOpenResult {
    std::unique_ptr<QIODevice> port; // null when the open failed
    bool permissionDenied = false;   // on Linux: the user is not in the dialout group
    QString errorText;
};

// Opens a handset port at 9600 baud, 8 data bits, odd parity, 1 stop bit, no flow control.
// The settings go on before the open (a pseudo-terminal only takes them that way); a port that
// refuses them after opening is used anyway, and failing modem-line calls do not matter.
SerialOpenResult openHandsetSerialPort(const QString& devicePath);

} // namespace tolvan::link

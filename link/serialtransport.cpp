#include "link/serialtransport.h"

#include <QSerialPort>

namespace tolvan::link {
namespace {

void applyLineSettings(QSerialPort& port) {
    port.setBaudRate(QSerialPort::Baud9600);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::OddParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
}

} // namespace

SerialOpenResult openHandsetSerialPort(const QString& devicePath) {
    SerialOpenResult result;
    auto port = std::make_unique<QSerialPort>();
    port->setPortName(devicePath);
    applyLineSettings(*port);
    if (!port->open(QIODevice::ReadWrite)) {
        result.permissionDenied = port->error() == QSerialPort::PermissionError;
        result.errorText = port->errorString();
        return result;
    }
    applyLineSettings(*port); // some drivers only take them on an open port; refusal is ignored
    port->clearError();
    result.port = std::move(port);
    return result;
}

} // namespace tolvan::link

#include "tests/support/virtualhandsetport.h"

#include "sim/requestassembler.h"

namespace tolvan::test {

void VirtualHandsetPort::install(link::LinkSession& session) {
    session.setReconnectDelayMs(0);
    session.setDeviceLister([this] {
        QList<link::DeviceInfo> list;
        if (attached) {
            list.append(
                {QStringLiteral("ZX-VA150 USB Serial Ports Driver (virt0)"), QStringLiteral("virt0")});
        }
        return list;
    });
    session.setPortOpener([this](const QString&) {
        sim::HandsetConfig config;
        config.modelCode = model;
        config.pacing = pacing;
        config.replyDelayUs = 2000;
        config.faults = faults;
        auto* device = new sim::HandsetDevice(config);
        if (prepare) {
            prepare(device->handset());
        }
        device->open(QIODevice::ReadWrite);
        QObject::connect(&device->pump(), &sim::HandsetPump::traffic,
                         [this](char direction, const QByteArray& bytes, qint64) {
                             if (direction != '>' || !bytes.startsWith(char(link::kStx))) {
                                 return;
                             }
                             const std::uint16_t code =
                                 sim::requestCodeOf({reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                                     static_cast<std::size_t>(bytes.size())});
                             if (code != link::cmd::kPoll) {
                                 requests.push_back(code);
                             }
                         });
        m_device = device;
        link::SerialOpenResult result;
        result.port.reset(device);
        return result;
    });
}

std::vector<std::uint16_t> VirtualHandsetPort::firstDialogue() const {
    std::vector<std::uint16_t> out;
    bool open = false;
    for (const std::uint16_t code : requests) {
        if (code == link::cmd::kOpen) {
            open = true;
        }
        if (open) {
            out.push_back(code);
            if (code == link::cmd::kClose) {
                break;
            }
        }
    }
    return out;
}

} // namespace tolvan::test

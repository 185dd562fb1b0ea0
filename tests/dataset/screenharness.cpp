#include "tests/dataset/screenharness.h"

#include "app/shell/initcom.h"
#include "app/shell/modelink.h"
#include "app/shell/pserrdialog.h"
#include "sim/requestassembler.h"

#include <QApplication>
#include <QTest>

namespace tolvan::dataset::testing {

ScreenHarness::ScreenHarness(std::uint8_t modelCode)
    : folders(root.path()), context{session, texts, folders, abortText, true}, model(modelCode) {
    folders.createModelFolders();
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
        config.replyDelayUs = 2000;
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
    QObject::connect(&session.driver(), &link::LinkDriver::message,
                     [this](link::LinkMessage message) { linkMessages.push_back(message); });
    // Notes the modal dialogs of the link facade and answers the no-data dialog.
    m_watcher.setInterval(5);
    QObject::connect(&m_watcher, &QTimer::timeout, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* progress = qobject_cast<shell::InitCom*>(modal)) {
            if (progress->property("seen").isNull()) {
                progress->setProperty("seen", true);
                ++progressShown;
            }
        } else if (auto* noData = qobject_cast<shell::PsErrDialog*>(modal)) {
            ++noDataShown;
            noData->accept();
        }
    });
    m_watcher.start();
}

ScreenHarness::~ScreenHarness() {
    screen.reset();
    session.closePort();
}

bool ScreenHarness::readAsTheMenuDoes() {
    link::LinkEngine& engine = session.engine();
    engine.resetLinkState();
    engine.setResponseSink(&parser);
    engine.setOperation(DataSetModeDialog::kReadPending);
    if (session.openLink() != 0) {
        return false;
    }
    shell::ModeLink(context, nullptr).runScript(DataSetModeDialog::kReadPending, 0);
    return session.state().dialogueState == link::kKeepAlive;
}

DataSetModeDialog& ScreenHarness::openScreen() {
    screen = std::make_unique<DataSetModeDialog>(context, image);
    screen->show();
    return *screen;
}

bool ScreenHarness::waitForKeepAlive(int ms) {
    return QTest::qWaitFor(
        [this] {
            return session.state().dialogueState == link::kKeepAlive &&
                   !session.engine().closePauseRunning() && !session.state().pendingFlag;
        },
        ms);
}

std::vector<std::uint16_t> ScreenHarness::firstDialogue() const {
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

} // namespace tolvan::dataset::testing

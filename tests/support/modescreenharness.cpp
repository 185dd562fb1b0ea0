#include "tests/support/modescreenharness.h"

#include "shell/initcom.h"
#include "shell/modelink.h"
#include "shell/pserrdialog.h"

#include <QApplication>
#include <QTest>

namespace tolvan::test {

ModeScreenHarness::ModeScreenHarness(std::uint8_t model)
    : folders(root.path()), context{session, store, texts, folders, abortText, true} {
    port.model = model;
    folders.createModelFolders();
    port.install(session);
    session.engine().setResponseSink(&sink);
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

ModeScreenHarness::~ModeScreenHarness() {
    screen.reset();
    session.closePort();
    session.engine().setResponseSink(nullptr);
}

bool ModeScreenHarness::readAsTheMenuDoes(std::uint32_t operationId, std::uint8_t script) {
    link::LinkEngine& engine = session.engine();
    engine.resetLinkState();
    engine.setOperation(operationId);
    if (session.openLink() != 0) {
        return false;
    }
    shell::ModeLink(context, nullptr).runScript(operationId, script);
    return session.state().dialogueState == link::kKeepAlive;
}

bool ModeScreenHarness::waitForKeepAlive(int ms) {
    return QTest::qWaitFor(
        [this] {
            return session.state().dialogueState == link::kKeepAlive &&
                   !session.engine().closePauseRunning() && !session.state().pendingFlag;
        },
        ms);
}

} // namespace tolvan::test

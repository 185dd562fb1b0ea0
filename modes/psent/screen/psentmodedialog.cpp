#include "modes/psent/screen/psentmodedialog.h"

#include "modes/dataset/model/datasetoperations.h"

#include "modes/psent/model/handsetsettingimage.h"
#include "modes/psent/model/psentcodec.h"
#include "modes/psent/model/registrationflow.h"
#include "modes/psent/screen/registrationfilepair.h"
#include "modes/psent/screen/registrationpanel.h"

#include "shell/dialogservice.h"
#include "shell/initcom.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <cstdlib>

namespace tolvan::psent {
namespace {

constexpr int kButtonLockMs = 1000;
// A registration answer whose cause the table does not know ends the program, as a link fault
// does.
constexpr int kContentErrorExitStatus = 4;

} // namespace

PsEntModeDialog::PsEntModeDialog(shell::ModeContext& context, QWidget* parent)
    : PsEntSettingsScreen(context, parent) {
    connect(registerButton(), &QPushButton::clicked, this, &PsEntModeDialog::startRegistration);
    connect(abortButton(), &QPushButton::clicked, this, &PsEntModeDialog::abortRegistration);
    m_run.setListener([this](const RegistrationRun::Step& step) { showStep(step); });
    // Called from inside the link's receive path: the screen acts once the engine is done (an
    // abort in between silences the report).
    context.store.setRegistrationListener([this](const handset::RegistrationReports::Report& report) {
        QMetaObject::invokeMethod(
            this, [this, report] { m_run.take(report); }, Qt::QueuedConnection);
    });
}

PsEntModeDialog::~PsEntModeDialog() {
    context().store.setRegistrationListener({});
}

shell::ModeDescriptor PsEntModeDialog::descriptor() {
    return {QStringLiteral("子機設定／登録モード"), op::kReadPending, op::kReadScript,
            shell::windowFactory<PsEntModeDialog>()};
}

void PsEntModeDialog::backUpBeforeWriteBack() {
    // The write-back finishes a registration already under way: it goes out with or without it.
    if (const std::optional<Message> failed = failedBackup()) {
        shell::DialogService::current().show(this, registration::writtenWithoutBackup(*failed));
    }
}

bool PsEntModeDialog::registrationRunning() const {
    return viewState() == op::kRegistrationRunning || viewState() == op::kRegistrationSecondPhase;
}

void PsEntModeDialog::startRegistration() {
    HandsetSettingImage image = HandsetSettingImage::fromStore(context().store);
    PsEntCodec::encode(screenValues(), link().modelCode(), image);
    if (!backUp()) {
        return;
    }
    // The abort writes this copy back (seamless handover off) if the registration does not finish.
    if (!RegistrationRun::prepareWrite(image, context().store, link().requestBuffers())) {
        shell::DialogService::current().error(this, QStringLiteral("書き込みデータを作成できませんでした"));
        return;
    }
    setViewState(op::kRegistrationRunning);
    applyButtons(op::kAllLocked);
    m_run.start(link().runner());
    QTimer::singleShot(kButtonLockMs, this, [this] {
        if (viewState() == op::kNoData || link().state().operationId == op::kNoData) {
            showState(op::kNoData);
        } else if (buttonState() == op::kAllLocked) {
            // An answer that came within the second already set its own buttons.
            applyButtons(registrationRunning() ? op::kRegistrationRunning : viewState());
        }
    });
}

void PsEntModeDialog::showStep(const RegistrationRun::Step& step) {
    using State = RegistrationRun::State;
    switch (step.state) {
    case State::ContentError:
        shell::DialogService::current().error(this, step.error);
        std::exit(kContentErrorExitStatus);
    case State::Running:
        setStatus(step.status, {});
        break;
    case State::Failed:
    case State::CommandEnded:
        setViewState(step.viewState);
        setStatus(step.status, step.error);
        applyButtons(step.viewState);
        break;
    case State::SecondPhase:
        setViewState(step.viewState);
        setStatus(step.status, {});
        break;
    case State::Completed:
        // The engine is still inside its close handling: the dialogs come after it.
        QMetaObject::invokeMethod(this, &PsEntModeDialog::afterRegistration, Qt::QueuedConnection);
        break;
    case State::Ready:
    case State::Aborted:
        break;
    }
}

void PsEntModeDialog::registrationStep() {
    if (viewState() == op::kRegistrationRunning) {
        m_run.take(link::LinkNotice{link::LinkEvent::RegistrationStep, {}});
    }
}

void PsEntModeDialog::registrationFinished() {
    if (registrationRunning()) {
        m_run.take(link::LinkNotice{link::LinkEvent::RegistrationFinished, {}});
    }
}

bool PsEntModeDialog::waitForScript() {
    const link::LinkState& state = link().state();
    if (state.dialogueState == link::kScriptRunning && state.portOpen) {
        shell::InitCom progress(state, &context().abortText, this);
        progress.setWindowModality(Qt::WindowModal);
        progress.exec();
    }
    return link().keepAlive();
}

void PsEntModeDialog::afterRegistration() {
    if (link().state().dialogueState != link::kIdle) {
        link().dropDialogue();
    }
    const QString completed = registration::statusText(op::kRegistrationCompleted);
    setViewState(op::kRegistrationCompleted);
    setStatus(completed, {});
    applyButtons(op::kRegistrationCompleted);
    shell::MessageRequest done;
    done.title = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    done.text = registration::completedMessage();
    done.icon = QMessageBox::NoIcon;
    shell::DialogService& dialogs = shell::DialogService::current();
    dialogs.message(this, done);

    // The registered handset is read while the save dialog is open.
    if (link().state().dialogueState == link::kIdle) {
        link().startScript(op::kRegistrationCompleted, op::kReadScript);
    }
    const QString folder = context().folders.logPath(link().modelCode(), context().texts.logFolderName());
    const std::optional<QString> chosen = RegistrationFilePair::choose(this, folder);
    // The files and the write-back both need that read finished.
    const bool read = waitForScript();
    if (chosen) {
        // What the store holds is not the registered handset's unless both reads went through:
        // no files from it, and the technician must know before the handset goes. The settings
        // read leaves the accessory detection unread; the data setting read completes the .jv1.
        if (!read || !link().runScript(op::kRegistrationCompleted, dataset::op::kReadScript)) {
            dialogs.show(this, RegistrationFilePair::notSaved(*chosen));
        } else if (const auto failed = RegistrationFilePair::write(*chosen, context().store,
                                                                   link().modelCode(), memoBox()->text())) {
            dialogs.show(this, *failed);
        }
    }

    context().texts.setMemo(memoBox()->text());
    HandsetSettingImage image = HandsetSettingImage::fromStore(context().store);
    PsEntCodec::encode(screenValues(), link().modelCode(), image);
    image.operation[HandsetSettingImage::Seamless] = 0;
    backUpBeforeWriteBack();
    setViewState(op::kWriting);
    handset::HandsetBlocks& pending = context().store.prepareWrite();
    image.storeInto(pending);
    runWrite(pending);
    initialise();
    setStatus(completed, {});
}

void PsEntModeDialog::abortRegistration() {
    m_run.abort();
    setViewState(op::kRegistrationAborted);
    const QString aborted = registration::statusText(op::kRegistrationAborted);
    setStatus(aborted, {});
    applyButtons(op::kAllLocked);
    link().stopDialogue();
    context().texts.setMemo(memoBox()->text());
    // The write the start prepared goes back as the start left it (seamless handover off), the
    // screen not copied again.
    backUpBeforeWriteBack();
    setViewState(op::kWriting);
    context().abortText.raise();
    runWrite(context().store.pendingWrite());
    initialise();
    setStatus(aborted, {});
}

} // namespace tolvan::psent

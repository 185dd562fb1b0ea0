#include "modes/psent/screen/psentmodedialog.h"

#include "modes/dataset/model/datasetoperations.h"

#include "modes/psent/model/handsetsettingimage.h"
#include "modes/psent/model/psentcodec.h"
#include "modes/psent/model/psentframes.h"
#include "modes/psent/model/psentrules.h"
#include "modes/psent/model/registrationflow.h"
#include "modes/psent/screen/psentform.h"
#include "modes/psent/screen/registrationfilepair.h"

#include "common/backup/backupfolder.h"
#include "modes/datasave/model/handsetbackup.h"
#include "shell/dialogservice.h"
#include "shell/initcom.h"
#include "shell/pserrdialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdlib>

namespace tolvan::psent {
namespace {

constexpr int kButtonLockMs = 1000;
// A registration answer whose cause the table does not know ends the program, as a link fault
// does.
constexpr int kContentErrorExitStatus = 4;

bool oneOf(std::uint32_t state, std::initializer_list<std::uint32_t> states) {
    return std::find(states.begin(), states.end(), state) != states.end();
}

QLineEdit* readOnlyBox(QWidget* parent) {
    auto* box = new QLineEdit(parent);
    box->setReadOnly(true);
    return box;
}

} // namespace

PsEntModeDialog::PsEntModeDialog(shell::ModeContext& context, QWidget* parent)
    : shell::ModeScreen(context, link::ModeWindow::HandsetSetting, QStringLiteral("子機設定／登録モード"),
                        parent) {
    buildWindow();
    // Called from inside the link's receive path: the screen acts once the engine is done.
    context.store.setRegistrationListener([this](const handset::RegistrationReports::Report& report) {
        QMetaObject::invokeMethod(
            this, [this, report] { registrationReport(report); }, Qt::QueuedConnection);
    });
    initialise();
}

PsEntModeDialog::~PsEntModeDialog() {
    context().store.setRegistrationListener({});
}

shell::ModeDescriptor PsEntModeDialog::descriptor() {
    return {QStringLiteral("子機設定／登録モード"), op::kReadPending, op::kReadScript,
            [](shell::ModeContext& context, QWidget* parent) -> std::unique_ptr<shell::ModeScreen> {
                return std::make_unique<PsEntModeDialog>(context, parent);
            }};
}

PsEntModeDialog::ButtonRow PsEntModeDialog::buildButtonRow(QWidget* parent) {
    // The way back comes with the row on top and from the frame below.
    ButtonRow row{new QPushButton(QStringLiteral("設定読み込み"), parent),
                  new QPushButton(QStringLiteral("設定書き込み"), parent), nullptr,
                  new QPushButton(QStringLiteral("子機交換"), parent)};
    for (QPushButton* button : {row.read, row.write, row.swap}) {
        // Enter must not press a button by the back door.
        button->setAutoDefault(false);
    }
    row.swap->hide();
    connect(row.read, &QPushButton::clicked, this, &PsEntModeDialog::read);
    connect(row.write, &QPushButton::clicked, this, &PsEntModeDialog::write);
    connect(row.swap, &QPushButton::clicked, this, &PsEntModeDialog::swapHandset);
    return row;
}

void PsEntModeDialog::buildWindow() {
    QMenu* file = addFileMenu(
        QStringLiteral("ファイル(&F)"), [this] { openFile(); }, [this] { saveFile(); },
        [this] { printReport(); });
    // "終了(&X)" goes with the rest: nothing ends the program while a registration runs.
    m_fileActions = file->actions();
    addHelpMenu();

    auto* content = new QWidget(this);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    m_rows[0] = buildButtonRow(content);
    m_rows[0].back = new QPushButton(QStringLiteral("メニューに戻る"), content);
    m_rows[0].back->setAutoDefault(false);
    connect(m_rows[0].back, &QPushButton::clicked, this, &PsEntModeDialog::backToMenu);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {m_rows[0].read, m_rows[0].write, m_rows[0].swap, m_rows[0].back}) {
        buttons->addWidget(button);
    }
    column->addLayout(buttons);
    m_form = new PsEntForm(content);
    column->addWidget(m_form);

    auto* lower = new QGridLayout;
    auto* caption = new QLabel(QStringLiteral("[ZX-VA100子機登録]"), content);
    auto* hint = new QLabel(QStringLiteral("※１ 子機登録する場合は「子機番号」「暗証番号」を入力し\n"
                                           "       設定書き込み後に子機登録を行ってください。"),
                            content);
    m_register = new QPushButton(QStringLiteral("子機登録"), content);
    m_abort = new QPushButton(QStringLiteral("子機登録中断"), content);
    for (QPushButton* button : {m_register, m_abort}) {
        button->setAutoDefault(false);
    }
    connect(m_register, &QPushButton::clicked, this, &PsEntModeDialog::startRegistration);
    connect(m_abort, &QPushButton::clicked, this, &PsEntModeDialog::abortRegistration);
    lower->addWidget(caption, 0, 0, 1, 2);
    lower->addWidget(hint, 1, 0, 1, 4);
    lower->addWidget(m_register, 2, 0);
    lower->addWidget(m_abort, 2, 1);
    m_status = readOnlyBox(content);
    m_error = readOnlyBox(content);
    lower->addWidget(new QLabel(QStringLiteral("状態"), content), 3, 0);
    lower->addWidget(m_status, 3, 1, 1, 3);
    lower->addWidget(new QLabel(QStringLiteral("エラー"), content), 4, 0);
    lower->addWidget(m_error, 4, 1, 1, 3);
    lower->setColumnStretch(3, 1);
    column->addLayout(lower);

    // The bottom set of buttons sits in the frame's bottom bar, its way back the frame's own.
    m_rows[1] = buildButtonRow(this);
    setFrame(content, {m_rows[1].read, m_rows[1].write, m_rows[1].swap});
    m_rows[1].back = backButton();
}

void PsEntModeDialog::loadScreen(const PsEntScreenValues& values) {
    m_form->load(values);
    memoBox()->setText(values.memo);
    modelBox()->setText(values.connectedModel);
}

PsEntScreenValues PsEntModeDialog::screenValues() const {
    PsEntScreenValues values = m_form->values();
    values.memo = memoBox()->text();
    values.connectedModel = modelBox()->text();
    return values;
}

void PsEntModeDialog::closeEvent(QCloseEvent* event) {
    // The window's close button leaves as "メニューに戻る" does, so it is refused while that is.
    if (!m_rows[0].back->isEnabled()) {
        event->ignore();
        return;
    }
    shell::ModeScreen::closeEvent(event);
}

void PsEntModeDialog::initialise() {
    showState(link().keepAlive() ? op::kSettingsShown : op::kNoData);
    memoBox()->setText(context().texts.memo());
}

void PsEntModeDialog::showState(std::uint32_t state) {
    setViewState(state);
    const std::uint32_t model = link().modelCode();
    m_form->applyModel(model);
    const bool shown = state == op::kSettingsShown;
    if (shown) {
        loadScreen(
            PsEntCodec::decode(HandsetSettingImage::fromStore(context().store), model, memoBox()->text()));
    } else {
        loadScreen(PsEntCodec::noDataView(screenValues()));
    }
    m_form->setPsIdEnabled(shown);
    modelBox()->setEnabled(shown);
    setStatus({}, {});
    applyButtons(state);
}

void PsEntModeDialog::applyButtons(std::uint32_t state) {
    m_buttonState = state;
    const bool live = oneOf(state, {op::kSettingsShown, op::kRegistrationAborted, op::kRegistrationCompleted,
                                    op::kRegistrationFailed, op::kRegistrationCommandError});
    const bool running = oneOf(state, {op::kRegistrationRunning, op::kRegistrationSecondPhase});
    const bool leave = !running && state != op::kAllLocked;
    QString swapCaption = QStringLiteral("子機交換");
    bool swapEnabled = leave;
    if (state == op::kNoData) {
        swapCaption = QStringLiteral("接続確認完了");
        swapEnabled = context().portUsed;
    } else if (state == op::kUnplugged) {
        swapCaption = QStringLiteral("交換完了");
    }
    for (const ButtonRow& row : m_rows) {
        row.read->setEnabled(live);
        row.write->setEnabled(live);
        row.back->setEnabled(leave);
        row.swap->setText(swapCaption);
        row.swap->setEnabled(swapEnabled);
    }
    m_form->setSlidersEnabled(live);
    // Registration is offered for the ZX-VA100 alone.
    m_register->setEnabled(live && link().modelCode() == link::kModelVa100);
    m_abort->setEnabled(running);
    for (QAction* action : m_fileActions) {
        action->setEnabled(leave);
    }
}

void PsEntModeDialog::setStatus(const QString& status, const QString& error) {
    m_status->setText(status);
    m_error->setText(error);
}

void PsEntModeDialog::runRead(bool reconnect) {
    // The memo typed here survives the read, which puts the session memo back into the box.
    context().texts.setMemo(memoBox()->text());
    setViewState(reconnect ? op::kReadPending : op::kReading);
    link().runScript(viewState(), op::kReadScript, reconnect);
    initialise();
}

void PsEntModeDialog::read() {
    runRead(false);
}

std::optional<Message> PsEntModeDialog::failedBackup() {
    const auto backedUp = datasave::backUpHandset(context().store, link().modelCode(), memoBox()->text(),
                                                  backup::backupRoot(), false);
    if (const auto* failed = std::get_if<Message>(&backedUp)) {
        return *failed;
    }
    return std::nullopt;
}

bool PsEntModeDialog::backUp() {
    if (const std::optional<Message> failed = failedBackup()) {
        shell::DialogService::current().show(this, *failed);
        return false;
    }
    return true;
}

void PsEntModeDialog::backUpBeforeFinishing() {
    if (const std::optional<Message> failed = failedBackup()) {
        shell::DialogService::current().show(this, registration::writtenWithoutBackup(*failed));
    }
}

void PsEntModeDialog::runWrite() {
    if (!PsEntFrames::fillRequestBuffers(context().store, link().requestBuffers())) {
        // Never send the frames of an earlier write in place of these.
        context().abortText.take();
        shell::DialogService::current().error(this, QStringLiteral("書き込みデータを作成できませんでした"));
        return;
    }
    link().runScript(viewState(), op::kWriteScript);
}

void PsEntModeDialog::write() {
    context().texts.setMemo(memoBox()->text());
    const std::uint32_t model = link().modelCode();
    PsEntScreenValues values = screenValues();
    HandsetSettingImage image = HandsetSettingImage::fromStore(context().store);
    // The call numbers are tested first; the write goes on with the replaced ones.
    if (const std::optional<Message> replaced = PsEntCodec::prepareWrite(values, model, image)) {
        loadScreen(values);
        shell::DialogService::current().show(this, *replaced);
    }
    if (!backUp()) {
        return;
    }
    setViewState(op::kWriting);
    image.storeInto(context().store);
    runWrite();
    initialise();
}

void PsEntModeDialog::swapHandset() {
    if (viewState() == op::kNoData || viewState() == op::kUnplugged) {
        runRead(true);
        return;
    }
    showState(op::kUnplugged);
    link().dropDialogue();
}

void PsEntModeDialog::operationAborted() {
    // The engine already moved the operation id to the no-data state.
    showState(op::kNoData);
}

void PsEntModeDialog::handsetRemoved() {
    showState(op::kUnplugged);
    link().dropDialogue();
}

void PsEntModeDialog::handsetReconnected() {
    runRead(true);
}

bool PsEntModeDialog::registrationRunning() const {
    return viewState() == op::kRegistrationRunning || viewState() == op::kRegistrationSecondPhase;
}

void PsEntModeDialog::startRegistration() {
    const std::uint32_t model = link().modelCode();
    HandsetSettingImage image = HandsetSettingImage::fromStore(context().store);
    PsEntCodec::encode(screenValues(), model, image);
    // A registered handset starts with seamless handover off.
    image.operation[HandsetSettingImage::Seamless] = 0;
    if (!backUp()) {
        return;
    }
    image.storeInto(context().store);
    if (!PsEntFrames::fillRequestBuffers(context().store, link().requestBuffers())) {
        shell::DialogService::current().error(this, QStringLiteral("書き込みデータを作成できませんでした"));
        return;
    }
    link().requestRegistration();
    setViewState(op::kRegistrationRunning);
    applyButtons(op::kAllLocked);
    link().sendSingle(0x0104);
    QTimer::singleShot(kButtonLockMs, this, [this] {
        if (viewState() == op::kNoData || link().state().operationId == op::kNoData) {
            showState(op::kNoData);
        } else if (m_buttonState == op::kAllLocked) {
            // An answer that came within the second already set its own buttons.
            applyButtons(registrationRunning() ? op::kRegistrationRunning : viewState());
        }
    });
}

void PsEntModeDialog::registrationReport(const handset::RegistrationReports::Report& report) {
    // Answers after an abort, or late ones after the registration ended, change nothing.
    if (!registrationRunning()) {
        return;
    }
    const std::optional<registration::ReportView> view = registration::viewOf(report);
    if (!view) {
        return;
    }
    switch (view->kind) {
    case registration::ReportView::Kind::ContentError:
        shell::DialogService::current().error(this, view->error);
        std::exit(kContentErrorExitStatus);
    case registration::ReportView::Kind::Running:
        setStatus(view->status, {});
        break;
    case registration::ReportView::Kind::Failed:
    case registration::ReportView::Kind::CommandEnded:
        setViewState(view->viewState);
        setStatus(view->status, view->error);
        applyButtons(view->viewState);
        break;
    }
}

void PsEntModeDialog::registrationStep() {
    if (viewState() == op::kRegistrationRunning) {
        setViewState(op::kRegistrationSecondPhase);
        setStatus(registration::statusText(op::kRegistrationSecondPhase), {});
    }
}

void PsEntModeDialog::registrationFinished() {
    if (registrationRunning()) {
        // The engine is still inside its close handling: the dialogs come after it.
        QMetaObject::invokeMethod(this, &PsEntModeDialog::afterRegistration, Qt::QueuedConnection);
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
        if (!read) {
            // What the store holds is not the registered handset's: no files from it.
            shell::PsErrDialog noData(link().state(), this);
            noData.exec();
        } else if (!link().runScript(op::kRegistrationCompleted, dataset::op::kReadScript)) {
            // The settings read leaves the accessory detection unread; the data setting read
            // completes the .jv1, which is not written from half of it.
        } else if (const auto failed = RegistrationFilePair::write(*chosen, context().store,
                                                                   link().modelCode(), memoBox()->text())) {
            dialogs.show(this, *failed);
        }
    }

    context().texts.setMemo(memoBox()->text());
    HandsetSettingImage image = HandsetSettingImage::fromStore(context().store);
    PsEntCodec::encode(screenValues(), link().modelCode(), image);
    image.operation[HandsetSettingImage::Seamless] = 0;
    backUpBeforeFinishing();
    setViewState(op::kWriting);
    image.storeInto(context().store);
    runWrite();
    initialise();
    setStatus(completed, {});
}

void PsEntModeDialog::abortRegistration() {
    setViewState(op::kRegistrationAborted);
    const QString aborted = registration::statusText(op::kRegistrationAborted);
    setStatus(aborted, {});
    applyButtons(op::kAllLocked);
    link().stopDialogue();
    context().texts.setMemo(memoBox()->text());
    // The store is written back as the start left it (seamless handover off), the screen not
    // copied again.
    backUpBeforeFinishing();
    setViewState(op::kWriting);
    context().abortText.raise();
    runWrite();
    initialise();
    setStatus(aborted, {});
}

LogFile4Actions::Target PsEntModeDialog::fileTarget() {
    const std::uint32_t model = link().modelCode();
    return {this, model, context().folders.logPath(model, context().texts.logFolderName()),
            [this] { link().pauseForDialog(op::kReadScript); }};
}

void PsEntModeDialog::openFile() {
    if (const std::optional<PsEntScreenValues> values = LogFile4Actions::open(fileTarget(), screenValues())) {
        loadScreen(*values);
    }
}

void PsEntModeDialog::saveFile() {
    LogFile4Actions::save(fileTarget(), screenValues());
}

void PsEntModeDialog::printReport() {
    LogFile4Actions::print(fileTarget(), screenValues(), context().texts.logFolderName());
}

} // namespace tolvan::psent

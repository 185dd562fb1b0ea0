#include "modes/psent/screen/psentsettingsscreen.h"

#include "modes/psent/model/handsetsettingimage.h"
#include "modes/psent/model/logfile4reader.h"
#include "modes/psent/model/logfile4writer.h"
#include "modes/psent/model/psentcodec.h"
#include "modes/psent/model/psentframes.h"
#include "modes/psent/model/psentreport.h"
#include "modes/psent/model/settingspair.h"
#include "modes/psent/screen/psentform.h"
#include "modes/psent/screen/registrationpanel.h"

#include "common/backup/backupfolder.h"
#include "shell/dialogservice.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace tolvan::psent {
namespace {

bool oneOf(std::uint32_t state, std::initializer_list<std::uint32_t> states) {
    return std::find(states.begin(), states.end(), state) != states.end();
}

} // namespace

PsEntSettingsScreen::PsEntSettingsScreen(shell::ModeContext& context, QWidget* parent)
    : shell::LogFileScreen(context, op::kNoticeOwner, QStringLiteral("子機設定／登録モード"),
                           logfile::kLogFile4, op::kReadScript, parent) {
    buildWindow();
    initialise();
}

PsEntSettingsScreen::ButtonRow PsEntSettingsScreen::buildButtonRow(QWidget* parent) {
    // The way back comes with the row on top and from the frame below.
    ButtonRow row{new QPushButton(QStringLiteral("設定読み込み"), parent),
                  new QPushButton(QStringLiteral("設定書き込み"), parent), nullptr,
                  new QPushButton(QStringLiteral("子機交換"), parent)};
    for (QPushButton* button : {row.read, row.write, row.swap}) {
        // Enter must not press a button by the back door.
        button->setAutoDefault(false);
    }
    row.swap->hide();
    connect(row.read, &QPushButton::clicked, this, &PsEntSettingsScreen::read);
    connect(row.write, &QPushButton::clicked, this, &PsEntSettingsScreen::write);
    connect(row.swap, &QPushButton::clicked, this, &PsEntSettingsScreen::swapHandset);
    return row;
}

void PsEntSettingsScreen::buildWindow() {
    // "終了(&X)" goes with the rest: nothing ends the program while a registration runs.
    m_fileActions = addLogFileMenus()->actions();

    auto* content = new QWidget(this);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(0, 0, 0, 0);
    m_rows[0] = buildButtonRow(content);
    m_rows[0].back = new QPushButton(QStringLiteral("メニューに戻る"), content);
    m_rows[0].back->setAutoDefault(false);
    connect(m_rows[0].back, &QPushButton::clicked, this, &PsEntSettingsScreen::backToMenu);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {m_rows[0].read, m_rows[0].write, m_rows[0].swap, m_rows[0].back}) {
        buttons->addWidget(button);
    }
    column->addLayout(buttons);
    m_form = new PsEntForm(content);
    m_registration = new RegistrationPanel(content);
    m_form->addAside(m_registration);
    column->addWidget(m_form);
    column->addStretch();

    // The bottom set of buttons sits in the frame's bottom bar, its way back the frame's own.
    m_rows[1] = buildButtonRow(this);
    setFrame(content, {m_rows[1].read, m_rows[1].write, m_rows[1].swap});
    m_rows[1].back = backButton();
}

QLineEdit* PsEntSettingsScreen::statusBox() const {
    return m_registration->statusBox();
}

QLineEdit* PsEntSettingsScreen::errorBox() const {
    return m_registration->errorBox();
}

QPushButton* PsEntSettingsScreen::registerButton() const {
    return m_registration->startButton();
}

QPushButton* PsEntSettingsScreen::abortButton() const {
    return m_registration->abortButton();
}

void PsEntSettingsScreen::loadScreen(const PsEntScreenValues& values) {
    m_form->load(values);
    memoBox()->setText(values.memo);
    modelBox()->setText(values.connectedModel);
}

PsEntScreenValues PsEntSettingsScreen::screenValues() const {
    PsEntScreenValues values = m_form->values();
    values.memo = memoBox()->text();
    values.connectedModel = modelBox()->text();
    return values;
}

void PsEntSettingsScreen::initialise() {
    showState(link().keepAlive() ? op::kSettingsShown : op::kNoData);
    memoBox()->setText(context().texts.memo());
}

void PsEntSettingsScreen::showState(std::uint32_t state) {
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

void PsEntSettingsScreen::applyButtons(std::uint32_t state) {
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
    registerButton()->setEnabled(live && link().modelCode() == link::kModelVa100);
    abortButton()->setEnabled(running);
    for (QAction* action : m_fileActions) {
        action->setEnabled(leave);
    }
}

void PsEntSettingsScreen::setStatus(const QString& status, const QString& error) {
    m_registration->setStatus(status, error);
}

void PsEntSettingsScreen::runRead(bool reconnect) {
    // The memo typed here survives the read, which puts the session memo back into the box.
    context().texts.setMemo(memoBox()->text());
    setViewState(reconnect ? op::kReadPending : op::kReading);
    link().runScript(viewState(), op::kReadScript, reconnect);
    initialise();
}

void PsEntSettingsScreen::read() {
    runRead(false);
}

std::optional<Message> PsEntSettingsScreen::failedBackup() {
    const auto backedUp =
        backUpSettingsPair(context().store, link().modelCode(), memoBox()->text(), backup::backupRoot());
    if (const auto* failed = std::get_if<Message>(&backedUp)) {
        return *failed;
    }
    return std::nullopt;
}

bool PsEntSettingsScreen::backUp() {
    if (const std::optional<Message> failed = failedBackup()) {
        shell::DialogService::current().show(this, *failed);
        return false;
    }
    return true;
}

void PsEntSettingsScreen::runWrite(const handset::HandsetBlocks& blocks) {
    if (!PsEntFrames::fillRequestBuffers(blocks, link().requestBuffers())) {
        // Never send the frames of an earlier write in place of these.
        context().abortText.take();
        shell::DialogService::current().error(this, QStringLiteral("書き込みデータを作成できませんでした"));
        return;
    }
    link().runScript(viewState(), op::kWriteScript);
}

void PsEntSettingsScreen::write() {
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
    handset::HandsetBlocks& pending = context().store.prepareWrite();
    image.storeInto(pending);
    runWrite(pending);
    initialise();
}

void PsEntSettingsScreen::swapHandset() {
    if (viewState() == op::kNoData || viewState() == op::kUnplugged) {
        runRead(true);
        return;
    }
    showState(op::kUnplugged);
    link().dropDialogue();
}

void PsEntSettingsScreen::operationAborted() {
    // The engine already moved the operation id to the no-data state.
    showState(op::kNoData);
}

void PsEntSettingsScreen::handsetRemoved() {
    // Nothing is queued for the handset that was pulled: the next one is addressed from its open
    // frame at once, which a registration run of many handsets waits for every time.
    showState(op::kUnplugged);
}

void PsEntSettingsScreen::handsetReconnected() {
    runRead(true);
}

void PsEntSettingsScreen::openFile() {
    const auto read =
        shell::LogFileFlow::read<LogFile4ScreenRead>(fileTarget(), [this](const QByteArray& bytes) {
            return LogFile4Reader::read(bytes, link().modelCode(), screenValues());
        });
    if (read && read->loaded) {
        loadScreen(read->values);
    }
}

void PsEntSettingsScreen::saveFile() {
    shell::LogFileFlow::save(fileTarget(), [this]() -> shell::LogFileFlow::Contents {
        const LogFile4Text text = LogFile4Writer::fromScreen(screenValues(), link().modelCode());
        return text.ok() ? shell::LogFileFlow::Contents{text.bytes} : errorMessage(text.error);
    });
}

void PsEntSettingsScreen::printReport() {
    shell::LogFileFlow::print(fileTarget(), [this] {
        return QList<ReportPage>{
            PsEntReport::page(screenValues(), link().modelCode(), context().texts.logFolderName())};
    });
}

} // namespace tolvan::psent

#include "app/ctolvandlg.h"

#include "modes/datasave/model/datasaveoperations.h"
#include "modes/dataset/model/datasetoperations.h"
#include "modes/log/model/logoperations.h"
#include "modes/psent/model/psentoperations.h"
#include "modes/test/model/testoperations.h"
#include "modes/test/model/testresultparser.h"

#include "app/aboutbox.h"
#include "app/csheetmain.h"
#include "app/modalrun.h"
#include "app/systemmenu.h"
#include "flows/doctor/screen/connectiondoctordialog.h"
#include "flows/history/screen/historydialog.h"
#include "flows/provision/screen/provisiondialog.h"
#include "shell/accessiblenames.h"
#include "shell/dialogservice.h"
#include "shell/modelink.h"
#include "shell/verdialog.h"
#include "shell/windowhider.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdlib>

namespace tolvan::app {

std::array<ModeEntry, 5> CTolvanDlg::defaultModes() {
    return {{
        {QStringLiteral("データ設定モード"), dataset::op::kReadPending, dataset::op::kReadScript, {}},
        {QStringLiteral("テストモード"), testmode::op::kReadPending, testmode::op::kReadScript, {}},
        {QStringLiteral("ログ表示モード"), log::op::kReadPending, log::op::kReadScript, {}},
        {QStringLiteral("子機設定／登録モード"), psent::op::kReadPending, psent::op::kReadScript, {}},
        {QStringLiteral("データ保存書き込みモード"), datasave::op::kEntry, datasave::op::kReadAllScript, {}},
    }};
}

CTolvanDlg::CTolvanDlg(link::LinkSession& session, LogFolders& folders, bool portUsed, QWidget* parent)
    : QDialog(parent), m_session(session), m_logFolders(folders),
      m_folderList(folders, m_texts), m_context{session, m_store, m_texts, folders, m_abortText, portUsed},
      m_watcher(link::systemDeviceEvents(), session.fixedDevicePath()), m_modes(defaultModes()) {
    buildWindow();
    // One sink for every mode's reads: every data block goes into the one store; a test result
    // out of range gets the result class the test mode gives it and is not kept.
    m_sink.setTestResultCheck([](std::span<const std::uint8_t> unit) {
        return testmode::TestResultParser::parse(unit, 0).resultClass;
    });
    m_session.engine().setResponseSink(&m_sink);
    m_logFolders.createModelFolders();
    m_texts.setMemo(QString());
    setModes(m_modes);

    connect(&m_watcher, &link::DeviceWatcher::deviceTreeChanged, &m_session,
            &link::LinkSession::deviceTreeChanged);
    connect(&m_session, &link::LinkSession::removedDialogRequested, this, &CTolvanDlg::showRemovedDialog);
    connect(&m_session, &link::LinkSession::removedDialogDismissed, this, [this] {
        if (m_usbDialog) {
            m_usbDialog->handsetBack();
            m_usbDialog->deleteLater();
        }
    });
    // Messages are shown once the engine has finished with the unit that raised them.
    connect(&m_session.driver(), &link::LinkDriver::message, this, &CTolvanDlg::showLinkMessage,
            Qt::QueuedConnection);
    connect(&m_session, &link::LinkSession::portOpenFailed, this,
            [this](const QString&, bool, const QString&) {
                shell::MessageRequest request;
                request.title = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
                request.text = QString::fromUtf8(link::kPortOpenFailedText);
                request.icon = QMessageBox::NoIcon;
                shell::DialogService::current().message(this, request);
            });
}

CTolvanDlg::~CTolvanDlg() = default;

void CTolvanDlg::buildWindow() {
    setWindowTitle(QStringLiteral("メニュー（モード選択）"));
    auto* layout = new QVBoxLayout(this);
    buildMenus(layout);
    layout->addWidget(new QLabel(shell::VerDialog::productName(), this));
    auto* group = new QGroupBox(QStringLiteral("以下の動作モードから選択してください"), this);
    auto* buttons = new QVBoxLayout(group);
    for (std::size_t i = 0; i < m_modeButtons.size(); ++i) {
        auto* button = new QPushButton(m_modes[i].buttonText, group);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, i] { modeButtonPressed(static_cast<int>(i)); });
        buttons->addWidget(button);
        m_modeButtons[i] = button;
    }
    m_exit = new QPushButton(QStringLiteral("終了"), group);
    m_exit->setAutoDefault(false);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(m_exit);
    layout->addWidget(group);

    auto* folderLabel =
        new QLabel(QStringLiteral("ログを保存するフォルダを入力、または選択してください"), this);
    layout->addWidget(folderLabel);
    m_folders = new QComboBox(this);
    m_folders->setEditable(true);
    m_folders->setInsertPolicy(QComboBox::NoInsert);
    shell::labelFor(folderLabel, m_folders);
    layout->addWidget(m_folders);
    auto* memoLabel = new QLabel(QStringLiteral("メモ（保存ログ、印刷時に使用します）"), this);
    layout->addWidget(memoLabel);
    m_memo = new QLineEdit(this);
    shell::labelFor(memoLabel, m_memo);
    layout->addWidget(m_memo);
}

void CTolvanDlg::buildMenus(QVBoxLayout* layout) {
    auto* bar = new QMenuBar(this);
    QMenu* file = bar->addMenu(QStringLiteral("ファイル（&F）"));
    file->addAction(QStringLiteral("子機の履歴(&V)..."), this, &CTolvanDlg::showHistory);
    file->addAction(QStringLiteral("連続設定(&R)..."), this, &CTolvanDlg::showProvisioning);
    file->addSeparator();
    file->addAction(QStringLiteral("終了（&X）"), this, &QDialog::accept);
    QMenu* help = bar->addMenu(QStringLiteral("ヘルプ（&H）"));
    help->addAction(QStringLiteral("動作モード説明（&M）"), this, [this] {
        CSheetMain sheet(this);
        shell::WindowHider::execHidden(this, sheet);
    });
    help->addAction(QStringLiteral("接続診断(&D)..."), this, [this] {
        // The doctor opens the port itself; the menu holds none while no mode runs.
        m_session.closePort();
        doctor::ConnectionDoctorDialog dialog(
            doctor::systemDoctorServices(QStringLiteral("Tolvan"), QStringLiteral(TOLVAN_VERSION)),
            m_session.fixedDevicePath(), this);
        shell::WindowHider::execHidden(this, dialog);
    });
    help->addAction(QStringLiteral("バージョン情報（&A）"), this, [this] {
        shell::VerDialog dialog(this);
        shell::WindowHider::execHidden(this, dialog);
    });
    const auto showAbout = [this] {
        AboutBox box(this);
        shell::WindowHider::execHidden(this, box);
    };
    // The about item belongs in the window's system menu. Where Qt cannot reach one it joins the
    // help menu, with a mnemonic of its own: Alt+H, A must still open the version dialog.
    if (!addToSystemMenu(this, QStringLiteral("バージョン情報 Tolvan(&A)..."), showAbout)) {
        help->addSeparator();
        help->addAction(QStringLiteral("バージョン情報 Tolvan(&T)..."), this, showAbout);
    }
    layout->setMenuBar(bar);
}

void CTolvanDlg::setModes(const std::array<ModeEntry, 5>& modes) {
    m_modes = modes;
    for (std::size_t i = 0; i < m_modes.size(); ++i) {
        m_modeButtons[i]->setText(m_modes[i].buttonText);
        m_modeButtons[i]->setEnabled(static_cast<bool>(m_modes[i].open));
    }
}

void CTolvanDlg::modeButtonPressed(int index) {
    if (m_busy) {
        return;
    }
    m_busy = true;
    QTimer::singleShot(m_buttonDelayMs, this, [this, index] { runMode(index); });
}

void CTolvanDlg::runMode(int index) {
    const ModeEntry& entry = m_modes.at(static_cast<std::size_t>(index));
    // Said while the menu still shows the name; the mode then saves into the model folder.
    const QString typed = m_folders->currentText();
    m_refusedFolder.clear();
    if (!typed.isEmpty() && !LogFolders::isValidFolderName(typed)) {
        m_refusedFolder = typed;
        shell::DialogService::current().show(this, LogFolderList::refusedMessage(typed));
    }
    link::LinkEngine& engine = m_session.engine();
    engine.resetLinkState();
    m_texts.setMemo(m_memo->text());
    engine.setOperation(entry.operationId);
    hide();
    if (m_session.openLink() != 0) {
        shell::DialogService::current().error(
            this, QString::fromUtf8(index == 0 ? link::kNoCommunicationDataSettingText
                                               : link::kNoCommunicationText));
        backToMenu();
        return;
    }
    shell::ModeLink(m_context, this).runScript(entry.operationId, entry.readScript);
    m_folderList.takeOver(typed, m_session.state().modelCode);
    if (entry.open) {
        std::unique_ptr<shell::ModeScreen> screen = entry.open(m_context, this);
        m_openMode = screen.get();
        emit modeOpened(screen.get());
        runModal(*screen);
        m_openMode = nullptr;
    }
    backToMenu();
}

void CTolvanDlg::showHistory() {
    // Like a mode window, but opened without a read: the history is on disk, and the window opens
    // the link itself only to write a version back.
    showFlow([this] { return std::make_unique<history::HistoryDialog>(m_context, this); });
}

void CTolvanDlg::showProvisioning() {
    // Opened without a read: the window opens the link itself for each handset on the cable.
    showFlow([this] { return std::make_unique<provision::ProvisionDialog>(m_context, this); });
}

void CTolvanDlg::showFlow(const std::function<std::unique_ptr<shell::ModeScreen>()>& open) {
    if (m_busy) {
        return;
    }
    m_busy = true;
    m_texts.setMemo(m_memo->text());
    hide();
    const std::unique_ptr<shell::ModeScreen> window = open();
    m_openMode = window.get();
    emit modeOpened(window.get());
    runModal(*window);
    m_openMode = nullptr;
    backToMenu();
}

void CTolvanDlg::backToMenu() {
    show();
    m_memo->setText(m_texts.memo());
    refillFolderBox(m_session.state().modelCode);
    m_modeButtons[0]->setFocus();
    m_busy = false;
}

void CTolvanDlg::showRemovedDialog() {
    if (m_usbDialog) {
        m_usbDialog->show();
        return;
    }
    // It belongs to the window in front (the open mode, else the menu) and blocks that one and
    // the menu behind it, but not the demo's control window that plugs the handset back.
    QWidget* owner = m_openMode ? static_cast<QWidget*>(m_openMode) : this;
    m_usbDialog = new USBDlg(owner);
    m_usbDialog->setWindowModality(Qt::WindowModal);
    m_usbDialog->show();
}

void CTolvanDlg::refillFolderBox(std::uint32_t modelCode) {
    if (!m_folderList.refill(modelCode)) {
        return;
    }
    m_folders->clear();
    m_folders->addItems(m_folderList.names());
    m_folders->setEditText(m_refusedFolder.isEmpty() ? m_folderList.editText() : m_refusedFolder);
}

void CTolvanDlg::showLinkMessage(link::LinkMessage message) {
    QWidget* parent = QApplication::activeWindow() ? QApplication::activeWindow() : this;
    shell::DialogService::current().linkMessage(parent, message);
    if (link::isFatal(message)) {
        // The link cannot go on after these: end the program, and say so by the exit status.
        std::exit(4);
    }
}

} // namespace tolvan::app

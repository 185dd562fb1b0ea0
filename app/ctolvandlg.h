#pragma once

#include "app/usbdlg.h"
#include "common/logfolderlist.h"
#include "common/logfolders.h"
#include "common/sessiontexts.h"
#include "handset/handsetstore.h"
#include "handset/storesink.h"
#include "link/devicewatcher.h"
#include "link/linksession.h"
#include "shell/aborttextflag.h"
#include "shell/modecontext.h"
#include "shell/modedescriptor.h"
#include "shell/modescreen.h"

#include <QDialog>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace tolvan::app {

// One mode button of the main menu.
using ModeEntry = shell::ModeDescriptor;

// The main menu ("メニュー（モード選択）"). It owns the link session for the whole run: each
// mode button opens the link, runs the mode's read script under the progress dialog, and opens
// the mode window; afterwards the menu comes back with the memo as the mode left it.
class CTolvanDlg : public QDialog {
    Q_OBJECT
public:
    CTolvanDlg(link::LinkSession& session, LogFolders& folders, bool portUsed, QWidget* parent = nullptr);
    ~CTolvanDlg() override;

    // The five modes in button order: data setting, test, log display, handset setting/registration,
    // data save/write.
    static std::array<ModeEntry, 5> defaultModes();
    void setModes(const std::array<ModeEntry, 5>& modes);

    QPushButton* modeButton(int index) const { return m_modeButtons.at(static_cast<std::size_t>(index)); }
    QLineEdit* memoBox() const { return m_memo; }
    QComboBox* folderBox() const { return m_folders; }
    SessionTexts& texts() { return m_texts; }
    // What the handset sent, for every mode; owned here for the whole run.
    handset::HandsetStore& store() { return m_store; }
    // Delay before a mode button acts (300 ms); tests set 0.
    void setButtonDelayMs(int ms) { m_buttonDelayMs = ms; }
    // The mode window currently open, if any (for tests).
    shell::ModeScreen* openMode() const { return m_openMode; }

signals:
    // A mode window is about to run modally (for tests and the demo).
    void modeOpened(shell::ModeScreen* screen);

private:
    void buildWindow();
    void buildMenus(QVBoxLayout* layout);
    void modeButtonPressed(int index);
    void runMode(int index);
    // "子機の履歴" from the file menu.
    void showHistory();
    void showProvisioning();
    // A flow's window in place of the menu, as a mode's is, opened without a read.
    void showFlow(const std::function<std::unique_ptr<shell::ModeScreen>()>& open);
    void backToMenu();
    void showLinkMessage(link::LinkMessage message);
    void refillFolderBox(std::uint32_t modelCode);
    void showRemovedDialog();

    link::LinkSession& m_session;
    LogFolders& m_logFolders;
    SessionTexts m_texts;
    handset::HandsetStore m_store;
    handset::StoreSink m_sink{m_store};
    LogFolderList m_folderList;
    shell::AbortTextFlag m_abortText;
    shell::ModeContext m_context;
    link::DeviceWatcher m_watcher;
    std::array<ModeEntry, 5> m_modes;
    std::array<QPushButton*, 5> m_modeButtons{};
    QPushButton* m_exit = nullptr;
    QComboBox* m_folders = nullptr;
    QLineEdit* m_memo = nullptr;
    QPointer<USBDlg> m_usbDialog;
    shell::ModeScreen* m_openMode = nullptr;
    int m_buttonDelayMs = 300;
    bool m_busy = false;
    // A folder name the box held that was refused: it stays in the box for the technician to mend.
    QString m_refusedFolder;
};

} // namespace tolvan::app

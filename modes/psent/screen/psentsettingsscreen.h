#pragma once

#include "modes/psent/model/psentoperations.h"
#include "modes/psent/model/psentscreenvalues.h"

#include "common/message.h"
#include "shell/logfilescreen.h"

#include <array>
#include <cstdint>
#include <optional>

class QAction;
class QLineEdit;
class QPushButton;

namespace tolvan::psent {

class PsEntForm;
class RegistrationPanel;

// The handset setting screen ("子機設定／登録モード") as far as its settings go: shows the handset
// settings of the store, reads them (script 15), writes the screen back (script 16), follows an
// unplugged and a replugged handset, and saves, opens and prints log file 4. Its view state is
// also the link's operation id while it is open, except the all-locked state, which only the
// buttons see. PsEntModeDialog adds the registration.
class PsEntSettingsScreen : public shell::LogFileScreen {
    Q_OBJECT
public:
    // One of the two button sets, top and bottom, with the same actions.
    struct ButtonRow {
        QPushButton* read = nullptr;
        QPushButton* write = nullptr;
        QPushButton* back = nullptr;
        QPushButton* swap = nullptr; // never shown
    };

    explicit PsEntSettingsScreen(shell::ModeContext& context, QWidget* parent = nullptr);

    // The pair between the screen and what it shows.
    void loadScreen(const PsEntScreenValues& values);
    PsEntScreenValues screenValues() const;

    // "設定読み込み", "設定書き込み", "子機交換" and the file menu.
    void read();
    void write();
    void swapHandset();
    void openFile() override;
    void saveFile() override;
    void printReport() override;

    PsEntForm* form() const { return m_form; }
    QLineEdit* statusBox() const;
    QLineEdit* errorBox() const;
    const ButtonRow& buttons(int row) const { return m_rows.at(static_cast<std::size_t>(row)); }
    QPushButton* registerButton() const;
    QPushButton* abortButton() const;
    QList<QAction*> fileActions() const { return m_fileActions; }
    // The state the buttons show (the view state, or the all-locked state).
    std::uint32_t buttonState() const { return m_buttonState; }

protected:
    void operationAborted() override;
    void handsetRemoved() override;
    void handsetReconnected() override;

    RegistrationPanel* registrationPanel() const { return m_registration; }
    // Run when the screen opens and after every read or write: the settings or the no-data view.
    void initialise();
    // The view state with its values (0xD001-0xD003) and its buttons.
    void showState(std::uint32_t state);
    void applyButtons(std::uint32_t state);
    void setStatus(const QString& status, const QString& error);
    // Before a write the user starts: the backup of what the handset held as last read. False
    // (the message shown) when it could not be written: nothing is sent then.
    bool backUp();
    // The backup alone: the message when it could not be written.
    std::optional<Message> failedBackup();
    // Runs script 16 with the request buffers filled from the store.
    // Builds the write frames from blocks (a prepared write) and runs the write script.
    void runWrite(const handset::HandsetBlocks& blocks);

private:
    void buildWindow();
    // Read, write and the hidden swap button of one set; the way back is added by the caller.
    ButtonRow buildButtonRow(QWidget* parent);
    void runRead(bool reconnect);

    PsEntForm* m_form = nullptr;
    RegistrationPanel* m_registration = nullptr;
    std::array<ButtonRow, 2> m_rows;
    QList<QAction*> m_fileActions;
    std::uint32_t m_buttonState = 0;
};

} // namespace tolvan::psent

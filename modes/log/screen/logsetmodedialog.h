#pragma once

// LogSetModeDialog: the log display screen ("ログ表示モード").

#include "modes/log/model/bufferkind.h"
#include "modes/log/model/logdisplaylists.h"

#include "shell/logfilescreen.h"
#include "shell/modedescriptor.h"

#include <array>
#include <cstdint>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace tolvan::log {

// Shows the six handset buffers, reads them again, clears one or all in the handset, and saves,
// opens and prints them as log file 3. Its view state is the link's operation id while it is open.
class LogSetModeDialog : public shell::LogFileScreen {
    Q_OBJECT
public:
    explicit LogSetModeDialog(shell::ModeContext& context, QWidget* parent = nullptr);

    // The main menu's "ログ表示モード".
    static shell::ModeDescriptor descriptor();

    // The lists as they stand, and back.
    LogDisplayLists lists() const;
    void showLists(const LogDisplayLists& lists);

    // "読み込み", the clear buttons and "全バッファクリア".
    void readAll();
    void clear(BufferKind kind);
    void clearAll();
    void openFile() override;
    void saveFile() override;
    void printReport() override;

    QListWidget* list(BufferKind kind) const { return m_lists[indexOf(kind)]; }
    QPushButton* clearButton(BufferKind kind) const { return m_clears[indexOf(kind)]; }
    QPushButton* clearAllButton() const { return m_clearAll; }
    QPushButton* readButton() const { return m_read; }

protected:
    void operationAborted() override;
    void handsetRemoved() override;
    void handsetReconnected() override;

private:
    void buildWindow();
    // Runs a script of this mode as every button does, then refreshes the screen.
    void runOperation(std::uint32_t operationId, std::uint8_t script, bool reconnect = false);
    // After the screen opens and after every operation: the lists by the operation that ran.
    void refresh();
    void showConnected(bool connected);

    std::array<QListWidget*, kBufferCount> m_lists{};
    std::array<QPushButton*, kBufferCount> m_clears{};
    QPushButton* m_clearAll = nullptr;
    QPushButton* m_read = nullptr;
};

} // namespace tolvan::log

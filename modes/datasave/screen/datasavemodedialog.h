#pragma once

// DataSaveModeDialog: the data save and write-back screen ("データ保存書き込みモード").

#include "modes/datasave/model/datasaveoperations.h"
#include "modes/datasave/model/saveset.h"
#include "modes/datasave/model/savesetnames.h"

#include "common/logfolderlist.h"
#include "shell/modedescriptor.h"
#include "shell/modescreen.h"

#include <QTimer>

#include <cstdint>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tolvan::datasave {

// Saves everything the handset holds as one set of log files (1, 3 and 4) and writes such a set
// back into a handset. It shows no values, only what the last operation read or wrote.
class DataSaveModeDialog : public shell::ModeScreen {
    Q_OBJECT
public:
    explicit DataSaveModeDialog(shell::ModeContext& context, QWidget* parent = nullptr);

    // The main menu's "データ保存書き込みモード".
    static shell::ModeDescriptor descriptor();

    // "子機から読み込み～ファイル保存" and "ファイル読み込み～子機書き込み".
    void saveSet();
    void writeBack();

    // The buttons' state: 0xE000 to 0xE005 (0xE004 and 0xE005 change only the buttons).
    std::uint32_t view() const { return m_view; }

    QPushButton* saveButton() const { return m_save; }
    QPushButton* writeButton() const { return m_write; }
    QComboBox* folderBox() const { return m_folders; }
    QLineEdit* fileNameBox() const { return m_fileName; }
    QLineEdit* csIdBox() const { return m_csId; }
    QLineEdit* psIdBox() const { return m_psId; }
    QLineEdit* psNumberBox() const { return m_psNumber; }
    // After a write-back: whether the handset now holds the set, and the lines it does not.
    QLabel* checkLabel() const { return m_check; }

protected:
    void operationAborted() override;
    void handsetRemoved() override;
    void handsetReconnected() override;

private:
    void buildWindow();
    // After the screen opens and after a re-read: view by the dialogue, results emptied, the
    // folder list refilled.
    void initialise();
    void applyView(std::uint32_t view);
    void emptyResults();
    void showResults(const QString& path);
    void fillFolderBox();
    // Before a file dialog: the link paused, the log folder taken from the box, the buttons locked
    // for 2.5 s.
    void prepareFileDialog();
    // The folder box's text goes back into the stored log folder name, and the box is emptied.
    void dropFolderText();
    bool handsetGone();
    // The files of the set just written against what the handset gives back; a file of the set
    // that was not loaded is named as not written.
    void checkWrittenSet(const handset::HandsetBlocks& expected, const WriteBackLoad& load,
                         const SaveSetNames::WriteBackFiles& files);

    LogFolderList m_folderList;
    QTimer m_settleTimer;
    std::uint32_t m_view = op::kEntry;
    QPushButton* m_save = nullptr;
    QPushButton* m_write = nullptr;
    QComboBox* m_folders = nullptr;
    QLineEdit* m_fileName = nullptr;
    QLineEdit* m_csId = nullptr;
    QLineEdit* m_psId = nullptr;
    QLineEdit* m_psNumber = nullptr;
    QLabel* m_check = nullptr;
};

} // namespace tolvan::datasave

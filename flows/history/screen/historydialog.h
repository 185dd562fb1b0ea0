#pragma once

// HistoryDialog: a handset's history ("子機の履歴"): the handsets, the versions of one with what
// each changed, and the write-back of a version.

#include "flows/history/handsetversion.h"
#include "flows/history/versionchanges.h"

#include "shell/modescreen.h"

#include <QList>

#include <cstdint>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace tolvan::history {

// Opened from the main menu's file menu without a link: the history is files alone. "この版に戻す"
// opens the link, reads the handset, and writes the version back as the data save mode's
// write-back does, with its backup first and its check after.
class HistoryDialog : public shell::ModeScreen {
    Q_OBJECT
public:
    explicit HistoryDialog(shell::ModeContext& context, QWidget* parent = nullptr);

    // Reads the backup folder and the log folders again.
    void refresh();
    // "この版に戻す" on the version selected.
    void restoreSelected();

    QTreeWidget* handsetList() const { return m_handsets; }
    QTreeWidget* versionList() const { return m_versions; }
    QTreeWidget* changeList() const { return m_changes; }
    QPushButton* restoreButton() const { return m_restore; }
    // After a restore: whether the handset now holds the version, and the lines it does not.
    QLabel* resultLabel() const { return m_result; }

protected:
    void handsetRemoved() override;

private:
    void buildWindow();
    void showHandsetVersions();
    void showChanges();
    const HandsetVersion* selectedVersion() const;
    // The handset read afresh, the link opened first when no dialogue runs; false after the
    // message or the no-data dialog.
    bool readHandset();
    bool confirmed(const QString& text);
    void writeBack(const HandsetVersion& version);

    QList<HandsetVersion> m_shown;
    QList<VersionChanges> m_shownChanges;
    QTreeWidget* m_handsets = nullptr;
    QTreeWidget* m_versions = nullptr;
    QTreeWidget* m_changes = nullptr;
    QPushButton* m_restore = nullptr;
    QLabel* m_result = nullptr;
};

} // namespace tolvan::history

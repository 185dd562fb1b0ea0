#pragma once

// ProvisionDialog: "連続設定": handset after handset from one template, each with its plan row's
// identity, on the cable of the main menu's link with one swap each.

#include "flows/provision/provisionjournal.h"
#include "flows/provision/provisionplan.h"
#include "flows/provision/provisionrun.h"
#include "flows/provision/provisionsummary.h"
#include "flows/provision/provisiontemplate.h"

#include "shell/modescreen.h"

#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTreeWidget;

namespace tolvan::provision {

// Opened from the main menu's file menu without a link. The template set, the plan and the output
// folder are checked as they are chosen (every plan problem listed, row and column) and nothing
// starts while one is wrong. A run holds the window's event loop live: the table, the handset's
// step and the counts follow it, "中断" stops at the next safe point, and the journal in the
// folder lets a later start go on where it ended.
class ProvisionDialog : public shell::ModeScreen {
    Q_OBJECT
public:
    explicit ProvisionDialog(shell::ModeContext& context, QWidget* parent = nullptr);
    ~ProvisionDialog() override;

    // The choices as typed or picked; each is checked at once.
    void setTemplatePath(const QString& path);
    void setPlanPath(const QString& path);
    void setOutFolder(const QString& path);

    // "開始": runs until no row is left, no handset comes, or "中断" took effect. "失敗した行を再実行"
    // is the same run with the rows that failed taken again.
    void start();
    void retryFailed();
    void stop();
    // The summary on the printer the print dialog returns.
    void printSummary();
    bool running() const { return m_running; }

    // How long the cable is watched between two looks, and left empty before the run ends.
    void setLineTimings(int probePauseMs, int handsetWaitMs);

    QLineEdit* templateBox() const { return m_template; }
    QLineEdit* planBox() const { return m_plan; }
    QLineEdit* folderBox() const { return m_folder; }
    QCheckBox* registerBox() const { return m_register; }
    QListWidget* problemList() const { return m_problems; }
    QLabel* folderNote() const { return m_folderNote; }
    QTreeWidget* rowList() const { return m_rows; }
    QLabel* handsetText() const { return m_handset; }
    QLabel* stepText() const { return m_step; }
    QLabel* resultText() const { return m_result; }
    QProgressBar* stepBar() const { return m_bar; }
    QLabel* countText() const { return m_counts; }
    QPushButton* startButton() const { return m_start; }
    QPushButton* stopButton() const { return m_stop; }
    QPushButton* retryButton() const { return m_retry; }
    QPushButton* printButton() const { return m_print; }

signals:
    // The step the cable is at, and the plan row of its handset (0 until it took one).
    void stepShown(int step, int row);

protected:
    void handsetRemoved() override;

private:
    void buildWindow();
    QWidget* buildChoices(QWidget* parent);
    QWidget* buildProgress(QWidget* parent);
    void chooseTemplate();
    void choosePlan();
    void chooseFolder();
    // Template, plan and folder checked again: the problems listed, what may start enabled.
    void check();
    void run(bool retry);
    void fillRows();
    void showStep(LineStep step, int row);
    void showReport(const HandsetReport& report);
    void showCounts(int left);
    void showResult(const QString& text, const QColor& colour);
    void updateButtons();
    int rowIndex(int planRow) const;
    // The plan's rows as the run's journal has them, or before a run the folder's journal.
    QList<SummaryRow> summaryRows() const;

    std::optional<ProvisionTemplate> m_base;
    std::optional<ProvisionPlan> m_planRead;
    std::unique_ptr<ProvisionJournal> m_journal;
    std::unique_ptr<ProvisionRun> m_run;
    bool m_running = false;
    int m_probePauseMs = 300;
    int m_handsetWaitMs = 120000;

    QLineEdit* m_template = nullptr;
    QLineEdit* m_plan = nullptr;
    QLineEdit* m_folder = nullptr;
    QList<QPushButton*> m_browse;
    QCheckBox* m_register = nullptr;
    QListWidget* m_problems = nullptr;
    QLabel* m_folderNote = nullptr;
    QTreeWidget* m_rows = nullptr;
    QLabel* m_handset = nullptr;
    QLabel* m_step = nullptr;
    QLabel* m_result = nullptr;
    QProgressBar* m_bar = nullptr;
    QLabel* m_counts = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_retry = nullptr;
    QPushButton* m_print = nullptr;
    QAction* m_printAction = nullptr;
    QAction* m_exitAction = nullptr;
};

} // namespace tolvan::provision

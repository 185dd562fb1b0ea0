#include "flows/provision/screen/provisiondialog.h"

#include "flows/provision/provisionsummary.h"
#include "flows/provision/runnerline.h"

#include "common/backup/backupfolder.h"
#include "common/logfile/logfileio.h"
#include "common/logfile/logfilekind.h"
#include "common/modelnames.h"
#include "common/reportrenderer.h"
#include "link/linksession.h"
#include "modes/datasave/model/datasaveoperations.h"
#include "runner/handsetrunner.h"
#include "shell/accessiblenames.h"
#include "shell/dialogservice.h"
#include "shell/logfileflow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tolvan::provision {
namespace {

enum Column { RowColumn, PsNumberColumn, PsIdColumn, ModelColumn, StateColumn, CauseColumn };

constexpr int kLastStep = static_cast<int>(LineStep::WaitingForSwap);

QString stepName(LineStep step) {
    switch (step) {
    case LineStep::WaitingForHandset:
        return QStringLiteral("接続待ち");
    case LineStep::Reading:
        return QStringLiteral("読み込み中");
    case LineStep::Writing:
        return QStringLiteral("書き込み中");
    case LineStep::Verifying:
        return QStringLiteral("照合中");
    case LineStep::Registering:
        return QStringLiteral("登録中");
    case LineStep::Saving:
        return QStringLiteral("保存中");
    case LineStep::WaitingForSwap:
        break;
    }
    return QStringLiteral("次の子機に交換してください");
}

QColor passedColour() {
    return {0x00, 0x80, 0x00};
}

QColor failedColour() {
    return Qt::red;
}

// A handset the run did not take (one already done): nothing went wrong, but it needs a look.
QColor skippedColour() {
    return {0xC0, 0x60, 0x00};
}

QLabel* bigLabel(QWidget* parent, int points, bool bold) {
    auto* label = new QLabel(parent);
    QFont font = label->font();
    font.setPointSize(points);
    font.setBold(bold);
    label->setFont(font);
    label->setWordWrap(true);
    return label;
}

// The summary's result as the table shows it, with the seconds of a row that passed.
QString causeText(const SummaryRow& row) {
    if (row.result == passedText()) {
        return QStringLiteral("%1 秒").arg(row.seconds, 0, 'f', 1);
    }
    return row.cause;
}

// The journal a folder holds, read without creating one where there is none.
void readJournal(const QString& folder, ProvisionJournal& journal) {
    const QString path = QDir(folder).filePath(QStringLiteral("provision.jsonl"));
    if (!folder.isEmpty() && QFileInfo::exists(path)) {
        journal.open(path);
    }
}

} // namespace

ProvisionDialog::ProvisionDialog(shell::ModeContext& context, QWidget* parent)
    : shell::ModeScreen(context, datasave::op::kNoticeOwner, QStringLiteral("連続設定"), parent) {
    buildWindow();
    setViewState(datasave::op::kEntry);
    memoBox()->setText(context.texts.memo());
    check();
}

ProvisionDialog::~ProvisionDialog() = default;

void ProvisionDialog::buildWindow() {
    QMenu* file = addFileMenu(QStringLiteral("ファイル(&F)"), nullptr, nullptr, [this] { printSummary(); });
    m_printAction = file->actions().constFirst();
    m_exitAction = file->actions().constLast();
    addHelpMenu();

    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(buildChoices(content));
    auto* middle = new QHBoxLayout;
    middle->addWidget(buildProgress(content), 2);
    auto* rowsColumn = new QVBoxLayout;
    auto* rowsLabel = new QLabel(QStringLiteral("子機ごとの結果(&W)"), content);
    m_rows = new QTreeWidget(content);
    m_rows->setHeaderLabels({QStringLiteral("行"), QStringLiteral("PS番号"), QStringLiteral("PS-ID"),
                             QStringLiteral("機種"), QStringLiteral("状態"), QStringLiteral("結果・原因")});
    m_rows->setRootIsDecorated(false);
    m_rows->setUniformRowHeights(true);
    m_rows->setAllColumnsShowFocus(true);
    m_rows->header()->setStretchLastSection(true);
    m_rows->header()->setMinimumSectionSize(
        m_rows->fontMetrics().horizontalAdvance(QStringLiteral("ZX-VA150(C)")));
    m_rows->setMinimumSize(520, 180);
    shell::labelFor(rowsLabel, m_rows);
    rowsColumn->addWidget(rowsLabel);
    rowsColumn->addWidget(m_rows, 1);
    middle->addLayout(rowsColumn, 3);
    layout->addLayout(middle, 1);

    m_start = new QPushButton(QStringLiteral("開始"), this);
    m_stop = new QPushButton(QStringLiteral("中断"), this);
    m_retry = new QPushButton(QStringLiteral("失敗した行を再実行"), this);
    m_print = new QPushButton(QStringLiteral("印刷..."), this);
    m_print->setAccessibleName(QStringLiteral("結果を印刷"));
    for (QPushButton* button : {m_start, m_stop, m_retry}) {
        button->setAccessibleName(button->text());
    }
    setFrame(content, {m_start, m_stop, m_retry, m_print});
    setTabOrder(m_rows, memoBox());

    connect(m_start, &QPushButton::clicked, this, &ProvisionDialog::start);
    connect(m_stop, &QPushButton::clicked, this, &ProvisionDialog::stop);
    connect(m_retry, &QPushButton::clicked, this, &ProvisionDialog::retryFailed);
    connect(m_print, &QPushButton::clicked, this, &ProvisionDialog::printSummary);
}

QWidget* ProvisionDialog::buildChoices(QWidget* parent) {
    auto* group = new QGroupBox(QStringLiteral("準備"), parent);
    auto* grid = new QGridLayout(group);
    auto addChoice = [&](int row, const QString& label, const QString& browseName) {
        auto* text = new QLabel(label, group);
        auto* box = new QLineEdit(group);
        shell::labelFor(text, box);
        auto* browse = new QPushButton(QStringLiteral("参照..."), group);
        browse->setAccessibleName(browseName);
        browse->setAutoDefault(false);
        grid->addWidget(text, row, 0);
        grid->addWidget(box, row, 1);
        grid->addWidget(browse, row, 2);
        m_browse.append(browse);
        connect(box, &QLineEdit::editingFinished, this, &ProvisionDialog::check);
        return std::pair{box, browse};
    };
    QPushButton* browse = nullptr;
    std::tie(m_template, browse) = addChoice(0, QStringLiteral("設定の元にするファイル(&T)"),
                                             QStringLiteral("設定の元にするファイルを選ぶ"));
    connect(browse, &QPushButton::clicked, this, &ProvisionDialog::chooseTemplate);
    std::tie(m_plan, browse) =
        addChoice(1, QStringLiteral("子機ごとの値の一覧(&L)"), QStringLiteral("子機ごとの値の一覧を選ぶ"));
    connect(browse, &QPushButton::clicked, this, &ProvisionDialog::choosePlan);
    std::tie(m_folder, browse) = addChoice(2, QStringLiteral("結果を保存するフォルダ(&O)"),
                                           QStringLiteral("結果を保存するフォルダを選ぶ"));
    connect(browse, &QPushButton::clicked, this, &ProvisionDialog::chooseFolder);
    m_template->setMinimumWidth(420);

    m_register = new QCheckBox(QStringLiteral("子機登録も行う"), group);
    m_register->setAccessibleName(m_register->text());
    m_register->setToolTip(QStringLiteral("ZX-VA100 の子機だけが登録できます"));
    grid->addWidget(m_register, 3, 1);
    m_folderNote = new QLabel(group);
    m_folderNote->setWordWrap(true);
    grid->addWidget(m_folderNote, 4, 1, 1, 2);

    auto* problemsLabel = new QLabel(QStringLiteral("一覧の誤り(&E)"), group);
    m_problems = new QListWidget(group);
    shell::labelFor(problemsLabel, m_problems);
    m_problems->setMaximumHeight(m_problems->fontMetrics().height() * 5);
    grid->addWidget(problemsLabel, 5, 0, Qt::AlignTop);
    grid->addWidget(m_problems, 5, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    return group;
}

QWidget* ProvisionDialog::buildProgress(QWidget* parent) {
    auto* group = new QGroupBox(QStringLiteral("ケーブルの子機"), parent);
    auto* column = new QVBoxLayout(group);
    m_handset = bigLabel(group, 18, true);
    m_step = bigLabel(group, 16, true);
    m_bar = new QProgressBar(group);
    m_bar->setRange(0, kLastStep);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
    m_bar->setAccessibleName(QStringLiteral("子機の進み具合"));
    m_result = bigLabel(group, 13, true);
    m_counts = bigLabel(group, 12, false);
    m_handset->setAccessibleName(QStringLiteral("ケーブルの子機"));
    m_step->setAccessibleName(QStringLiteral("手順"));
    m_result->setAccessibleName(QStringLiteral("子機の結果"));
    m_counts->setAccessibleName(QStringLiteral("件数"));
    column->addWidget(m_handset);
    column->addWidget(m_step);
    column->addWidget(m_bar);
    column->addWidget(m_result);
    column->addStretch(1);
    column->addWidget(m_counts);
    group->setMinimumWidth(340);
    return group;
}

void ProvisionDialog::setTemplatePath(const QString& path) {
    m_template->setText(path);
    check();
}

void ProvisionDialog::setPlanPath(const QString& path) {
    m_plan->setText(path);
    check();
}

void ProvisionDialog::setOutFolder(const QString& path) {
    m_folder->setText(path);
    check();
}

void ProvisionDialog::setLineTimings(int probePauseMs, int handsetWaitMs) {
    m_probePauseMs = probePauseMs;
    m_handsetWaitMs = handsetWaitMs;
}

void ProvisionDialog::chooseTemplate() {
    const logfile::LogFileKind& kind = logfile::kLogFile1;
    const auto chosen = shell::DialogService::current().openFileName(
        this, {QStringLiteral("設定の元にするファイル"), context().folders.root(),
               kind.filter() + QStringLiteral(";;") + logfile::kLogFile4.filter(), kind.extension()});
    if (chosen) {
        setTemplatePath(*chosen);
    }
}

void ProvisionDialog::choosePlan() {
    const auto chosen = shell::DialogService::current().openFileName(
        this, {QStringLiteral("子機ごとの値の一覧"), QFileInfo(m_template->text()).path(),
               QStringLiteral("CSV(*.csv)"), QStringLiteral("csv")});
    if (chosen) {
        setPlanPath(*chosen);
    }
}

void ProvisionDialog::chooseFolder() {
    const auto chosen = shell::DialogService::current().folderName(
        this,
        {QStringLiteral("結果を保存するフォルダ"), QFileInfo(m_plan->text()).path(), QString(), QString()});
    if (chosen) {
        setOutFolder(*chosen);
    }
}

void ProvisionDialog::check() {
    if (m_running) {
        return;
    }
    m_problems->clear();
    m_base.reset();
    m_planRead.reset();
    QStringList notes;
    const QString templatePath = m_template->text().trimmed();
    if (!templatePath.isEmpty()) {
        auto loaded = ProvisionTemplate::load(templatePath);
        if (auto* base = std::get_if<ProvisionTemplate>(&loaded)) {
            m_base = std::move(*base);
        } else {
            m_problems->addItem(std::get<Message>(loaded).text.simplified());
        }
    }
    const bool va100 = m_base && m_base->modelCode() == kModelVa100;
    m_register->setEnabled(va100);
    if (!va100) {
        m_register->setChecked(false);
    }
    const QString planPath = m_plan->text().trimmed();
    if (m_base && !planPath.isEmpty()) {
        const logfile::LoadedFile file = logfile::loadExact(planPath, ProvisionPlan::kMaxFileBytes);
        if (file.status != logfile::LoadedFile::Status::Loaded) {
            m_problems->addItem(file.message.text.simplified());
        } else {
            auto read = ProvisionPlan::read(file.bytes, *m_base);
            if (auto* plan = std::get_if<ProvisionPlan>(&read)) {
                m_planRead = std::move(*plan);
                notes << QStringLiteral("一覧の子機: %1 台（%2）")
                             .arg(m_planRead->rows().size())
                             .arg(QString::fromLatin1(modelNameOf(m_base->modelCode())));
            } else {
                m_problems->addItems(std::get<QStringList>(read));
            }
        }
    }
    ProvisionJournal earlier;
    readJournal(m_folder->text().trimmed(), earlier);
    if (!earlier.entries().isEmpty()) {
        notes << QStringLiteral(
            "このフォルダには前回の記録があります。開始すると、終わっていない行から続けます。");
    }
    m_folderNote->setText(notes.join(u'\n'));
    if (m_planRead) {
        m_journal.reset();
        m_run.reset();
        fillRows();
    } else {
        m_rows->clear();
    }
    updateButtons();
}

void ProvisionDialog::fillRows() {
    m_rows->clear();
    if (!m_planRead) {
        return;
    }
    const QList<SummaryRow> rows = summaryRows();
    int passed = 0;
    int failed = 0;
    for (const SummaryRow& row : rows) {
        auto* item = new QTreeWidgetItem(m_rows, {QString::number(row.row), row.psNumber, row.psId, row.model,
                                                  row.result, causeText(row)});
        item->setData(RowColumn, Qt::UserRole, row.row);
        if (row.result == passedText()) {
            ++passed;
            item->setForeground(StateColumn, passedColour());
        } else if (row.result == failedText()) {
            ++failed;
            item->setForeground(StateColumn, failedColour());
        }
    }
    for (int column = 0; column < CauseColumn; ++column) {
        m_rows->resizeColumnToContents(column);
    }
    if (!m_run) {
        // What a start would take: the rows not done (and the failed ones only on a retry).
        showCounts(static_cast<int>(rows.size()) - passed - failed);
    }
}

QList<SummaryRow> ProvisionDialog::summaryRows() const {
    if (m_journal) {
        return summaryOf(*m_planRead, *m_journal);
    }
    ProvisionJournal earlier;
    readJournal(m_folder->text().trimmed(), earlier);
    return summaryOf(*m_planRead, earlier);
}

int ProvisionDialog::rowIndex(int planRow) const {
    for (int i = 0; i < m_rows->topLevelItemCount(); ++i) {
        if (m_rows->topLevelItem(i)->data(RowColumn, Qt::UserRole).toInt() == planRow) {
            return i;
        }
    }
    return -1;
}

void ProvisionDialog::start() {
    run(false);
}

void ProvisionDialog::retryFailed() {
    run(true);
}

void ProvisionDialog::stop() {
    if (m_running && m_run) {
        m_run->requestStop();
        m_stop->setEnabled(false);
        m_step->setText(QStringLiteral("中断します（ケーブルの子機の処理が終わるまでお待ちください）"));
    }
}

void ProvisionDialog::run(bool retry) {
    if (m_running || !m_base || !m_planRead) {
        return;
    }
    shell::DialogService& dialogs = shell::DialogService::current();
    const QString out = m_folder->text().trimmed();
    if (out.isEmpty()) {
        dialogs.error(this, QStringLiteral("結果を保存するフォルダを選んでください"));
        return;
    }
    if (!QDir().mkpath(out)) {
        dialogs.error(this, out + QStringLiteral(" を作成できません。"));
        return;
    }
    auto journal = std::make_unique<ProvisionJournal>();
    if (const auto failed = journal->open(QDir(out).filePath(QStringLiteral("provision.jsonl")))) {
        dialogs.error(this, QStringLiteral("provision.jsonl: ") + *failed);
        return;
    }
    m_run.reset();
    m_journal = std::move(journal);
    context().texts.setMemo(memoBox()->text());
    RunOptions options{out, backup::backupRoot(), m_register->isChecked(), retry, memoBox()->text()};
    m_run = std::make_unique<ProvisionRun>(*m_base, *m_planRead, *m_journal, options);
    fillRows();
    const int left = m_run->rowsLeft();
    showCounts(left);
    m_result->clear();
    if (left == 0) {
        m_step->setText(QStringLiteral("実行する行はありません"));
        return;
    }

    m_running = true;
    updateButtons();
    // The cable is this window's: a pulled handset is the swap it waits for, not a lost link.
    link::LinkSession& session = context().session;
    session.closePort();
    session.setSwapsExpected(true);
    {
        runner::HandsetRunner runner(session, context().store);
        RunnerLine line(session, runner);
        line.setProbePauseMs(m_probePauseMs);
        line.setHandsetWaitMs(m_handsetWaitMs);
        m_run->serve(
            line, [this](const HandsetReport& report) { showReport(report); },
            [this](LineStep step, int row) { showStep(step, row); });
        runner.close();
    }
    session.setSwapsExpected(false);
    m_running = false;

    if (const QString failed = writeSummary(out, *m_planRead, *m_journal); !failed.isEmpty()) {
        dialogs.error(this, QStringLiteral("summary.csv: ") + failed);
    } else {
        m_folderNote->setText(
            QStringLiteral("結果の一覧を保存しました: %1")
                .arg(QDir::toNativeSeparators(QDir(out).filePath(QStringLiteral("summary.csv")))));
    }
    fillRows();
    showCounts(m_run->rowsLeft());
    m_bar->setValue(0);
    m_handset->clear();
    modelBox()->clear();
    m_step->setText(m_run->stopRequested() ? QStringLiteral("中断しました")
                    : m_run->rowsLeft() > 0 ? QStringLiteral("子機が接続されないため終了しました")
                                            : QStringLiteral("すべての行が終わりました"));
    updateButtons();
}

void ProvisionDialog::showStep(LineStep step, int row) {
    emit stepShown(static_cast<int>(step), row);
    m_bar->setValue(static_cast<int>(step));
    // The handset's report has just said what to do; a stop notice stays up.
    if (step == LineStep::WaitingForSwap || m_run->stopRequested()) {
        return;
    }
    m_step->setText(stepName(step));
    if (step == LineStep::WaitingForHandset) {
        m_handset->setText(QStringLiteral("子機を接続してください"));
        modelBox()->clear();
        return;
    }
    m_result->clear();
    if (step != LineStep::Reading) {
        modelBox()->setText(modelText(context().session.state().modelCode));
    }
    const PlanRow* planRow = row > 0 ? m_planRead->rowAt(row) : nullptr;
    m_handset->setText(planRow ? QStringLiteral("PS番号 %1\nPS-ID %2").arg(planRow->psNumber, planRow->psId)
                               : QStringLiteral("子機を確認しています"));
    if (const int index = rowIndex(row); index >= 0) {
        QTreeWidgetItem* item = m_rows->topLevelItem(index);
        item->setText(StateColumn, stepName(step));
        item->setForeground(StateColumn, palette().color(QPalette::Text));
        m_rows->scrollToItem(item);
    }
}

void ProvisionDialog::showReport(const HandsetReport& report) {
    using Kind = HandsetReport::Kind;
    if (report.kind == Kind::NoRowLeft) {
        return;
    }
    const bool passed = report.kind == Kind::Passed;
    if (report.row == 0 || report.kind == Kind::AlreadyDone) {
        m_handset->setText(QStringLiteral("PS-ID %1").arg(report.psId));
    }
    if (report.row > 0 && (passed || report.kind == Kind::Failed)) {
        if (const int index = rowIndex(report.row); index >= 0) {
            QTreeWidgetItem* item = m_rows->topLevelItem(index);
            item->setText(PsIdColumn, report.psId);
            item->setText(ModelColumn, report.model);
            item->setText(StateColumn, passed ? passedText() : failedText());
            item->setForeground(StateColumn, passed ? passedColour() : failedColour());
            item->setText(CauseColumn,
                          passed ? QStringLiteral("%1 秒").arg(report.seconds, 0, 'f', 1) : report.cause);
        }
    }
    switch (report.kind) {
    case Kind::Passed:
        showResult(QStringLiteral("%1　PS番号 %2　PS-ID %3").arg(passedText(), report.psNumber, report.psId),
                   passedColour());
        break;
    case Kind::Failed:
        showResult(QStringLiteral("%1: %2").arg(failedText(), report.cause), failedColour());
        break;
    case Kind::WrongModel:
        showResult(QStringLiteral("機種違い: %1").arg(report.cause), failedColour());
        break;
    case Kind::AlreadyDone:
        showResult(QStringLiteral("設定済み: %1").arg(report.cause), skippedColour());
        break;
    case Kind::NoRowLeft:
        break;
    }
    // Looked up only to swap: the beep says a handset is done.
    QApplication::beep();
    m_step->setText(report.rowsLeft > 0 ? stepName(LineStep::WaitingForSwap)
                                        : QStringLiteral("すべての行が終わりました。子機を外してください"));
    m_bar->setValue(kLastStep);
    showCounts(report.rowsLeft);
    if (const QString failed = writeSummary(m_folder->text().trimmed(), *m_planRead, *m_journal);
        !failed.isEmpty()) {
        m_folderNote->setText(QStringLiteral("summary.csv: ") + failed);
    }
}

void ProvisionDialog::showCounts(int left) {
    int passed = 0;
    int failed = 0;
    for (int i = 0; i < m_rows->topLevelItemCount(); ++i) {
        const QString state = m_rows->topLevelItem(i)->text(StateColumn);
        passed += state == passedText() ? 1 : 0;
        failed += state == failedText() ? 1 : 0;
    }
    m_counts->setText(QStringLiteral("成功 %1　失敗 %2　残り %3").arg(passed).arg(failed).arg(left));
}

void ProvisionDialog::showResult(const QString& text, const QColor& colour) {
    QPalette palette = m_result->palette();
    palette.setColor(QPalette::WindowText, colour);
    m_result->setPalette(palette);
    m_result->setText(text);
}

void ProvisionDialog::printSummary() {
    if (!m_planRead) {
        return;
    }
    const QList<SummaryRow> rows = summaryRows();
    shell::LogFileFlow::print({this, QString(), nullptr, {}}, [&] { return summaryReportPages(rows); });
}

void ProvisionDialog::updateButtons() {
    const bool ready = m_base && m_planRead && !m_folder->text().trimmed().isEmpty();
    bool anyFailed = false;
    for (int i = 0; i < m_rows->topLevelItemCount(); ++i) {
        anyFailed = anyFailed || m_rows->topLevelItem(i)->text(StateColumn) == failedText();
    }
    m_start->setEnabled(ready && !m_running);
    m_stop->setEnabled(m_running);
    m_retry->setEnabled(ready && !m_running && anyFailed);
    m_print->setEnabled(m_planRead.has_value() && !m_running);
    m_printAction->setEnabled(m_print->isEnabled());
    // Leaving, or ending the program, in the middle of a handset could cut its write.
    m_exitAction->setEnabled(!m_running);
    backButton()->setEnabled(!m_running);
    for (QWidget* control : std::initializer_list<QWidget*>{m_template, m_plan, m_folder}) {
        control->setEnabled(!m_running);
    }
    for (QPushButton* browse : m_browse) {
        browse->setEnabled(!m_running);
    }
    m_register->setEnabled(!m_running && m_base && m_base->modelCode() == kModelVa100);
}

void ProvisionDialog::handsetRemoved() {
    modelBox()->clear();
}

} // namespace tolvan::provision

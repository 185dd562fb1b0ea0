#include "modes/log/screen/logsetmodedialog.h"

#include "modes/log/model/handsetbuffers.h"
#include "modes/log/model/logfile3format.h"
#include "modes/log/model/logfile3reader.h"
#include "modes/log/model/logfile3writer.h"
#include "modes/log/model/logoperations.h"
#include "modes/log/model/logreport.h"

#include "shell/accessiblenames.h"
#include "shell/dialogservice.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdlib>

namespace tolvan::log {
namespace {

QString stateErrorText() {
    return QStringLiteral("ログ表示モード状態エラー");
}

} // namespace

LogSetModeDialog::LogSetModeDialog(shell::ModeContext& context, QWidget* parent)
    : shell::LogFileScreen(context, op::kNoticeOwner, QStringLiteral("ログ表示モード"), logfile::kLogFile3,
                           op::kReadScript, parent) {
    buildWindow();
    memoBox()->setText(context.texts.memo());
    refresh();
}

shell::ModeDescriptor LogSetModeDialog::descriptor() {
    return {QStringLiteral("ログ表示モード"), op::kReadPending, op::kReadScript,
            shell::windowFactory<LogSetModeDialog>()};
}

void LogSetModeDialog::buildWindow() {
    addLogFileMenus();

    // Lists 1 to 3 above, 4 to 6 below, a line of hyphens between; a clear button under each. The
    // lists take whatever room the window gives, so a long buffer reads better in a larger window.
    auto* content = new QWidget(this);
    auto* grid = new QGridLayout(content);
    grid->setContentsMargins(0, 0, 0, 0);
    for (std::size_t i = 0; i < kScreenListOrder.size(); ++i) {
        const BufferKind kind = kScreenListOrder[i];
        const int row = i < 3 ? 0 : 4;
        const int column = static_cast<int>(i % 3);
        auto* list = new QListWidget(content);
        list->setSelectionMode(QAbstractItemView::NoSelection);
        auto* clear = new QPushButton(QStringLiteral("クリア"), content);
        clear->setAutoDefault(false);
        connect(clear, &QPushButton::clicked, this, [this, kind] { this->clear(kind); });
        m_lists[indexOf(kind)] = list;
        m_clears[indexOf(kind)] = clear;
        auto* caption = new QLabel(LogFile3Format::sectionName(kind), content);
        shell::labelFor(caption, list);
        grid->addWidget(caption, row, column);
        grid->addWidget(list, row + 1, column);
        grid->addWidget(clear, row + 2, column);
        grid->setRowStretch(row + 1, 1);
        grid->setColumnStretch(column, 1);
    }
    auto* rule = new QLabel(QString(100, QLatin1Char('-')), content);
    rule->setAlignment(Qt::AlignCenter);
    // The rule is drawn across the lists, not a reason for the window to be wider.
    rule->setMinimumWidth(1);
    rule->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    grid->addWidget(rule, 3, 0, 1, 3);

    m_clearAll = new QPushButton(QStringLiteral("全バッファクリア"), this);
    m_read = new QPushButton(QStringLiteral("読み込み"), this);
    setFrame(content, {m_clearAll, m_read});
    connect(m_clearAll, &QPushButton::clicked, this, &LogSetModeDialog::clearAll);
    connect(m_read, &QPushButton::clicked, this, &LogSetModeDialog::readAll);
}

LogDisplayLists LogSetModeDialog::lists() const {
    LogDisplayLists lists;
    for (const BufferKind kind : kAllBuffers) {
        QStringList rows;
        const QListWidget* list = m_lists[indexOf(kind)];
        for (int i = 0; i < list->count(); ++i) {
            rows << list->item(i)->text();
        }
        lists.setRows(kind, rows);
    }
    return lists;
}

void LogSetModeDialog::showLists(const LogDisplayLists& lists) {
    for (const BufferKind kind : kAllBuffers) {
        QListWidget* list = m_lists[indexOf(kind)];
        list->clear();
        list->addItems(lists.rows(kind));
    }
}

void LogSetModeDialog::runOperation(std::uint32_t operationId, std::uint8_t script, bool reconnect) {
    context().texts.setMemo(memoBox()->text());
    setViewState(operationId);
    link().runScript(operationId, script, reconnect);
    refresh();
}

void LogSetModeDialog::readAll() {
    runOperation(op::kReadPending, op::kReadScript);
}

void LogSetModeDialog::clear(BufferKind kind) {
    runOperation(op::clearOperation(kind), op::clearScript(kind));
}

void LogSetModeDialog::clearAll() {
    runOperation(op::kClearAll, op::kClearAllScript);
}

void LogSetModeDialog::refresh() {
    const std::uint32_t state = link().state().dialogueState;
    if (state == link::kKeepAlive) {
        LogDisplayLists shown = lists();
        // The operation that just ran, as the link has it (the main menu's read on opening).
        if (!shown.applyScriptResult(link().state().operationId,
                                     HandsetBuffers::fromStore(context().store))) {
            shell::DialogService::current().error(this, stateErrorText());
            std::exit(0);
        }
        showLists(shown);
        setViewState(op::kDataShown);
        showConnected(true);
    } else if (state == link::kIdle) {
        setViewState(op::kNoData);
        showLists(LogDisplayLists{});
        showConnected(false);
    } else {
        shell::DialogService::current().error(this, stateErrorText());
        std::exit(0);
    }
    memoBox()->setText(context().texts.memo());
    m_clears[indexOf(kScreenListOrder.front())]->setFocus();
}

void LogSetModeDialog::showConnected(bool connected) {
    for (QPushButton* clear : m_clears) {
        clear->setEnabled(connected);
    }
    m_clearAll->setEnabled(connected);
    m_read->setEnabled(connected);
    modelBox()->setEnabled(connected);
    if (!connected) {
        modelBox()->clear();
    } else if (const QString name = modelText(link().modelCode()); !name.isEmpty()) {
        modelBox()->setText(name);
    }
}

void LogSetModeDialog::operationAborted() {
    // The engine already moved the operation id to the no-data state.
    setViewState(op::kNoData);
    showLists(LogDisplayLists{});
    showConnected(false);
}

void LogSetModeDialog::handsetRemoved() {
    setViewState(op::kUnplugged);
    showLists(LogDisplayLists{});
    showConnected(false);
    m_clears[indexOf(kScreenListOrder.front())]->setFocus();
    link().dropDialogue();
}

void LogSetModeDialog::handsetReconnected() {
    runOperation(op::kReadPending, op::kReadScript, true);
}

void LogSetModeDialog::saveFile() {
    shell::LogFileFlow::save(fileTarget(), [this]() -> shell::LogFileFlow::Contents {
        const LogFile3Text text = LogFile3Writer::write({lists(), memoBox()->text()}, link().modelCode());
        if (!text.ok()) {
            return *text.error;
        }
        return text.bytes;
    });
}

void LogSetModeDialog::openFile() {
    shell::LogFileFlow::open(fileTarget(), [this](const QByteArray& bytes) {
        const LogFile3Read read = LogFile3Reader::read(bytes, link().modelCode());
        if (read.loaded()) {
            showLists(read.content.lists);
            memoBox()->setText(read.content.memo);
        }
        return read.message ? QList<Message>{*read.message} : QList<Message>{};
    });
}

void LogSetModeDialog::printReport() {
    shell::LogFileFlow::print(fileTarget(), [this] {
        return QList<ReportPage>{
            LogReport::page(lists(), link().modelCode(), context().texts.logFolderName(), memoBox()->text())};
    });
}

} // namespace tolvan::log

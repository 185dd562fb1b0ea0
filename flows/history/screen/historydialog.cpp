#include "flows/history/screen/historydialog.h"

#include "flows/history/restoreversion.h"
#include "flows/history/versionfinder.h"

#include "common/backup/backupfolder.h"
#include "common/modelnames.h"
#include "link/linksession.h"
#include "modes/datasave/model/datasaveoperations.h"
#include "modes/datasave/model/handsetbackup.h"
#include "modes/datasave/model/saveset.h"
#include "modes/datasave/model/savesetnames.h"
#include "modes/datasave/model/writebackframes.h"
#include "modes/datasave/model/writebackverify.h"
#include "modes/dataset/model/systemparamimage.h"
#include "shell/dialogservice.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tolvan::history {
namespace {

namespace op = datasave::op;

QString timeText(const QDateTime& when) {
    return when.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

QTreeWidget* newList(QWidget* parent, const QStringList& headers, const QString& name) {
    auto* list = new QTreeWidget(parent);
    list->setHeaderLabels(headers);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setAccessibleName(name);
    list->header()->setStretchLastSection(true);
    return list;
}

// A list under its label, the label's mnemonic moving the focus to it.
QVBoxLayout* labelled(QWidget* parent, const QString& text, QTreeWidget* list) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(list);
    auto* column = new QVBoxLayout;
    column->addWidget(label);
    column->addWidget(list, 1);
    return column;
}

} // namespace

HistoryDialog::HistoryDialog(shell::ModeContext& context, QWidget* parent)
    : shell::ModeScreen(context, datasave::op::kNoticeOwner, QStringLiteral("子機の履歴"), parent) {
    buildWindow();
    setViewState(op::kEntry);
    memoBox()->setText(context.texts.memo());
    refresh();
}

void HistoryDialog::buildWindow() {
    addFileMenu(QStringLiteral("ファイル(&F)"), nullptr, nullptr, nullptr);
    addHelpMenu();

    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    m_handsets = newList(content,
                         {QStringLiteral("機種"), QStringLiteral("PS-ID"), QStringLiteral("版の数"),
                          QStringLiteral("最後の版")},
                         QStringLiteral("子機"));
    m_versions = newList(
        content,
        {QStringLiteral("日時"), QStringLiteral("種類"), QStringLiteral("変更"), QStringLiteral("ファイル")},
        QStringLiteral("版"));
    m_changes = newList(content, {QStringLiteral("項目"), QStringLiteral("前の版"), QStringLiteral("この版")},
                        QStringLiteral("変更点"));
    // Room for each list's columns and a dozen rows, well inside a 1366x768 screen; the lists
    // scroll themselves beyond that.
    m_handsets->setMinimumSize(360, 200);
    m_versions->setMinimumSize(560, 200);
    m_changes->setMinimumHeight(200);
    auto* lists = new QHBoxLayout;
    lists->addLayout(labelled(content, QStringLiteral("子機(&K)"), m_handsets), 2);
    lists->addLayout(labelled(content, QStringLiteral("版(&V)"), m_versions), 3);
    layout->addLayout(lists, 1);
    layout->addLayout(labelled(content, QStringLiteral("前の版からの変更点(&C)"), m_changes), 1);
    m_result = new QLabel(content);
    m_result->setWordWrap(true);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_result);

    m_restore = new QPushButton(QStringLiteral("この版に戻す"), this);
    m_restore->setAccessibleName(m_restore->text());
    m_restore->setEnabled(false);
    setFrame(content, {m_restore});
    setTabOrder(m_handsets, m_versions);
    setTabOrder(m_versions, m_changes);
    setTabOrder(m_changes, memoBox());

    connect(m_handsets, &QTreeWidget::currentItemChanged, this, &HistoryDialog::showHandsetVersions);
    connect(m_versions, &QTreeWidget::currentItemChanged, this, &HistoryDialog::showChanges);
    connect(m_restore, &QPushButton::clicked, this, &HistoryDialog::restoreSelected);
}

void HistoryDialog::refresh() {
    const QString current = m_handsets->currentItem() ? m_handsets->currentItem()->text(1) : QString();
    const VersionFinder finder(backup::backupRoot(), context().folders.root());
    m_handsets->clear();
    for (const KnownHandset& handset : finder.handsets()) {
        auto* item = new QTreeWidgetItem(
            m_handsets, {QString::fromLatin1(modelNameOf(handset.modelCode)), psIdText(handset.psId),
                         QString::number(handset.versions), timeText(handset.last)});
        item->setData(0, Qt::UserRole, handset.psId);
        if (item->text(1) == current) {
            m_handsets->setCurrentItem(item);
        }
    }
    if (!m_handsets->currentItem() && m_handsets->topLevelItemCount() > 0) {
        m_handsets->setCurrentItem(m_handsets->topLevelItem(0));
    }
    for (int column = 0; column < m_handsets->columnCount(); ++column) {
        m_handsets->resizeColumnToContents(column);
    }
    showHandsetVersions();
}

void HistoryDialog::showHandsetVersions() {
    m_versions->clear();
    m_shown.clear();
    m_shownChanges.clear();
    if (const QTreeWidgetItem* handset = m_handsets->currentItem()) {
        const VersionFinder finder(backup::backupRoot(), context().folders.root());
        m_shown = finder.versionsOf(handset->data(0, Qt::UserRole).toUInt());
        m_shownChanges = changesOf(m_shown);
    }
    for (qsizetype i = 0; i < m_shown.size(); ++i) {
        const HandsetVersion& version = m_shown[i];
        const VersionChanges& changes = m_shownChanges[i];
        const QString changed =
            changes.first ? QStringLiteral("最初の版") : QStringLiteral("%1 行").arg(changes.lines.size());
        auto* item = new QTreeWidgetItem(m_versions, {timeText(version.when), kindText(version.kind), changed,
                                                      QFileInfo(version.base).fileName()});
        item->setToolTip(3, version.base);
    }
    for (int column = 0; column < m_versions->columnCount(); ++column) {
        m_versions->resizeColumnToContents(column);
    }
    if (m_versions->topLevelItemCount() > 0) {
        m_versions->setCurrentItem(m_versions->topLevelItem(0));
    }
    showChanges();
}

const HandsetVersion* HistoryDialog::selectedVersion() const {
    const int row =
        m_versions->currentItem() ? m_versions->indexOfTopLevelItem(m_versions->currentItem()) : -1;
    return row >= 0 && row < m_shown.size() ? &m_shown[row] : nullptr;
}

void HistoryDialog::showChanges() {
    m_changes->clear();
    const HandsetVersion* version = selectedVersion();
    m_restore->setEnabled(version != nullptr && version->restorable());
    if (version == nullptr) {
        return;
    }
    const VersionChanges& changes =
        m_shownChanges[m_versions->indexOfTopLevelItem(m_versions->currentItem())];
    for (const auto& line : changes.lines) {
        new QTreeWidgetItem(m_changes, {line.label, line.first, line.second});
    }
    for (const QString& problem : changes.problems) {
        new QTreeWidgetItem(m_changes, {QStringLiteral("読み込みエラー"), problem});
    }
    m_changes->resizeColumnToContents(0);
    m_changes->resizeColumnToContents(1);
}

bool HistoryDialog::confirmed(const QString& text) {
    shell::MessageRequest question;
    question.title = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    question.text = text;
    question.icon = QMessageBox::Question;
    question.buttons = QMessageBox::Yes | QMessageBox::No;
    question.defaultButton = QMessageBox::No;
    return shell::DialogService::current().message(this, question) == QMessageBox::Yes;
}

bool HistoryDialog::readHandset() {
    if (link().keepAlive()) {
        return link().runScript(op::kConnected, op::kReadAllScript);
    }
    link::LinkSession& session = context().session;
    session.engine().resetLinkState();
    setViewState(op::kEntry);
    if (session.openLink() != 0) {
        shell::DialogService::current().error(this, QString::fromUtf8(link::kNoCommunicationText));
        return false;
    }
    return link().runScript(op::kEntry, op::kReadAllScript);
}

void HistoryDialog::restoreSelected() {
    const HandsetVersion* selected = selectedVersion();
    if (selected == nullptr || !selected->restorable()) {
        return;
    }
    const HandsetVersion version = *selected;
    m_result->clear();
    if (!confirmed(QStringLiteral("%1（%2）の版を子機に書き込みます。よろしいですか？")
                       .arg(timeText(version.when), kindText(version.kind)))) {
        return;
    }
    if (!readHandset()) {
        return;
    }
    setViewState(op::kConnected);
    const std::uint32_t onPort = dataset::SystemParamImage::fromStore(context().store).psIdValue();
    if (const auto other = otherHandset(onPort, version.psId)) {
        if (!confirmed(other->text + QStringLiteral("\nこの子機に書き込みますか？"))) {
            return;
        }
    }
    writeBack(version);
    refresh();
}

void HistoryDialog::writeBack(const HandsetVersion& version) {
    shell::DialogService& dialogs = shell::DialogService::current();
    handset::HandsetStore& store = context().store;
    const std::uint32_t model = link().modelCode();
    modelBox()->setText(modelText(model));
    context().texts.setMemo(memoBox()->text());
    const auto files = datasave::SaveSetNames::writeBackFiles(writeBackFileOf(version));
    if (!files) {
        dialogs.show(this, datasave::SaveSetNames::formatError());
        return;
    }
    // What the handset holds now is kept before anything of the version reaches it.
    const auto backedUp =
        datasave::backUpHandset(store, model, memoBox()->text(), backup::backupRoot(), true);
    if (const auto* failed = std::get_if<Message>(&backedUp)) {
        dialogs.show(this, *failed);
        return;
    }
    // The version goes into a copy of what the handset holds; the store takes each block only as
    // the handset takes its write.
    handset::HandsetBlocks& pending = store.prepareWrite();
    const datasave::WriteBackLoad load = datasave::loadWriteBackSet(pending, model, *files);
    for (const Message& message : load.messages) {
        dialogs.show(this, message);
    }
    // Writing back only what was just read would change nothing the user asked for.
    if (!load.jv1Loaded && !load.jv4Loaded) {
        m_result->setText(
            QStringLiteral("この版のファイルを読み込めなかったため、子機に書き込んでいません。"));
        return;
    }
    if (!datasave::WriteBackFrames::fillRequestBuffers(pending, link().requestBuffers())) {
        dialogs.error(this, QStringLiteral("この版から書き込みデータを作成できませんでした"));
        return;
    }
    const handset::HandsetBlocks written = pending;
    if (!link().runScript(op::kConnected, op::kWriteBackScript)) {
        return;
    }
    // Read into an emptied store, so a block the handset does not send back cannot pass for the
    // one just written; a failed read puts back what was there.
    const handset::HandsetStore before = store;
    store.clear();
    if (!link().runScript(op::kConnected, op::kReadAllScript)) {
        store = before;
        m_result->setText(
            QStringLiteral("書き込み後の読み込みができなかったため、書き込み結果を確認できませんでした。"));
        return;
    }
    const auto differences = datasave::compareWriteBack(
        written, store, model, {load.jv1Loaded, load.jv4Loaded, load.jv1Unread, load.jv4Unread});
    if (differences.isEmpty()) {
        m_result->setText(QStringLiteral("子機はこの版の内容を保持しています。"));
        return;
    }
    QStringList labels;
    for (const auto& difference : differences) {
        labels << difference.label;
    }
    m_result->setText(QStringLiteral("子機の内容がこの版と異なります: ") + labels.join(QStringLiteral("、")));
}

void HistoryDialog::handsetRemoved() {
    setViewState(op::kUnplugged);
    link().dropDialogue();
    modelBox()->clear();
}

} // namespace tolvan::history

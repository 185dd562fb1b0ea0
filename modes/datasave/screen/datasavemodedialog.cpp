#include "modes/datasave/screen/datasavemodedialog.h"

#include "modes/datasave/model/handsetbackup.h"
#include "modes/datasave/model/saveset.h"
#include "modes/datasave/model/savesetnames.h"
#include "modes/datasave/model/writebackframes.h"
#include "modes/datasave/model/writebackverify.h"
#include "modes/dataset/model/systemparamimage.h"
#include "modes/psent/model/handsetsettingimage.h"

#include "common/backup/backupfolder.h"
#include "common/logfile/logfileio.h"
#include "shell/accessiblenames.h"
#include "shell/dialogservice.h"
#include "shell/replacequestion.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvan::datasave {
namespace {

constexpr int kSettleMs = 2500;

QString connectorMessage() {
    return QStringLiteral("コネクタが切断または\n子機の電源が入ってません");
}

QString nineDigits(std::uint32_t value) {
    return QStringLiteral("%1").arg(value, 9, 10, QLatin1Char('0'));
}

// The three PS-number digits as stored (ASCII digits); anything else shows as "?".
QString psNumberText(const handset::HandsetBlocks& store) {
    const psent::HandsetSettingImage image = psent::HandsetSettingImage::fromStore(store);
    QString text;
    for (int i = 0; i < 3; ++i) {
        const auto digit = image.psNumber[static_cast<std::size_t>(i)];
        text += digit >= '0' && digit <= '9' ? QChar(digit) : QLatin1Char('?');
    }
    return text;
}

// A name with its file name part, for the dot test of the write-back's open.
bool fileNameHasDot(const QString& path) {
    return QFileInfo(path).fileName().contains(QLatin1Char('.'));
}

} // namespace

DataSaveModeDialog::DataSaveModeDialog(shell::ModeContext& context, QWidget* parent)
    : shell::ModeScreen(context, op::kNoticeOwner, QStringLiteral("データ保存書き込みモード"), parent),
      m_folderList(context.folders, context.texts) {
    buildWindow();
    m_settleTimer.setSingleShot(true);
    connect(&m_settleTimer, &QTimer::timeout, this, [this] {
        // The removed and no-data views stay; otherwise the buttons come back while the dialog
        // may still be open.
        const std::uint32_t id = link().state().operationId;
        applyView(id == op::kNoData || id == op::kUnplugged ? id : op::kDialogSettled);
    });
    initialise();
}

shell::ModeDescriptor DataSaveModeDialog::descriptor() {
    return {QStringLiteral("データ保存書き込みモード"), op::kEntry, op::kReadAllScript,
            shell::windowFactory<DataSaveModeDialog>()};
}

void DataSaveModeDialog::buildWindow() {
    addFileMenu(QStringLiteral("ファイル(&F)"), nullptr, nullptr, nullptr);
    addHelpMenu();

    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    m_save = new QPushButton(QStringLiteral("子機から読み込み～ファイル保存"), content);
    m_write = new QPushButton(QStringLiteral("ファイル読み込み～子機書き込み"), content);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_save);
    buttons->addWidget(m_write);
    layout->addLayout(buttons);

    auto* folderCaption =
        new QLabel(QStringLiteral("ログを保存するフォルダを入力、または選択して下さい"), content);
    layout->addWidget(folderCaption);
    m_folders = new QComboBox(content);
    shell::labelFor(folderCaption, m_folders);
    m_folders->setEditable(true);
    m_folders->setInsertPolicy(QComboBox::NoInsert);
    layout->addWidget(m_folders);

    auto* results = new QGridLayout;
    auto addResult = [content, results](const QString& label) {
        auto* box = new QLineEdit(content);
        box->setReadOnly(true);
        const int row = results->rowCount();
        auto* caption = new QLabel(label, content);
        shell::labelFor(caption, box);
        results->addWidget(caption, row, 0);
        results->addWidget(box, row, 1);
        return box;
    };
    m_fileName = addResult(QStringLiteral("ファイル名"));
    m_csId = addResult(QStringLiteral("CS-ID"));
    m_psId = addResult(QStringLiteral("PS-ID"));
    m_psNumber = addResult(QStringLiteral("PS番号"));
    layout->addLayout(results);
    m_check = new QLabel(content);
    m_check->setWordWrap(true);
    m_check->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_check);
    layout->addStretch(1);
    setFrame(content, {});

    for (QPushButton* button : {m_save, m_write}) {
        button->setAutoDefault(false);
    }
    connect(m_save, &QPushButton::clicked, this, &DataSaveModeDialog::saveSet);
    connect(m_write, &QPushButton::clicked, this, &DataSaveModeDialog::writeBack);
}

void DataSaveModeDialog::initialise() {
    const std::uint32_t view = link().keepAlive() ? op::kConnected : op::kNoData;
    setViewState(view);
    applyView(view);
    emptyResults();
    fillFolderBox();
    memoBox()->setText(context().texts.memo());
    m_save->setFocus();
}

void DataSaveModeDialog::applyView(std::uint32_t view) {
    m_view = view;
    const bool live = view == op::kEntry || view == op::kConnected || view == op::kDialogSettled;
    m_save->setEnabled(live);
    m_write->setEnabled(live);
    backButton()->setEnabled(view != op::kDialogOpen);
}

void DataSaveModeDialog::emptyResults() {
    for (QLineEdit* box : {m_fileName, m_csId, m_psId, m_psNumber, modelBox()}) {
        box->clear();
    }
    modelBox()->setEnabled(false);
    m_check->clear();
}

void DataSaveModeDialog::showResults(const QString& path) {
    const handset::HandsetBlocks& store = context().store;
    const dataset::SystemParamImage system = dataset::SystemParamImage::fromStore(store);
    m_fileName->setText(path);
    m_csId->setText(nineDigits(system.systemCallValue()));
    m_psId->setText(nineDigits(system.psIdValue()));
    m_psNumber->setText(psNumberText(store));
    modelBox()->setText(modelText(link().modelCode()));
    modelBox()->setEnabled(true);
}

void DataSaveModeDialog::fillFolderBox() {
    m_folderList.refill(link().modelCode());
    m_folders->clear();
    m_folders->addItems(m_folderList.names());
    m_folders->setEditText(m_folderList.editText());
}

void DataSaveModeDialog::dropFolderText() {
    const QString text = m_folders->currentText();
    context().texts.setLogFolderName(LogFolders::isValidFolderName(text) ? text : QString());
    m_folders->setEditText(QString());
}

void DataSaveModeDialog::prepareFileDialog() {
    link().pauseForDialog(op::kReadAllScript);
    emptyResults();
    const QString typed = m_folders->currentText();
    const LogFolderList::TakeOver taken = m_folderList.takeOver(typed, link().modelCode());
    if (taken == LogFolderList::TakeOver::Added || taken == LogFolderList::TakeOver::Rejected) {
        fillFolderBox();
    }
    if (taken == LogFolderList::TakeOver::Rejected) {
        // Said, and left in the box to be mended; the files go into the model folder meanwhile.
        m_folders->setEditText(typed);
        shell::DialogService::current().show(this, LogFolderList::refusedMessage(typed));
    }
    applyView(op::kDialogOpen);
    m_settleTimer.start(kSettleMs);
}

bool DataSaveModeDialog::handsetGone() {
    if (link().state().dialogueState != link::kIdle) {
        return false;
    }
    shell::DialogService::current().error(this, connectorMessage());
    return true;
}

void DataSaveModeDialog::saveSet() {
    prepareFileDialog();
    shell::DialogService& dialogs = shell::DialogService::current();
    shell::FileRequest request;
    request.directory = context().folders.logPath(link().modelCode(), context().texts.logFolderName());
    request.filter = QStringLiteral("ﾛｸﾞﾌｧｲﾙ(*.jv1 *.jv3 *.jv4)");
    // The set's question below names every file replaced, the chosen one among them.
    request.confirmOverwrite = false;
    const std::optional<QString> chosen = dialogs.saveFileName(this, request);
    if (!chosen || handsetGone()) {
        return;
    }
    const QString base = SaveSetNames::baseName(*chosen);
    if (!shell::confirmReplacing(this, saveSetPaths(base))) {
        return;
    }
    context().texts.setMemo(memoBox()->text());
    const auto built = buildSaveSet(context().store, link().modelCode(), memoBox()->text());
    if (const auto* failed = std::get_if<Message>(&built)) {
        dialogs.show(this, *failed);
        return;
    }
    QList<Message> notices; // an earlier interrupted save recovered, leftovers that stayed
    const auto failed = writeSaveSet(base, std::get<SaveSetFiles>(built), true, &notices);
    for (const Message& notice : notices) {
        dialogs.show(this, notice);
    }
    if (failed) {
        dialogs.show(this, *failed);
        return;
    }
    // The next save holds what this read brings.
    link().runScript(op::kConnected, op::kReadAllScript);
    showResults(*chosen);
}

void DataSaveModeDialog::writeBack() {
    shell::DialogService& dialogs = shell::DialogService::current();
    std::optional<QString> chosen;
    for (;;) {
        prepareFileDialog();
        shell::FileRequest request;
        request.directory = context().folders.logPath(link().modelCode(), context().texts.logFolderName());
        request.filter = QStringLiteral("ﾛｸﾞﾌｧｲﾙ(*.jv1 *.jv3 *.jv4)");
        chosen = dialogs.openFileName(this, request);
        if (!chosen) {
            return;
        }
        if (QFileInfo(*chosen).isFile() && fileNameHasDot(*chosen)) {
            break;
        }
        dialogs.show(this, logfile::fileMissing());
    }
    if (handsetGone()) {
        return;
    }
    const auto files = SaveSetNames::writeBackFiles(*chosen);
    if (!files) {
        // Only the file was wrong: the program goes on, nothing is sent.
        dialogs.show(this, SaveSetNames::formatError());
        return;
    }
    handset::HandsetStore& store = context().store;
    const std::uint32_t model = link().modelCode();
    context().texts.setMemo(memoBox()->text());
    // What the handset holds now is kept before anything of the set reaches it.
    const auto backedUp = backUpHandset(store, model, memoBox()->text(), backup::backupRoot(), true);
    if (const auto* failed = std::get_if<Message>(&backedUp)) {
        dialogs.show(this, *failed);
        return;
    }
    // The set is loaded over a copy of what the handset holds; the handset's blocks become the
    // set's only as the handset takes each write.
    handset::HandsetBlocks& pending = store.prepareWrite();
    const WriteBackLoad load = loadWriteBackSet(pending, model, *files);
    for (const Message& message : load.messages) {
        dialogs.show(this, message);
    }
    if (load.refused) {
        return;
    }
    link::RequestBuffers& buffers = link().requestBuffers();
    if (!WriteBackFrames::fillRequestBuffers(pending, buffers)) {
        dialogs.error(this, QStringLiteral("書き込みデータを作成できませんでした"));
        return;
    }
    const handset::HandsetBlocks written = pending;
    const bool ok = link().runScript(op::kConnected, op::kWriteBackScript);
    showResults(*chosen);
    if (!load.memoKept) {
        memoBox()->clear();
    }
    if (ok) {
        checkWrittenSet(written, load, *files);
    }
}

void DataSaveModeDialog::checkWrittenSet(const handset::HandsetBlocks& expected, const WriteBackLoad& load,
                                         const SaveSetNames::WriteBackFiles& files) {
    // Only what was loaded from the set was written from it: a file missing or refused is named,
    // and the handset is compared with the loaded files alone.
    const QString notWritten = notWrittenText(load, files).value_or(QString());
    auto show = [this, &notWritten](const QString& text) {
        m_check->setText(notWritten.isEmpty() ? text
                         : text.isEmpty()     ? notWritten
                                              : text + QLatin1Char('\n') + notWritten);
    };
    if (!load.jv1Loaded && !load.jv4Loaded) {
        show(QString());
        return;
    }
    // Read into an emptied store, so a block the handset does not send back cannot pass for the
    // one just written; a failed read puts back what was there.
    handset::HandsetStore& store = context().store;
    const handset::HandsetStore before = store;
    store.clear();
    if (!link().runScript(op::kConnected, op::kReadAllScript)) {
        store = before;
        show(QStringLiteral("書き込み後の読み込みができなかったため、書き込み結果を確認できませんでした。"));
        return;
    }
    const QList<WriteBackDifference> differences =
        compareWriteBack(expected, store, link().modelCode(),
                         {load.jv1Loaded, load.jv4Loaded, load.jv1Unread, load.jv4Unread});
    if (differences.isEmpty()) {
        show(notWritten.isEmpty() ? QStringLiteral("子機はファイルの内容を保持しています。")
                                  : QStringLiteral("子機は %1 の内容を保持しています。")
                                        .arg(QFileInfo(load.jv1Loaded ? files.jv1 : files.jv4).fileName()));
        return;
    }
    // Lines that did not read from the file went back as the handset had them: named apart, never
    // claimed held.
    QStringList labels;
    QStringList unread;
    for (const WriteBackDifference& difference : differences) {
        (difference.first == logfile::unreadValue() ? unread : labels) << difference.label;
    }
    QStringList parts;
    if (!labels.isEmpty()) {
        parts << QStringLiteral("子機の内容がファイルと異なります: ") + labels.join(QStringLiteral("、"));
    }
    if (!unread.isEmpty()) {
        parts << QStringLiteral("ファイルから読み出せなかったため書き込んでいない行: ") +
                     unread.join(QStringLiteral("、"));
    }
    show(parts.join(QLatin1Char('\n')));
}

void DataSaveModeDialog::operationAborted() {
    setViewState(op::kNoData);
    dropFolderText();
    emptyResults();
    applyView(op::kNoData);
}

void DataSaveModeDialog::handsetRemoved() {
    setViewState(op::kUnplugged);
    link().dropDialogue();
    dropFolderText();
    emptyResults();
    applyView(op::kUnplugged);
}

void DataSaveModeDialog::handsetReconnected() {
    link().runScript(op::kEntry, op::kReadAllScript, true);
    context().texts.setMemo(memoBox()->text());
    initialise();
}

} // namespace tolvan::datasave

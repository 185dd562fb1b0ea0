#include "modes/dataset/screen/datasetmodedialog.h"

#include "modes/dataset/model/datasetbackup.h"
#include "modes/dataset/model/datasetcodec.h"
#include "modes/dataset/model/datasetreport.h"
#include "modes/dataset/model/logfile1reader.h"
#include "modes/dataset/model/logfile1writer.h"
#include "modes/dataset/model/systemparamframes.h"
#include "modes/dataset/screen/datasetform.h"
#include "modes/dataset/screen/digitboxrow.h"

#include "shell/dialogservice.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

namespace tolvan::dataset {

DataSetModeDialog::DataSetModeDialog(shell::ModeContext& context, QWidget* parent)
    : shell::LogFileScreen(context, op::kNoticeOwner, QStringLiteral("データ設定モード"), logfile::kLogFile1,
                           op::kReadScript, parent) {
    buildWindow();
    initialise();
}

shell::ModeDescriptor DataSetModeDialog::descriptor() {
    return {QStringLiteral("データ設定モード"), op::kReadPending, op::kReadScript,
            shell::windowFactory<DataSetModeDialog>()};
}

void DataSetModeDialog::buildWindow() {
    addLogFileMenus(QStringLiteral("ファイル(&F) "));
    m_form = new DataSetForm(this);
    m_read = new QPushButton(QStringLiteral("ﾃﾞｰﾀ読み込み"), this);
    m_write = new QPushButton(QStringLiteral("ﾃﾞｰﾀ書き込み"), this);
    setFrame(m_form, {m_read, m_write}, QStringLiteral("ﾒﾆｭｰに戻る"));
    connect(m_read, &QPushButton::clicked, this, &DataSetModeDialog::read);
    connect(m_write, &QPushButton::clicked, this, &DataSetModeDialog::write);
}

std::uint32_t DataSetModeDialog::modelCode() {
    return link().modelCode();
}

void DataSetModeDialog::loadScreen(const DataSetScreenValues& values) {
    m_form->load(values);
    memoBox()->setText(values.memo);
}

DataSetScreenValues DataSetModeDialog::screenValues() const {
    DataSetScreenValues values = m_form->values();
    values.memo = memoBox()->text();
    return values;
}

void DataSetModeDialog::initialise() {
    setViewState(link().keepAlive() ? kDataShown : kNoData);
    applyViewState();
    memoBox()->setText(context().texts.memo());
    m_form->controlChannel()->setFocus();
}

void DataSetModeDialog::applyViewState() {
    const std::uint32_t model = modelCode();
    const bool shown = viewState() == kDataShown;
    m_form->applyModel(model);
    if (shown) {
        loadScreen(
            DataSetCodec::decode(SystemParamImage::fromStore(context().store), model, memoBox()->text()));
    } else {
        loadScreen(DataSetCodec::noDataView(screenValues()));
    }
    m_form->systemCallRow()->setBoxesEnabled(shown);
    modelBox()->setText(shown ? modelText(model) : QString());
    modelBox()->setEnabled(shown);
    m_read->setEnabled(shown);
    m_write->setEnabled(shown);
}

void DataSetModeDialog::runRead(bool reconnect) {
    // The memo typed here survives the read, which puts the stored memo back into the box.
    context().texts.setMemo(memoBox()->text());
    link().runScript(viewState(), op::kReadScript, reconnect);
    initialise();
}

void DataSetModeDialog::read() {
    runRead(false);
}

void DataSetModeDialog::write() {
    context().texts.setMemo(memoBox()->text());
    // Before anything is written, what the handset held as last read is kept.
    const auto backedUp =
        backUpSystemParams(context().store, modelCode(), memoBox()->text(), backup::backupRoot());
    if (const auto* failed = std::get_if<Message>(&backedUp)) {
        shell::DialogService::current().show(this, *failed);
        return;
    }
    // Fields the screen does not show go back as the handset sent them.
    SystemParamImage image = SystemParamImage::fromStore(context().store);
    DataSetCodec::encode(screenValues(), modelCode(), image);
    // The handset's blocks become these as it takes each write.
    image.storeInto(context().store.prepareWrite());
    if (!SystemParamFrames::fillRequestBuffers(image, link().requestBuffers())) {
        // Never send the frames of an earlier write in place of these.
        shell::DialogService::current().error(this, QStringLiteral("書き込みデータを作成できませんでした"));
        return;
    }
    link().runScript(viewState(), op::kWriteScript);
    initialise();
}

void DataSetModeDialog::operationAborted() {
    // The engine already moved the operation id to the no-data state.
    setViewState(kNoData);
    applyViewState();
}

void DataSetModeDialog::handsetRemoved() {
    setViewState(kUnplugged);
    applyViewState();
    link().dropDialogue();
}

void DataSetModeDialog::handsetReconnected() {
    setViewState(kReadPending);
    runRead(true);
}

void DataSetModeDialog::openFile() {
    const auto read =
        shell::LogFileFlow::read<LogFile1ScreenRead>(fileTarget(), [this](const QByteArray& bytes) {
            return LogFile1Reader::read(bytes, modelCode(), screenValues());
        });
    if (read && read->loaded) {
        loadScreen(read->values);
    }
}

void DataSetModeDialog::saveFile() {
    shell::LogFileFlow::save(fileTarget(), [this]() -> shell::LogFileFlow::Contents {
        const LogFile1Text text = LogFile1Writer::fromScreen(screenValues(), modelCode());
        return text.ok() ? shell::LogFileFlow::Contents{text.bytes} : errorMessage(text.error);
    });
}

void DataSetModeDialog::printReport() {
    shell::LogFileFlow::print(fileTarget(), [this] {
        // One line pitch above the first line, as the report was always laid out.
        return QList<ReportPage>{ReportPage::singleColumn(
            DataSetReport::lines(screenValues(), modelCode(), context().texts.logFolderName()), 1)};
    });
}

} // namespace tolvan::dataset

#include "modes/dataset/datasetmodedialog.h"

#include "modes/dataset/datasetcodec.h"
#include "modes/dataset/datasetform.h"
#include "modes/dataset/digitboxrow.h"
#include "modes/dataset/systemparamframes.h"

#include "app/shell/dialogservice.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvan::dataset {

DataSetModeDialog::DataSetModeDialog(shell::ModeContext& context, SystemParamImage& image, QWidget* parent)
    : shell::ModeScreen(context, link::ModeWindow::DataSetting, QStringLiteral("データ設定モード"), parent),
      m_image(image) {
    buildWindow();
    initialise();
}

void DataSetModeDialog::buildWindow() {
    auto* layout = new QVBoxLayout(this);
    addFileMenu(
        QStringLiteral("ファイル(&F) "), [this] { openFile(); }, [this] { saveFile(); },
        [this] { printReport(); });
    addHelpMenu();
    layout->setMenuBar(menuBar());
    m_form = new DataSetForm(this);
    layout->addWidget(m_form);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(new QLabel(QStringLiteral("メモ"), this));
    m_memo = new QLineEdit(this);
    bottom->addWidget(m_memo, 1);
    bottom->addWidget(new QLabel(QStringLiteral("接続モデル"), this));
    m_model = new QLineEdit(this);
    m_model->setReadOnly(true);
    bottom->addWidget(m_model);
    m_read = new QPushButton(QStringLiteral("ﾃﾞｰﾀ読み込み"), this);
    m_write = new QPushButton(QStringLiteral("ﾃﾞｰﾀ書き込み"), this);
    m_back = new QPushButton(QStringLiteral("ﾒﾆｭｰに戻る"), this);
    for (QPushButton* button : {m_read, m_write, m_back}) {
        // Enter must not press a button by the back door.
        button->setAutoDefault(false);
        bottom->addWidget(button);
    }
    layout->addLayout(bottom);
    connect(m_read, &QPushButton::clicked, this, &DataSetModeDialog::read);
    connect(m_write, &QPushButton::clicked, this, &DataSetModeDialog::write);
    connect(m_back, &QPushButton::clicked, this, &DataSetModeDialog::backToMenu);
}

std::uint32_t DataSetModeDialog::modelCode() {
    return link().state().modelCode;
}

void DataSetModeDialog::loadScreen(const DataSetScreenValues& values) {
    m_form->load(values);
    m_memo->setText(values.memo);
}

DataSetScreenValues DataSetModeDialog::screenValues() const {
    DataSetScreenValues values = m_form->values();
    values.memo = m_memo->text();
    return values;
}

QString DataSetModeDialog::memoText() const {
    return m_memo->text();
}

void DataSetModeDialog::initialise() {
    m_viewState = link().state().dialogueState == link::kKeepAlive ? kDataShown : kNoData;
    applyViewState();
    context().session.engine().setOperation(m_viewState);
    m_memo->setText(context().texts.memo());
    m_form->controlChannel()->setFocus();
}

void DataSetModeDialog::applyViewState() {
    const std::uint32_t model = modelCode();
    const bool shown = m_viewState == kDataShown;
    m_form->applyModel(model);
    if (shown) {
        loadScreen(DataSetCodec::decode(m_image, model, m_memo->text()));
    } else {
        loadScreen(DataSetCodec::noDataView(screenValues()));
    }
    m_form->systemCallRow()->setBoxesEnabled(shown);
    m_model->setText(shown ? modelText(model) : QString());
    m_model->setEnabled(shown);
    m_read->setEnabled(shown);
    m_write->setEnabled(shown);
}

void DataSetModeDialog::runRead(bool reconnect) {
    // The memo typed here survives the read, which puts the stored memo back into the box.
    context().texts.setMemo(m_memo->text());
    link().runScript(m_viewState, 0, reconnect);
    initialise();
}

void DataSetModeDialog::read() {
    runRead(false);
}

void DataSetModeDialog::write() {
    context().texts.setMemo(m_memo->text());
    DataSetCodec::encode(screenValues(), modelCode(), m_image);
    if (!SystemParamFrames::fillRequestBuffers(m_image, link().state().requests)) {
        // Never send the frames of an earlier write in place of these.
        shell::DialogService::current().error(this, QStringLiteral("書き込みデータを作成できませんでした"));
        return;
    }
    link().runScript(m_viewState, 1);
    initialise();
}

void DataSetModeDialog::operationAborted() {
    m_viewState = kNoData;
    applyViewState();
}

void DataSetModeDialog::handsetRemoved() {
    m_viewState = kUnplugged;
    context().session.engine().setOperation(m_viewState);
    applyViewState();
    link().state().dialogueState = link::kIdle;
    context().session.engine().setPending(true, link::cmd::kClose);
}

void DataSetModeDialog::handsetReconnected() {
    m_viewState = kReadPending;
    context().session.engine().setOperation(m_viewState);
    runRead(true);
}

LogFile1Actions::Target DataSetModeDialog::fileTarget() {
    const std::uint32_t model = modelCode();
    return {this, model, context().folders.logPath(model, context().texts.logFolderName()),
            [this] { link().pauseForDialog(); }};
}

void DataSetModeDialog::openFile() {
    if (const std::optional<DataSetScreenValues> values =
            LogFile1Actions::open(fileTarget(), screenValues())) {
        loadScreen(*values);
    }
}

void DataSetModeDialog::saveFile() {
    LogFile1Actions::save(fileTarget(), screenValues());
}

void DataSetModeDialog::printReport() {
    LogFile1Actions::print(fileTarget(), screenValues(), context().texts.logFolderName());
}

} // namespace tolvan::dataset

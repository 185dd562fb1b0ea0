#include "modes/dataset/screen/datasetform.h"

#include "modes/dataset/model/datasetlists.h"
#include "modes/dataset/model/datasetrules.h"
#include "modes/dataset/screen/digitboxrow.h"

#include "shell/accessiblenames.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace tolvan::dataset {
namespace {

using L = DataSetLists;
using V = DataSetScreenValues;

void select(QComboBox* box, int index) {
    const QSignalBlocker blocker(box);
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

const QString kDbMicroVolt = QStringLiteral("dBμV");

// Nine digit boxes in a grid row after their caption, which names them.
DigitBoxRow* addDigitRow(QGridLayout* grid, int row, int column, const QString& caption, std::uint32_t limit,
                         QWidget* parent) {
    auto* boxes = new DigitBoxRow(9, limit, parent);
    auto* label = new QLabel(caption, parent);
    grid->addWidget(label, row, 0);
    grid->addWidget(boxes, row, column);
    boxes->nameAfter(label->text());
    return boxes;
}

} // namespace

DataSetForm::DataSetForm(QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* left = new QVBoxLayout;
    left->addWidget(buildVersionGroup());
    left->addWidget(buildControlGroup());
    left->addWidget(buildHandoverGroup());
    left->addWidget(buildSeamlessGroup());
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(buildIdGroup());
    right->addWidget(buildAdditionalIdGroup());
    right->addWidget(buildOtherGroup());
    right->addStretch();
    grid->addLayout(left, 0, 0);
    grid->addLayout(right, 0, 1);
}

QComboBox* DataSetForm::selector(const QStringList& entries, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setEditable(false);
    box->addItems(entries);
    box->setCurrentIndex(-1);
    return box;
}

QComboBox* DataSetForm::addSelectorRow(QGridLayout* grid, const QString& label, const QStringList& entries,
                                       const QString& after) {
    const int row = grid->rowCount();
    QWidget* parent = grid->parentWidget();
    QComboBox* box = selector(entries, parent);
    auto* caption = new QLabel(label, parent);
    shell::labelFor(caption, box);
    grid->addWidget(caption, row, 0);
    grid->addWidget(box, row, 1);
    if (!after.isEmpty()) {
        grid->addWidget(new QLabel(after, parent), row, 2);
    }
    return box;
}

QGroupBox* DataSetForm::buildVersionGroup() {
    auto* group = new QGroupBox(QStringLiteral("［Ver］"), this);
    auto* grid = new QGridLayout(group);
    m_version = new DigitBoxRow(4, std::nullopt, group);
    m_version->setBoxesEnabled(false);
    auto* software = new QLabel(QStringLiteral("外部ﾏｲｺﾝｿﾌﾄｳｪｱ"), group);
    auto* version = new QLabel(QStringLiteral("Ver"), group);
    grid->addWidget(software, 0, 0);
    grid->addWidget(version, 0, 1);
    grid->addWidget(m_version, 0, 2);
    m_version->nameAfter(software->text() + QLatin1Char(' ') + version->text());
    m_psId = addDigitRow(grid, 1, 2, QStringLiteral("PS-ID"), DataSetRules::kPsIdLimit, group);
    return group;
}

QGroupBox* DataSetForm::buildControlGroup() {
    auto* group = new QGroupBox(QStringLiteral("［制御］"), this);
    auto* grid = new QGridLayout(group);
    m_controlChannel = addSelectorRow(grid, QStringLiteral("制御ｃｈ"), L::controlChannel());
    return group;
}

QGroupBox* DataSetForm::buildHandoverGroup() {
    auto* group = new QGroupBox(QStringLiteral("［ハンドオーバー］"), this);
    auto* grid = new QGridLayout(group);
    static const std::array<const char*, 4> kLabels = {"待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ", "待ち受けｿﾞｰﾝ保持ﾚﾍﾞﾙ",
                                                       "再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ",
                                                       "再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ先ｿﾞｰﾝ選択ﾚﾍﾞﾙ"};
    for (std::size_t i = 0; i < kLabels.size(); ++i) {
        m_levels[i] = addSelectorRow(grid, QString::fromUtf8(kLabels[i]), L::handoverLevel(), kDbMicroVolt);
    }
    m_ferThreshold =
        addSelectorRow(grid, QStringLiteral("ﾁｬﾈﾙ切り換えFERしきい値　ｽﾛｯﾄｴﾗｰ数"), L::ferThreshold());
    m_ferTriggered =
        addSelectorRow(grid, QStringLiteral("FER起動型ハンドオーバーレベル設定"), L::ferTriggeredLevel());
    return group;
}

QGroupBox* DataSetForm::buildSeamlessGroup() {
    auto* group = new QGroupBox(QStringLiteral("［シームレスハンドオーバー］"), this);
    auto* grid = new QGridLayout(group);
    // The TCH switching level sits here under the seamless name; the handset decides it.
    m_levels[V::TchProcess] = addSelectorRow(grid, QStringLiteral("シームレスハンドオーバー処理ﾚﾍﾞﾙ"),
                                             L::handoverLevel(), kDbMicroVolt);
    m_levels[V::TchProcess]->setEnabled(false);
    // Carried for the file and the write, never shown.
    const int first = grid->rowCount();
    m_seamlessProcess =
        addSelectorRow(grid, QStringLiteral("シームレスハンドオーバー処理レベル"), L::seamlessLevel());
    m_seamlessSelect =
        addSelectorRow(grid, QStringLiteral("シームレスハンドオーバー選択レベル"), L::seamlessLevel());
    m_seamlessFer =
        addSelectorRow(grid, QStringLiteral("シームレスハンドオーバーFERしきい値"), L::seamlessFer());
    for (int row = first; row < grid->rowCount(); ++row) {
        for (int column = 0; column < grid->columnCount(); ++column) {
            if (QLayoutItem* item = grid->itemAtPosition(row, column); item && item->widget()) {
                item->widget()->setVisible(false);
            }
        }
    }
    return group;
}

QGroupBox* DataSetForm::buildIdGroup() {
    auto* group = new QGroupBox(QStringLiteral("［ＩＤ］"), this);
    auto* grid = new QGridLayout(group);
    m_systemCall = addDigitRow(grid, 0, 1, QStringLiteral("CS-ID中のｼｽﾃﾑ呼び出し符号"),
                               DataSetRules::kSystemCallLimit, group);
    return group;
}

void DataSetForm::addIdRow(QGridLayout* grid, int row) {
    QWidget* parent = grid->parentWidget();
    const int gridRow = grid->rowCount();
    auto* caption = new QLabel(QStringLiteral("付加ID%1").arg(row + 1), parent);
    grid->addWidget(caption, gridRow, 0);
    auto* digits = new QHBoxLayout;
    auto& boxes = m_ids.at(static_cast<std::size_t>(row));
    for (std::size_t d = 0; d < boxes.size(); ++d) {
        boxes[d] = selector(d == 0 ? L::idTopDigit() : L::hexDigit(), parent);
        digits->addWidget(boxes[d]);
    }
    grid->addLayout(digits, gridRow, 1);
    shell::nameBoxes(caption->text(), QList<QWidget*>(boxes.begin(), boxes.end()));
    if (row == 0) {
        grid->addWidget(new QLabel(QStringLiteral("（接続CS番号）"), parent), gridRow, 2);
    }
}

QGroupBox* DataSetForm::buildAdditionalIdGroup() {
    auto* group = new QGroupBox(QStringLiteral("［付加ＩＤ］"), this);
    auto* grid = new QGridLayout(group);
    m_areaType = addSelectorRow(grid, QStringLiteral("一斉呼び出しｴﾘｱ種別"), L::areaType(),
                                QStringLiteral("（接続CS指定モード設定）"));
    m_idCount = addSelectorRow(grid, QStringLiteral("CS-IDの付加ID設定数"), L::additionalIdCount(),
                               QStringLiteral("（接続CS台数）"));
    connect(m_idCount, &QComboBox::currentIndexChanged, this, &DataSetForm::applyIdRowRule);
    for (int row = 0; row < static_cast<int>(m_ids.size()); ++row) {
        addIdRow(grid, row);
    }
    return group;
}

QGroupBox* DataSetForm::buildOtherGroup() {
    auto* group = new QGroupBox(QStringLiteral("［その他］"), this);
    auto* grid = new QGridLayout(group);
    m_interval = addSelectorRow(grid, QStringLiteral("ｲﾝﾀｰﾊﾞﾙ値"), L::interval());
    m_accessory = addSelectorRow(grid, QStringLiteral("ZX-RM15検出"), L::onOff());
    m_rxGain = addSelectorRow(grid, QStringLiteral("ZX-VA100受話ゲイン調整機能"), L::onOff());
    const int row = grid->rowCount();
    auto* caption = new QLabel(QStringLiteral("障害監視ｺｰﾄﾞ"), group);
    grid->addWidget(caption, row, 0);
    auto* code = new QHBoxLayout;
    for (std::size_t i = 0; i < m_faultCode.size(); ++i) {
        m_faultCode[i] = selector(L::faultCodeCharacter(static_cast<int>(i)), group);
        code->addWidget(m_faultCode[i]);
    }
    grid->addLayout(code, row, 1);
    shell::nameBoxes(caption->text(), QList<QWidget*>(m_faultCode.begin(), m_faultCode.end()));
    return group;
}

void DataSetForm::load(const DataSetScreenValues& v) {
    m_version->setTexts(v.version);
    m_psId->setTexts(v.psId);
    m_systemCall->setTexts(v.systemCall);
    select(m_controlChannel, v.controlChannel);
    for (std::size_t i = 0; i < m_levels.size(); ++i) {
        select(m_levels[i], v.handoverLevels[i]);
    }
    select(m_ferThreshold, v.ferThreshold);
    select(m_ferTriggered, v.ferTriggeredLevel);
    select(m_seamlessProcess, v.seamlessProcessLevel);
    select(m_seamlessSelect, v.seamlessSelectLevel);
    select(m_seamlessFer, v.seamlessFerThreshold);
    select(m_areaType, v.areaType);
    select(m_idCount, v.additionalIdCount);
    for (std::size_t row = 0; row < m_ids.size(); ++row) {
        for (std::size_t d = 0; d < m_ids[row].size(); ++d) {
            select(m_ids[row][d], v.additionalIds[row][d]);
        }
    }
    select(m_interval, v.interval);
    select(m_accessory, v.accessory);
    select(m_rxGain, v.rxGain);
    for (std::size_t i = 0; i < m_faultCode.size(); ++i) {
        select(m_faultCode[i], v.faultCode[i]);
    }
    applyIdRowRule();
}

DataSetScreenValues DataSetForm::values() const {
    DataSetScreenValues v;
    v.version = m_version->texts<4>();
    v.psId = m_psId->texts<9>();
    v.systemCall = m_systemCall->texts<9>();
    v.controlChannel = m_controlChannel->currentIndex();
    for (std::size_t i = 0; i < m_levels.size(); ++i) {
        v.handoverLevels[i] = m_levels[i]->currentIndex();
    }
    v.ferThreshold = m_ferThreshold->currentIndex();
    v.ferTriggeredLevel = m_ferTriggered->currentIndex();
    v.seamlessProcessLevel = m_seamlessProcess->currentIndex();
    v.seamlessSelectLevel = m_seamlessSelect->currentIndex();
    v.seamlessFerThreshold = m_seamlessFer->currentIndex();
    v.areaType = m_areaType->currentIndex();
    v.additionalIdCount = m_idCount->currentIndex();
    for (std::size_t row = 0; row < m_ids.size(); ++row) {
        for (std::size_t d = 0; d < m_ids[row].size(); ++d) {
            v.additionalIds[row][d] = m_ids[row][d]->currentIndex();
        }
    }
    v.interval = m_interval->currentIndex();
    v.accessory = m_accessory->currentIndex();
    v.rxGain = m_rxGain->currentIndex();
    for (std::size_t i = 0; i < m_faultCode.size(); ++i) {
        v.faultCode[i] = m_faultCode[i]->currentIndex();
    }
    return v;
}

void DataSetForm::applyModel(std::uint32_t modelCode) {
    m_modelCode = modelCode;
    const bool area = DataSetRules::areaControlsEnabled(modelCode);
    for (QComboBox* box : {m_areaType, m_idCount, m_seamlessProcess, m_seamlessSelect, m_seamlessFer}) {
        box->setEnabled(area);
    }
    m_rxGain->setEnabled(DataSetRules::rxGainEnabled(modelCode));
    applyIdRowRule();
}

void DataSetForm::applyIdRowRule() {
    const int enabledRows = DataSetRules::enabledIdRows(m_modelCode, m_idCount->currentIndex());
    for (std::size_t row = 0; row < m_ids.size(); ++row) {
        for (QComboBox* box : m_ids[row]) {
            box->setEnabled(static_cast<int>(row) < enabledRows);
        }
    }
}

} // namespace tolvan::dataset

#include "modes/psent/screen/psentform.h"

#include "modes/psent/model/functioncodes.h"
#include "modes/psent/model/psentlists.h"
#include "modes/psent/screen/callnumbergrid.h"
#include "modes/psent/screen/markedslider.h"

#include "shell/accessiblenames.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

namespace tolvan::psent {
namespace {

using L = PsEntLists;
using V = PsEntScreenValues;
using Pick = PsEntForm::Pick;

// Which value each one-value list shows, and its entries.
struct PickField {
    int V::*field;
    const QStringList& (*list)();
};

PickField pickField(Pick pick) {
    switch (pick) {
    case Pick::OutOfRangeTone:
        return {&V::outOfRangeTone, &L::outOfRangeTone};
    case Pick::NoiseCut:
        return {&V::noiseCut, &L::onOff};
    case Pick::Emergency:
        return {&V::emergencyNotice, &L::onOff};
    case Pick::TalkButton:
        return {&V::talkButton, &L::talkButton};
    case Pick::ButtonLock:
        return {&V::buttonLock, &L::onOff};
    case Pick::VoxSensitivity:
        return {&V::voxSensitivity, &L::voxSensitivity};
    case Pick::VoxDelay:
        return {&V::voxDelay, &L::voxDelay};
    case Pick::NoiseCutType:
        return {&V::noiseCutType, &L::noiseCutType};
    case Pick::NoiseCutSensitivity:
        return {&V::noiseCutSensitivity, &L::noiseCutSensitivity};
    case Pick::VolumeTone:
        return {&V::volumeTone, &L::onOff};
    case Pick::KeyTouchTone:
        return {&V::keyTouchTone, &L::onOff};
    case Pick::MicOperation:
        return {&V::micOperation, &L::micOperation};
    case Pick::PttHoldTone:
        return {&V::pttHoldTone, &L::onOff};
    case Pick::BroadcastMonitor:
        return {&V::broadcastMonitor, &L::onOff};
    case Pick::Seamless:
        return {&V::seamlessHandover, &L::onOff};
    case Pick::HearingTimer:
        return {&V::hearingTimer, &L::hearingTimer};
    case Pick::HearingMode:
        return {&V::hearingMode, &L::hearingMode};
    case Pick::ManualHandover:
        return {&V::manualHandoverButton, &L::manualHandoverButton};
    case Pick::VolumeButton:
        return {&V::volumeButton, &L::volumeButton};
    case Pick::OutsideLine:
    case Pick::Count:
        break;
    }
    return {&V::outsideLine, &L::outsideLine};
}

QComboBox* listBox(const QStringList& entries, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->addItems(entries);
    box->setCurrentIndex(-1);
    return box;
}

void select(QComboBox* box, int index) {
    const QSignalBlocker blocker(box);
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

template <std::size_t N>
void selectAll(const std::array<QComboBox*, N>& boxes, const std::array<int, N>& values) {
    for (std::size_t i = 0; i < N; ++i) {
        select(boxes[i], values[i]);
    }
}

template <std::size_t N> std::array<int, N> indices(const std::array<QComboBox*, N>& boxes) {
    std::array<int, N> out{};
    for (std::size_t i = 0; i < N; ++i) {
        out[i] = boxes[i]->currentIndex();
    }
    return out;
}

// A row of boxes in the common group under one caption, which names them all and leads to the first.
template <std::size_t N, typename Box>
void addBoxRow(QGridLayout* grid, int row, const QString& caption, const std::array<Box*, N>& boxes,
               QHBoxLayout* boxLayout, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    shell::nameBoxes(label->text(), QList<QWidget*>(boxes.begin(), boxes.end()));
    label->setBuddy(boxes[0]);
    grid->addWidget(label, row, 0);
    grid->addLayout(boxLayout, row, 1, 1, 2);
}

} // namespace

PsEntForm::PsEntForm(QWidget* parent) : QWidget(parent) {
    // The three groups side by side, each as tall as its content. The common group, the widest,
    // has the window's own controls below it (see addAside); the call numbers, a narrow grid of
    // many rows, go below the short ZX-VA100/150 group.
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    m_aside = new QVBoxLayout;
    m_aside->addWidget(buildCommonGroup());
    m_aside->addStretch();
    row->addLayout(m_aside);
    row->addWidget(buildUpperGroup(), 0, Qt::AlignTop);
    auto* last = new QVBoxLayout;
    last->addWidget(buildVa100Group());
    m_callNumbers = new CallNumberGrid(kCallNumberColumns, this);
    last->addWidget(m_callNumbers);
    last->addStretch();
    row->addLayout(last);
    row->addStretch();
}

void PsEntForm::addAside(QWidget* widget) {
    m_aside->insertWidget(m_aside->count() - 1, widget);
}

QLineEdit* PsEntForm::callNumber(int slot) const {
    return m_callNumbers->box(slot);
}

QComboBox* PsEntForm::addPick(QGridLayout* grid, Pick which, const QString& label, const QString& unit) {
    QWidget* parent = grid->parentWidget();
    const int row = grid->rowCount();
    QComboBox* box = listBox(pickField(which).list(), parent);
    auto* caption = new QLabel(label, parent);
    shell::labelFor(caption, box);
    m_picks[static_cast<std::size_t>(which)] = box;
    m_pickLabels[static_cast<std::size_t>(which)] = caption;
    grid->addWidget(caption, row, 0);
    grid->addWidget(box, row, 1);
    if (!unit.isEmpty()) {
        grid->addWidget(new QLabel(unit, parent), row, 2);
    }
    return box;
}

void PsEntForm::addFunctionRow(QGridLayout* grid, int list, const QString& label,
                               const QString& parameterLabel) {
    QWidget* parent = grid->parentWidget();
    const int row = grid->rowCount();
    const QStringList& texts =
        list == kFunctionButton ? FunctionCodes::functionButtonTexts() : FunctionCodes::remoteKeyTexts();
    auto* function = listBox(texts, parent);
    auto* parameter = listBox({}, parent);
    m_functions[static_cast<std::size_t>(list)] = function;
    m_parameters[static_cast<std::size_t>(list)] = parameter;
    connect(function, &QComboBox::activated, this, [this, list] { functionPicked(list); });
    auto* functionCaption = new QLabel(label, parent);
    auto* parameterCaption = new QLabel(parameterLabel, parent);
    shell::labelFor(functionCaption, function);
    shell::labelFor(parameterCaption, parameter);
    // Every function row has its "付加設定": the name says whose it is.
    parameter->setAccessibleName(shell::labelName(label) + QLatin1Char(' ') +
                                 shell::labelName(parameterLabel));
    grid->addWidget(functionCaption, row, 0);
    grid->addWidget(function, row, 1);
    grid->addWidget(parameterCaption, row + 1, 0);
    grid->addWidget(parameter, row + 1, 1);
}

QGroupBox* PsEntForm::buildCommonGroup() {
    auto* group = new QGroupBox(QStringLiteral("ZX-VA020/100/150共通"), this);
    // Two columns of settings, read down the first, then down the second.
    auto* columns = new QHBoxLayout(group);
    auto* first = new QGridLayout;
    auto* second = new QGridLayout;
    columns->addLayout(first);
    columns->addSpacing(group->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 2);
    columns->addLayout(second);

    auto* psNumber = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        auto* box = listBox(i == 0 ? L::psNumberHundreds() : L::digit(), group);
        connect(box, &QComboBox::activated, this, [this, i] { psNumberPicked(i); });
        m_psNumber[static_cast<std::size_t>(i)] = box;
        psNumber->addWidget(box);
    }
    psNumber->addWidget(new QLabel(QStringLiteral("（200-391）　※１"), group));
    psNumber->addStretch();
    addBoxRow(first, 0, QStringLiteral("子機番号"), m_psNumber, psNumber, group);

    auto* psId = new QHBoxLayout;
    psId->setSpacing(2);
    auto* digit = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]?")), group);
    for (int i = 0; i < 9; ++i) {
        auto* box = new QLineEdit(group);
        box->setValidator(digit);
        box->setAlignment(Qt::AlignCenter);
        // Room for one digit and the frame, so that the nine fit beside their label.
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 2 + 12);
        connect(box, &QLineEdit::textEdited, this, [this, i] { psIdEdited(i); });
        m_psId[static_cast<std::size_t>(i)] = box;
        psId->addWidget(box);
    }
    psId->addStretch();
    addBoxRow(first, 1, QStringLiteral("ＰＳ-ＩＤ"), m_psId, psId, group);

    auto* pin = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        m_pin[static_cast<std::size_t>(i)] = listBox(L::digit(), group);
        pin->addWidget(m_pin[static_cast<std::size_t>(i)]);
    }
    pin->addWidget(new QLabel(QStringLiteral("※１"), group));
    pin->addStretch();
    addBoxRow(first, 2, QStringLiteral("暗証番号"), m_pin, pin, group);

    const auto addSlider = [&](Slider which, const QString& label, const QStringList& marks) {
        const int row = first->rowCount();
        auto* slider = new MarkedSlider(which, marks, group);
        m_sliders[static_cast<std::size_t>(which)] = slider->slider();
        auto* caption = new QLabel(label, group);
        shell::labelFor(caption, slider->slider());
        first->addWidget(caption, row, 0);
        first->addWidget(slider, row, 1, 1, 2);
    };
    addSlider(Slider::ReceiveVolume, QStringLiteral("受話音量"), {"小", "大", "特大"});
    addSlider(Slider::Sidetone, QStringLiteral("サイドトーン音量"), {"オフ", "小", "中", "大"});
    addPick(first, Pick::OutOfRangeTone, QStringLiteral("圏外お知らせ音設定"));
    addSlider(Slider::MicLevel, QStringLiteral("マイクレベル"), {"特小", "小", "中", "大", "特大"});
    addSlider(Slider::Notification, QStringLiteral("お知らせ音量"), {"オフ", "小", "中", "大"});
    addPick(first, Pick::NoiseCut, QStringLiteral("ノイズカット設定"));
    addPick(first, Pick::VoxSensitivity, QStringLiteral("VOX感度調整"), QStringLiteral("dBm"));
    addPick(first, Pick::VoxDelay, QStringLiteral("VOX終了遅延時間"), QStringLiteral("秒"));
    addPick(first, Pick::NoiseCutType, QStringLiteral("ノイズカット機能タイプ"));
    addPick(first, Pick::NoiseCutSensitivity, QStringLiteral("ノイズカット感度調整"), QStringLiteral("dBm"));
    first->setRowStretch(first->rowCount(), 1);

    addPick(second, Pick::VolumeTone, QStringLiteral("音量レベル操作音設定"));
    addPick(second, Pick::KeyTouchTone, QStringLiteral("キータッチ音設定"));
    addPick(second, Pick::MicOperation, QStringLiteral("マイク動作設定"));
    addPick(second, Pick::PttHoldTone, QStringLiteral("PTTホールドお知らせ音"));
    addPick(second, Pick::BroadcastMonitor, QStringLiteral("放送時インカムモニター設定"));
    addFunctionRow(second, 1, QStringLiteral("KRM-200リモコンキー１設定"), QStringLiteral("付加設定"));
    addFunctionRow(second, 2, QStringLiteral("KRM-200リモコンキー２設定"), QStringLiteral("付加設定"));
    addFunctionRow(second, 3, QStringLiteral("KMR-200リモコンキー３設定"), QStringLiteral("付加設定"));
    addPick(second, Pick::OutsideLine, QStringLiteral("外線発信設定"));
    for (int m = 0; m < 3; ++m) {
        const int row = second->rowCount();
        m_shortDials[static_cast<std::size_t>(m)] = listBox(L::shortDial(), group);
        auto* caption = new QLabel(QStringLiteral("外線発信短縮番号登録　M%1").arg(m + 1), group);
        shell::labelFor(caption, m_shortDials[static_cast<std::size_t>(m)]);
        second->addWidget(caption, row, 0);
        second->addWidget(m_shortDials[static_cast<std::size_t>(m)], row, 1);
    }
    second->setRowStretch(second->rowCount(), 1);
    return group;
}

QGroupBox* PsEntForm::buildUpperGroup() {
    auto* group = new QGroupBox(QStringLiteral("ZX-VA150のみ"), this);
    auto* grid = new QGridLayout(group);
    auto* menuCaption = new QLabel(QStringLiteral("[メニュー割り当て設定] "), group);
    grid->addWidget(menuCaption, 0, 0, 1, 2);
    for (int slot = 0; slot < V::kMenuSlots; ++slot) {
        m_menu[static_cast<std::size_t>(slot)] = listBox(FunctionCodes::texts(), group);
        auto* caption = new QLabel(CallNumberGrid::slotCaption(slot + 1), group);
        shell::labelFor(caption, m_menu[static_cast<std::size_t>(slot)]);
        m_menu[static_cast<std::size_t>(slot)]->setAccessibleName(shell::labelName(menuCaption->text()) +
                                                                  QLatin1Char(' ') + caption->text());
        grid->addWidget(caption, slot + 1, 0);
        grid->addWidget(m_menu[static_cast<std::size_t>(slot)], slot + 1, 1);
    }
    addFunctionRow(grid, kFunctionButton, QStringLiteral("機能ボタン割り当て設定"),
                   QStringLiteral("  付加設定"));
    addPick(grid, Pick::Emergency, QStringLiteral("緊急通知設定"));
    addPick(grid, Pick::TalkButton, QStringLiteral("トークボタン動作設定"));
    auto* lockCaption = new QLabel(QStringLiteral("[キーロック設定］"), group);
    grid->addWidget(lockCaption, grid->rowCount(), 0, 1, 2);
    const QStringList locks = {QStringLiteral("機能ボタン"), QStringLiteral("実行ボタン"),
                               QStringLiteral("メニューボタン"), QStringLiteral("音量ボタン")};
    for (int i = 0; i < 4; ++i) {
        const int row = grid->rowCount();
        m_keyLocks[static_cast<std::size_t>(i)] = listBox(L::onOff(), group);
        auto* caption = new QLabel(locks[i], group);
        shell::labelFor(caption, m_keyLocks[static_cast<std::size_t>(i)]);
        m_keyLocks[static_cast<std::size_t>(i)]->setAccessibleName(shell::labelName(lockCaption->text()) +
                                                                   QLatin1Char(' ') + locks[i]);
        grid->addWidget(caption, row, 0);
        grid->addWidget(m_keyLocks[static_cast<std::size_t>(i)], row, 1);
    }
    // Carried with the key record, never offered on the screen.
    addPick(grid, Pick::ButtonLock, QStringLiteral("ボタンロック"))->hide();
    m_pickLabels[static_cast<std::size_t>(Pick::ButtonLock)]->hide();
    return group;
}

QGroupBox* PsEntForm::buildVa100Group() {
    auto* group = new QGroupBox(QStringLiteral("ZX-VA100/150"), this);
    auto* grid = new QGridLayout(group);
    addPick(grid, Pick::Seamless, QStringLiteral("シームレスハンドオーバー"));
    addPick(grid, Pick::HearingTimer, QStringLiteral("ヒアリング専用復帰タイマ"), QStringLiteral("秒"));
    addPick(grid, Pick::HearingMode, QStringLiteral("ヒアリング動作モード"));
    m_buttonCaption =
        new QLabel(QStringLiteral("[ZX-VA100専用ボタンアサイン]\n　※ZX-K100システム設定で変更可能"), group);
    grid->addWidget(m_buttonCaption, grid->rowCount(), 0, 1, 3);
    addPick(grid, Pick::ManualHandover, QStringLiteral("手動ハンドオーバーボタン"));
    addPick(grid, Pick::VolumeButton, QStringLiteral("音量ボタン設定"));
    return group;
}

int PsEntForm::functionCode(int list, int index) const {
    return list == kFunctionButton ? FunctionCodes::functionButtonCode(index)
                                   : FunctionCodes::remoteKeyCode(index);
}

void PsEntForm::fillParameters(int list, int functionIndex, int parameter) {
    QComboBox* box = m_parameters[static_cast<std::size_t>(list)];
    const QSignalBlocker blocker(box);
    box->clear();
    const int code = functionCode(list, functionIndex);
    if (code != FunctionCodes::kNone) {
        box->addItems(FunctionCodes::parameters(code));
    }
    select(box, parameter);
}

void PsEntForm::load(const V& v) {
    selectAll(m_psNumber, v.psNumber);
    for (std::size_t i = 0; i < m_psId.size(); ++i) {
        const QSignalBlocker blocker(m_psId[i]);
        m_psId[i]->setText(v.psId[i]);
    }
    selectAll(m_pin, v.pin);
    const std::array<int, 4> positions = {v.receiveVolume, v.sidetoneVolume, v.micLevel,
                                          v.notificationVolume};
    for (std::size_t i = 0; i < m_sliders.size(); ++i) {
        const QSignalBlocker blocker(m_sliders[i]);
        m_sliders[i]->setValue(positions[i]);
    }
    for (int p = 0; p < kPicks; ++p) {
        select(m_picks[static_cast<std::size_t>(p)], v.*(pickField(static_cast<Pick>(p)).field));
    }
    selectAll(m_menu, v.menuSlots);
    for (int list = 0; list < kFunctionLists; ++list) {
        const V::FunctionChoice& choice =
            list == kFunctionButton ? v.functionButton : v.remoteKeys[static_cast<std::size_t>(list - 1)];
        select(m_functions[static_cast<std::size_t>(list)], choice.function);
        fillParameters(list, choice.function, choice.parameter);
    }
    selectAll(m_keyLocks, v.keyLocks);
    selectAll(m_shortDials, v.shortDials);
    m_callNumbers->load(v.callNumbers);
}

V PsEntForm::values() const {
    V v;
    v.psNumber = indices(m_psNumber);
    for (std::size_t i = 0; i < m_psId.size(); ++i) {
        v.psId[i] = m_psId[i]->text();
    }
    v.pin = indices(m_pin);
    v.receiveVolume = slider(Slider::ReceiveVolume)->value();
    v.sidetoneVolume = slider(Slider::Sidetone)->value();
    v.micLevel = slider(Slider::MicLevel)->value();
    v.notificationVolume = slider(Slider::Notification)->value();
    for (int p = 0; p < kPicks; ++p) {
        v.*(pickField(static_cast<Pick>(p)).field) = m_picks[static_cast<std::size_t>(p)]->currentIndex();
    }
    v.menuSlots = indices(m_menu);
    for (int list = 0; list < kFunctionLists; ++list) {
        V::FunctionChoice& choice =
            list == kFunctionButton ? v.functionButton : v.remoteKeys[static_cast<std::size_t>(list - 1)];
        choice = {m_functions[static_cast<std::size_t>(list)]->currentIndex(),
                  m_parameters[static_cast<std::size_t>(list)]->currentIndex()};
    }
    v.keyLocks = indices(m_keyLocks);
    v.shortDials = indices(m_shortDials);
    v.callNumbers = m_callNumbers->numbers();
    return v;
}

void PsEntForm::applyModel(std::uint32_t modelCode) {
    for (QComboBox* box : m_pin) {
        box->setEnabled(PsEntRules::pinEnabled(modelCode));
    }
    const bool upper = PsEntRules::upperModelControlsEnabled(modelCode);
    for (QComboBox* box : m_menu) {
        box->setEnabled(upper);
    }
    for (QComboBox* box : m_keyLocks) {
        box->setEnabled(upper);
    }
    function(kFunctionButton)->setEnabled(upper);
    parameter(kFunctionButton)->setEnabled(upper);
    for (const Pick p : {Pick::Emergency, Pick::TalkButton, Pick::ButtonLock}) {
        pick(p)->setEnabled(upper);
    }
    for (const Pick p : {Pick::Seamless, Pick::HearingTimer, Pick::HearingMode}) {
        pick(p)->setEnabled(PsEntRules::hearingEnabled(modelCode));
    }
    // The button assignment is the system's to change: shown for the model that has it, never edited.
    const bool shown = PsEntRules::buttonAssignmentShown(modelCode);
    m_buttonCaption->setVisible(shown);
    for (const Pick p : {Pick::ManualHandover, Pick::VolumeButton}) {
        pick(p)->setEnabled(false);
        pick(p)->setVisible(shown);
        m_pickLabels[static_cast<std::size_t>(p)]->setVisible(shown);
    }
}

void PsEntForm::setSlidersEnabled(bool enabled) {
    for (QSlider* s : m_sliders) {
        s->setEnabled(enabled);
    }
}

void PsEntForm::setPsIdEnabled(bool enabled) {
    for (QLineEdit* box : m_psId) {
        box->setEnabled(enabled);
    }
}

void PsEntForm::psIdEdited(int digit) {
    std::array<QString, 9> boxes;
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        boxes[i] = m_psId[i]->text();
    }
    const auto entry = PsEntRules::applyPsIdEntry(boxes, digit);
    QLineEdit* edited = psIdBox(digit);
    if (entry.emptied) {
        const QSignalBlocker blocker(edited);
        edited->clear();
    }
    QLineEdit* next = psIdBox(entry.focus);
    if (next != edited) {
        next->setFocus();
        // Typing on replaces the next digit instead of being refused by the one-digit rule.
        next->selectAll();
    }
}

void PsEntForm::psNumberPicked(int digit) {
    std::array<int, 3> digits = indices(m_psNumber);
    const int next = PsEntRules::applyPsNumberEntry(digits, digit);
    select(m_psNumber[0], digits[0]);
    psNumber(next)->setFocus();
}

void PsEntForm::functionPicked(int list) {
    const int index = function(list)->currentIndex();
    const V::FunctionChoice choice =
        list == kFunctionButton ? PsEntRules::pickFunctionButton(index) : PsEntRules::pickRemoteKey(index);
    fillParameters(list, index, choice.parameter);
}

} // namespace tolvan::psent

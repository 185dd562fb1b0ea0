#include "app/simulatorpanel.h"

#include "sim/faultplan.h"
#include "sim/handsetmodels.h"
#include "sim/registration.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvan::app {

std::unique_ptr<sim::PtyHandset> startVirtualHandset(const QString& modelName, const QStringList& faults,
                                                     QString* error) {
    const auto model = sim::modelByName(modelName.toStdString());
    if (!model) {
        *error = QStringLiteral("unknown model \"%1\" (ZX-VA100, ZX-VA150 or ZX-VA150(C))").arg(modelName);
        return nullptr;
    }
    sim::HandsetConfig config;
    config.modelCode = model->code;
    for (const QString& text : faults) {
        std::string why;
        const auto rule = sim::parseFaultRule(text.toStdString(), &why);
        if (!rule) {
            *error = QString::fromStdString(why);
            return nullptr;
        }
        config.faults.push_back(*rule);
    }
    config.pacing = true; // a real handset's line speed, so the progress dialog is worth watching
    auto handset = std::make_unique<sim::PtyHandset>(config);
    if (!handset->open(error)) {
        return nullptr;
    }
    handset->plug();
    return handset;
}

SimulatorPanel::SimulatorPanel(std::unique_ptr<sim::PtyHandset> handset, QWidget* parent)
    : QWidget(parent), m_handset(std::move(handset)) {
    setWindowTitle(QStringLiteral("仮想子機"));
    auto* layout = new QVBoxLayout(this);
    m_status = new QLabel(this);
    layout->addWidget(m_status);

    auto* cable = new QHBoxLayout;
    m_unplug = new QPushButton(QStringLiteral("USBを抜く"), this);
    m_plug = new QPushButton(QStringLiteral("USBを挿す"), this);
    // A unit fresh from the factory with a PS-ID of its own: what a provisioning run swaps in.
    m_another = new QPushButton(QStringLiteral("別の子機を挿す"), this);
    cable->addWidget(m_unplug);
    cable->addWidget(m_plug);
    layout->addLayout(cable);
    layout->addWidget(m_another);
    connect(m_another, &QPushButton::clicked, this, [this] {
        constexpr std::uint32_t kFirstSwappedPsId = 234567001;
        ++m_swaps;
        m_handset->putOn(m_handset->handset().modelCode(), kFirstSwappedPsId + m_swaps, m_swaps);
        setRegistration();
        m_handset->plug();
        refresh();
    });
    connect(m_unplug, &QPushButton::clicked, this, [this] {
        m_handset->unplug();
        refresh();
    });
    connect(m_plug, &QPushButton::clicked, this, [this] {
        m_handset->plug();
        refresh();
    });
    connect(m_handset.get(), &sim::PtyHandset::pluggedChanged, this, &SimulatorPanel::refresh);

    auto* form = new QFormLayout;
    m_faultPresets = new QComboBox(this);
    const std::pair<const char*, const char*> presets[] = {
        {"次のコマンドに5回NAKを返す", "nak,count=5"},
        {"これ以降応答しない", "silence,count=0"},
        {"次の応答のチェックバイトを誤る", "bad-check"},
        {"次の応答で電池切れを返す", "battery"},
        {"次の応答を2回に分けて送る", "split,ms=40"},
        {"次の応答の前に余分な1バイトを送る", "stray,value=41"},
        {"次のフレームでケーブルを抜く", "unplug"},
        {"でたらめに応答し、その後は無応答", "chaos,seed=1"},
    };
    for (const auto& [label, rule] : presets) {
        m_faultPresets->addItem(QString::fromUtf8(label), QString::fromUtf8(rule));
    }
    m_faultSpec = new QLineEdit(this);
    m_faultSpec->setPlaceholderText(
        QStringLiteral("KIND[@CODE][,skip=N][,count=N][,ms=N][,value=HH][,seed=N]"));
    connect(m_faultPresets, &QComboBox::currentIndexChanged, this,
            [this] { m_faultSpec->setText(m_faultPresets->currentData().toString()); });
    m_faultSpec->setText(m_faultPresets->currentData().toString());
    auto* addFaultButton = new QPushButton(QStringLiteral("障害を入れる"), this);
    connect(addFaultButton, &QPushButton::clicked, this, &SimulatorPanel::addFault);
    auto* faultRow = new QHBoxLayout;
    faultRow->addWidget(m_faultSpec, 1);
    faultRow->addWidget(addFaultButton);
    form->addRow(QStringLiteral("障害"), m_faultPresets);
    form->addRow(QString(), faultRow);

    m_registration = new QComboBox(this);
    const std::pair<const char*, const char*> outcomes[] = {
        {"登録に成功する", "success"},
        {"登録に失敗する（要因70）", "failure,cause=70"},
        {"登録が異常終了する", "abnormal"},
        {"登録中に電池切れ", "battery"},
    };
    for (const auto& [label, rule] : outcomes) {
        m_registration->addItem(QString::fromUtf8(label), QString::fromUtf8(rule));
    }
    connect(m_registration, &QComboBox::currentIndexChanged, this, &SimulatorPanel::setRegistration);
    form->addRow(QStringLiteral("子機登録"), m_registration);
    layout->addLayout(form);
    m_feedback = new QLabel(this);
    layout->addWidget(m_feedback);
    refresh();
}

void SimulatorPanel::refresh() {
    const auto model = sim::modelByCode(m_handset->handset().modelCode());
    const QString name =
        model ? QString::fromUtf8(model->name.data(), static_cast<qsizetype>(model->name.size()))
              : QStringLiteral("?");
    const bool onCable = m_handset->isListed() && !m_handset->isOffCable();
    m_status->setText(QStringLiteral("%1（%2）：%3")
                          .arg(name, m_handset->slavePath(),
                               onCable ? QStringLiteral("接続中") : QStringLiteral("取り外し中")));
    m_unplug->setEnabled(onCable);
    m_plug->setEnabled(!onCable);
    m_another->setEnabled(!onCable);
}

void SimulatorPanel::addFault() {
    std::string error;
    const auto rule = sim::parseFaultRule(m_faultSpec->text().toStdString(), &error);
    if (!rule) {
        m_feedback->setText(QString::fromStdString(error));
        return;
    }
    m_handset->handset().faults().add(*rule);
    m_feedback->setText(QStringLiteral("障害を入れました：%1").arg(m_faultSpec->text()));
}

void SimulatorPanel::setRegistration() {
    const auto scenario =
        sim::parseRegistrationScenario(m_registration->currentData().toString().toStdString());
    if (scenario) {
        m_handset->handset().registration().setScenario(*scenario);
        m_feedback->setText(QStringLiteral("次の子機登録：%1").arg(m_registration->currentText()));
    }
}

} // namespace tolvan::app

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
    setWindowTitle(QStringLiteral("Virtual handset"));
    auto* layout = new QVBoxLayout(this);
    m_status = new QLabel(this);
    layout->addWidget(m_status);

    auto* cable = new QHBoxLayout;
    m_unplug = new QPushButton(QStringLiteral("Unplug"), this);
    m_plug = new QPushButton(QStringLiteral("Plug in"), this);
    cable->addWidget(m_unplug);
    cable->addWidget(m_plug);
    layout->addLayout(cable);
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
        {"NAK the next read five times", "nak,count=5"},
        {"Silent from now on", "silence,count=0"},
        {"Wrong check byte on the next answer", "bad-check"},
        {"Battery empty on the next answer", "battery"},
        {"Next answer in two bursts", "split,ms=40"},
        {"A stray byte before the next answer", "stray,value=41"},
        {"Pull the cable on the next frame", "unplug"},
        {"Random answers, then silent for good", "chaos,seed=1"},
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
    auto* addFaultButton = new QPushButton(QStringLiteral("Inject"), this);
    connect(addFaultButton, &QPushButton::clicked, this, &SimulatorPanel::addFault);
    auto* faultRow = new QHBoxLayout;
    faultRow->addWidget(m_faultSpec, 1);
    faultRow->addWidget(addFaultButton);
    form->addRow(QStringLiteral("Fault"), m_faultPresets);
    form->addRow(QString(), faultRow);

    m_registration = new QComboBox(this);
    const std::pair<const char*, const char*> outcomes[] = {
        {"Registration succeeds", "success"},
        {"Registration fails (cause 70)", "failure,cause=70"},
        {"Registration ends abnormally", "abnormal"},
        {"Battery empty during registration", "battery"},
    };
    for (const auto& [label, rule] : outcomes) {
        m_registration->addItem(QString::fromUtf8(label), QString::fromUtf8(rule));
    }
    connect(m_registration, &QComboBox::currentIndexChanged, this, &SimulatorPanel::setRegistration);
    form->addRow(QStringLiteral("Registration"), m_registration);
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
    m_status->setText(QStringLiteral("%1 on %2: %3")
                          .arg(name, m_handset->slavePath(),
                               onCable ? QStringLiteral("plugged in") : QStringLiteral("unplugged")));
    m_unplug->setEnabled(onCable);
    m_plug->setEnabled(!onCable);
}

void SimulatorPanel::addFault() {
    std::string error;
    const auto rule = sim::parseFaultRule(m_faultSpec->text().toStdString(), &error);
    if (!rule) {
        m_feedback->setText(QString::fromStdString(error));
        return;
    }
    m_handset->handset().faults().add(*rule);
    m_feedback->setText(QStringLiteral("Injected: %1").arg(m_faultSpec->text()));
}

void SimulatorPanel::setRegistration() {
    const auto scenario =
        sim::parseRegistrationScenario(m_registration->currentData().toString().toStdString());
    if (scenario) {
        m_handset->handset().registration().setScenario(*scenario);
        m_feedback->setText(QStringLiteral("Next registration: %1").arg(m_registration->currentText()));
    }
}

} // namespace tolvan::app

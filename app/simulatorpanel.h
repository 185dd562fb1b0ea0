#pragma once

#include "sim/ptyhandset.h"

#include <QStringList>
#include <QWidget>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tolvan::app {

// The demo's control window: the virtual handset on its pseudo-terminal, with buttons to pull it
// off the cable and plug it back (or another unit in its place), to inject a fault and to choose how the next
// registration ends.
class SimulatorPanel : public QWidget {
    Q_OBJECT
public:
    explicit SimulatorPanel(std::unique_ptr<sim::PtyHandset> handset, QWidget* parent = nullptr);

    sim::PtyHandset& handset() { return *m_handset; }

private:
    void refresh();
    void addFault();
    void setRegistration();

    std::unique_ptr<sim::PtyHandset> m_handset;
    QLabel* m_status;
    QPushButton* m_unplug;
    QPushButton* m_plug;
    QPushButton* m_another;
    std::uint32_t m_swaps = 0;
    QComboBox* m_faultPresets;
    QLineEdit* m_faultSpec;
    QComboBox* m_registration;
    QLabel* m_feedback;
};

// Creates the virtual handset of the named model ("ZX-VA100", "ZX-VA150", "ZX-VA150(C)") on a
// pseudo-terminal, listed for port discovery, with the fault rules armed from the start; null with
// a reason when that is not possible.
std::unique_ptr<sim::PtyHandset> startVirtualHandset(const QString& modelName, const QStringList& faults,
                                                     QString* error);

} // namespace tolvan::app

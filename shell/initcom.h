#pragma once

#include "shell/ownercloseddialog.h"

#include <QTimer>

class QLabel;
class QProgressBar;

namespace tolvan::link {
struct LinkState;
}

namespace tolvan::shell {

class AbortTextFlag;

// The progress dialog ("処理中") shown modally while a command script runs. It follows the link
// state every 10 ms and closes once the dialogue leaves the running state or the port closes;
// it never changes the link state.
class InitCom : public OwnerClosedDialog {
    Q_OBJECT
public:
    static constexpr int kPollMs = 10;

    // abortText may be null; when it is raised at opening the cancelling text is shown and the
    // flag is taken down.
    explicit InitCom(const tolvan::link::LinkState& state, AbortTextFlag* abortText = nullptr,
                     QWidget* parent = nullptr);

    // Closed because the port closed (the handset was pulled) rather than because the script ended.
    bool closedByPortLoss() const { return m_portLost; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void poll();

    const tolvan::link::LinkState& m_state;
    AbortTextFlag* m_abortText;
    QLabel* m_text;
    QProgressBar* m_bar;
    QTimer* m_timer; // a child, so tests can count its ticks
    bool m_portLost = false;
};

} // namespace tolvan::shell

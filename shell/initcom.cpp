#include "shell/initcom.h"

#include "link/core/catalogue.h"
#include "link/core/linkstate.h"
#include "shell/aborttextflag.h"
#include "shell/redtext.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include <algorithm>

namespace tolvan::shell {

namespace {
const QString kWorkingText = QStringLiteral(
    "データを読み込み、書き込み中です。お待ちください。\nUSBに接続した子機を絶対に抜かないで下さい。");
const QString kAbortingText = QStringLiteral("中断処理中です。お待ち下さい。");
} // namespace

InitCom::InitCom(const tolvan::link::LinkState& state, AbortTextFlag* abortText, QWidget* parent)
    : OwnerClosedDialog(parent), m_state(state), m_abortText(abortText) {
    setWindowTitle(QStringLiteral("処理中"));
    setModal(true);
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_text = makeRedText(kWorkingText, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_bar);
    layout->addWidget(m_text);
    m_timer = new QTimer(this);
    m_timer->setInterval(kPollMs);
    connect(m_timer, &QTimer::timeout, this, &InitCom::poll);
}

void InitCom::showEvent(QShowEvent* event) {
    const bool aborting = m_abortText != nullptr && m_abortText->take();
    m_text->setText(aborting ? kAbortingText : kWorkingText);
    m_bar->setValue(0);
    m_portLost = false;
    m_timer->start();
    OwnerClosedDialog::showEvent(event);
}

void InitCom::hideEvent(QHideEvent* event) {
    m_timer->stop();
    OwnerClosedDialog::hideEvent(event);
}

void InitCom::poll() {
    if (!m_state.portOpen) {
        m_timer->stop();
        m_portLost = true;
        done(QDialog::Rejected);
        return;
    }
    const std::uint32_t model = m_state.modelCode;
    if (model >= tolvan::link::kModelVa100 && model <= tolvan::link::kModelVa150C) {
        // A script id without a table has length 0: the bar then stays where it is.
        const int last = tolvan::link::scriptLastStep(m_state.scriptId);
        if (last > 0) {
            m_bar->setValue(std::clamp(m_state.scriptStep * 100 / last, 0, 100));
        }
    }
    if (m_state.dialogueState != tolvan::link::kScriptRunning) {
        m_timer->stop();
        done(QDialog::Accepted);
    }
}

} // namespace tolvan::shell

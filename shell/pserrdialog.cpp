#include "shell/pserrdialog.h"

#include "link/linksession.h"

#include "link/core/linkstate.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace tolvan::shell {

PsErrDialog::PsErrDialog(const tolvan::link::LinkState& state, QWidget* parent)
    : QDialog(parent), m_state(state) {
    setWindowTitle(QStringLiteral("エラー"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QString::fromUtf8(link::kNoDataText), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    m_timer = new QTimer(this);
    m_timer->setInterval(kPollMs);
    connect(m_timer, &QTimer::timeout, this, &PsErrDialog::poll);
}

bool PsErrDialog::staysFor(std::uint8_t resultClass) {
    namespace rc = tolvan::link::rc;
    return resultClass == rc::kRetryFailure || resultClass == rc::kAccepted ||
           resultClass == rc::kDataReceived;
}

void PsErrDialog::showEvent(QShowEvent* event) {
    m_timer->start();
    QDialog::showEvent(event);
}

void PsErrDialog::hideEvent(QHideEvent* event) {
    m_timer->stop();
    QDialog::hideEvent(event);
}

void PsErrDialog::poll() {
    if (!staysFor(m_state.resultClass)) {
        m_timer->stop();
        done(QDialog::Rejected);
    }
}

} // namespace tolvan::shell

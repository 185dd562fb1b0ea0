#include "modes/psent/screen/registrationpanel.h"

#include "shell/accessiblenames.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tolvan::psent {

RegistrationPanel::RegistrationPanel(QWidget* parent)
    : QWidget(parent), m_start(new QPushButton(QStringLiteral("子機登録"), this)),
      m_abort(new QPushButton(QStringLiteral("子機登録中断"), this)), m_status(new QLineEdit(this)),
      m_error(new QLineEdit(this)) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("[ZX-VA100子機登録]"), this), 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("※１ 子機登録する場合は「子機番号」「暗証番号」を入力し\n"
                                              "       設定書き込み後に子機登録を行ってください。"),
                               this),
                    1, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {m_start, m_abort}) {
        // Enter must not press a button by the back door.
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    grid->addLayout(buttons, 2, 0, 1, 2);
    for (QLineEdit* box : {m_status, m_error}) {
        box->setReadOnly(true);
    }
    auto* status = new QLabel(QStringLiteral("状態"), this);
    auto* error = new QLabel(QStringLiteral("エラー"), this);
    shell::labelFor(status, m_status);
    shell::labelFor(error, m_error);
    grid->addWidget(status, 3, 0);
    grid->addWidget(m_status, 3, 1);
    grid->addWidget(error, 4, 0);
    grid->addWidget(m_error, 4, 1);
    grid->setColumnStretch(1, 1);
}

void RegistrationPanel::setStatus(const QString& status, const QString& error) {
    m_status->setText(status);
    m_error->setText(error);
}

} // namespace tolvan::psent

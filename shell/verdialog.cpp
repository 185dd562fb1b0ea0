#include "shell/verdialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace tolvan::shell {

VerDialog::VerDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("バージョン情報"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(productName(), this));
    layout->addWidget(new QLabel(QStringLiteral("Version ") + QStringLiteral(TOLVAN_VERSION), this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

QString VerDialog::productName() {
    return QStringLiteral("ZX-VA100/150子機設定ソフトウェア");
}

} // namespace tolvan::shell

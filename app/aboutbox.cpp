#include "app/aboutbox.h"

#include "shell/verdialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>

namespace tolvan::app {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("バージョン情報 Tolvan"));
    setModal(true);
    auto* row = new QHBoxLayout;
    auto* icon = new QLabel(this);
    const QIcon appIcon = QApplication::windowIcon();
    icon->setPixmap(appIcon.isNull() ? style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32)
                                     : appIcon.pixmap(32, 32));
    row->addWidget(icon, 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->addWidget(new QLabel(QStringLiteral("Tolvan Version ") + QStringLiteral(TOLVAN_VERSION), this));
    texts->addWidget(new QLabel(shell::VerDialog::productName(), this));
    row->addLayout(texts);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}

} // namespace tolvan::app

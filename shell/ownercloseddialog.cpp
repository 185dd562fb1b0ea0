#include "shell/ownercloseddialog.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace tolvan::shell {

OwnerClosedDialog::OwnerClosedDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {}

void OwnerClosedDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void OwnerClosedDialog::closeEvent(QCloseEvent* event) {
    // A spontaneous close comes from the window system (Alt+F4), not from the owner.
    if (event->spontaneous()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace tolvan::shell

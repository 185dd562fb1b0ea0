#include "app/usbdlg.h"

#include <QLabel>
#include <QVBoxLayout>

namespace tolvan::app {

USBDlg::USBDlg(QWidget* parent) : OwnerClosedDialog(parent) {
    setWindowTitle(QStringLiteral("USB"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("USB接続子機が抜かれました。接続後は自動検出しダイアログを閉じます。\n"
                                  "その後操作してください。"),
                   this));
}

void USBDlg::handsetBack() {
    if (isVisible()) {
        done(QDialog::Accepted);
    }
}

} // namespace tolvan::app

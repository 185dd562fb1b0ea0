#pragma once

#include <QDialog>

namespace tolvan::shell {

// A dialog that only its owner closes (done(), accept(), close()): Esc and the window's close
// button do nothing, because it stands for something the technician must not cut short.
class OwnerClosedDialog : public QDialog {
    Q_OBJECT
public:
    explicit OwnerClosedDialog(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

} // namespace tolvan::shell

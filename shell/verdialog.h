#pragma once

#include <QDialog>

namespace tolvan::shell {

// The version dialog of the help menus ("バージョン情報（&A）" / "バージョン情報(&A)").
class VerDialog : public QDialog {
    Q_OBJECT
public:
    explicit VerDialog(QWidget* parent = nullptr);

    // The product name, as the main menu's heading shows it.
    static QString productName();
};

} // namespace tolvan::shell

#pragma once

#include <QDialog>

namespace tolvan::app {

// The about box of the main menu's system menu ("バージョン情報 Tolvan(&A)...").
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
};

} // namespace tolvan::app

#pragma once

#include <QDialog>

class QPushButton;
class QTabWidget;

namespace tolvan::app {

// The mode explanation sheet ("動作モード説明") of the main menu's help menu: five pages and one
// button, "メニューに戻る". Enter and Esc are swallowed so a stray key press cannot close it.
class CSheetMain : public QDialog {
    Q_OBJECT
public:
    explicit CSheetMain(QWidget* parent = nullptr);

    QTabWidget* pages() const { return m_pages; }
    QPushButton* backButton() const { return m_back; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTabWidget* m_pages;
    QPushButton* m_back;
};

} // namespace tolvan::app

#include "shell/windowhider.h"

#include <QDialog>

namespace tolvan::shell {

WindowHider::WindowHider(QWidget* window) : m_window(window) {
    if (m_window) {
        m_wasVisible = m_window->isVisible();
        m_window->hide();
    }
}

WindowHider::~WindowHider() {
    if (m_window && m_wasVisible) {
        m_window->show();
        m_window->activateWindow();
    }
}

int WindowHider::execHidden(QWidget* window, QDialog& dialog) {
    const WindowHider hider(window);
    return dialog.exec();
}

} // namespace tolvan::shell

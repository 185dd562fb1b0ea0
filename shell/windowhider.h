#pragma once

#include <QPointer>
#include <QWidget>

class QDialog;

namespace tolvan::shell {

// A window that opens a modal dialog hides itself for as long as the dialog is up and shows
// itself again afterwards (only if it was shown before).
class WindowHider {
public:
    explicit WindowHider(QWidget* window);
    ~WindowHider();
    WindowHider(const WindowHider&) = delete;
    WindowHider& operator=(const WindowHider&) = delete;

    // Runs dialog.exec() with the window hidden; returns its result.
    static int execHidden(QWidget* window, QDialog& dialog);

private:
    QPointer<QWidget> m_window;
    bool m_wasVisible = false;
};

} // namespace tolvan::shell

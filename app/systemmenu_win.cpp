#include "app/systemmenu.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QWidget>

#include <windows.h>

namespace tolvan::app {
namespace {

// System menu command ids must stay below 0xF000 and have their low four bits clear.
constexpr UINT kAboutCommand = 0x0010;

class SystemCommandFilter : public QAbstractNativeEventFilter {
public:
    SystemCommandFilter(HWND window, std::function<void()> action)
        : m_window(window), m_action(std::move(action)) {}

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        const MSG* msg = static_cast<const MSG*>(message);
        if (type == "windows_generic_MSG" && msg->hwnd == m_window && msg->message == WM_SYSCOMMAND &&
            (msg->wParam & 0xFFF0) == kAboutCommand) {
            m_action();
            return true;
        }
        return false;
    }

private:
    HWND m_window;
    std::function<void()> m_action;
};

} // namespace

bool addToSystemMenu(QWidget* window, const QString& text, std::function<void()> action) {
    const HWND handle = reinterpret_cast<HWND>(window->winId());
    HMENU menu = GetSystemMenu(handle, FALSE);
    if (menu == nullptr) {
        return false;
    }
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kAboutCommand, reinterpret_cast<LPCWSTR>(text.utf16()));
    // Lives as long as the application: the main menu window does too.
    QCoreApplication::instance()->installNativeEventFilter(
        new SystemCommandFilter(handle, std::move(action)));
    return true;
}

} // namespace tolvan::app

#pragma once

#include "link/core/engine.h"
#include "shell/modecontext.h"
#include "shell/modelink.h"

#include <QDialog>

class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QScrollArea;

namespace tolvan::shell {

// What every mode window shares: the link facade, the frame (the menu bar with its accelerators
// above, the mode's content in the middle, the bottom bar with the memo, the connected model, the
// mode's own buttons and the way back), Enter and Esc swallowed, back to the menu, and the link's
// abort, handset-removed and handset-reconnected notices turned into calls of the concrete screen.
//
// A mode window is never larger than the screen's available area: where its content would be, the
// window takes the available height and the content scrolls vertically, at the window's full width.
class ModeScreen : public QDialog {
    Q_OBJECT
public:
    ModeScreen(ModeContext& context, link::NoticeOwner owner, const QString& title,
               QWidget* parent = nullptr);

    link::NoticeOwner noticeOwner() const { return m_noticeOwner; }

    // The screen's view state, which is also the link's operation id while the screen is open.
    std::uint32_t viewState() const { return m_viewState; }

    // "ﾒﾆｭｰに戻る": operation id 0xFFFF, the memo kept, the dialogue closed (or the port, when
    // idle), the window closed.
    void backToMenu();

    // "ZX-VA100", "ZX-VA150" or "ZX-VA150(C)"; empty for any other code.
    static QString modelText(std::uint32_t modelCode);

    // The bottom bar's memo box, connected-model box and way back (null before setFrame).
    QLineEdit* memoBox() const { return m_memo; }
    QLineEdit* modelBox() const { return m_model; }
    QPushButton* backButton() const { return m_back; }
    // The area the content scrolls in.
    QScrollArea* scrollArea() const { return m_scroll; }

    // Sizes the window to its content within `available` (a screen's available area, less the
    // window frame): never larger; a taller content takes the whole height and scrolls. Called on
    // the first show with the window's own screen.
    void fitInto(const QRect& available);

protected:
    // The engine abandoned an operation of this mode (it already set the no-data view id).
    virtual void operationAborted() {}
    virtual void handsetRemoved() {}
    // A close frame of this mode's dialogue was acknowledged.
    virtual void dialogueClosed() {}
    virtual void handsetReconnected() {}
    // The registration's first phase ended, and the whole registration completed. Both come from
    // inside the link engine: a screen that opens dialogs queues its reaction.
    virtual void registrationStep() {}
    virtual void registrationFinished() {}
    // The memo box's text, kept as the session memo when the screen leaves or saves.
    virtual QString memoText() const;

    // Builds the frame around `content`: menu bar, content, and the bottom bar ("メモ", "接続モデル",
    // `buttons` in this order, then the way back captioned `backText`). Fill the menu bar first.
    void setFrame(QWidget* content, const QList<QPushButton*>& buttons,
                  const QString& backText = QStringLiteral("メニューに戻る"));

    // Sets the view state and the engine's operation id together.
    void setViewState(std::uint32_t state);

    ModeLink& link() { return m_link; }
    const ModeLink& link() const { return m_link; }
    ModeContext& context() { return m_context; }
    QMenuBar* menuBar() const { return m_menuBar; }
    // The usual file menu: open (Ctrl+O), save as (Ctrl+N), print (Ctrl+P) and exit; a null slot
    // leaves the item out.
    QMenu* addFileMenu(const QString& title, std::function<void()> open, std::function<void()> save,
                       std::function<void()> print);
    // "ヘルプ(&H)" with "バージョン情報(&A)".
    QMenu* addHelpMenu();

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    ModeContext& m_context;
    link::NoticeOwner m_noticeOwner;
    ModeLink m_link;
    QMenuBar* m_menuBar;
    QScrollArea* m_scroll = nullptr;
    QLineEdit* m_memo = nullptr;
    QLineEdit* m_model = nullptr;
    QPushButton* m_back = nullptr;
    std::uint32_t m_viewState = 0;
    bool m_leaving = false;
    bool m_fitted = false;
};

// "終了(&X)": ends the whole program at once.
[[noreturn]] void quitProgram();

} // namespace tolvan::shell

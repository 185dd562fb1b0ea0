#include "shell/modescreen.h"

#include "shell/verdialog.h"
#include "shell/windowhider.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QVBoxLayout>

#include <cstdlib>

namespace tolvan::shell {

ModeScreen::ModeScreen(ModeContext& context, link::ModeWindow mode, const QString& title, QWidget* parent)
    : QDialog(parent), m_context(context), m_mode(mode), m_link(context, this),
      m_menuBar(new QMenuBar(this)) {
    setWindowTitle(title);
    link::LinkSession& session = context.session;
    connect(&session.driver(), &link::LinkDriver::notice, this, [this](link::LinkNotice notice) {
        if (notice.mode != m_mode) {
            return;
        }
        if (notice.event == link::LinkEvent::OperationAborted) {
            operationAborted();
        } else if (notice.event == link::LinkEvent::DialogueClosed) {
            dialogueClosed();
        } else if (notice.event == link::LinkEvent::RegistrationStep) {
            registrationStep();
        } else if (notice.event == link::LinkEvent::RegistrationFinished) {
            registrationFinished();
        }
    });
    connect(&session, &link::LinkSession::handsetRemoved, this, [this] { handsetRemoved(); });
    connect(&session, &link::LinkSession::handsetReconnected, this, [this] { handsetReconnected(); });
}

QString ModeScreen::modelText(std::uint32_t modelCode) {
    return QString::fromLatin1(link::modelNameOf(modelCode));
}

void ModeScreen::setViewState(std::uint32_t state) {
    m_viewState = state;
    m_link.setOperation(state);
}

void ModeScreen::backToMenu() {
    m_context.texts.setMemo(memoText());
    m_link.leaveMode();
    m_leaving = true;
    accept();
}

QMenu* ModeScreen::addFileMenu(const QString& title, std::function<void()> open, std::function<void()> save,
                               std::function<void()> print) {
    QMenu* menu = m_menuBar->addMenu(title);
    if (open) {
        menu->addAction(QStringLiteral("ファイルを開く(&O)"), QKeySequence(Qt::CTRL | Qt::Key_O), this,
                        std::move(open));
    }
    if (save) {
        menu->addAction(QStringLiteral("ファイル名を付けて保存(&N)"), QKeySequence(Qt::CTRL | Qt::Key_N),
                        this, std::move(save));
    }
    if (print) {
        menu->addAction(QStringLiteral("印刷(&P)"), QKeySequence(Qt::CTRL | Qt::Key_P), this,
                        std::move(print));
    }
    menu->addAction(QStringLiteral("終了(&X)"), this, [] { quitProgram(); });
    return menu;
}

QMenu* ModeScreen::addHelpMenu() {
    QMenu* menu = m_menuBar->addMenu(QStringLiteral("ヘルプ(&H)"));
    menu->addAction(QStringLiteral("バージョン情報(&A)"), this, [this] {
        VerDialog dialog(this);
        WindowHider::execHidden(this, dialog);
    });
    return menu;
}

void ModeScreen::keyPressEvent(QKeyEvent* event) {
    // Neither Enter nor Esc may close a mode window by accident.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ModeScreen::closeEvent(QCloseEvent* event) {
    // The window's close button leaves the way "ﾒﾆｭｰに戻る" does, so the dialogue is closed.
    if (!m_leaving) {
        event->ignore();
        backToMenu();
        return;
    }
    QDialog::closeEvent(event);
}

void quitProgram() {
    std::exit(0);
}

} // namespace tolvan::shell

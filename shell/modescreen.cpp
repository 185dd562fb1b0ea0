#include "shell/modescreen.h"

#include "shell/accessiblenames.h"
#include "shell/namedcombobox.h"
#include "shell/verdialog.h"
#include "shell/windowhider.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>
#include <cstdlib>

namespace tolvan::shell {
namespace {

// The content's own size is the area's wish; at its smallest the area keeps the content's full
// width beside a vertical scroll bar and gives up height, so scrolling is only ever vertical.
class ContentScroll : public QScrollArea {
public:
    using QScrollArea::QScrollArea;

    QSize sizeHint() const override {
        return widget() ? widget()->sizeHint() + frameExtent() : QScrollArea::sizeHint();
    }
    QSize minimumSizeHint() const override {
        if (!widget()) {
            return QScrollArea::minimumSizeHint();
        }
        const QSize content = widget()->minimumSizeHint();
        const int bar = verticalScrollBar()->sizeHint().width();
        return QSize(content.width() + bar, std::min(content.height(), kMinimumHeight)) + frameExtent();
    }

private:
    static constexpr int kMinimumHeight = 120;
    QSize frameExtent() const { return {2 * frameWidth(), 2 * frameWidth()}; }
};

} // namespace

ModeScreen::ModeScreen(ModeContext& context, link::NoticeOwner owner, const QString& title, QWidget* parent)
    : QDialog(parent), m_context(context), m_noticeOwner(owner), m_link(context, this),
      m_menuBar(new QMenuBar(this)) {
    // The mode windows' lists are found by their names.
    NamedComboBox::install();
    setWindowTitle(title);
    link::LinkSession& session = context.session;
    connect(&session.driver(), &link::LinkDriver::notice, this, [this](link::LinkNotice notice) {
        if (notice.owner != m_noticeOwner) {
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

QString ModeScreen::memoText() const {
    return m_memo ? m_memo->text() : m_context.texts.memo();
}

void ModeScreen::setFrame(QWidget* content, const QList<QPushButton*>& buttons, const QString& backText) {
    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(m_menuBar);

    m_scroll = new ContentScroll(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    // The area itself is no stop for Tab: it scrolls to whichever control takes the focus.
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(content);
    layout->addWidget(m_scroll, 1);
    QScrollBar* bar = m_scroll->verticalScrollBar();
    // A hundredth of the range a line, a tenth a page. Queued: the area sets its own steps right
    // after the range, and these replace them.
    connect(
        bar, &QScrollBar::rangeChanged, bar,
        [bar] {
            const int range = bar->maximum() - bar->minimum();
            bar->setSingleStep(std::max(1, range / 100));
            bar->setPageStep(std::max(1, range / 10));
        },
        Qt::QueuedConnection);

    auto* bottom = new QHBoxLayout;
    auto* memoLabel = new QLabel(QStringLiteral("メモ"), this);
    bottom->addWidget(memoLabel);
    m_memo = new QLineEdit(this);
    labelFor(memoLabel, m_memo);
    bottom->addWidget(m_memo, 1);
    auto* modelLabel = new QLabel(QStringLiteral("接続モデル"), this);
    bottom->addWidget(modelLabel);
    m_model = new QLineEdit(this);
    labelFor(modelLabel, m_model);
    m_model->setReadOnly(true);
    m_model->setMinimumWidth(m_model->fontMetrics().horizontalAdvance(QStringLiteral("ZX-VA150(C)")) + 16);
    bottom->addWidget(m_model);
    m_back = new QPushButton(backText, this);
    QList<QPushButton*> all = buttons;
    all.append(m_back);
    // Tab goes through the bar as it shows, after the content, whenever its buttons were made.
    QWidget* previous = m_model;
    setTabOrder(m_memo, m_model);
    for (QPushButton* button : all) {
        // Enter must not press a button by the back door.
        button->setAutoDefault(false);
        bottom->addWidget(button);
        setTabOrder(previous, button);
        previous = button;
    }
    layout->addLayout(bottom);
    connect(m_back, &QPushButton::clicked, this, &ModeScreen::backToMenu);
}

void ModeScreen::fitInto(const QRect& available) {
    if (!available.isValid()) {
        return;
    }
    m_fitted = true;
    setMaximumSize(available.size());
    const QSize wish = sizeHint().expandedTo(minimumSizeHint());
    resize(std::min(wish.width(), available.width()), std::min(wish.height(), available.height()));
    // Keep the window on the area: a window as tall as the area starts at its top.
    QRect placed = geometry();
    placed.moveLeft(std::clamp(placed.left(), available.left(),
                               std::max(available.left(), available.right() - placed.width() + 1)));
    placed.moveTop(std::clamp(placed.top(), available.top(),
                              std::max(available.top(), available.bottom() - placed.height() + 1)));
    move(placed.topLeft());
}

void ModeScreen::showEvent(QShowEvent* event) {
    QScreen* display = screen();
    if (!m_fitted && display) {
        const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
        fitInto(display->availableGeometry().marginsRemoved(frame));
    }
    // The dialog centres itself over the menu, within the screen.
    QDialog::showEvent(event);
    if (display && windowHandle() && windowHandle()->frameMargins().isNull()) {
        // A window manager adds its frame only once the window is mapped: fit again with it.
        QTimer::singleShot(200, this, [this] {
            QScreen* now = screen();
            const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
            if (now && !frame.isNull() && !now->availableGeometry().contains(frameGeometry())) {
                fitInto(now->availableGeometry().marginsRemoved(frame));
            }
        });
    }
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
    // The window's close button leaves the way "ﾒﾆｭｰに戻る" does, so the dialogue is closed; and
    // it is refused while that button is.
    if (!m_leaving && m_back && !m_back->isEnabled()) {
        event->ignore();
        return;
    }
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

#include "app/csheetmain.h"

#include "app/cpagemain.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tolvan::app {

CSheetMain::CSheetMain(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("動作モード説明"));
    setModal(true);
    m_pages = new QTabWidget(this);
    for (const ExplanationPage& entry : explanationPages()) {
        auto* page = new CPageMain(entry);
        m_pages->addTab(page, page->title());
    }
    m_back = new QPushButton(QStringLiteral("メニューに戻る"), this);
    // Neither default nor auto-default: Enter on the focused button must not press it.
    m_back->setAutoDefault(false);
    m_back->setDefault(false);
    connect(m_back, &QPushButton::clicked, this, [this] { done(QDialog::Rejected); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_back);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addLayout(buttons);
}

void CSheetMain::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

} // namespace tolvan::app

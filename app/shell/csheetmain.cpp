#include "app/shell/csheetmain.h"

#include "app/shell/cpagemainds.h"
#include "app/shell/cpagemaindset.h"
#include "app/shell/cpagemainlog.h"
#include "app/shell/cpagemainpsent.h"
#include "app/shell/cpagemaintest.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tolvan::shell {

CSheetMain::CSheetMain(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("動作モード説明"));
    setModal(true);
    m_pages = new QTabWidget(this);
    for (CPageMain* page : std::initializer_list<CPageMain*>{
             new CPageMainDset, new CPageMainTest, new CPageMainLog, new CPageMainPsEnt, new CPageMainDs}) {
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

} // namespace tolvan::shell

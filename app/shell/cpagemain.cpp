#include "app/shell/cpagemain.h"

#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace tolvan::shell {

CPageMain::CPageMain(const QString& title, const QString& text, QWidget* parent)
    : QWidget(parent), m_title(title), m_text(text) {
    auto* label = new QLabel(text);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    // The handset setting page is longer than a small screen is high.
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(label);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll);
}

} // namespace tolvan::shell

#include "modes/psent/screen/callnumbergrid.h"

#include "modes/psent/model/psentrules.h"

#include "shell/accessiblenames.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace tolvan::psent {

CallNumberGrid::CallNumberGrid(int columns, QWidget* parent) : QWidget(parent) {
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* title = new QLabel(QStringLiteral("[個別通話子機番号登録]"), this);
    grid->addWidget(title, 0, 0, 1, 2 * columns);
    for (int slot = 0; slot < PsEntScreenValues::kCallNumbers; ++slot) {
        auto* box = new QLineEdit(this);
        box->setMaxLength(4);
        // Four digits and the frame: the box needs no more.
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
        connect(box, &QLineEdit::textEdited, this, [this, slot] { edited(slot); });
        m_boxes[static_cast<std::size_t>(slot)] = box;
        const int row = 1 + slot / columns;
        const int column = (slot % columns) * 2;
        auto* caption = new QLabel(slotCaption(slot + 1), this);
        shell::labelFor(caption, box);
        box->setAccessibleName(shell::labelName(title->text()) + QLatin1Char(' ') + caption->text());
        grid->addWidget(caption, row, column);
        grid->addWidget(box, row, column + 1);
    }
    grid->setColumnStretch(2 * columns, 1);
}

QString CallNumberGrid::slotCaption(int number) {
    QString text = QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
    for (QChar& c : text) {
        c = QChar(c.unicode() - u'0' + u'０');
    }
    return text;
}

void CallNumberGrid::load(const Numbers& numbers) {
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        m_boxes[i]->setText(numbers[i]);
    }
}

CallNumberGrid::Numbers CallNumberGrid::numbers() const {
    Numbers out;
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        out[i] = m_boxes[i]->text();
    }
    return out;
}

void CallNumberGrid::edited(int slot) {
    QLineEdit* edited = box(slot);
    const QString kept = PsEntRules::callNumberInput(edited->text());
    if (kept != edited->text()) {
        const int cursor = std::min<int>(edited->cursorPosition(), static_cast<int>(kept.size()));
        edited->setText(kept);
        edited->setCursorPosition(cursor);
    }
}

} // namespace tolvan::psent

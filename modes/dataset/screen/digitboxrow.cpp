#include "modes/dataset/screen/digitboxrow.h"

#include "modes/dataset/model/datasetrules.h"

#include "shell/accessiblenames.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

namespace tolvan::dataset {

DigitBoxRow::DigitBoxRow(int boxes, std::optional<std::uint32_t> limit, QWidget* parent)
    : QWidget(parent), m_limit(limit) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* digit = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]?")), this);
    for (int i = 0; i < boxes; ++i) {
        auto* box = new QLineEdit(this);
        box->setValidator(digit);
        box->setAlignment(Qt::AlignCenter);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 3 + 8);
        connect(box, &QLineEdit::textChanged, this, [this, i] { boxChanged(i); });
        layout->addWidget(box);
        m_boxes.push_back(box);
    }
    layout->addStretch();
}

void DigitBoxRow::nameAfter(const QString& labelText) {
    shell::nameBoxes(labelText, QList<QWidget*>(m_boxes.begin(), m_boxes.end()));
}

QString DigitBoxRow::boxText(std::size_t index) const {
    return m_boxes[index]->text();
}

void DigitBoxRow::setTexts(std::span<const QString> texts) {
    for (std::size_t i = 0; i < m_boxes.size(); ++i) {
        const QSignalBlocker blocker(m_boxes[i]);
        m_boxes[i]->setText(i < texts.size() ? texts[i] : QString());
    }
}

void DigitBoxRow::clear() {
    setTexts({});
}

void DigitBoxRow::setBoxesEnabled(bool enabled) {
    for (QLineEdit* box : m_boxes) {
        box->setEnabled(enabled);
    }
}

void DigitBoxRow::boxChanged(int index) {
    if (!m_limit || m_boxes.size() != 9) {
        return;
    }
    std::array<QString, 9> row = texts<9>();
    const DataSetRules::DigitEntry entry = DataSetRules::applyDigitEntry(row, index, *m_limit);
    QLineEdit* edited = m_boxes[static_cast<std::size_t>(index)];
    if (entry.emptied) {
        const QSignalBlocker blocker(edited);
        edited->clear();
    }
    QLineEdit* next = m_boxes[static_cast<std::size_t>(entry.focus)];
    if (next != edited) {
        next->setFocus();
        // Typing on replaces what the next box holds instead of being refused by the one-digit rule.
        next->selectAll();
    }
}

} // namespace tolvan::dataset

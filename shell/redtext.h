#pragma once

#include <QLabel>
#include <QPalette>

namespace tolvan::shell {

// The warning texts of the progress dialog and the please-wait notice are red.
inline QLabel* makeRedText(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(palette);
    return label;
}

} // namespace tolvan::shell

#include "shell/accessiblenames.h"

#include <QLabel>
#include <QWidget>

namespace tolvan::shell {

QString labelName(const QString& labelText) {
    QString name = labelText;
    name.replace(QLatin1Char('\n'), QLatin1Char(' '));
    name.remove(QLatin1Char('&'));
    if (name.startsWith(QLatin1String("->"))) {
        name.remove(0, 2);
    }
    // A caption's brackets are decoration, not part of what it names.
    name = name.simplified();
    static const QString brackets = QStringLiteral("[]［］");
    while (!name.isEmpty() && brackets.contains(name.front())) {
        name.remove(0, 1);
    }
    while (!name.isEmpty() && brackets.contains(name.back())) {
        name.chop(1);
    }
    return name.trimmed();
}

QWidget* labelFor(QLabel* label, QWidget* control) {
    label->setBuddy(control);
    control->setAccessibleName(labelName(label->text()));
    return control;
}

void nameBoxes(const QString& labelText, const QList<QWidget*>& boxes) {
    const QString name = labelName(labelText);
    for (qsizetype i = 0; i < boxes.size(); ++i) {
        boxes[i]->setAccessibleName(QStringLiteral("%1 %2桁目").arg(name).arg(i + 1));
    }
}

} // namespace tolvan::shell

#pragma once

// Names of input controls as a screen reader, or a tool that drives the windows, finds them.

#include <QList>
#include <QString>

class QLabel;
class QWidget;

namespace tolvan::shell {

// The label's text (one line, no mnemonic) as a control's name.
QString labelName(const QString& labelText);

// Makes the label the control's buddy and names the control by it. Returns the control.
QWidget* labelFor(QLabel* label, QWidget* control);

// A row of boxes for one value: the label's text and each box's position ("PS-ID 3桁目").
void nameBoxes(const QString& labelText, const QList<QWidget*>& boxes);

} // namespace tolvan::shell

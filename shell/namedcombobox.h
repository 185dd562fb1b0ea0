#pragma once

// The accessibility interface of a list box (QComboBox) that reports the list's own name.

#include <QAccessibleWidget>

class QComboBox;

namespace tolvan::shell {

// Qt's own interface of a combo box names it by its current entry on Unix and leaves the label
// to the desktop bridge, so a screen reader or a tool that drives the windows sees "30" where the
// window says "待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ". This one gives the accessible name (or the buddy label)
// as the name and the entry as the value; its children are the popup list and, for an editable
// box, its line edit, as with Qt's.
class NamedComboBox : public QAccessibleWidget {
public:
    explicit NamedComboBox(QWidget* widget);

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

    QStringList actionNames() const override;
    QString localizedActionDescription(const QString& actionName) const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

    // Makes every combo box of the process use this interface; once is enough.
    static void install();

private:
    QComboBox* comboBox() const;
};

} // namespace tolvan::shell

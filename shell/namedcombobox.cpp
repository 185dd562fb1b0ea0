#include "shell/namedcombobox.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>

namespace tolvan::shell {
namespace {

QAccessibleInterface* factory(const QString& className, QObject* object) {
    if (className == QLatin1String("QComboBox") && object && object->isWidgetType()) {
        return new NamedComboBox(static_cast<QWidget*>(object));
    }
    return nullptr;
}

} // namespace

NamedComboBox::NamedComboBox(QWidget* widget) : QAccessibleWidget(widget, QAccessible::ComboBox) {}

QComboBox* NamedComboBox::comboBox() const {
    return qobject_cast<QComboBox*>(object());
}

QString NamedComboBox::text(QAccessible::Text t) const {
    QComboBox* box = comboBox();
    if (t == QAccessible::Value) {
        return box->isEditable() && box->lineEdit() ? box->lineEdit()->text() : box->currentText();
    }
    // The widget's own: the accessible name, else its buddy label's text.
    return QAccessibleWidget::text(t);
}

QAccessible::State NamedComboBox::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    QComboBox* box = comboBox();
    s.expandable = true;
    s.expanded = box->view() && box->view()->isVisible();
    s.collapsed = !s.expanded;
    s.editable = box->isEditable();
    return s;
}

int NamedComboBox::childCount() const {
    return comboBox()->isEditable() && comboBox()->lineEdit() ? 2 : 1;
}

QAccessibleInterface* NamedComboBox::child(int index) const {
    QComboBox* box = comboBox();
    if (index == 0) {
        return QAccessible::queryAccessibleInterface(box->view());
    }
    if (index == 1 && box->isEditable() && box->lineEdit()) {
        return QAccessible::queryAccessibleInterface(box->lineEdit());
    }
    return nullptr;
}

int NamedComboBox::indexOfChild(const QAccessibleInterface* child) const {
    if (!child) {
        return -1;
    }
    QComboBox* box = comboBox();
    if (child->object() == box->view()) {
        return 0;
    }
    if (box->lineEdit() && child->object() == box->lineEdit()) {
        return 1;
    }
    return -1;
}

QStringList NamedComboBox::actionNames() const {
    return {showMenuAction(), pressAction()};
}

QString NamedComboBox::localizedActionDescription(const QString& actionName) const {
    if (actionName == showMenuAction() || actionName == pressAction()) {
        return QStringLiteral("一覧を開く");
    }
    return {};
}

void NamedComboBox::doAction(const QString& actionName) {
    if (actionName != showMenuAction() && actionName != pressAction()) {
        return;
    }
    QComboBox* box = comboBox();
    if (box->view() && box->view()->isVisible()) {
        box->hidePopup();
    } else {
        box->showPopup();
    }
}

QStringList NamedComboBox::keyBindingsForAction(const QString&) const {
    return {};
}

void NamedComboBox::install() {
    static const bool installed = [] {
        QAccessible::installFactory(&factory);
        return true;
    }();
    (void)installed;
}

} // namespace tolvan::shell

// Every mode window of every model fits a field laptop's display: its natural size at 100 %, and on
// the available areas of 1366x768 and of 1920x1080 at 125 % every live control either shows or is
// reached by scrolling down, never beyond the window's width. Tab walks each window in the order it
// shows, and a screen reader finds a name for every input control.
#include "app/modes.h"
#include "flows/history/screen/historydialog.h"
#include "flows/provision/screen/provisiondialog.h"
#include "tests/support/modescreenharness.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace tolvan::app {
namespace {

constexpr int kPsEntMode = 3;

// Controls that lie beyond the window's width, or below the bottom of the scrolled content.
QStringList unreachableControls(shell::ModeScreen& screen) {
    QStringList out;
    QWidget* content = screen.scrollArea()->widget();
    const QList<QWidget*> controls = screen.findChildren<QWidget*>();
    for (QWidget* w : controls) {
        const bool control =
            qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w);
        if (!control || !w->isVisibleTo(&screen) || !w->isEnabled() ||
            qobject_cast<QComboBox*>(w->parent())) {
            continue;
        }
        const QRect inWindow(w->mapTo(&screen, QPoint(0, 0)), w->size());
        const QString name =
            w->metaObject()->className() + QStringLiteral(" ") +
            (qobject_cast<QAbstractButton*>(w) ? qobject_cast<QAbstractButton*>(w)->text() : w->objectName());
        if (inWindow.left() < 0 || inWindow.right() >= screen.width()) {
            out << name + QStringLiteral(" beyond the width");
        } else if (content->isAncestorOf(w)) {
            const QRect inContent(w->mapTo(content, QPoint(0, 0)), w->size());
            const QRect viewport = screen.scrollArea()->viewport()->rect();
            if (inContent.right() >= viewport.width() || inContent.bottom() >= content->height()) {
                out << name + QStringLiteral(" outside the scrolled area");
            }
        } else if (!screen.rect().contains(inWindow)) {
            out << name + QStringLiteral(" outside the window");
        }
    }
    return out;
}

// The windows of the flows, opened from the main menu's file menu without a read.
std::vector<std::pair<const char*, std::function<std::unique_ptr<shell::ModeScreen>(shell::ModeContext&)>>>
flowWindows() {
    return {{"history", [](shell::ModeContext& c) { return std::make_unique<history::HistoryDialog>(c); }},
            {"provisioning",
             [](shell::ModeContext& c) { return std::make_unique<provision::ProvisionDialog>(c); }}};
}

void expectFits(shell::ModeScreen& screen, int naturalHeight) {
    const QSize natural = screen.sizeHint();
    EXPECT_LE(natural.width(), 1366);
    EXPECT_LE(natural.height(), naturalHeight);
    for (const QRect area : {QRect(0, 0, 1366, 768), QRect(0, 0, 1536, 864)}) {
        screen.fitInto(area);
        screen.show();
        QCoreApplication::processEvents();
        // Where the window goes is the dialog's own centring within the real screen.
        EXPECT_TRUE(screen.width() <= area.width() && screen.height() <= area.height())
            << screen.width() << "x" << screen.height();
        EXPECT_EQ(screen.scrollArea()->horizontalScrollBar()->maximum(), 0);
        EXPECT_EQ(unreachableControls(screen).join(QStringLiteral(", ")).toStdString(), "");
        screen.hide();
    }
}

TEST(ModeWindows, EveryModeOfEveryModelFitsTheDisplay) {
    for (const std::uint8_t model : {2, 3, 4}) {
        const std::array<ModeEntry, 5> modes = availableModes();
        for (std::size_t i = 0; i < modes.size(); ++i) {
            SCOPED_TRACE(QStringLiteral("model %1, %2").arg(model).arg(modes[i].buttonText).toStdString());
            test::ModeScreenHarness h(model);
            ASSERT_TRUE(h.readAsTheMenuDoes(modes[i].operationId, modes[i].readScript));
            h.screen = modes[i].open(h.context, nullptr);
            expectFits(*h.screen, i == kPsEntMode ? 1000 : 740);
        }
    }
    for (const auto& [name, open] : flowWindows()) {
        SCOPED_TRACE(name);
        test::ModeScreenHarness h(3);
        h.screen = open(h.context);
        expectFits(*h.screen, 740);
    }
}

// Input controls in the accessibility tree that a screen reader cannot tell apart: no name, a list
// named by the entry it shows, a control named only by its group's title, or a name that two share.
void collectUnnamed(QAccessibleInterface* node, QStringList& out, QStringList& names) {
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (!child || child->state().invisible) {
            continue;
        }
        const QAccessible::Role role = child->role();
        const bool input = role == QAccessible::EditableText || role == QAccessible::ComboBox ||
                           role == QAccessible::Slider || role == QAccessible::CheckBox ||
                           role == QAccessible::SpinBox || role == QAccessible::List;
        const QString name = child->text(QAccessible::Name);
        QObject* object = child->object();
        auto* group = object ? qobject_cast<QGroupBox*>(object->parent()) : nullptr;
        const bool byValue = role == QAccessible::ComboBox && name == child->text(QAccessible::Value);
        if (input && !name.trimmed().isEmpty() && !byValue && (!group || name != group->title())) {
            if (names.contains(name)) {
                out << QStringLiteral("twice '") + name + QLatin1Char('\'');
            }
            names << name;
        } else if (input) {
            out << (object ? QString::fromLatin1(object->metaObject()->className()) : QStringLiteral("?")) +
                       QStringLiteral(" '") + name + QLatin1Char('\'');
        }
        if (role != QAccessible::ComboBox) {
            collectUnnamed(child, out, names);
        }
    }
}

// The widgets Tab visits, from the first control of the content round to it again.
QList<QWidget*> tabCycle(shell::ModeScreen& screen) {
    QList<QWidget*> cycle;
    QWidget* first = screen.scrollArea()->widget();
    while (first &&
           !(first->focusPolicy() & Qt::TabFocus && first->isVisibleTo(&screen) && first->isEnabled())) {
        first = first->nextInFocusChain();
    }
    if (!first) {
        return cycle;
    }
    first->setFocus(Qt::TabFocusReason);
    QWidget* at = QApplication::focusWidget();
    while (at && cycle.size() < 400 && !cycle.contains(at)) {
        cycle << at;
        QTest::keyClick(at, Qt::Key_Tab);
        at = QApplication::focusWidget();
    }
    return cycle;
}

void expectKeyboardAndNames(shell::ModeScreen& screen) {
    screen.show();
    screen.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));

    QStringList unnamed;
    QStringList names;
    collectUnnamed(QAccessible::queryAccessibleInterface(&screen), unnamed, names);
    EXPECT_EQ(unnamed.join(QStringLiteral(", ")).toStdString(), "");

    // The content first, then the bottom bar from left to right: memo, model, the mode's
    // buttons, the way back; nothing the technician cannot see.
    const QList<QWidget*> cycle = tabCycle(screen);
    ASSERT_GT(cycle.size(), 3);
    QWidget* content = screen.scrollArea()->widget();
    QList<QWidget*> bar;
    for (QWidget* w : cycle) {
        EXPECT_TRUE(w->isVisible()) << w->metaObject()->className();
        if (!content->isAncestorOf(w)) {
            bar << w;
        } else {
            EXPECT_TRUE(bar.isEmpty()) << "content after the bottom bar: " << w->metaObject()->className();
        }
    }
    ASSERT_GE(bar.size(), 2);
    EXPECT_EQ(bar[0], static_cast<QWidget*>(screen.memoBox()));
    EXPECT_EQ(bar.contains(screen.modelBox()), screen.modelBox()->isEnabled());
    if (screen.modelBox()->isEnabled()) {
        EXPECT_EQ(bar[1], static_cast<QWidget*>(screen.modelBox()));
    }
    EXPECT_EQ(bar.last(), static_cast<QWidget*>(screen.backButton()));
    for (qsizetype b = 1; b < bar.size(); ++b) {
        EXPECT_LT(bar[b - 1]->mapTo(&screen, QPoint()).x(), bar[b]->mapTo(&screen, QPoint()).x())
            << b << " " << bar[b]->metaObject()->className();
    }
}

TEST(ModeWindows, TabFollowsTheWindowAndEveryInputControlHasAName) {
    for (const std::uint8_t model : {2, 3, 4}) {
        const std::array<ModeEntry, 5> modes = availableModes();
        for (std::size_t i = 0; i < modes.size(); ++i) {
            SCOPED_TRACE(QStringLiteral("model %1, %2").arg(model).arg(modes[i].buttonText).toStdString());
            test::ModeScreenHarness h(model);
            ASSERT_TRUE(h.readAsTheMenuDoes(modes[i].operationId, modes[i].readScript));
            h.screen = modes[i].open(h.context, nullptr);
            expectKeyboardAndNames(*h.screen);
        }
    }
    for (const auto& [name, open] : flowWindows()) {
        SCOPED_TRACE(name);
        test::ModeScreenHarness h(3);
        h.screen = open(h.context);
        expectKeyboardAndNames(*h.screen);
    }
}

} // namespace
} // namespace tolvan::app

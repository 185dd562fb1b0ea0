// Every mode window of every model fits a field laptop's display: its natural size at 100 %, and on
// the available areas of 1366x768 and of 1920x1080 at 125 % every live control either shows or is
// reached by scrolling down, never beyond the window's width.
#include "app/modes.h"
#include "tests/support/modescreenharness.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
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

TEST(ModeWindows, EveryModeOfEveryModelFitsTheDisplay) {
    for (const std::uint8_t model : {2, 3, 4}) {
        const std::array<ModeEntry, 5> modes = availableModes();
        for (std::size_t i = 0; i < modes.size(); ++i) {
            SCOPED_TRACE(QStringLiteral("model %1, %2").arg(model).arg(modes[i].buttonText).toStdString());
            test::ModeScreenHarness h(model);
            ASSERT_TRUE(h.readAsTheMenuDoes(modes[i].operationId, modes[i].readScript));
            h.screen = modes[i].open(h.context, nullptr);
            shell::ModeScreen& screen = *h.screen;
            const QSize natural = screen.sizeHint();
            EXPECT_LE(natural.width(), 1366);
            EXPECT_LE(natural.height(), i == kPsEntMode ? 1000 : 740);
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
    }
}

} // namespace
} // namespace tolvan::app

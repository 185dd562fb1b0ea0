#include "app/cpagemain.h"
#include "app/csheetmain.h"

#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace tolvan::app {
namespace {

TEST(CSheetMain, FivePagesInOrder) {
    CSheetMain sheet;
    const QStringList titles{QStringLiteral("データ設定モード"), QStringLiteral("テストモード"),
                             QStringLiteral("ログ表示モード"), QStringLiteral("子機設定登録モード"),
                             QStringLiteral("データ保存モード")};
    ASSERT_EQ(sheet.pages()->count(), titles.size());
    for (int i = 0; i < titles.size(); ++i) {
        EXPECT_EQ(sheet.pages()->tabText(i), titles[i]);
        const auto* page = qobject_cast<CPageMain*>(sheet.pages()->widget(i));
        ASSERT_NE(page, nullptr);
        EXPECT_FALSE(page->text().isEmpty());
    }
    // Each bullet is a line of its own.
    const auto* psEnt = qobject_cast<CPageMain*>(sheet.pages()->widget(3));
    const QStringList lines = psEnt->text().split(QLatin1Char('\n'));
    EXPECT_EQ(lines.size(), 36);
    EXPECT_EQ(lines.at(34), QStringLiteral("KQ5000ｼﾘｰｽﾞにZX-VA100子機を登録する際に使用する。"));
}

TEST(CSheetMain, SurvivesEnterAndEscapeAndClosesOnItsButton) {
    CSheetMain sheet;
    sheet.open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    const QList<QWidget*> targets{static_cast<QWidget*>(&sheet), sheet.backButton(), sheet.pages()->tabBar()};
    for (QWidget* target : targets) {
        target->setFocus();
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(target, key);
            EXPECT_TRUE(sheet.isVisible()) << target->metaObject()->className() << " key " << key;
        }
    }
    QTest::mouseClick(sheet.backButton(), Qt::LeftButton);
    EXPECT_FALSE(sheet.isVisible());
}

} // namespace
} // namespace tolvan::app

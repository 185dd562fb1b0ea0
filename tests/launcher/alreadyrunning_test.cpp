#include "alreadyrunning.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(AlreadyRunning, StopMessageWithTheLaunchersNameAsTitle) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    QTimer inspect;
    int attempts = 0;
    QObject::connect(&inspect, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr) {
            icon = box->icon();
            title = box->windowTitle();
            text = box->text();
            box->accept();
        } else if (++attempts > 500) {
            // Never hang the suite: close whatever is open.
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* other = qobject_cast<QMessageBox*>(widget)) {
                    other->accept();
                }
            }
        }
    });
    inspect.start(10);
    showAlreadyRunning();

    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(title, QStringLiteral("ZX-VAｼﾘｰｽﾞ子機設定ｿﾌﾄｳｪｱ LAUNCHER"));
    EXPECT_EQ(text, QStringLiteral("ZX-VAｼﾘｰｽﾞ子機設定ｿﾌﾄｳｪｱ LAUNCHER\n"
                                   "同一アプリケーションの多重起動はできません。\n"
                                   "同時に2つ以上のアプリケーションは起動できません。\n"
                                   "\n"
                                   "終了します。"));
}

} // namespace

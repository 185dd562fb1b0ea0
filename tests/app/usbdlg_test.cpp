#include "app/usbdlg.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace tolvan::app {
namespace {

TEST(USBDlg, OnlyTheReconnectionClosesIt) {
    USBDlg dialog;
    dialog.open();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("USB"));
    EXPECT_TRUE(dialog.findChildren<QPushButton*>().isEmpty());
    dialog.handsetBack();
    EXPECT_FALSE(dialog.isVisible());
    // Told again while closed: nothing happens.
    dialog.handsetBack();
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
} // namespace tolvan::app

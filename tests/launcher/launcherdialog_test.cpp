#include "launcherdialog.h"
#include "testfolders.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kOlderToolButton = QStringLiteral("1．ZX-VA020／ZX-QB20　子機登録／子機設定");
const QString kMainToolButton = QStringLiteral("2．ZX-VA100／150　子機登録／子機設定");

QPushButton* buttonNamed(const QWidget& window, const QString& text) {
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        if (button->text() == text) {
            return button;
        }
    }
    return nullptr;
}

bool messageBoxShown() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QMessageBox*>(widget) != nullptr && widget->isVisible()) {
            return true;
        }
    }
    return false;
}

class LauncherDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_root.isValid()); }

    // A space in the folder catches a command line split at blanks.
    QString programFolder() const { return m_root.filePath(QStringLiteral("tools dir")) + QLatin1Char('/'); }
    QString marker() const { return m_root.filePath(QStringLiteral("started")); }

    QTemporaryDir m_root;
};

struct ToolCase {
    const char* name;
    const char* button;
    const char* relativePath;
};

void PrintTo(const ToolCase& toolCase, std::ostream* out) {
    *out << toolCase.relativePath;
}

class LauncherToolTest : public LauncherDialogTest, public ::testing::WithParamInterface<ToolCase> {};

TEST_P(LauncherToolTest, HidesWhileTheToolRunsAndComesBackWhenItEnds) {
    ASSERT_TRUE(placeFakeTool(programFolder(), QString::fromUtf8(GetParam().relativePath)));
    const ScopedEnv markerEnv("LAUNCHER_FAKE_TOOL_MARKER", QFile::encodeName(marker()));
    LauncherDialog dialog(programFolder());
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    QPushButton* button = buttonNamed(dialog, QString::fromUtf8(GetParam().button));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(dialog.isHidden());

    // The click returned while the tool runs: the wait does not block the event loop.
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker()); }, 10000));
    QFile started(marker());
    ASSERT_TRUE(started.open(QIODevice::ReadOnly));
    const QStringList how = QString::fromUtf8(started.readAll()).split(QLatin1Char('\n'));
    ASSERT_GE(how.size(), 2);
    EXPECT_EQ(how[0], programFolder() + QString::fromUtf8(GetParam().relativePath));
    EXPECT_EQ(how[1], QDir::currentPath());
    QTest::qWait(50);
    EXPECT_TRUE(dialog.isHidden());

    QFile release(marker() + QStringLiteral(".release"));
    ASSERT_TRUE(release.open(QIODevice::WriteOnly));
    release.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.isVisible(); }, 10000));
    EXPECT_EQ(finished.count(), 0);
}

INSTANTIATE_TEST_SUITE_P(BothTools, LauncherToolTest,
                         ::testing::Values(ToolCase{"OlderTool", "1．ZX-VA020／ZX-QB20　子機登録／子機設定",
                                                    "ZX-VA020/Tolvan.EXE"},
                                           ToolCase{"MainTool", "2．ZX-VA100／150　子機登録／子機設定",
                                                    "ZX-VA1XX/TOLVAN.EXE"}),
                         [](const ::testing::TestParamInfo<ToolCase>& info) { return info.param.name; });

TEST_F(LauncherDialogTest, MissingToolBringsTheLauncherBackWithoutAMessage) {
    LauncherDialog dialog(programFolder());
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    for (const QString& text : {kOlderToolButton, kMainToolButton}) {
        QPushButton* button = buttonNamed(dialog, text);
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.isVisible(); }, 10000));
        QTest::qWait(50);
        EXPECT_FALSE(messageBoxShown());
        EXPECT_TRUE(dialog.isVisible());
    }
    EXPECT_EQ(finished.count(), 0);
}

TEST_F(LauncherDialogTest, EnterClosesTheLauncher) {
    LauncherDialog dialog(programFolder());
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    // Enter goes to whatever has the focus; it must end up at the default button.
    QWidget* focus = dialog.focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, Qt::Key_Return);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_TRUE(dialog.isHidden());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST_F(LauncherDialogTest, EscAndTheQuitButtonCloseTheLauncher) {
    {
        LauncherDialog dialog(programFolder());
        QSignalSpy finished(&dialog, &QDialog::finished);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_EQ(finished.count(), 1);
    }
    {
        LauncherDialog dialog(programFolder());
        QSignalSpy finished(&dialog, &QDialog::finished);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QPushButton* quit = buttonNamed(dialog, QStringLiteral("終了"));
        ASSERT_NE(quit, nullptr);
        EXPECT_TRUE(quit->isDefault());
        QTest::mouseClick(quit, Qt::LeftButton);
        EXPECT_EQ(finished.count(), 1);
    }
}

TEST_F(LauncherDialogTest, ShowsTitleNoteAndIcon) {
    const LauncherDialog dialog(programFolder());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ZX-VAシリーズ子機設定ソフトウェア"));
    EXPECT_FALSE(dialog.windowIcon().isNull());
    EXPECT_FALSE(dialog.windowIcon().pixmap(16, 16).isNull());
    EXPECT_NE(buttonNamed(dialog, kOlderToolButton), nullptr);
    EXPECT_NE(buttonNamed(dialog, kMainToolButton), nullptr);
    const QString note = QStringLiteral("※ ZX-VA020/ZX-QB20の場合は、シリアル変換器を接続して\n"
                                        "　「ZX-VA020/ZX-QB20 子機登録/子機設定」を押してください。\n"
                                        "※ ZX-VA100/150の場合は、USBを接続して\n"
                                        "　「ZX-VA100/150 子機登録/子機設定」を押してください。\n");
    bool found = false;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        found = found || label->text() == note;
    }
    EXPECT_TRUE(found);
}

} // namespace

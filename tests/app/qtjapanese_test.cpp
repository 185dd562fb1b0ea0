// Qt's own texts are Japanese in Tolvan, and the help menu's mnemonics do not clash.
#include "app/ctolvandlg.h"
#include "common/logfolders.h"
#include "common/qtjapanese.h"
#include "link/linksession.h"
#include "modes/modeoperations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tolvan::app {
namespace {

TEST(QtJapanese, StandardButtonsSpeakJapanese) {
    ASSERT_TRUE(installQtJapanese(*QCoreApplication::instance()));
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
}

TEST(MainMenuHelp, EveryMnemonicOfTheHelpMenuIsItsOwn) {
    QTemporaryDir root;
    LogFolders folders(root.path());
    link::LinkSession session{tolvan::modeOperations()};
    CTolvanDlg menu(session, folders, true);
    QMenu* help = nullptr;
    for (QAction* action : menu.findChild<QMenuBar*>()->actions()) {
        if (action->text() == QStringLiteral("ヘルプ（&H）")) {
            help = action->menu();
        }
    }
    ASSERT_NE(help, nullptr);
    QStringList mnemonics;
    for (QAction* action : help->actions()) {
        const QString text = action->text();
        const qsizetype at = text.indexOf(QLatin1Char('&'));
        if (at >= 0 && at + 1 < text.size()) {
            mnemonics << text.mid(at + 1, 1).toUpper();
        }
    }
    EXPECT_EQ(mnemonics.count(QStringLiteral("A")), 1) << mnemonics.join(QLatin1Char(' ')).toStdString();
    EXPECT_EQ(mnemonics.removeDuplicates(), 0);
}

} // namespace
} // namespace tolvan::app

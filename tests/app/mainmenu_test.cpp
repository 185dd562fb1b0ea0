// The main menu driven as a technician would, against the in-process virtual handset.
#include "app/ctolvandlg.h"
#include "app/usbdlg.h"
#include "flows/history/screen/historydialog.h"
#include "modes/modeoperations.h"
#include "shell/initcom.h"
#include "shell/pserrdialog.h"
#include "sim/handsetdevice.h"
#include "tests/support/fakedialogservice.h"
#include "tests/support/virtualhandsetport.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace tolvan::app {
namespace {

// The smallest mode window: records what it saw when it opened and goes back at once.
class ProbeScreen : public shell::ModeScreen {
public:
    ProbeScreen(shell::ModeContext& context, QWidget* parent)
        : shell::ModeScreen(context, dataset::op::kNoticeOwner, QStringLiteral("probe"), parent) {}
};

// A mode window that reads again as soon as it opens, the way the real screens do.
class RereadScreen : public shell::ModeScreen {
public:
    RereadScreen(shell::ModeContext& context, QWidget* parent)
        : shell::ModeScreen(context, dataset::op::kNoticeOwner, QStringLiteral("reread"), parent) {}
    bool reread() { return link().runScript(0xA000, 0); }
};

struct Seen {
    int opened = 0;
    std::uint32_t dialogueState = 99;
    std::uint32_t modelCode = 0;
    QString memo;
    bool progressShown = false;
    bool noDataShown = false;
    bool usbShown = false;
};

class MainMenu : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        folders = std::make_unique<LogFolders>(root.path());
        port.install(session);
        menu = std::make_unique<CTolvanDlg>(session, *folders, true);
        menu->setButtonDelayMs(0);
        auto modes = CTolvanDlg::defaultModes();
        for (auto& m : modes) {
            m.open = [](shell::ModeContext& c, QWidget* p) { return std::make_unique<ProbeScreen>(c, p); };
        }
        menu->setModes(modes);
        QObject::connect(menu.get(), &CTolvanDlg::modeOpened, [this](shell::ModeScreen* screen) {
            ++seen.opened;
            seen.dialogueState = session.state().dialogueState;
            seen.modelCode = session.state().modelCode;
            seen.memo = menu->texts().memo();
            QTimer::singleShot(0, screen, [screen] { screen->backToMenu(); });
        });
        // Watches the modal dialogs that come and go, and answers the no-data dialog.
        watcher.setInterval(5);
        QObject::connect(&watcher, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (qobject_cast<shell::InitCom*>(modal)) {
                seen.progressShown = true;
                if (pullDuringRead) {
                    pullDuringRead = false;
                    attached = false;
                    session.deviceTreeChanged();
                }
            } else if (auto* noData = qobject_cast<shell::PsErrDialog*>(modal)) {
                seen.noDataShown = true;
                noData->accept();
            } else if (auto* usb = qobject_cast<app::USBDlg*>(modal)) {
                seen.usbShown = true;
                usb->hide();
            }
        });
        watcher.start();
        menu->show();
    }

    QTemporaryDir root;
    std::unique_ptr<LogFolders> folders;
    link::LinkSession session{tolvan::modeOperations()};
    std::unique_ptr<CTolvanDlg> menu;
    shell::FakeDialogService dialogs;
    shell::ScopedDialogService installed{dialogs};
    QTimer watcher;
    Seen seen;
    test::VirtualHandsetPort port;
    bool& attached = port.attached;
    bool pullDuringRead = false;
    std::uint8_t& model = port.model;
    std::vector<sim::FaultRule>& faults = port.faults;
};

TEST_F(MainMenu, WithoutAHandsetEachButtonSaysSoAndKeepsTheMemo) {
    attached = false;
    menu->memoBox()->setText(QStringLiteral("客先A"));
    for (int i = 0; i < 5; ++i) {
        menu->modeButton(i)->click();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return dialogs.messages.size() == i + 1 && menu->isVisible(); }, 5000));
        const auto& m = dialogs.messages.back();
        EXPECT_EQ(m.title, QStringLiteral("エラー"));
        EXPECT_EQ(m.icon, QMessageBox::Warning);
        EXPECT_EQ(m.text,
                  i == 0
                      ? QStringLiteral("子機と通信が出来ませんでした。\n接続と電源がONか確認して下さい。")
                      : QStringLiteral("子機と通信ができませんでした。\n接続と電源がONか確認して下さい。"));
        EXPECT_EQ(menu->memoBox()->text(), QStringLiteral("客先A"));
    }
    EXPECT_EQ(seen.opened, 0);
}

TEST_F(MainMenu, ReadRunsUnderTheProgressDialogThenTheModeOpens) {
    model = 4;
    menu->memoBox()->setText(QStringLiteral("memo 1"));
    menu->modeButton(0)->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.opened == 1 && menu->isVisible(); }, 20000));
    EXPECT_TRUE(seen.progressShown);
    EXPECT_FALSE(seen.noDataShown);
    EXPECT_EQ(seen.dialogueState, link::kKeepAlive);
    EXPECT_EQ(seen.modelCode, 4u);
    EXPECT_EQ(seen.memo, QStringLiteral("memo 1"));
    EXPECT_EQ(menu->memoBox()->text(), QStringLiteral("memo 1"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    // Leaving the mode closed the dialogue and, once acknowledged, the port.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !session.state().portOpen; }, 5000));
}

TEST_F(MainMenu, FailedReadShowsTheNoDataDialogAndStillOpensTheMode) {
    const auto silent = sim::parseFaultRule("silence@1B01,count=0");
    ASSERT_TRUE(silent);
    faults.push_back(*silent);
    menu->modeButton(2)->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.opened == 1 && menu->isVisible(); }, 30000));
    EXPECT_TRUE(seen.noDataShown);
    EXPECT_EQ(seen.dialogueState, link::kIdle);
    // The link's own message came first.
    ASSERT_FALSE(dialogs.messages.isEmpty());
    EXPECT_EQ(dialogs.messages.front().text,
              QStringLiteral("USBでエラーが発生したため再度読み込みを行ってください"));
}

TEST_F(MainMenu, PullingTheHandsetClosesTheProgressDialog) {
    pullDuringRead = true;
    menu->modeButton(0)->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.opened == 1 && menu->isVisible(); }, 20000));
    EXPECT_TRUE(seen.progressShown);
    EXPECT_TRUE(seen.usbShown);
    EXPECT_FALSE(session.state().portOpen);
}

TEST_F(MainMenu, FolderTypedBeforeAModeIsCreatedForTheAttachedModel) {
    model = 2;
    menu->folderBox()->setEditText(QStringLiteral("客先B"));
    menu->modeButton(0)->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.opened == 1 && menu->isVisible(); }, 20000));
    EXPECT_TRUE(QDir(root.filePath(QStringLiteral("ZXVA100設定ログフォルダ/客先B"))).exists());
    EXPECT_GE(menu->folderBox()->findText(QStringLiteral("客先B")), 0);
    EXPECT_EQ(menu->folderBox()->currentText(), QStringLiteral("客先B"));
    // The three model folders were made at start.
    for (const char* name :
         {"ZXVA100設定ログフォルダ", "ZXVA150設定ログフォルダ", "ZXVA150(C)設定ログフォルダ"}) {
        EXPECT_TRUE(QDir(root.filePath(QString::fromUtf8(name))).exists()) << name;
    }
}

TEST_F(MainMenu, AFolderNameThatCannotBeOneIsRefusedAloudAndStaysInTheBox) {
    model = 2;
    EXPECT_EQ(QAccessible::queryAccessibleInterface(menu->memoBox())->text(QAccessible::Name),
              QStringLiteral("メモ（保存ログ、印刷時に使用します）"));
    EXPECT_FALSE(menu->folderBox()->accessibleName().isEmpty());
    for (const QString& typed : {QStringLiteral("客先/B"), QStringLiteral("A*B"), QStringLiteral("x\ty")}) {
        SCOPED_TRACE(typed.toStdString());
        dialogs.messages.clear();
        const int before = seen.opened;
        menu->folderBox()->setEditText(typed);
        menu->modeButton(0)->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return seen.opened == before + 1 && menu->isVisible(); }, 20000));
        ASSERT_EQ(dialogs.messages.size(), 1);
        EXPECT_TRUE(dialogs.messages[0].text.contains(typed)) << dialogs.messages[0].text.toStdString();
        EXPECT_EQ(dialogs.messages[0].title, QStringLiteral("エラー"));
        EXPECT_EQ(menu->folderBox()->currentText(), typed);
        EXPECT_TRUE(menu->texts().logFolderName().isEmpty());
        EXPECT_EQ(QDir(root.filePath(QStringLiteral("ZXVA100設定ログフォルダ")))
                      .entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                  QStringList());
    }
}

TEST_F(MainMenu, ModeWindowStaysOpenAfterItHidItselfForARead) {
    auto modes = CTolvanDlg::defaultModes();
    modes[0].open = [](shell::ModeContext& c, QWidget* p) { return std::make_unique<RereadScreen>(c, p); };
    menu->setModes(modes);
    bool rereadOk = false;
    bool stillOpen = false;
    QObject::disconnect(menu.get(), &CTolvanDlg::modeOpened, nullptr, nullptr);
    QObject::connect(menu.get(), &CTolvanDlg::modeOpened, [&](shell::ModeScreen* screen) {
        ++seen.opened;
        QTimer::singleShot(0, screen, [&, screen] {
            rereadOk = static_cast<RereadScreen*>(screen)->reread();
            // Hidden and shown again around the progress dialog, the window is still the open mode.
            QTimer::singleShot(50, screen, [&, screen] {
                stillOpen = menu->openMode() == screen && screen->isVisible();
                screen->backToMenu();
            });
        });
    });
    menu->modeButton(0)->click();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return seen.opened == 1 && menu->isVisible() && !menu->openMode(); }, 30000));
    EXPECT_TRUE(rereadOk);
    EXPECT_TRUE(stillOpen);
}

TEST_F(MainMenu, TheFileMenuOpensTheHistoryWithoutReadingTheHandset) {
    QAction* item = nullptr;
    for (QAction* action : menu->findChildren<QAction*>()) {
        item = action->text() == QStringLiteral("子機の履歴(&V)...") ? action : item;
    }
    ASSERT_NE(item, nullptr);
    bool isHistory = false;
    QObject::connect(menu.get(), &CTolvanDlg::modeOpened, [&](shell::ModeScreen* screen) {
        isHistory = qobject_cast<history::HistoryDialog*>(screen) != nullptr;
    });
    menu->memoBox()->setText(QStringLiteral("点検"));
    item->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.opened == 1 && menu->isVisible(); }, 10000));
    EXPECT_TRUE(isHistory);
    EXPECT_EQ(seen.dialogueState, 0u);
    EXPECT_FALSE(seen.progressShown);
    EXPECT_EQ(seen.memo, QStringLiteral("点検"));
}

TEST_F(MainMenu, ModesWithoutAWindowKeepTheirButtonDisabled) {
    menu->setModes(CTolvanDlg::defaultModes());
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(menu->modeButton(i)->isEnabled()) << i;
    }
    EXPECT_EQ(menu->windowTitle(), QStringLiteral("メニュー（モード選択）"));
}

} // namespace
} // namespace tolvan::app

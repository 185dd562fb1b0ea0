// The main menu's data setting button, as registered in the mode table, on the virtual handset.
#include "app/ctolvandlg.h"
#include "app/modes.h"
#include "modes/dataset/screen/datasetform.h"
#include "modes/dataset/screen/datasetmodedialog.h"
#include "modes/dataset/screen/digitboxrow.h"
#include "modes/modeoperations.h"
#include "shell/initcom.h"
#include "sim/handsetdevice.h"
#include "tests/support/fakedialogservice.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace tolvan::app {
namespace {

TEST(DataSetMainMenu, ButtonReadsUnderTheProgressDialogThenOpensTheScreenWithTheValues) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    LogFolders folders(root.path());
    link::LinkSession session{tolvan::modeOperations()};
    session.setDeviceLister([] {
        return QList<link::DeviceInfo>{
            {QStringLiteral("ZX-VA150 USB Serial Ports Driver (virt0)"), QStringLiteral("virt0")}};
    });
    session.setPortOpener([](const QString&) {
        sim::HandsetConfig config;
        config.modelCode = 2;
        config.replyDelayUs = 2000;
        auto* device = new sim::HandsetDevice(config);
        device->handset().store().setBlock(0x1201, {0x01, 0x02, 0x03, 0x04});
        device->open(QIODevice::ReadWrite);
        link::SerialOpenResult result;
        result.port.reset(device);
        return result;
    });
    shell::FakeDialogService dialogs;
    const shell::ScopedDialogService installed(dialogs);

    CTolvanDlg menu(session, folders, true);
    menu.setButtonDelayMs(0);
    menu.setModes(availableModes());
    ASSERT_TRUE(menu.modeButton(0)->isEnabled());
    EXPECT_EQ(menu.modeButton(0)->text(), QStringLiteral("データ設定モード"));

    bool progressShown = false;
    QTimer watcher;
    watcher.setInterval(5);
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        progressShown = progressShown || qobject_cast<shell::InitCom*>(QApplication::activeModalWidget());
    });
    watcher.start();

    dataset::DataSetModeDialog* opened = nullptr;
    std::uint32_t viewState = 0;
    std::array<QString, 9> psId;
    QString model;
    QObject::connect(&menu, &CTolvanDlg::modeOpened, [&](shell::ModeScreen* screen) {
        opened = qobject_cast<dataset::DataSetModeDialog*>(screen);
        if (opened) {
            viewState = opened->viewState();
            psId = opened->form()->psIdRow()->texts<9>();
            model = opened->modelBox()->text();
            EXPECT_TRUE(progressShown);
        }
        QTimer::singleShot(0, screen, [screen] { screen->backToMenu(); });
    });
    menu.show();
    menu.memoBox()->setText(QStringLiteral("メモ"));
    menu.modeButton(0)->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened != nullptr && menu.isVisible(); }, 20000));
    EXPECT_EQ(viewState, 0xA001u);
    // 0x01 0x02 0x03 0x04 in four seven-bit groups.
    EXPECT_EQ(psId, (std::array<QString, 9>{"0", "0", "2", "1", "3", "0", "3", "0", "8"}));
    EXPECT_EQ(model, QStringLiteral("ZX-VA100"));
    EXPECT_EQ(menu.memoBox()->text(), QStringLiteral("メモ"));
    EXPECT_TRUE(dialogs.messages.isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !session.state().portOpen; }, 5000));
}

} // namespace
} // namespace tolvan::app

// The data save and write-back screen against the in-process virtual handset: a saved set and the
// question before it replaces one, the write-back of a set with its backup and what it claims
// after, the messages of a wrong choice, a handset gone meanwhile, the close box.
#include "modes/datasave/model/datasaveoperations.h"
#include "modes/datasave/model/saveset.h"
#include "modes/datasave/screen/datasavemodedialog.h"
#include "sim/faultplan.h"
#include "tests/support/modescreenharness.h"
#include <QLabel>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

namespace tolvan::datasave {
namespace {

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool anyWrite(const std::vector<std::uint16_t>& requests) {
    return std::any_of(requests.begin(), requests.end(), [](std::uint16_t code) { return code < 0x1000; });
}

class DataSaveScreen : public ::testing::Test {
protected:
    DataSaveModeDialog& openRead() {
        EXPECT_TRUE(h.readAsTheMenuDoes(op::kEntry, op::kReadAllScript));
        DataSaveModeDialog& screen = h.open<DataSaveModeDialog>();
        EXPECT_TRUE(h.waitForKeepAlive());
        return screen;
    }
    QString path(const QString& name) const { return h.root.filePath(name); }

    test::ModeScreenHarness h{3};
};

TEST_F(DataSaveScreen, SaveWritesTheThreeFilesSideBySideAndShowsWhatWasRead) {
    DataSaveModeDialog& screen = openRead();
    EXPECT_EQ(screen.view(), op::kConnected);
    EXPECT_TRUE(screen.saveButton()->isEnabled());
    screen.memoBox()->setText(QStringLiteral("交換前"));
    const auto expected = std::get<SaveSetFiles>(buildSaveSet(h.store, 3, QStringLiteral("交換前")));

    std::uint32_t viewWhileOpen = 0;
    h.dialogs.whileFileDialogOpen = [&] { viewWhileOpen = screen.view(); };
    h.dialogs.saveAnswers.push_back(path(QStringLiteral("set.jv4")));
    screen.saveSet();
    EXPECT_EQ(viewWhileOpen, op::kDialogOpen);
    EXPECT_FALSE(screen.backButton()->isEnabled()); // until the 2.5 s have passed
    EXPECT_TRUE(h.dialogs.saveRequests.back().defaultSuffix.isEmpty());

    EXPECT_EQ(fileBytes(path(QStringLiteral("set.jv1"))), expected.jv1);
    EXPECT_EQ(fileBytes(path(QStringLiteral("set.jv3"))), expected.jv3);
    EXPECT_EQ(fileBytes(path(QStringLiteral("set.jv4"))), expected.jv4);
    EXPECT_EQ(screen.fileNameBox()->text(), path(QStringLiteral("set.jv4")));
    EXPECT_EQ(screen.psIdBox()->text().size(), 9);
    EXPECT_EQ(screen.csIdBox()->text().size(), 9);
    EXPECT_EQ(screen.psNumberBox()->text().size(), 3);
    EXPECT_EQ(screen.modelBox()->text(), QStringLiteral("ZX-VA150"));
    EXPECT_EQ(h.texts.memo(), QStringLiteral("交換前"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return screen.view() == op::kDialogSettled; }, 4000));
    EXPECT_TRUE(screen.backButton()->isEnabled());
}

TEST_F(DataSaveScreen, AHandsetGoneWhileTheDialogIsOpenWritesAndSendsNothing) {
    DataSaveModeDialog& screen = openRead();
    h.dialogs.whileFileDialogOpen = [&] {
        h.attached = false;
        h.session.deviceTreeChanged();
    };
    h.dialogs.saveAnswers.push_back(path(QStringLiteral("gone")));
    h.requests.clear();
    screen.saveSet();
    ASSERT_FALSE(h.dialogs.messages.isEmpty());
    EXPECT_EQ(h.dialogs.messages.back().text,
              QStringLiteral("コネクタが切断または\n子機の電源が入ってません"));
    EXPECT_EQ(h.dialogs.messages.back().title, QStringLiteral("エラー"));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("gone.jv1"))));
    EXPECT_EQ(screen.view(), op::kUnplugged);
    EXPECT_FALSE(screen.saveButton()->isEnabled());
    EXPECT_TRUE(screen.fileNameBox()->text().isEmpty());
    EXPECT_FALSE(anyWrite(h.requests));
}

TEST_F(DataSaveScreen, WriteBackBacksUpLoadsTheSetAndSendsItsBlocks) {
    QTemporaryDir backups;
    const QByteArray saved = qgetenv("TOLVAN_BACKUP_DIR");
    qputenv("TOLVAN_BACKUP_DIR", backups.path().toLocal8Bit());
    DataSaveModeDialog& screen = openRead();
    h.dialogs.saveAnswers.push_back(path(QStringLiteral("clone")));
    screen.saveSet();
    ASSERT_TRUE(h.waitForKeepAlive());

    // A missing file asks again; the .jv3 name stands for its set.
    h.requests.clear();
    h.dialogs.openAnswers.push_back(path(QStringLiteral("nothing.jv1")));
    h.dialogs.openAnswers.push_back(path(QStringLiteral("clone.jv3")));
    screen.writeBack();
    EXPECT_EQ(h.dialogs.openRequests.size(), 2);
    EXPECT_EQ(h.dialogs.messages.size(), 1);
    const std::vector<std::uint16_t> sent(h.requests.begin(), h.requests.end());
    for (const std::uint16_t code :
         {0x0102, 0x0104, 0x0109, 0x010A, 0x0201, 0x0301, 0x0401, 0x0406, 0x0C01}) {
        EXPECT_NE(std::find(sent.begin(), sent.end(), code), sent.end()) << std::hex << code;
    }
    // The hearing record is not the ZX-VA150's.
    EXPECT_EQ(std::find(sent.begin(), sent.end(), 0x0407), sent.end());
    EXPECT_EQ(screen.fileNameBox()->text(), path(QStringLiteral("clone.jv3")));
    const QStringList sets =
        QDir(backups.filePath(QStringLiteral("ZX-VA150"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(sets.size(), 1);
    EXPECT_EQ(
        QDir(backups.filePath(QStringLiteral("ZX-VA150/") + sets.first())).entryList(QDir::Files).size(), 3);

    // A backup that cannot be written stops the write-back before anything is sent.
    const QString blocked = backups.filePath(QStringLiteral("blocked"));
    ASSERT_TRUE(QFile(blocked).open(QIODevice::WriteOnly));
    qputenv("TOLVAN_BACKUP_DIR", blocked.toLocal8Bit());
    ASSERT_TRUE(h.waitForKeepAlive());
    h.requests.clear();
    h.dialogs.openAnswers.push_back(path(QStringLiteral("clone.jv1")));
    screen.writeBack();
    EXPECT_FALSE(anyWrite(h.requests));
    EXPECT_TRUE(h.dialogs.messages.back().text.startsWith(
        QStringLiteral("書き込み前のバックアップを保存できませんでした。")));
    qputenv("TOLVAN_BACKUP_DIR", saved);
}

TEST_F(DataSaveScreen, AfterAWriteBackTheScreenSaysWhetherTheHandsetHoldsTheSet) {
    DataSaveModeDialog& screen = openRead();
    h.dialogs.saveAnswers.push_back(path(QStringLiteral("clone")));
    screen.saveSet();
    ASSERT_TRUE(h.waitForKeepAlive());
    h.dialogs.openAnswers.push_back(path(QStringLiteral("clone.jv1")));
    screen.writeBack();
    EXPECT_EQ(screen.checkLabel()->text(), QStringLiteral("子機はファイルの内容を保持しています。"));

    // Another PS-ID in the handset, and a handset that does not take the one written back.
    ASSERT_TRUE(h.waitForKeepAlive());
    ASSERT_TRUE(h.handset().store().setBlock(0x1201, {0x01, 0x02, 0x03, 0x04}));
    h.handset().faults().add(*sim::parseFaultRule("ignore-write@0201"));
    h.dialogs.openAnswers.push_back(path(QStringLiteral("clone.jv4")));
    screen.writeBack();
    EXPECT_TRUE(screen.checkLabel()->text().startsWith(QStringLiteral("子機の内容がファイルと異なります: ")))
        << screen.checkLabel()->text().toStdString();
    EXPECT_TRUE(screen.checkLabel()->text().contains(QStringLiteral("PS-ID")));
}

TEST_F(DataSaveScreen, AfterAWriteBackTheScreenNamesTheFileOfTheSetItDidNotWrite) {
    QTemporaryDir backups;
    const QByteArray saved = qgetenv("TOLVAN_BACKUP_DIR");
    qputenv("TOLVAN_BACKUP_DIR", backups.path().toLocal8Bit());
    DataSaveModeDialog& screen = openRead();
    h.dialogs.saveAnswers.push_back(path(QStringLiteral("clone")));
    screen.saveSet();
    ASSERT_TRUE(h.waitForKeepAlive());

    // No .jv4: only the system parameters came from the set.
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("clone.jv4"))));
    h.dialogs.openAnswers.push_back(path(QStringLiteral("clone.jv1")));
    screen.writeBack();
    QString said = screen.checkLabel()->text();
    EXPECT_FALSE(said.contains(QStringLiteral("子機はファイルの内容を保持しています。")))
        << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("子機は clone.jv1 の内容を保持しています。")))
        << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("clone.jv4 は"))) << said.toStdString();

    // A .jv1 of another model is refused with its message; only the .jv4 was written.
    ASSERT_TRUE(h.waitForKeepAlive());
    const QByteArray otherModel = std::get<SaveSetFiles>(buildSaveSet(h.store, 2, {})).jv1;
    const QByteArray settings = std::get<SaveSetFiles>(buildSaveSet(h.store, 3, {})).jv4;
    for (const auto& [name, bytes] : {std::pair{"clone.jv1", otherModel}, std::pair{"clone.jv4", settings}}) {
        QFile file(path(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    const qsizetype before = h.dialogs.messages.size();
    h.dialogs.openAnswers.push_back(path(QStringLiteral("clone.jv4")));
    screen.writeBack();
    ASSERT_EQ(h.dialogs.messages.size(), before + 1); // the model message
    said = screen.checkLabel()->text();
    EXPECT_TRUE(said.contains(QStringLiteral("子機は clone.jv4 の内容を保持しています。")))
        << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("clone.jv1 は"))) << said.toStdString();

    // A line of the .jv4 that does not read went back as the handset had it: named, never held.
    ASSERT_TRUE(h.waitForKeepAlive());
    QString text = QStringDecoder("CP932").decode(settings);
    text.replace(QStringLiteral("\"PS番号\","), QStringLiteral("\"PS-No\","));
    QFile broken(path(QStringLiteral("clone.jv4")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write(QStringEncoder("CP932").encode(text));
    broken.close();
    h.dialogs.openAnswers.push_back(path(QStringLiteral("clone.jv4")));
    screen.writeBack();
    said = screen.checkLabel()->text();
    EXPECT_FALSE(said.contains(QStringLiteral("保持しています"))) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("ファイルから読み出せなかったため書き込んでいない行: PS番号")))
        << said.toStdString();
    qputenv("TOLVAN_BACKUP_DIR", saved);
}

TEST_F(DataSaveScreen, SavingOverASetAsksOnceNamingItsFilesAndNoWritesNothing) {
    DataSaveModeDialog& screen = openRead();
    // A first save asks nothing; the dialog's own question is left to the set's.
    h.dialogs.saveAnswers.push_back(path(QStringLiteral("set")));
    screen.saveSet();
    EXPECT_TRUE(h.dialogs.messages.isEmpty());
    EXPECT_FALSE(h.dialogs.saveRequests.back().confirmOverwrite);
    ASSERT_TRUE(h.waitForKeepAlive());

    // An older set of that name: its .jv3 is gone, the others hold something else.
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("set.jv3"))));
    for (const char* name : {"set.jv1", "set.jv4"}) {
        QFile file(path(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("older\r\n");
    }
    h.dialogs.saveAnswers.push_back(path(QStringLiteral("set.jv3")));
    h.dialogs.messageAnswers.push_back(QMessageBox::No);
    screen.saveSet();
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    const shell::MessageRequest question = h.dialogs.messages.front();
    EXPECT_EQ(question.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(question.defaultButton, QMessageBox::No);
    EXPECT_TRUE(question.text.contains(QStringLiteral("set.jv1\nset.jv4"))) << question.text.toStdString();
    EXPECT_FALSE(question.text.contains(QStringLiteral("set.jv3")));
    EXPECT_EQ(fileBytes(path(QStringLiteral("set.jv1"))), QByteArray("older\r\n"));
    EXPECT_EQ(fileBytes(path(QStringLiteral("set.jv4"))), QByteArray("older\r\n"));
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("set.jv3"))));

    // Yes replaces the whole set.
    ASSERT_TRUE(h.waitForKeepAlive());
    const auto expected = std::get<SaveSetFiles>(buildSaveSet(h.store, 3, screen.memoBox()->text()));
    h.dialogs.saveAnswers.push_back(path(QStringLiteral("set.jv1")));
    h.dialogs.messageAnswers.push_back(QMessageBox::Yes);
    screen.saveSet();
    EXPECT_EQ(h.dialogs.messages.size(), 2);
    EXPECT_EQ(fileBytes(path(QStringLiteral("set.jv1"))), expected.jv1);
    EXPECT_EQ(fileBytes(path(QStringLiteral("set.jv3"))), expected.jv3);
    EXPECT_EQ(fileBytes(path(QStringLiteral("set.jv4"))), expected.jv4);
}

TEST_F(DataSaveScreen, TheCloseBoxIsRefusedWhileTheWayBackIsLocked) {
    DataSaveModeDialog& screen = openRead();
    screen.saveSet(); // cancelled: the buttons stay locked for 2.5 s
    ASSERT_EQ(screen.view(), op::kDialogOpen);
    screen.close();
    EXPECT_TRUE(screen.isVisible());
    EXPECT_NE(h.session.state().operationId, 0xFFFFu);
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen.backButton()->isEnabled(); }, 4000));
    screen.close();
    EXPECT_FALSE(screen.isVisible());
}

TEST_F(DataSaveScreen, AReplugReadsAgainAndAWriteBackWithoutItsJv4EmptiesTheMemo) {
    DataSaveModeDialog& screen = openRead();
    h.attached = false;
    h.session.deviceTreeChanged();
    EXPECT_EQ(screen.view(), op::kUnplugged);
    EXPECT_FALSE(screen.writeButton()->isEnabled());
    EXPECT_TRUE(screen.backButton()->isEnabled());
    h.requests.clear();
    h.attached = true;
    h.session.deviceTreeChanged();
    h.session.deviceTreeChanged();
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen.view() == op::kConnected; }, 10000));
    EXPECT_NE(std::find(h.requests.begin(), h.requests.end(), 0x1C01), h.requests.end());
    ASSERT_TRUE(h.waitForKeepAlive());

    screen.memoBox()->setText(QStringLiteral("残す"));
    h.dialogs.saveAnswers.push_back(path(QStringLiteral("set")));
    screen.saveSet();
    ASSERT_TRUE(h.waitForKeepAlive());
    h.dialogs.openAnswers.push_back(path(QStringLiteral("set.jv1")));
    screen.writeBack();
    EXPECT_EQ(screen.memoBox()->text(), QStringLiteral("残す"));
    ASSERT_TRUE(h.waitForKeepAlive());
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("set.jv4"))));
    h.dialogs.openAnswers.push_back(path(QStringLiteral("set.jv1")));
    screen.writeBack();
    EXPECT_TRUE(screen.memoBox()->text().isEmpty());
}

TEST_F(DataSaveScreen, ANameOfNoSetIsRefusedAndTheScreenStays) {
    DataSaveModeDialog& screen = openRead();
    const QString other = path(QStringLiteral("notes.txt"));
    ASSERT_TRUE(QFile(other).open(QIODevice::WriteOnly));
    h.dialogs.openAnswers.push_back(other);
    h.requests.clear();
    screen.writeBack();
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_EQ(h.dialogs.messages.back().text, QStringLiteral("jv読み出しフォーマットエラー"));
    EXPECT_FALSE(anyWrite(h.requests));
    EXPECT_TRUE(screen.isVisible());
}

TEST_F(DataSaveScreen, TheFolderTakenWhenADialogOpensIsCreatedAndListed) {
    DataSaveModeDialog& screen = openRead();
    screen.folderBox()->setEditText(QStringLiteral("現場A"));
    screen.saveSet(); // cancelled
    EXPECT_EQ(h.texts.logFolderName(), QStringLiteral("現場A"));
    EXPECT_TRUE(QDir(h.folders.logPath(3, QStringLiteral("現場A"))).exists());
    EXPECT_NE(screen.folderBox()->findText(QStringLiteral("現場A")), -1);
    EXPECT_EQ(h.dialogs.saveRequests.back().directory, h.folders.logPath(3, QStringLiteral("現場A")));

    // Unplugged: the box's text is kept as the folder name and emptied.
    h.attached = false;
    h.session.deviceTreeChanged();
    EXPECT_TRUE(screen.folderBox()->currentText().isEmpty());
    EXPECT_EQ(h.texts.logFolderName(), QStringLiteral("現場A"));
}

TEST_F(DataSaveScreen, AFolderNameThatCannotBeOneIsRefusedAloudAndStaysInTheBox) {
    DataSaveModeDialog& screen = openRead();
    screen.folderBox()->setEditText(QStringLiteral("現場:A"));
    screen.saveSet(); // cancelled
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_TRUE(h.dialogs.messages[0].text.contains(QStringLiteral("現場:A")));
    EXPECT_EQ(screen.folderBox()->currentText(), QStringLiteral("現場:A"));
    EXPECT_TRUE(h.texts.logFolderName().isEmpty());
    EXPECT_EQ(h.dialogs.saveRequests.back().directory, h.folders.logPath(3, QString()));
}

} // namespace
} // namespace tolvan::datasave

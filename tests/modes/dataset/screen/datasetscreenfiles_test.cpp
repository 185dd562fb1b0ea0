// Log file 1 from the data setting screen: save byte for byte, open with the reader's messages,
// print through the shared renderer, and the link paused before every dialog.
#include "modes/dataset/screen/datasetform.h"
#include "modes/dataset/screen/digitboxrow.h"
#include "tests/modes/dataset/printvalues.h"
#include "tests/modes/dataset/samplevalues.h"
#include "tests/modes/dataset/screen/screenharness.h"
#include "tests/support/iconvbytes.h"

#include "tests/support/filebytes.h"
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

namespace tolvan::dataset {
namespace {

using tolvan::test::contentsOf;
using tolvan::test::writeFile;

using testing::ScreenHarness;

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A screen with no link, for a handset of the model.
DataSetModeDialog& offlineScreen(ScreenHarness& h, std::uint32_t model) {
    h.session.engine().stateForTests().modelCode = model;
    return h.openScreen();
}

class SaveFromTheScreen : public ::testing::TestWithParam<int> {};

TEST_P(SaveFromTheScreen, WritesTheFileByteForByteUnderTheJv1Name) {
    const int model = GetParam();
    ScreenHarness h;
    h.texts.setLogFolderName(QStringLiteral("客先"));
    DataSetModeDialog& screen = offlineScreen(h, static_cast<std::uint32_t>(model));
    screen.loadScreen(testing::sampleScreen());
    h.dialogs.saveAnswers.push_back(h.root.filePath(QStringLiteral("set.jv3")));
    screen.saveFile();

    ASSERT_EQ(h.dialogs.saveRequests.size(), 1);
    const shell::FileRequest& request = h.dialogs.saveRequests[0];
    EXPECT_EQ(request.directory,
              h.folders.logPath(static_cast<std::uint32_t>(model), QStringLiteral("客先")));
    EXPECT_EQ(request.filter, QStringLiteral("ﾛｸﾞﾌｧｲﾙ1(*.jv1)"));
    EXPECT_EQ(request.defaultSuffix, QStringLiteral("jv1"));
    EXPECT_TRUE(h.dialogs.messages.isEmpty());
    EXPECT_FALSE(QFile::exists(h.root.filePath(QStringLiteral("set.jv3"))));
    EXPECT_EQ(fileBytes(h.root.filePath(QStringLiteral("set.jv1"))),
              testing::cp932Lines(testing::sampleScreenLines(model)));
}

INSTANTIATE_TEST_SUITE_P(Models, SaveFromTheScreen, ::testing::Values(2, 3, 4));

TEST(DataSetScreenFiles, SaveThatCannotBeWrittenSaysWhyAndLeavesNoFile) {
    ScreenHarness h;
    DataSetModeDialog& screen = offlineScreen(h, 3);
    screen.loadScreen(testing::sampleScreen());
    // Cancelled: nothing at all.
    screen.saveFile();
    EXPECT_TRUE(h.dialogs.messages.isEmpty());

    const QString missingFolder = h.root.filePath(QStringLiteral("no/such/set"));
    h.dialogs.saveAnswers.push_back(missingFolder);
    screen.saveFile();
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_EQ(h.dialogs.messages[0].title, QStringLiteral("エラー"));
    EXPECT_FALSE(h.dialogs.messages[0].text.isEmpty());
    EXPECT_FALSE(QFile::exists(missingFolder + QStringLiteral(".jv1")));

    // A memo code page 932 cannot carry is refused before anything is written.
    screen.memoBox()->setText(QStringLiteral("Müller"));
    h.dialogs.saveAnswers.push_back(h.root.filePath(QStringLiteral("memo")));
    screen.saveFile();
    ASSERT_EQ(h.dialogs.messages.size(), 2);
    EXPECT_TRUE(h.dialogs.messages[1].text.contains(QStringLiteral("ü")));
    EXPECT_FALSE(QFile::exists(h.root.filePath(QStringLiteral("memo.jv1"))));
}

TEST(DataSetScreenFiles, OpenPutsTheFileOnTheScreenAndShowsTheReadersMessages) {
    ScreenHarness h;
    DataSetModeDialog& screen = offlineScreen(h, 4);
    screen.loadScreen(testing::sampleScreen());
    screen.form()->psIdRow()->setTexts(std::array<QString, 9>{"9", "8", "7", "6", "5", "4", "3", "2", "1"});
    const DataSetScreenValues before = screen.screenValues();

    std::vector<std::string> lines = testing::sampleScreenLines(4);
    lines[2] = "\"PSID\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\",\"1\"";
    lines[3] = "\"制御ch \",\"18chのみ\"";
    lines[19] = "\"付加ID3\",\"g\",\"1\",\"2\",\"3\"";
    const QString path = h.root.filePath(QStringLiteral("in.jv1"));
    writeFile(path, testing::cp932Lines(lines));
    h.dialogs.openAnswers.push_back(path);
    screen.openFile();

    ASSERT_EQ(h.dialogs.messages.size(), 2);
    EXPECT_EQ(h.dialogs.messages[0].title, QStringLiteral("エラー"));
    EXPECT_EQ(h.dialogs.messages[0].text, QStringLiteral("PS-ID:読み出しエラー"));
    EXPECT_EQ(h.dialogs.messages[0].icon, QMessageBox::Warning);
    EXPECT_EQ(h.dialogs.messages[1].title, QStringLiteral("エラー"));
    EXPECT_EQ(h.dialogs.messages[1].text, QStringLiteral("ファイルデータエラー"));

    DataSetScreenValues expected = before;
    expected.controlChannel = 1;
    expected.additionalIds[2] = {0, 1, 2, 3};
    expected.memo = QStringLiteral("お客様AB棟"); // commas go, except in a ZX-VA100 memo
    EXPECT_EQ(screen.screenValues(), expected);
    EXPECT_EQ(screen.memoBox()->text(), QStringLiteral("お客様AB棟"));
    EXPECT_EQ(screen.viewState(), 0xA002u); // opening a file changes no state
    EXPECT_EQ(h.dialogs.openRequests[0].filter, QStringLiteral("ﾛｸﾞﾌｧｲﾙ1(*.jv1)"));
}

TEST(DataSetScreenFiles, OpenOfAnotherModelsFileSaysSoAndLoadsNothing) {
    ScreenHarness h;
    DataSetModeDialog& screen = offlineScreen(h, 4);
    const DataSetScreenValues before = screen.screenValues();
    const QString path = h.root.filePath(QStringLiteral("va150.jv1"));
    writeFile(path, testing::cp932Lines(testing::sampleScreenLines(3)));
    h.dialogs.openAnswers.push_back(path);
    screen.openFile();
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_EQ(h.dialogs.messages[0].title, QStringLiteral("エラー"));
    EXPECT_EQ(h.dialogs.messages[0].text,
              QStringLiteral("接続モデルはZX-VA150(C)ですが、読み込みファイルはZX-VA150(C)用ではありません"));
    EXPECT_EQ(screen.screenValues(), before);
}

TEST(DataSetScreenFiles, OpenOfAFileThatIsNotThereAsksAgain) {
    ScreenHarness h;
    DataSetModeDialog& screen = offlineScreen(h, 2);
    const QString path = h.root.filePath(QStringLiteral("there"));
    writeFile(path + QStringLiteral(".jv1"), testing::cp932Lines(testing::sampleScreenLines(2)));
    h.dialogs.openAnswers.push_back(h.root.filePath(QStringLiteral("gone.jv1")));
    h.dialogs.openAnswers.push_back(path); // no dot: found with .jv1 added
    screen.openFile();
    EXPECT_EQ(h.dialogs.openRequests.size(), 2);
    ASSERT_EQ(h.dialogs.messages.size(), 1);
    EXPECT_EQ(h.dialogs.messages[0].title, QStringLiteral("エラー"));
    EXPECT_EQ(h.dialogs.messages[0].text,
              QStringLiteral("指定されたファイルは存在しません。\nファイル名を再入力してください。"));
    EXPECT_EQ(screen.memoBox()->text(), QStringLiteral("お客様A,B棟"));
    EXPECT_EQ(screen.form()->rxGain()->currentText(), QStringLiteral("ｵﾝ"));
}

TEST(DataSetScreenFiles, PrintDrawsTheReportOnThePrinterTheDialogReturns) {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    ScreenHarness h;
    h.texts.setLogFolderName(QStringLiteral("客先"));
    DataSetModeDialog& screen = offlineScreen(h, 4);
    screen.loadScreen(testing::sampleScreen());
    // Cancelled: no page.
    screen.printReport();
    EXPECT_EQ(h.dialogs.printRequests, 1);

    h.dialogs.printPdfPath = h.root.filePath(QStringLiteral("report.pdf"));
    screen.printReport();
    EXPECT_EQ(h.dialogs.printRequests, 2);
    EXPECT_TRUE(h.dialogs.messages.isEmpty());
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                     h.dialogs.printPdfPath, QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(30000));
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QStringLiteral("ZX-VA150(B)ﾛｸﾞﾌｧｲﾙ1 お客様名:客先"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("メモ:お客様A,B棟")));
    EXPECT_TRUE(text.contains(QStringLiteral("Ver.01.23")));
    EXPECT_TRUE(text.contains(QStringLiteral("123456789")));
    EXPECT_TRUE(text.contains(QStringLiteral("1fff")));
    EXPECT_TRUE(text.contains(QStringLiteral("ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰFERしきい値")));
    // A ZX-VA150(C) report has no receive-gain line.
    EXPECT_FALSE(text.contains(QStringLiteral("VA100受話ｹﾞｲﾝ調整機能")));
    EXPECT_TRUE(text.contains(QStringLiteral("ZKO")));
}

// Notes, at each dialog, whether the link had already been paused.
class PauseProbe : public shell::FakeDialogService {
public:
    explicit PauseProbe(const link::LinkState& state) : m_state(state) {}
    std::vector<bool> pausedAtDialog;

    std::optional<QString> openFileName(QWidget* parent, const shell::FileRequest& request) override {
        note();
        return FakeDialogService::openFileName(parent, request);
    }
    std::optional<QString> saveFileName(QWidget* parent, const shell::FileRequest& request) override {
        note();
        return FakeDialogService::saveFileName(parent, request);
    }
    std::unique_ptr<QPrinter> choosePrinter(QWidget* parent) override {
        note();
        return FakeDialogService::choosePrinter(parent);
    }

private:
    void note() {
        pausedAtDialog.push_back(m_state.pendingFlag && m_state.pendingCommand == link::cmd::kClose &&
                                 m_state.dialogueState == link::kScriptRunning && m_state.scriptId == 0);
    }
    const link::LinkState& m_state;
};

TEST(DataSetScreenFiles, EveryFileDialogFindsTheLinkPausedAndKeepAliveResumesAfter) {
    ScreenHarness h(3);
    ASSERT_TRUE(h.readAsTheMenuDoes());
    DataSetModeDialog& screen = h.openScreen();
    PauseProbe probe(h.session.state());
    const shell::ScopedDialogService installed(probe);
    for (const auto& operation : std::vector<std::function<void()>>{
             [&] { screen.saveFile(); }, [&] { screen.openFile(); }, [&] { screen.printReport(); }}) {
        ASSERT_TRUE(h.waitForKeepAlive());
        h.requests.clear();
        operation();
        ASSERT_TRUE(h.waitForKeepAlive());
        // The running dialogue was closed and a new keep-alive one opened.
        ASSERT_GE(h.requests.size(), 2u);
        EXPECT_EQ(h.requests[0], link::cmd::kClose);
        EXPECT_EQ(h.requests[1], link::cmd::kOpen);
    }
    EXPECT_EQ(probe.pausedAtDialog, (std::vector<bool>{true, true, true}));
    EXPECT_EQ(screen.viewState(), 0xA001u);
    EXPECT_TRUE(h.linkMessages.empty());

    // Without a port in use nothing is paused.
    h.context.portUsed = false;
    ASSERT_TRUE(h.waitForKeepAlive());
    screen.saveFile();
    EXPECT_FALSE(h.session.state().pendingFlag);
    EXPECT_EQ(h.session.state().dialogueState, link::kKeepAlive);
}

} // namespace
} // namespace tolvan::dataset

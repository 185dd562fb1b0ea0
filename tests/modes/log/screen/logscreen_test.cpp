// The log display screen against the in-process virtual handset: read, clear, save and open,
// unplug.
#include "modes/log/model/logoperations.h"
#include "modes/log/screen/logsetmodedialog.h"
#include "tests/support/modescreenharness.h"
#include "tests/support/pdftext.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <gtest/gtest.h>

#include <algorithm>

namespace tolvan::log {
namespace {

class LogScreen : public ::testing::Test {
protected:
    LogSetModeDialog& openRead() {
        EXPECT_TRUE(h.readAsTheMenuDoes(op::kReadPending, op::kReadScript));
        return h.open<LogSetModeDialog>();
    }
    QStringList rows(LogSetModeDialog& screen, BufferKind kind) { return screen.lists().rows(kind); }

    test::ModeScreenHarness h{3};
};

TEST_F(LogScreen, ReadShowsEveryBufferAndAClearChangesOnlyItsList) {
    LogSetModeDialog& screen = openRead();
    EXPECT_EQ(screen.viewState(), op::kDataShown);
    EXPECT_EQ(screen.modelBox()->text(), QStringLiteral("ZX-VA150"));
    EXPECT_EQ(rows(screen, BufferKind::CommEvent).size(), 16);
    EXPECT_EQ(rows(screen, BufferKind::CommStatus).size(), 80);
    EXPECT_EQ(rows(screen, BufferKind::CommErrorStatus).size(), 36);
    EXPECT_EQ(rows(screen, BufferKind::MmiStatus).size(), 1);
    const LogDisplayLists before = screen.lists();

    ASSERT_TRUE(h.waitForKeepAlive());
    h.requests.clear();
    screen.clearButton(BufferKind::MmiStatus)->click();
    EXPECT_EQ(h.requests.at(2), 0x0803); // open, model query, then the clear command
    EXPECT_EQ(rows(screen, BufferKind::MmiStatus), QStringList{QStringLiteral("ｱｲﾄﾞﾙ")});
    for (const BufferKind kind : {BufferKind::CommEvent, BufferKind::MmiEvent, BufferKind::CommStatus,
                                  BufferKind::CommErrorStatus, BufferKind::HandsetError}) {
        EXPECT_EQ(rows(screen, kind), before.rows(kind));
    }
    EXPECT_EQ(screen.viewState(), op::kDataShown);
}

TEST_F(LogScreen, AClearedListFourShowsSixteenIdleRowsAndTheFileCarriesThem) {
    LogSetModeDialog& screen = openRead();
    ASSERT_TRUE(h.waitForKeepAlive());
    screen.clearButton(BufferKind::CommStatus)->click();
    EXPECT_EQ(rows(screen, BufferKind::CommStatus), QStringList(16, QStringLiteral("ｱｲﾄﾞﾙ")));
    ASSERT_TRUE(h.waitForKeepAlive());
    screen.clearAllButton()->click();
    EXPECT_EQ(rows(screen, BufferKind::CommStatus), QStringList(16, QStringLiteral("ｱｲﾄﾞﾙ")));

    // 178 lines less the 64 rows list 4 no longer shows.
    h.dialogs.saveAnswers.push_back(h.root.filePath(QStringLiteral("cleared")));
    screen.saveFile();
    QFile file(h.root.filePath(QStringLiteral("cleared.jv3")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count("\r\n"), 178 - 64);
}

TEST_F(LogScreen, ASavedFileOpensBackToTheSameListsAndMemo) {
    LogSetModeDialog& screen = openRead();
    screen.memoBox()->setText(QStringLiteral("点検"));
    const LogDisplayLists shown = screen.lists();
    const QString saved = h.root.filePath(QStringLiteral("buffers.jv1"));
    h.dialogs.saveAnswers.push_back(saved);
    screen.saveFile();
    const QString written = h.root.filePath(QStringLiteral("buffers.jv3"));
    QFile file(written);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count("\r\n"), 178);

    screen.showLists(LogDisplayLists{});
    screen.memoBox()->clear();
    h.dialogs.openAnswers.push_back(written);
    screen.openFile();
    EXPECT_EQ(screen.lists(), shown);
    EXPECT_EQ(screen.memoBox()->text(), QStringLiteral("点検"));
}

TEST_F(LogScreen, UnpluggingEmptiesTheListsAndLeavesOnlyTheWayBack) {
    LogSetModeDialog& screen = openRead();
    h.attached = false;
    h.session.deviceTreeChanged();
    EXPECT_EQ(screen.viewState(), op::kUnplugged);
    EXPECT_EQ(screen.list(BufferKind::CommEvent)->count(), 0);
    EXPECT_FALSE(screen.readButton()->isEnabled());
    EXPECT_FALSE(screen.clearAllButton()->isEnabled());
    EXPECT_TRUE(screen.backButton()->isEnabled());
    EXPECT_TRUE(screen.modelBox()->text().isEmpty());
}

TEST_F(LogScreen, TheReportPrintsThreeColumnsToPdf) {
    LogSetModeDialog& screen = openRead();
    screen.memoBox()->setText(QStringLiteral("点検"));
    h.dialogs.printPdfPath = h.root.filePath(QStringLiteral("buffers.pdf"));
    screen.printReport();
    ASSERT_TRUE(h.dialogs.messages.isEmpty());
    const QString text = test::pdfText(h.dialogs.printPdfPath);
    EXPECT_TRUE(text.contains(QString(117, QLatin1Char('-')))) << text.toStdString();
    // Sections side by side: the first and the second column's titles share a line.
    const QStringList lines = text.split(QLatin1Char('\n'));
    const auto both = std::find_if(lines.begin(), lines.end(),
                                   [](const QString& line) { return line.count(QStringLiteral("【")) >= 2; });
    EXPECT_NE(both, lines.end()) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("ｱｲﾄﾞﾙ")));

    // The columns sit at 10, 750 and 1450 units of a 300 dpi printer inside the quarter-inch rim,
    // and no column runs into the next.
    const QList<test::PdfWord> words = test::pdfWords(h.dialogs.printPdfPath);
    const auto titled = [&](const QString& title) {
        const auto found = std::find_if(words.begin(), words.end(),
                                        [&](const test::PdfWord& word) { return word.text == title; });
        return found == words.end() ? test::PdfWord{} : *found;
    };
    const test::PdfWord first = titled(QStringLiteral("通信ｲﾍﾞﾝﾄﾊﾞｯﾌｧ"));
    EXPECT_NEAR(titled(QStringLiteral("通信ｴﾗｰｽﾃｰﾀｽﾊﾞｯﾌｧ")).xMin - first.xMin, 740 * 72.0 / 300, 0.5);
    EXPECT_NEAR(titled(QStringLiteral("通信ｽﾃｰﾀｽﾊﾞｯﾌｧ")).xMin - first.xMin, 1440 * 72.0 / 300, 0.5);
    // Below the header and the rule, which span the page.
    const double edges[] = {18.0 + 750 * 72.0 / 300, 18.0 + 1450 * 72.0 / 300};
    for (const test::PdfWord& word : words) {
        if (word.yMin < first.yMin - 0.5) {
            continue;
        }
        for (const double edge : edges) {
            if (word.xMin < edge - 1.0) {
                EXPECT_LE(word.xMax, edge + 0.5) << word.text.toStdString();
                break;
            }
        }
    }
}

} // namespace
} // namespace tolvan::log

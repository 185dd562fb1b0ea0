#include "common/reportpage.h"
#include "common/reportrenderer.h"
#include "shell/dialogservice.h"
#include "tests/support/fakedialogservice.h"

#include <QPdfWriter>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tolvan {
namespace {

struct Word {
    QString text;
    double xMin = 0;
    double yMin = 0;
};

QString runPdftotext(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QList<Word> wordsOf(const QString& pdf) {
    QList<Word> words;
    const QString html = runPdftotext(
        {QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="[0-9.]+" yMax="[0-9.]+">([^<]*)</word>)re"));
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto match = it.next();
        words.append({match.captured(3), match.captured(1).toDouble(), match.captured(2).toDouble()});
    }
    return words;
}

const Word* find(const QList<Word>& words, const QString& text) {
    for (const Word& word : words) {
        if (word.text == text) {
            return &word;
        }
    }
    return nullptr;
}

// A log file 1 style page: one line down, tabs aligning the values.
ReportPage dataSettingPage() {
    return ReportPage::singleColumn(
        {reportHeaderLine(3, 1, QStringLiteral("東京支店"), QStringLiteral("点検済")), reportRuleLine(),
         QStringLiteral("外部ﾏｲｺﾝｿﾌﾄｳｪｱ\t\t\t\tVer.01.23"), QStringLiteral("PSID\t\t\t\t\t123456789"),
         QStringLiteral("待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ\t\t\t45\tdBμV"), QStringLiteral("A\tB")},
        1);
}

class ReportPdfTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        }
        ASSERT_TRUE(m_dir.isValid());
    }
    QTemporaryDir m_dir;
};

TEST_F(ReportPdfTest, JapaneseTextAndTabStopsComeOutOfThePdf) {
    const QString pdf = m_dir.filePath(QStringLiteral("report.pdf"));
    {
        QPdfWriter writer(pdf);
        prepareReportPdf(writer);
        ASSERT_TRUE(renderReport(writer, {dataSettingPage()}));
    }
    const QString text =
        runPdftotext({QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("ZX-VA150ﾛｸﾞﾌｧｲﾙ1 お客様名:東京支店"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("メモ:点検済")));
    EXPECT_TRUE(text.contains(QStringLiteral("待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ")));
    EXPECT_TRUE(text.contains(QStringLiteral("dBμV")));

    const QList<Word> words = wordsOf(pdf);
    const Word* psid = find(words, QStringLiteral("PSID"));
    const Word* digits = find(words, QStringLiteral("123456789"));
    const Word* version = find(words, QStringLiteral("Ver.01.23"));
    const Word* a = find(words, QStringLiteral("A"));
    const Word* b = find(words, QStringLiteral("B"));
    const Word* header = find(words, QStringLiteral("ZX-VA150ﾛｸﾞﾌｧｲﾙ1"));
    // The rule is checked word-wise: plain pdftotext joins a line ending in "-" to the next.
    const Word* rule = find(words, reportRuleLine());
    ASSERT_TRUE(psid && digits && version && a && b && header && rule);
    // Lines start at x = 10 device units inside a quarter-inch rim: 18 + 10 / 600 * 72 points.
    EXPECT_NEAR(psid->xMin, 19.2, 0.3);
    // A tab stop is eight widths of a half-width character (4.5 pt at 9 pt): 36 pt.
    EXPECT_NEAR(b->xMin - a->xMin, 36.0, 0.3);
    // Five tabs after a short label and four after a long one reach the same stop.
    EXPECT_NEAR(digits->xMin - psid->xMin, 5 * 36.0, 0.3);
    EXPECT_NEAR(version->xMin, digits->xMin, 0.3);
    // One blank line pitch above the header; lines follow at one pitch each.
    const double pitch = version->yMin - rule->yMin;
    EXPECT_GT(pitch, 9.0);
    EXPECT_LT(pitch, 14.0);
    EXPECT_NEAR(psid->yMin - version->yMin, pitch, 0.3);
    EXPECT_NEAR(rule->yMin - header->yMin, pitch, 0.3);
    EXPECT_GT(header->yMin - 18.0, pitch * 0.9);
}

TEST_F(ReportPdfTest, ColumnsLandAtTheirDeviceX) {
    // The log file 3 report: "ＭＳ ゴシック" 9 pt, three columns, blank lines kept.
    ReportPage page;
    page.fontFamily = QStringLiteral("ＭＳ ゴシック");
    page.fontPoints = 9;
    page.setLine(0, 0, reportHeaderLine(4, 3, QStringLiteral("Acme"), QString()));
    page.setLine(0, 1, reportRuleLine());
    page.setLine(0, 2, QStringLiteral("【 通信ｲﾍﾞﾝﾄﾊﾞｯﾌｧ 】"));
    page.setLine(1, 2, QStringLiteral("【 通信ｴﾗｰｽﾃｰﾀｽﾊﾞｯﾌｧ 】"));
    page.setLine(2, 2, QStringLiteral("【 通信ｽﾃｰﾀｽﾊﾞｯﾌｧ 】"));
    page.setLine(0, 42, QStringLiteral("【 子機ｴﾗｰﾊﾞｯﾌｧ 】"));
    page.columns[1].x = 750;
    page.columns[2].x = 1450;
    ASSERT_EQ(page.columns[1].lines.size(), 3);

    const QString pdf = m_dir.filePath(QStringLiteral("log3.pdf"));
    {
        QPdfWriter writer(pdf);
        prepareReportPdf(writer);
        ASSERT_TRUE(renderReport(writer, {page}));
    }
    const QList<Word> words = wordsOf(pdf);
    const Word* events = find(words, QStringLiteral("通信ｲﾍﾞﾝﾄﾊﾞｯﾌｧ"));
    const Word* errors = find(words, QStringLiteral("通信ｴﾗｰｽﾃｰﾀｽﾊﾞｯﾌｧ"));
    const Word* status = find(words, QStringLiteral("通信ｽﾃｰﾀｽﾊﾞｯﾌｧ"));
    const Word* handset = find(words, QStringLiteral("子機ｴﾗｰﾊﾞｯﾌｧ"));
    ASSERT_TRUE(events && errors && status && handset);
    ASSERT_TRUE(find(words, QStringLiteral("ZX-VA150(B)ﾛｸﾞﾌｧｲﾙ3")));
    // "【 " before each title: the same offset in every column.
    EXPECT_NEAR(errors->xMin - events->xMin, (750 - 10) * 72.0 / 600, 0.3);
    EXPECT_NEAR(status->xMin - events->xMin, (1450 - 10) * 72.0 / 600, 0.3);
    EXPECT_NEAR(errors->yMin, events->yMin, 0.3);
    // Line 42 is forty line pitches below line 2: the blank lines keep their place.
    const double pitch = (handset->yMin - events->yMin) / 40.0;
    EXPECT_GT(pitch, 9.0);
    EXPECT_LT(pitch, 14.0);
}

TEST_F(ReportPdfTest, PrinterFromTheDialogServiceRendersTheSameReport) {
    shell::FakeDialogService fake;
    fake.printPdfPath = m_dir.filePath(QStringLiteral("printed.pdf"));
    const shell::ScopedDialogService scope(fake);
    const auto printer = shell::DialogService::current().choosePrinter(nullptr);
    ASSERT_NE(printer, nullptr);
    EXPECT_EQ(printer->resolution(), kReportDpi);
    ASSERT_TRUE(renderReport(*printer, {dataSettingPage()}));
    const QString text = runPdftotext(
        {QStringLiteral("-enc"), QStringLiteral("UTF-8"), fake.printPdfPath, QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("外部ﾏｲｺﾝｿﾌﾄｳｪｱ"))) << text.toStdString();
    const QList<Word> words = wordsOf(fake.printPdfPath);
    const Word* psid = find(words, QStringLiteral("PSID"));
    ASSERT_NE(psid, nullptr);
    EXPECT_NEAR(psid->xMin, 19.2, 0.3);

    fake.printPdfPath.clear();
    EXPECT_EQ(shell::DialogService::current().choosePrinter(nullptr), nullptr);
    EXPECT_EQ(fake.printRequests, 2);
}

} // namespace
} // namespace tolvan

// The printed page of the log display: three columns at fixed device units.
#include "modes/log/model/logreport.h"
#include "tests/modes/log/model/samplebuffers.h"

#include <gtest/gtest.h>

namespace tolvan::log {
namespace {

LogDisplayLists sampleLists() {
    return LogDisplayLists::fromBuffers(HandsetBuffers::fromStore(testing::sampleStore()));
}

TEST(LogReport, SectionsSitInThreeColumnsAtTheirLines) {
    const ReportPage page = LogReport::page(sampleLists(), 4, "現場1", "メモA");
    EXPECT_EQ(page.fontFamily, "ＭＳ ゴシック");
    EXPECT_EQ(page.fontPoints, 9);
    EXPECT_EQ(page.topLines, 0);
    ASSERT_EQ(page.columns.size(), 3);
    EXPECT_EQ(page.columns[0].x, 10);
    EXPECT_EQ(page.columns[1].x, 750);
    EXPECT_EQ(page.columns[2].x, 1450);

    const QStringList& left = page.columns[0].lines;
    ASSERT_EQ(left.size(), 59);
    EXPECT_EQ(left[0], "ZX-VA150(B)ﾛｸﾞﾌｧｲﾙ3 お客様名:現場1\tメモ:メモA");
    EXPECT_EQ(left[1], QString(117, '-'));
    EXPECT_EQ(left[2], "【 通信ｲﾍﾞﾝﾄﾊﾞｯﾌｧ 】");
    EXPECT_EQ(left[3], "[Y]連続受信ﾃｽﾄ");
    EXPECT_EQ(left[18], "待受け");
    EXPECT_EQ(left[22], "【 ﾏﾝﾏｼｰﾝｲﾍﾞﾝﾄﾊﾞｯﾌｧ 】");
    EXPECT_EQ(left[42], "【 子機ｴﾗｰﾊﾞｯﾌｧ 】");
    EXPECT_EQ(left[43], "電池残量無し");
    EXPECT_EQ(left[58], "C8");

    const QStringList& middle = page.columns[1].lines;
    ASSERT_EQ(middle.size(), 44);
    EXPECT_EQ(middle[2], "【 通信ｴﾗｰｽﾃｰﾀｽﾊﾞｯﾌｧ 】");
    EXPECT_EQ(middle[38], "7E：02");
    EXPECT_EQ(middle[42], "【 ﾏﾝﾏｼｰﾝｽﾃｰﾀｽﾊﾞｯﾌｧ 】");
    EXPECT_EQ(middle[43], "[E]受話音量大設定");

    const QStringList& right = page.columns[2].lines;
    ASSERT_EQ(right.size(), 83);
    EXPECT_EQ(right[2], "【 通信ｽﾃｰﾀｽﾊﾞｯﾌｧ 】");
    EXPECT_EQ(right[3], "[R][E]初期化終了ｱｲﾄﾞﾙ(通常)");
    EXPECT_EQ(right[82], "待ち受け");
}

TEST(LogReport, TheHeaderNamesThePrintedModel) {
    EXPECT_EQ(LogReport::page(sampleLists(), 2, "", "").columns[0].lines[0],
              "ZX-VA100ﾛｸﾞﾌｧｲﾙ3 お客様名:\tメモ:");
    EXPECT_EQ(LogReport::page(sampleLists(), 3, "c", "m").columns[0].lines[0],
              "ZX-VA150ﾛｸﾞﾌｧｲﾙ3 お客様名:c\tメモ:m");
    EXPECT_EQ(LogReport::page(sampleLists(), 0, "c", "m").columns[0].lines[0], "");
}

TEST(LogReport, LongListsStopBeforeTheNextSectionAndAtTheColumnsEnd) {
    LogDisplayLists lists = sampleLists();
    lists.setRows(BufferKind::CommEvent, QStringList(30, "e"));
    lists.setRows(BufferKind::HandsetError, QStringList(200, "h"));
    lists.setRows(BufferKind::CommStatus, {});
    const ReportPage page = LogReport::page(lists, 3, "", "");
    const QStringList& left = page.columns[0].lines;
    ASSERT_EQ(left.size(), 128);
    EXPECT_EQ(left[21], "e");
    EXPECT_EQ(left[22], "【 ﾏﾝﾏｼｰﾝｲﾍﾞﾝﾄﾊﾞｯﾌｧ 】");
    EXPECT_EQ(left[127], "h");
    EXPECT_EQ(page.columns[2].lines.size(), 3);
}

} // namespace
} // namespace tolvan::log

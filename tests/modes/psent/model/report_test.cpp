// The printed report's lines: which lines each model prints and how the values read.
#include "modes/psent/model/psentreport.h"
#include "tests/modes/psent/samplesettings.h"

#include <gtest/gtest.h>

namespace tolvan::psent {
namespace {

TEST(PsEntReport, TheZxVa150CPrintsEveryLineButTheZxVa100Buttons) {
    const QStringList lines = PsEntReport::lines(testing::sampleScreen(), 4, QStringLiteral("本社"));
    ASSERT_EQ(lines.size(), 50);
    EXPECT_EQ(lines[0], QStringLiteral("ZX-VA150(B)ﾛｸﾞﾌｧｲﾙ4 お客様名:本社\tメモ:お客様A,B棟"));
    EXPECT_EQ(lines[1], QString(117, QLatin1Char('-')));
    EXPECT_EQ(lines[2], QStringLiteral("PS番号\t\t\t\t\t201"));
    EXPECT_EQ(lines[3], QStringLiteral("PS-ID\t\t\t\t\t123456789"));
    EXPECT_EQ(lines[4], QStringLiteral("ﾒﾆｭｰ割り当て設定\t\t\t\t1:放送 2:一斉通話 3:なし 4:なし"));
    EXPECT_EQ(lines[6], QStringLiteral("\t\t\t\t\t9:なし 10:なし 11:なし 12:なし"));
    EXPECT_EQ(lines[7], QStringLiteral("\t\t\t\t\t13:なし 14:手動ﾊﾝﾄﾞｵｰﾊﾞｰ"));
    EXPECT_EQ(lines[8], QStringLiteral("機能ﾎﾞﾀﾝ割当設定\t\t\t\t手動ﾊﾝﾄﾞｵｰﾊﾞｰ"));
    EXPECT_EQ(lines[12], QStringLiteral("ｷｰﾛｯｸ設定\t\t\t\t機能ﾎﾞﾀﾝ:ｵﾝ 実行ﾎﾞﾀﾝ:ｵﾌ ﾒﾆｭｰﾎﾞﾀﾝ:ｵﾝ 音量ﾎﾞﾀﾝ:ｵﾌ"));
    EXPECT_EQ(lines[13], QStringLiteral("お知らせ音量\t\t\t\t1"));
    EXPECT_EQ(lines[17], QStringLiteral("ﾏｲｸﾚﾍﾞﾙ\t\t\t\t\t3"));
    EXPECT_EQ(lines[20], QStringLiteral("VOX感度調整\t\t\t\t-32dBm"));
    EXPECT_EQ(lines[21], QStringLiteral("VOX終了遅延時間\t\t\t\t5秒"));
    EXPECT_EQ(lines[30], QStringLiteral("KRM-200ﾘﾓｺﾝｷｰ3設定\t\t\t外部音源制御 付加設定 No.250"));
    EXPECT_EQ(lines[32], QStringLiteral("ﾋｱﾘﾝｸﾞ専用復帰ﾀｲﾏｰ\t\t\t10秒"));
    EXPECT_EQ(lines[34], QStringLiteral("外線発信設定\t\t\t\t可"));
    EXPECT_EQ(lines[36], QStringLiteral("外線発信番号登録M2\t\t\t10"));
    EXPECT_EQ(lines[38], QStringLiteral("個別通話子機番号登録\t\t\t01:0100 02:0000 03:7999 04:0000"));
    EXPECT_EQ(lines[49], QStringLiteral("\t\t\t\t\t45:0000 46:0000 47:0000 48:1234"));
}

TEST(PsEntReport, EachModelPrintsItsOwnLines) {
    const QStringList va100 = PsEntReport::lines(testing::sampleScreen(), 2, QString());
    ASSERT_EQ(va100.size(), 44);
    EXPECT_TRUE(va100[0].startsWith(QStringLiteral("ZX-VA100ﾛｸﾞﾌｧｲﾙ4 お客様名:\tメモ:")));
    EXPECT_EQ(va100[4], QStringLiteral("ﾄｰｸﾎﾞﾀﾝ動作設定\t\t\t\tｺﾝﾄﾛｰﾙﾏｲｸのみ"));
    EXPECT_EQ(va100[26], QStringLiteral("手動ﾊﾝﾄﾞｵｰﾊﾞｰﾎﾞﾀﾝ\t\t\tF2"));
    EXPECT_EQ(va100[27], QStringLiteral("受話音量ﾀﾞｳﾝﾎﾞﾀﾝ\t\t\t\tUP"));

    const QStringList va150 = PsEntReport::lines(testing::sampleScreen(), 3, QString());
    EXPECT_EQ(va150.size(), 47);
    EXPECT_FALSE(va150.join('\n').contains(QStringLiteral("ｼｰﾑﾚｽ")));

    const QStringList none = PsEntReport::lines(testing::sampleScreen(), 0, QString());
    EXPECT_EQ(none.size(), 39);
    EXPECT_TRUE(none[0].isEmpty());
    EXPECT_EQ(PsEntReport::page(testing::sampleScreen(), 0, QString()).columns.at(0).lines, none);
}

} // namespace
} // namespace tolvan::psent

// Report lines of the data setting screen, by model.
#include "modes/dataset/model/datasetreport.h"
#include "tests/modes/dataset/samplevalues.h"

#include <gtest/gtest.h>

namespace tolvan::dataset {
namespace {

QStringList expectedVa100() {
    const QString dashes(117, QLatin1Char('-'));
    return {
        "ZX-VA100ﾛｸﾞﾌｧｲﾙ1 お客様名:現場1\tメモ:お客様A,B棟",
        dashes,
        "外部ﾏｲｺﾝｿﾌﾄｳｪｱ\t\t\t\tVer.01.23",
        "PSID\t\t\t\t\t123456789",
        "制御ch\t\t\t\t\t12chと18ch",
        "待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ\t\t\t45\tdBμV",
        "待ち受けｿﾞｰﾝ保持ﾚﾍﾞﾙ\t\t\t40\tdBμV",
        "再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ\t\t30\tdBμV",
        "再発呼型ﾊﾝﾄﾞｵｰﾊﾞｰ選択ﾚﾍﾞﾙ\t\t35\tdBμV",
        "TCH切替え型ﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ\t\t\tdBμV",
        "ﾁｬﾈﾙ切替えFERしきい値　ｽﾛｯﾄｴﾗｰ数\t\t200",
        "FER起動型ﾊﾝﾄﾞｵｰﾊﾞｰﾚﾍﾞﾙ\t\t\t",
        "CS-ID中のｼｽﾃﾑ呼び出し符号\t\t536870911",
        "ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ\t\t\t45\tdBμV",
        "ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ選択ﾚﾍﾞﾙ\t\t\t10\tdBμV",
        "ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰFERしきい値\t\t\t05",
        "一斉呼び出しｴﾘｱ種別\t\t\tｼｽﾃﾑ呼出符号+付加ID",
        "CS-IDの付加ID設定数\t\t\t2",
        "付加ID1\t\t\t\t\t1fff",
        "付加ID2\t\t\t\t\t0a01",
        "付加ID3\t\t\t\t\t0000",
        "付加ID4\t\t\t\t\t0000",
        "付加ID5\t\t\t\t\t0000",
        "付加ID6\t\t\t\t\t0000",
        "付加ID7\t\t\t\t\t0000",
        "付加ID8\t\t\t\t\t",
        "ｲﾝﾀｰﾊﾞﾙ値\t\t\t\t255",
        "ZX-RM15検出\t\t\t\tｵﾌ",
        "VA100受話ｹﾞｲﾝ調整機能\t\t\tｵﾝ",
        "障害監視ｺｰﾄﾞ\t\t\t\tZKO",
    };
}

TEST(DataSetReport, Va100HasThirtyLines) {
    EXPECT_EQ(DataSetReport::lines(testing::sampleScreen(), 2, "現場1"), expectedVa100());
}

TEST(DataSetReport, Va150CHasTwentyNineLinesWithoutTheGainLine) {
    QStringList expected = expectedVa100();
    expected[0] = "ZX-VA150(B)ﾛｸﾞﾌｧｲﾙ1 お客様名:現場1\tメモ:お客様A,B棟";
    expected.removeAt(28);
    EXPECT_EQ(DataSetReport::lines(testing::sampleScreen(), 4, "現場1"), expected);
}

TEST(DataSetReport, Va150HasSixteenLinesWithoutSeamlessAreaAndIdLines) {
    QStringList expected = expectedVa100();
    expected[0] = "ZX-VA150ﾛｸﾞﾌｧｲﾙ1 お客様名:\tメモ:%s";
    expected.removeAt(28);
    expected.remove(13, 13);
    DataSetScreenValues v = testing::sampleScreen();
    v.memo = "%s"; // filled in as text, not as a format
    const QStringList lines = DataSetReport::lines(v, 3, QString());
    EXPECT_EQ(lines.size(), 16);
    EXPECT_EQ(lines, expected);
}

} // namespace
} // namespace tolvan::dataset

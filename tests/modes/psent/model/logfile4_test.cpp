// Log file 4: byte for byte from the screen and from the store, and both readers against good,
// damaged and hostile files.
#include "common/logfile/logfilekind.h"
#include "modes/psent/model/logfile4imagereader.h"
#include "modes/psent/model/logfile4reader.h"
#include "modes/psent/model/logfile4writer.h"
#include "modes/psent/model/psentcodec.h"
#include "tests/modes/psent/samplesettings.h"
#include "tests/support/iconvbytes.h"

#include <gtest/gtest.h>

namespace tolvan::psent {
namespace {

using dataset::testing::cp932;
using dataset::testing::cp932Lines;
using V = PsEntScreenValues;

// The sample file as it reads back: the reader removes every comma, the memo's included.
QByteArray sampleReadBack(int model) {
    auto lines = testing::sampleLines(model);
    lines.back() = "\"お客様AB棟\"";
    return cp932Lines(lines);
}

class LogFile4Models : public ::testing::TestWithParam<int> {
protected:
    std::uint32_t model() const { return static_cast<std::uint32_t>(GetParam()); }
};

TEST_P(LogFile4Models, FromTheScreenIsByteExact) {
    const LogFile4Text file = LogFile4Writer::fromScreen(testing::sampleScreen(), model());
    ASSERT_TRUE(file.ok()) << file.error.toStdString();
    const auto expected = testing::sampleLines(GetParam());
    EXPECT_EQ(expected.size(), GetParam() == 2 ? 28u : GetParam() == 3 ? 30u : 33u);
    EXPECT_EQ(file.bytes, cp932Lines(expected));
}

TEST_P(LogFile4Models, FromTheStoreWritesTheSameLines) {
    const LogFile4Text file =
        LogFile4Writer::fromStore(testing::sampleStore(), model(), QStringLiteral("お客様A,B棟"));
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.bytes, cp932Lines(testing::sampleLines(GetParam())));
}

TEST_P(LogFile4Models, ReadsBackWhatItWrote) {
    const QByteArray bytes = cp932Lines(testing::sampleLines(GetParam()));
    const LogFile4ScreenRead read = LogFile4Reader::read(bytes, model(), V());
    EXPECT_TRUE(read.loaded);
    EXPECT_TRUE(read.messages.isEmpty());
    // Every line the file holds shows on the screen as it was written; nothing else changes.
    EXPECT_EQ(LogFile4Writer::fromScreen(read.values, model()).bytes, sampleReadBack(GetParam()));
    EXPECT_EQ(read.values.pin, V().pin);
    EXPECT_EQ(read.values.manualHandoverButton, V::kNone);
}

TEST_P(LogFile4Models, ReadIntoTheStoreChangesOnlyWhatTheFileHolds) {
    handset::HandsetBlocks store;
    const LogFile4ImageRead read =
        LogFile4ImageReader::readIntoStore(cp932Lines(testing::sampleLines(GetParam())), model(), store);
    EXPECT_TRUE(read.loaded);
    EXPECT_TRUE(read.messages.isEmpty());
    EXPECT_EQ(read.memo, QStringLiteral("お客様AB棟"));
    // The store now writes the same file, with the receive volume in 0x1102 D11 only.
    const HandsetSettingImage image = HandsetSettingImage::fromStore(store);
    EXPECT_EQ(image.receiveVolume(), 2);
    EXPECT_EQ(image.volumes[0], 0x02); // sidetone from the file, receive volume copy untouched
    EXPECT_EQ(image.pin, (std::array<std::uint8_t, 4>{}));
    auto expected = testing::sampleLines(GetParam());
    if (GetParam() != 2) { // the menu goes in as the screen stores it: gaps closed
        std::string menu = "\"ﾒﾆｭｰ割り当て設定\",\"放送\",\"一斉通話\",\"手動ﾊﾝﾄﾞｵｰﾊﾞｰ\"";
        for (int i = 0; i < 11; ++i) {
            menu += ",\"なし\"";
        }
        expected[21] = menu;
    }
    EXPECT_EQ(LogFile4Writer::fromStore(store, model(), QStringLiteral("お客様A,B棟")).bytes,
              cp932Lines(expected));
}

INSTANTIATE_TEST_SUITE_P(Models, LogFile4Models, ::testing::Values(2, 3, 4));

TEST(LogFile4Writer, NoModelKnownWritesAnEmptyFile) {
    const LogFile4Text file = LogFile4Writer::fromScreen(testing::sampleScreen(), 0);
    EXPECT_TRUE(file.ok());
    EXPECT_TRUE(file.bytes.isEmpty());
}

TEST(LogFile4Writer, AMemoCodePage932CannotCarryWritesNothing) {
    V v = testing::sampleScreen();
    v.memo = QStringLiteral("Müller");
    const LogFile4Text file = LogFile4Writer::fromScreen(v, 3);
    EXPECT_FALSE(file.ok());
    EXPECT_TRUE(file.bytes.isEmpty());
    EXPECT_TRUE(file.error.contains(QStringLiteral("ü")));
}

TEST(LogFile4Reader, EveryWrongLabelHasItsOwnMessageAndKeepsItsSetting) {
    std::vector<std::string> lines{"\"ZX-VA150(C)ログファイル4\""};
    for (int i = 0; i < 31; ++i) {
        lines.push_back("\"?\",\"ｵﾝ\"");
    }
    lines.push_back("\"memo\"");
    const V current = testing::sampleScreen();
    const LogFile4ScreenRead read = LogFile4Reader::read(cp932Lines(lines), 4, current);
    QStringList texts;
    for (const Message& m : read.messages) {
        EXPECT_EQ(m.title, QStringLiteral("エラー"));
        texts.append(m.text);
    }
    const QStringList expected{
        "PS番号:読み出しエラー",
        "PS-ID:読み出しエラー",
        "お知らせ音量:読み出しエラー",
        "圏外音お知らせ音:読み出しエラー",
        "音量ﾚﾍﾞﾙ操作音設定:読み出しエラー",
        "ｷｰﾀｯﾁ音設定:読み出しエラー",
        "ﾏｲｸﾚﾍﾞﾙ:読み出しエラー",
        "ﾏｲｸ動作設定:読み出しエラー",
        "PTTﾎｰﾙﾄﾞお知らせ音:読み出しエラー",
        "VOX感度調整:読み出しエラー",
        "VOX終了遅延時間:読み出しエラー",
        "受話音量:読み出しエラー",
        "ｻｲﾄﾞﾄｰﾝ音量:読み出しエラー",
        "ﾉｲｽﾞｶｯﾄ設定:読み出しエラー",
        "ﾉｲｽﾞｶｯﾄ機能ﾀｲﾌﾟ:読み出しエラー",
        "ﾉｲｽﾞｶｯﾄ感度調整:読み出しエラー",
        "放送時ｲﾝｶﾑﾓﾆﾀー設定:読み出しエラー",
        "KRM-200ﾘﾓｺﾝｷｰ1設定:読み出しエラー",
        "KRM-200ﾘﾓｺﾝｷｰ2設定:読み出しエラー",
        "KRM-200ﾘﾓｺﾝｷｰ3設定:読み出しエラー",
        "ﾒﾆｭｰ割り当て設定:読み出しエラー",
        "機能ﾎﾞﾀﾝ割り当て設定:読み出しエラー",
        "緊急通知設定:読み出しエラー",
        "ﾄｰｸﾎﾞﾀﾝ動作設定:読み出しエラー",
        "ｷｰﾛｯｸ設定:読み出しエラー",
        "外線発信設定:読み出しエラー",
        "外線発信短縮番号登録:読み出しエラー",
        "個別通話子機番号登録:読み出しエラー",
        "ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ:読み出しエラー",
        "ﾋｱﾘﾝｸﾞ専用復帰ﾀｲﾏ:読み出しエラー",
        "ﾋｱﾘﾝｸﾞﾏｽﾀｽﾚｰﾌﾞ:読み出しエラー",
    };
    EXPECT_EQ(texts, expected);
    V expectedValues = current;
    expectedValues.memo = QStringLiteral("memo");
    EXPECT_EQ(read.values, expectedValues);
}

TEST(LogFile4Reader, AnotherModelsFileShowsTheModelMessageAndChangesNothing) {
    const V current = testing::sampleScreen();
    const LogFile4ScreenRead read = LogFile4Reader::read(cp932Lines(testing::sampleLines(2)), 3, V());
    EXPECT_FALSE(read.loaded);
    ASSERT_EQ(read.messages.size(), 1);
    EXPECT_EQ(read.messages[0].text,
              QStringLiteral("接続モデルはZX-VA150ですが、読み込みファイルはZX-VA150用ではありません"));
    EXPECT_EQ(read.values, V());

    handset::HandsetBlocks store = testing::sampleStore();
    const handset::HandsetBlocks before = store;
    EXPECT_FALSE(LogFile4ImageReader::readIntoStore(cp932Lines(testing::sampleLines(4)), 2, store).loaded);
    EXPECT_EQ(store, before);
}

TEST(LogFile4Reader, ATwentyEightLineFileForAZxVa150MissesItsLastLines) {
    auto lines = testing::sampleLines(3);
    lines.resize(28);
    const LogFile4ScreenRead read = LogFile4Reader::read(cp932Lines(lines), 3, testing::sampleScreen());
    EXPECT_TRUE(read.loaded);
    ASSERT_EQ(read.messages.size(), 1);
    EXPECT_EQ(read.messages[0].text, QStringLiteral("個別通話子機番号登録:読み出しエラー"));
    EXPECT_EQ(read.values.callNumbers, testing::sampleScreen().callNumbers);
    EXPECT_TRUE(read.values.memo.isEmpty());
}

TEST(LogFile4Reader, WithoutAModelOnlyTheCommonLinesAreRead) {
    const LogFile4ScreenRead read = LogFile4Reader::read(cp932Lines(testing::sampleLines(4)), 0, V());
    EXPECT_TRUE(read.loaded);
    EXPECT_TRUE(read.messages.isEmpty());
    EXPECT_EQ(read.values.remoteKeys, testing::sampleScreen().remoteKeys);
    EXPECT_EQ(read.values.menuSlots, V().menuSlots);
    EXPECT_TRUE(read.values.memo.isEmpty());
}

TEST(LogFile4Reader, ValueRules) {
    auto lines = testing::sampleLines(3);
    lines[4] = "\"圏外お知らせ音\",\"鳴動\"";               // no such entry
    lines[18] = "\"KRM-200ﾘﾓｺﾝｷｰ1設定\",\"緊急\",\"なし\""; // full-table text
    lines[20] = "\"KRM-200ﾘﾓｺﾝｷｰ3設定\",\"外部音源制御\",\"No.999\"";
    lines[22] = "\"機能ﾎﾞﾀﾝ割り当て設定\",\"個別通話\",\"内線番号４８\"";
    lines[28] = "\"個別通話子機番号登録\",\"000\",\"0\",\"105\"";
    const LogFile4ScreenRead read = LogFile4Reader::read(cp932Lines(lines), 3, testing::sampleScreen());
    EXPECT_TRUE(read.messages.isEmpty());
    EXPECT_EQ(read.values.outOfRangeTone, V::kNone);
    EXPECT_EQ(read.values.remoteKeys[0], (V::FunctionChoice{11, 0}));
    EXPECT_EQ(read.values.remoteKeys[2], (V::FunctionChoice{7, 998}));
    EXPECT_EQ(read.values.functionButton, (V::FunctionChoice{3, 47}));
    EXPECT_EQ(read.values.talkButton, 0);
    EXPECT_EQ(read.values.callNumbers[0], QString());
    EXPECT_EQ(read.values.callNumbers[2], QStringLiteral("0105"));
    EXPECT_EQ(read.values.callNumbers[3], QString()); // fields past the end read as empty

    lines[24] = "\"ﾄｰｸﾎﾞﾀﾝ動作設定\",\"\"";
    EXPECT_EQ(LogFile4Reader::read(cp932Lines(lines), 3, V()).values.talkButton, 1);
    lines[24] = "\"ﾄｰｸﾎﾞﾀﾝ動作設定\",\"ｺﾝﾄﾛｰﾙﾏｲｸのみ \"";
    EXPECT_EQ(LogFile4Reader::read(cp932Lines(lines), 3, V()).values.talkButton, 1);
    // A PS-ID past its 28 bits would wrap in the handset: the boxes keep what they held.
    lines[2] = "\"PS-ID\",\"2\",\"6\",\"8\",\"4\",\"3\",\"5\",\"4\",\"5\",\"6\"";
    EXPECT_EQ(LogFile4Reader::read(cp932Lines(lines), 3, testing::sampleScreen()).values.psId,
              testing::sampleScreen().psId);
}

TEST(LogFile4Reader, AnyBytesAreReadWithinTheModelsLines) {
    QByteArray hostile = cp932Lines(testing::sampleLines(2));
    hostile +=
        QByteArray(200000, '"') + QByteArray(100000, ',') + QByteArray("\n\r\x81\xff\x00", 5).repeated(5000);
    const LogFile4ScreenRead read = LogFile4Reader::read(hostile, 2, V());
    EXPECT_TRUE(read.messages.isEmpty());
    EXPECT_EQ(LogFile4Writer::fromScreen(read.values, 2).bytes, sampleReadBack(2));

    QByteArray junk;
    for (int i = 0; i < 70000; ++i) {
        junk.append(static_cast<char>((i * 131) % 256));
    }
    const QByteArray file = cp932("\"ZX-VA150ログファイル4\"\r\n") + junk;
    const LogFile4ScreenRead damaged = LogFile4Reader::read(file, 3, V());
    EXPECT_TRUE(damaged.loaded);
    EXPECT_LE(damaged.messages.size(), 28);
    LogFile4ImageReader::read(file, 3, HandsetSettingImage{});
}

TEST(LogFile4Kind, SaveNameFollowsTheJvRule) {
    EXPECT_EQ(logfile::kLogFile4.saveName("/logs/a.jv1"), "/logs/a.jv4");
    EXPECT_EQ(logfile::kLogFile4.saveName("/logs/a.jvx.b"), "/logs/a.b.jv4");
    EXPECT_EQ(logfile::kLogFile4.saveName("/logs/a"), "/logs/a.jv4");
}

} // namespace
} // namespace tolvan::psent

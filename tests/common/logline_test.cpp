#include "common/logline.h"

#include <gtest/gtest.h>

namespace tolvan {
namespace {

TEST(LogLine, WritesQuotedFieldsWithCrLf) {
    const auto line = encodeQuotedLine(
        {QStringLiteral("外部ﾏｲｺﾝｿﾌﾄｳｪｱ "), QStringLiteral("0"), QStringLiteral("1"), QString()});
    ASSERT_TRUE(line.ok());
    QByteArray expected("\"");
    expected += encodeCp932(QStringLiteral("外部ﾏｲｺﾝｿﾌﾄｳｪｱ ")).bytes;
    expected += "\",\"0\",\"1\",\"\"\r\n";
    EXPECT_EQ(line.bytes, expected);
    EXPECT_EQ(encodeQuotedLine({QStringLiteral("memo")}).bytes, QByteArray("\"memo\"\r\n"));
}

TEST(LogLine, UnmappableFieldFailsTheWholeLine) {
    const auto line = encodeQuotedLine({QStringLiteral("PS-ID"), QStringLiteral("\u00E9")});
    EXPECT_FALSE(line.ok());
    EXPECT_TRUE(line.bytes.isEmpty());
}

TEST(LogLine, TokenizerDropsCommasAndEmptyFields) {
    // Commas vanish even inside a field, runs of quotes split, empty fields disappear (so an
    // empty box shifts the fields after it).
    const auto fields = tokenizeLogLine("\"PS-ID\",\"1\",\"\",\"2,3\",\"4\"\r\n", 16);
    ASSERT_EQ(fields.size(), 4);
    EXPECT_EQ(fields[0], "PS-ID");
    EXPECT_EQ(fields[1], "1");
    EXPECT_EQ(fields[2], "23");
    EXPECT_EQ(fields[3], "4");
    // A quote inside a memo cuts it.
    const auto memo = tokenizeLogLine("\"abc\"def\"\r\n", 16);
    ASSERT_EQ(memo.size(), 2);
    EXPECT_EQ(memo[0], "abc");
    EXPECT_EQ(memo[1], "def");
    // Shift-JIS second bytes are never confused with quotes or commas.
    const QByteArray sjis = encodeCp932(QStringLiteral("ﾁｬﾈﾙ表示")).bytes;
    const auto kanji = tokenizeLogLine("\"" + sjis + "\"", 4);
    ASSERT_EQ(kanji.size(), 1);
    EXPECT_EQ(kanji[0], sjis);
}

TEST(LogLine, TokenizerIsBounded) {
    QByteArray many;
    for (int i = 0; i < 1000; ++i) {
        many += "\"x\",";
    }
    EXPECT_EQ(tokenizeLogLine(many, 10).size(), 10);
    EXPECT_TRUE(tokenizeLogLine("", 10).isEmpty());
    EXPECT_TRUE(tokenizeLogLine("\"\"\"\",,,", 10).isEmpty());
}

TEST(LogLine, SplitterCutsLinesAndLengths) {
    const auto lines = splitLogLines("a\r\nbb\nccc\r\n", 10, 100);
    ASSERT_EQ(lines.lines.size(), 3);
    EXPECT_EQ(lines.lines[0], "a");
    EXPECT_EQ(lines.lines[1], "bb");
    EXPECT_EQ(lines.lines[2], "ccc");
    EXPECT_FALSE(lines.truncated);
    // No final line end: the last line still counts.
    EXPECT_EQ(splitLogLines("x\r\ny", 10, 100).lines.size(), 2);

    const QByteArray longLine(5000, 'z');
    const auto cut = splitLogLines(longLine + "\r\nnext\r\n", 10, 300);
    ASSERT_EQ(cut.lines.size(), 2);
    EXPECT_EQ(cut.lines[0].size(), 300);
    EXPECT_EQ(cut.lines[1], "next");
    EXPECT_TRUE(cut.truncated);

    QByteArray manyLines;
    for (int i = 0; i < 600; ++i) {
        manyLines += "l\r\n";
    }
    const auto capped = splitLogLines(manyLines, 256, 100);
    EXPECT_EQ(capped.lines.size(), 256);
    EXPECT_TRUE(capped.truncated);
}

} // namespace
} // namespace tolvan

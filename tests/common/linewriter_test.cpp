// The one line writer of every log file kind: what it refuses, and that it names the character.
#include "common/cp932.h"
#include "common/logfile/linewriter.h"

#include <gtest/gtest.h>

namespace tolvan::logfile {
namespace {

TEST(LineWriter, AQuoteInsideAFieldIsRefusedByEveryKindAndInTheMemoAsTheKindSays) {
    // A quote in a field would move every field after it: once written by .jv1, .jv3 and .jv4.
    for (const LogFileKind* kind : {&kLogFile1, &kLogFile2, &kLogFile3, &kLogFile4}) {
        LineWriter out(*kind);
        EXPECT_TRUE(out.header(3));
        EXPECT_FALSE(out.fields(QStringLiteral("PS-ID"), {QStringLiteral("PS-ID"), QStringLiteral("1\"2")}));
        EXPECT_TRUE(out.bytes().isEmpty());
        EXPECT_EQ(out.errorText(), QStringLiteral("PS-ID: 改行や「\"」はログファイルに書き込めません"));
        // Nothing more goes in after a refusal.
        EXPECT_FALSE(out.memo(QStringLiteral("m")));
        EXPECT_TRUE(out.bytes().isEmpty());

        LineWriter row(*kind);
        EXPECT_FALSE(row.blockLine(QStringLiteral("通信ｲﾍﾞﾝﾄﾊﾞｯﾌｧ"), QStringLiteral("a\"b"), true, false));
    }
    // In the memo, the last line, a quote only cuts the memo where a reader meets it.
    for (const LogFileKind* kind : {&kLogFile1, &kLogFile3, &kLogFile4}) {
        LineWriter out(*kind);
        ASSERT_TRUE(out.memo(QStringLiteral("ab\"cd")));
        EXPECT_EQ(out.bytes(), QByteArray("\"ab\"cd\"\r\n"));
    }
    LineWriter jv2(kLogFile2);
    EXPECT_FALSE(jv2.memo(QStringLiteral("ab\"cd")));
    EXPECT_EQ(jv2.errorText(), QStringLiteral("メモ: 改行や「\"」はログファイルに書き込めません"));
}

TEST(LineWriter, ACharacterOutsideCodePage932IsNamedWholeAndALineBreakIsRefused) {
    // A pair of surrogates is one character: the message must not carry half of it.
    LineWriter out(kLogFile1);
    EXPECT_FALSE(out.fields(QStringLiteral("PS-ID"), {QStringLiteral("PS-ID"), QStringLiteral("1😀")}));
    EXPECT_EQ(out.errorText(), QStringLiteral("PS-ID: 文字「😀」はShift-JISで書き込めません"));

    LineWriter lines(kLogFile4);
    EXPECT_FALSE(lines.memo(QStringLiteral("a\rb")));
    EXPECT_EQ(lines.errorText(), QStringLiteral("メモ: 改行はログファイルに書き込めません"));

    // An unknown model has no header line; a known one its quoted header with CR LF.
    LineWriter header(kLogFile2);
    EXPECT_TRUE(header.header(9));
    EXPECT_TRUE(header.bytes().isEmpty());
    EXPECT_TRUE(header.header(4));
    EXPECT_EQ(header.bytes(), encodeCp932(QStringLiteral("\"ZX-VA150(C)ログファイル2\"\r\n")).bytes);
}

TEST(LineWriter, ALabelledLineKeepsItsLabelAsWrittenButNamesTheLineWithoutItsPadding) {
    LineWriter out(kLogFile1);
    ASSERT_TRUE(out.labelled(QStringLiteral("制御ch "), {QStringLiteral("12chのみ")}));
    EXPECT_EQ(out.text().bytes, encodeCp932(QStringLiteral("\"制御ch \",\"12chのみ\"\r\n")).bytes);
    EXPECT_FALSE(out.labelled(QStringLiteral("制御ch "), {QStringLiteral("a\nb")}));
    const FileText failed = out.text();
    EXPECT_FALSE(failed.ok());
    EXPECT_TRUE(failed.bytes.isEmpty());
    EXPECT_EQ(failed.error, QStringLiteral("制御ch: 改行はログファイルに書き込めません"));
}

} // namespace
} // namespace tolvan::logfile

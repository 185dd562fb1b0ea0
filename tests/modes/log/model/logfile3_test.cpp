// Log file 3: byte for byte as written, read back, and files that are foreign, broken or hostile.
#include "modes/log/model/logfile3reader.h"
#include "modes/log/model/logfile3writer.h"
#include "tests/modes/log/model/samplebuffers.h"
#include "tests/support/iconvbytes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tolvan::log {
namespace {

using Lines = std::vector<std::string>;
using dataset::testing::cp932;
using dataset::testing::cp932Lines;

void appendBlock(Lines& lines, const Lines& rows) {
    if (rows.size() == 1) {
        lines.push_back("\"" + rows[0] + "\"");
        return;
    }
    lines.push_back("\"" + rows[0]);
    lines.insert(lines.end(), rows.begin() + 1, rows.end());
    lines.push_back("\"");
}

// The sample's file, built line by line as the technician's tools expect it.
Lines sampleFileLines(int model, const std::string& memo) {
    const testing::SampleRows rows;
    Lines lines;
    if (model == 2) {
        lines.push_back("\"ZX-VA100ログファイル3\"");
    } else if (model == 3) {
        lines.push_back("\"ZX-VA150ログファイル3\"");
    } else if (model == 4) {
        lines.push_back("\"ZX-VA150(C)ログファイル3\"");
    }
    lines.push_back("\"通信ｲﾍﾞﾝﾄﾊﾞｯﾌｧ\"");
    appendBlock(lines, rows.commEvent);
    lines.push_back("\"ﾏﾝﾏｼｰﾝｲﾍﾞﾝﾄﾊﾞｯﾌｧ\"");
    appendBlock(lines, rows.mmiEvent);
    lines.push_back("\"通信ｽﾃｰﾀｽﾊﾞｯﾌｧ\"");
    appendBlock(lines, rows.commStatus);
    lines.push_back("\"ﾏﾝﾏｼｰﾝｽﾃｰﾀｽﾊﾞｯﾌｧ\"");
    appendBlock(lines, rows.mmiStatus);
    lines.push_back("\"通信ｴﾗｰｽﾃｰﾀｽﾊﾞｯﾌｧ\"");
    appendBlock(lines, rows.commErrorStatus);
    lines.push_back("\"子機ｴﾗｰﾊﾞｯﾌｧ\"");
    appendBlock(lines, rows.handsetError);
    lines.push_back("\"" + memo + "\"");
    return lines;
}

HandsetBuffers sampleBuffers() {
    return HandsetBuffers::fromStore(testing::sampleStore());
}

LogFile3Content sampleContent(const QString& memo) {
    return {LogDisplayLists::fromBuffers(sampleBuffers()), memo};
}

class ByModel : public ::testing::TestWithParam<int> {};
class AnyModelCode : public ::testing::TestWithParam<int> {};

TEST_P(ByModel, TheFileIsByteExactWithTheUsualLineNumbers) {
    const int model = GetParam();
    const Lines expected = sampleFileLines(model, "現場A, 2号機");
    ASSERT_EQ(expected.size(), 178u);
    for (const std::size_t header : {1, 19, 37, 119, 121, 159}) {
        EXPECT_EQ(expected[header].back(), '"') << header;
    }
    for (const std::size_t closing : {18, 36, 118, 158, 176}) {
        EXPECT_EQ(expected[closing], "\"") << closing;
    }
    EXPECT_EQ(expected[120], "\"[E]受話音量大設定\"");

    const LogFile3Text file =
        LogFile3Writer::fromBuffers(sampleBuffers(), static_cast<std::uint32_t>(model), "現場A, 2号機");
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.bytes, cp932Lines(expected));
}

TEST_P(AnyModelCode, ASavedFileLoadsBackUnchanged) {
    const auto model = static_cast<std::uint32_t>(GetParam());
    LogFile3Content content = sampleContent(QStringLiteral(" 現場A, B棟 "));
    content.lists.setRows(BufferKind::MmiEvent, {});
    content.lists.setRows(BufferKind::CommStatus, {QStringLiteral("only row")});
    content.lists.setRows(BufferKind::HandsetError, {QStringLiteral("a"), QStringLiteral("b")});
    const LogFile3Text file = LogFile3Writer::write(content, model);
    ASSERT_TRUE(file.ok());
    // An empty list is one line of two quotes.
    EXPECT_TRUE(file.bytes.contains(cp932("\r\n\"ﾏﾝﾏｼｰﾝｲﾍﾞﾝﾄﾊﾞｯﾌｧ\"\r\n\"\"\r\n\"通信ｽﾃｰﾀｽﾊﾞｯﾌｧ\"\r\n")));
    const LogFile3Read read = LogFile3Reader::read(file.bytes, model);
    ASSERT_TRUE(read.loaded());
    EXPECT_FALSE(read.message);
    EXPECT_EQ(read.content, content);
}

INSTANTIATE_TEST_SUITE_P(Models, ByModel, ::testing::Values(2, 3, 4));
INSTANTIATE_TEST_SUITE_P(Models, AnyModelCode, ::testing::Values(2, 3, 4, 0));

TEST(LogFile3Writer, AnotherModelCodeWritesNoHeader) {
    Lines expected = sampleFileLines(3, "");
    expected.erase(expected.begin());
    EXPECT_EQ(LogFile3Writer::fromBuffers(sampleBuffers(), 7, QString()).bytes, cp932Lines(expected));
}

TEST(LogFile3Writer, WhatTheFileCannotCarryFailsWithAMessageAndNoBytes) {
    LogFile3Content content = sampleContent(QStringLiteral("Müller"));
    LogFile3Text file = LogFile3Writer::write(content, 3);
    ASSERT_FALSE(file.ok());
    EXPECT_TRUE(file.bytes.isEmpty());
    EXPECT_EQ(file.error->title, "エラー");
    EXPECT_TRUE(file.error->text.contains("メモ"));
    EXPECT_TRUE(file.error->text.contains("ü"));

    content.memo = QStringLiteral("two\nlines");
    file = LogFile3Writer::write(content, 3);
    ASSERT_FALSE(file.ok());
    EXPECT_TRUE(file.bytes.isEmpty());

    // A wave dash from another input method is written as code page 932 has it.
    content.memo = QStringLiteral("1\u301C2");
    file = LogFile3Writer::write(content, 3);
    ASSERT_TRUE(file.ok());
    EXPECT_TRUE(file.bytes.endsWith(QByteArray::fromHex("2231816032220d0a")));

    // Lists loaded from a long file must not give a file longer than a reader takes.
    content.memo.clear();
    content.lists.setRows(BufferKind::CommStatus, QStringList(250, QStringLiteral("x")));
    file = LogFile3Writer::write(content, 3);
    ASSERT_FALSE(file.ok());
    EXPECT_TRUE(file.bytes.isEmpty());
}

TEST(LogFile3Reader, TheHeaderMustBeTheConnectedModels) {
    const QByteArray va150 = cp932Lines(sampleFileLines(3, "m"));
    const LogFile3Read read = LogFile3Reader::read(va150, 2);
    EXPECT_EQ(read.status, LogFile3Read::Status::WrongModel);
    ASSERT_TRUE(read.message);
    EXPECT_EQ(read.message->title, "エラー");
    EXPECT_EQ(read.message->text, "接続モデルはZX-VA100ですが、読み込みファイルはZX-VA100用ではありません");
    EXPECT_EQ(read.content, LogFile3Content{});
    EXPECT_EQ(LogFile3Reader::read(va150, 4).message->text,
              "接続モデルはZX-VA150(C)ですが、読み込みファイルはZX-VA150(C)用ではありません");
    // Without a known model any header, or none, is read.
    EXPECT_TRUE(LogFile3Reader::read(va150, 0).loaded());
    Lines headless = sampleFileLines(3, "m");
    headless.erase(headless.begin());
    EXPECT_EQ(LogFile3Reader::read(cp932Lines(headless), 0).content, sampleContent("m"));
}

TEST(LogFile3Reader, AFileOutOfShapeLoadsNothingAndSaysNothing) {
    const Lines good = sampleFileLines(3, "m");
    auto rejects = [](const Lines& lines) {
        const LogFile3Read read = LogFile3Reader::read(cp932Lines(lines), 3);
        return read.status == LogFile3Read::Status::BadStructure && !read.message &&
               read.content == LogFile3Content{};
    };
    // The MMI status section (header and row) moved in front of the communication status one.
    Lines swapped = good;
    std::rotate(swapped.begin() + 37, swapped.begin() + 119, swapped.begin() + 121);
    EXPECT_TRUE(rejects(swapped));
    // The handset error header on the last line.
    const Lines cut(good.begin(), good.begin() + 160);
    ASSERT_EQ(cut.back(), "\"子機ｴﾗｰﾊﾞｯﾌｧ\"");
    EXPECT_TRUE(rejects(cut));
    // A section header missing, and two headers on neighbouring lines.
    Lines missing = good;
    missing[121] = "\"通信ｴﾗｰ\"";
    EXPECT_TRUE(rejects(missing));
    Lines empty = good;
    empty.erase(empty.begin() + 120);
    EXPECT_TRUE(rejects(empty));
    // An empty file has no header: with a model that is a mismatch, without one a shape fault.
    EXPECT_EQ(LogFile3Reader::read(QByteArray(), 3).status, LogFile3Read::Status::WrongModel);
    EXPECT_EQ(LogFile3Reader::read(QByteArray(), 0).status, LogFile3Read::Status::BadStructure);
}

TEST(LogFile3Reader, SectionsStartAtTheLastEqualHeaderAndQuotesAndEmptyLinesGo) {
    Lines lines = sampleFileLines(3, "m");
    // Hand-edited: an MMI event header inside the first block, a blank line, quotes in a row.
    lines.insert(lines.begin() + 5, "\"ﾏﾝﾏｼｰﾝｲﾍﾞﾝﾄﾊﾞｯﾌｧ\"");
    lines.insert(lines.begin() + 6, "");
    lines[7] = R"(ab"c"")";
    const LogFile3Read read = LogFile3Reader::read(cp932Lines(lines), 3);
    ASSERT_TRUE(read.loaded());
    const QStringList comm = read.content.lists.rows(BufferKind::CommEvent);
    ASSERT_EQ(comm.size(), 17);
    EXPECT_EQ(comm[0], "[Y]連続受信ﾃｽﾄ");
    EXPECT_EQ(comm[3], "ﾏﾝﾏｼｰﾝｲﾍﾞﾝﾄﾊﾞｯﾌｧ");
    EXPECT_EQ(comm[4], "abc");
    EXPECT_EQ(read.content.lists.rows(BufferKind::MmiEvent).size(), 16);
}

TEST(LogFile3Reader, TheMemoIsTheLastLineUpToItsSecondQuote) {
    auto memoOf = [](const std::string& last) {
        Lines lines = sampleFileLines(3, "");
        lines.back() = last;
        return LogFile3Reader::read(cp932Lines(lines), 3).content.memo;
    };
    EXPECT_EQ(memoOf("\"\""), "");
    EXPECT_EQ(memoOf("\"a, b\"c\""), "a, b");
    EXPECT_EQ(memoOf("\"\"\"x"), "x");
    EXPECT_EQ(memoOf("plain"), "plain");
    // The memo line is never a row of the last list.
    EXPECT_EQ(LogFile3Reader::read(cp932Lines(sampleFileLines(3, "memo")), 3)
                  .content.lists.rows(BufferKind::HandsetError),
              sampleContent("").lists.rows(BufferKind::HandsetError));
}

TEST(LogFile3Reader, AnyBytesAreReadWithinBounds) {
    // Past 255 lines nothing is read: the 255th line is the memo.
    Lines lines = sampleFileLines(3, "m");
    lines.pop_back();
    while (lines.size() < 254) {
        lines.push_back("row");
    }
    lines.push_back("\"kept\"");
    lines.push_back("\"dropped\"");
    LogFile3Read read = LogFile3Reader::read(cp932Lines(lines), 3);
    ASSERT_TRUE(read.loaded());
    EXPECT_EQ(read.content.memo, "kept");
    // The sample's 16 rows, then the padding from line 177 to the memo.
    EXPECT_EQ(read.content.lists.rows(BufferKind::HandsetError).size(), 16 + (254 - 177));

    // Bytes that are no code page 932, NULs and a huge line: read, never trusted.
    QByteArray junk = cp932Lines(sampleFileLines(3, "m"));
    junk.replace(cp932("C8\r\n"), QByteArray("\x81\xFF\0\x85", 4) + QByteArray(100000, 'A') + "\r\n");
    read = LogFile3Reader::read(junk, 3);
    EXPECT_TRUE(read.loaded());
    EXPECT_LE(read.content.lists.rows(BufferKind::HandsetError).last().size(), LogFile3Format::kMaxLineBytes);
    EXPECT_FALSE(LogFile3Reader::read(QByteArray(1 << 20, '\n'), 0).loaded());
}

TEST(LogFile3Kind, SaveUnderTheJv3NameAndOpenAgain) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(logfile::kLogFile3.saveName(dir.filePath("log.jv1")), dir.filePath("log.jv3"));
    EXPECT_EQ(logfile::kLogFile3.saveName(dir.filePath("log")), dir.filePath("log.jv3"));

    const LogFile3Text file = LogFile3Writer::write(sampleContent("m"), 4);
    ASSERT_TRUE(
        logfile::saveAtomically(logfile::kLogFile3.saveName(dir.filePath("log")), file.bytes).isEmpty());
    const logfile::LoadedFile loaded = logfile::kLogFile3.load(dir.filePath("log"));
    ASSERT_EQ(loaded.status, logfile::LoadedFile::Status::Loaded);
    EXPECT_EQ(LogFile3Reader::read(loaded.bytes, 4).content, sampleContent("m"));
    EXPECT_EQ(logfile::kLogFile3.load(dir.filePath("other")).status, logfile::LoadedFile::Status::Missing);
}

} // namespace
} // namespace tolvan::log

// Log file 1 as written: byte for byte, for each model, from the screen and from the image.
#include "common/logfile/logfilekind.h"
#include "modes/dataset/model/logfile1writer.h"
#include "tests/modes/dataset/samplevalues.h"
#include "tests/support/iconvbytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tolvan::dataset {
namespace {

using testing::cp932Lines;

class ScreenFormFile : public ::testing::TestWithParam<int> {};

TEST_P(ScreenFormFile, IsByteExact) {
    const int model = GetParam();
    const LogFile1Text file =
        LogFile1Writer::fromScreen(testing::sampleScreen(), static_cast<std::uint32_t>(model));
    ASSERT_TRUE(file.ok()) << file.error.toStdString();
    const auto expected = testing::sampleScreenLines(model);
    EXPECT_EQ(expected.size(), model == 3 ? 16u : model == 4 ? 29u : 30u);
    EXPECT_EQ(file.bytes, cp932Lines(expected));
}

class ImageFormFile : public ::testing::TestWithParam<int> {};

TEST_P(ImageFormFile, IsByteExact) {
    const int model = GetParam();
    const LogFile1Text file = LogFile1Writer::fromImage(
        testing::sampleImage(), static_cast<std::uint32_t>(model), QStringLiteral("memo"));
    ASSERT_TRUE(file.ok()) << file.error.toStdString();
    EXPECT_EQ(file.bytes, cp932Lines(testing::sampleImageLines(model)));
}

INSTANTIATE_TEST_SUITE_P(Models, ScreenFormFile, ::testing::Values(2, 3, 4));
INSTANTIATE_TEST_SUITE_P(Models, ImageFormFile, ::testing::Values(2, 3, 4));

TEST(LogFile1Writer, HalfWidthKatakanaAreSingleBytesAndEveryLineEndsInCrLf) {
    const LogFile1Text file = LogFile1Writer::fromScreen(testing::sampleScreen(), 3);
    ASSERT_TRUE(file.ok());
    EXPECT_TRUE(file.bytes.startsWith(QByteArray::fromHex("225a582d56413135308"
                                                          "38d834f837483408343838b31220d0a")));
    EXPECT_TRUE(file.bytes.contains(QByteArray::fromHex("225a582d524d3135"))); // "ZX-RM15
    EXPECT_TRUE(file.bytes.contains(QByteArray::fromHex("2c22b5cc220d0a")));   // ,"ｵﾌ" CR LF
    EXPECT_TRUE(file.bytes.endsWith("\"\r\n"));
    EXPECT_EQ(file.bytes.count("\r\n"), 16);
    EXPECT_EQ(file.bytes.count('\n'), 16);
}

TEST(LogFile1Writer, UnknownModelWritesNoHeaderAndTheVa150Layout) {
    const LogFile1Text file = LogFile1Writer::fromScreen(testing::sampleScreen(), 0);
    auto expected = testing::sampleScreenLines(3);
    expected.erase(expected.begin());
    EXPECT_EQ(file.bytes, cp932Lines(expected));
}

TEST(LogFile1Writer, FaultCodeOtherThanZkoLeavesTheLabelAlone) {
    SystemParamImage image = testing::sampleImage();
    image.faultCode = {'Z', 'K', 'X'};
    const LogFile1Text file = LogFile1Writer::fromImage(image, 3, QString());
    EXPECT_TRUE(file.bytes.contains(testing::cp932("\r\n\"障害監視ｺｰﾄﾞ\"\r\n\"\"\r\n")));
}

TEST(LogFile1Writer, ATextCodePage932CannotCarryIsAnErrorAndWritesNothing) {
    DataSetScreenValues v = testing::sampleScreen();
    v.memo = QStringLiteral("Müller");
    LogFile1Text file = LogFile1Writer::fromScreen(v, 2);
    EXPECT_FALSE(file.ok());
    EXPECT_TRUE(file.bytes.isEmpty());
    EXPECT_TRUE(file.error.contains(QStringLiteral("メモ")));
    EXPECT_TRUE(file.error.contains(QStringLiteral("ü")));

    v = testing::sampleScreen();
    v.psId[3] = QStringLiteral("😀");
    file = LogFile1Writer::fromScreen(v, 2);
    EXPECT_FALSE(file.ok());
    EXPECT_TRUE(file.error.contains(QStringLiteral("PS-ID")));

    v = testing::sampleScreen();
    v.memo = QStringLiteral("two\nlines");
    EXPECT_FALSE(LogFile1Writer::fromScreen(v, 2).ok());
    // Look-alikes are folded to their code page 932 forms rather than refused.
    v.memo = QStringLiteral("1\u301C2");
    file = LogFile1Writer::fromScreen(v, 3);
    ASSERT_TRUE(file.ok());
    EXPECT_TRUE(file.bytes.endsWith(QByteArray::fromHex("2231816032220d0a")));
}

TEST(LogFile1Kind, SaveNameFollowsTheJvRule) {
    EXPECT_EQ(logfile::kLogFile1.saveName("/logs/a.jv3"), "/logs/a.jv1");
    EXPECT_EQ(logfile::kLogFile1.saveName("/logs/a"), "/logs/a.jv1");
    EXPECT_EQ(logfile::kLogFile1.saveName("/logs/a.jv1"), "/logs/a.jv1");
    EXPECT_EQ(logfile::kLogFile1.saveName("/logs/a.jv1.bak"), "/logs/a.bak.jv1");
    EXPECT_EQ(logfile::kLogFile1.saveName("/logs/a.txt"), "/logs/a.txt.jv1");
    EXPECT_EQ(logfile::kLogFile1.saveName("/logs/old.jvsets/a"), "/logs/old.jvsets/a.jv1");
    EXPECT_EQ(logfile::kLogFile1.saveName("c:\\x.jv\\a.jv4"), "c:\\x.jv\\a.jv1");
}

TEST(LogFile1Kind, SaveReplacesAFileAndAFailedSaveReportsTheFileLayer) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("set.jv1");
    ASSERT_TRUE(logfile::saveAtomically(path, "old\r\n").isEmpty());
    ASSERT_TRUE(logfile::saveAtomically(path, "new\r\n").isEmpty());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "new\r\n");
    file.close();
    // A folder that does not exist: the message comes back, nothing is created.
    const QString missing = dir.filePath("no/such/folder/set.jv1");
    EXPECT_FALSE(logfile::saveAtomically(missing, "x").isEmpty());
    EXPECT_FALSE(QFile::exists(missing));
    // A directory in the way cannot be replaced; the directory stays.
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.jv1"));
    EXPECT_FALSE(logfile::saveAtomically(dir.filePath("taken.jv1"), "x").isEmpty());
    EXPECT_TRUE(QFileInfo(dir.filePath("taken.jv1")).isDir());
}

} // namespace
} // namespace tolvan::dataset

// Log file 2: written byte for byte, read back with its messages, printed.
#include "modes/test/model/calibrationimage.h"
#include "modes/test/model/logfile2reader.h"
#include "modes/test/model/logfile2report.h"
#include "modes/test/model/logfile2writer.h"
#include "tests/support/iconvbytes.h"

#include "common/logfile/logfilekind.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tolvan::testmode {
namespace {

using dataset::testing::cp932Lines;

CalibrationFields sampleFields() {
    CalibrationFields f;
    f.dac[0] = {"00", "00", "FF", "DC"};
    f.rssi[0][0] = {"01", "2C"};
    f.rssi[0][1] = {"0B", "B8"};
    f.amp[0] = {"00", "00", "02", "BC"};
    f.dac[1] = {"11", "22", "33", "44"}; // not in the file
    f.rssi[1][0] = {"80", "01"};
    return f;
}

std::vector<std::string> sampleLines(const std::string& header) {
    return {"\"" + header + "\"",
            "\"送信DAC値補正係数\",\"DC\",\"FF\",\"00\",\"00\"",
            "\"RSSI補正係数1\",\"2C\",\"01\"",
            "\"RSSI補正係数2\",\"B8\",\"0B\"",
            "\"送信AMPﾊﾞｲｱｽ補正係数\",\"BC\",\"02\",\"00\",\"00\"",
            "\"ﾒﾓ 1\""};
}

class LogFile2Models : public ::testing::TestWithParam<std::pair<int, const char*>> {};

TEST_P(LogFile2Models, WrittenByteExactAndReadBack) {
    const auto [model, header] = GetParam();
    const LogFile2Text file =
        LogFile2Writer::write(sampleFields(), static_cast<std::uint32_t>(model), QStringLiteral("ﾒﾓ 1"));
    ASSERT_TRUE(file.ok()) << file.error.toStdString();
    EXPECT_EQ(file.bytes, cp932Lines(sampleLines(header)));

    const LogFile2Read read =
        LogFile2Reader::read(file.bytes, static_cast<std::uint32_t>(model), CalibrationFields{}, QString());
    EXPECT_TRUE(read.loaded);
    EXPECT_TRUE(read.messages.isEmpty());
    CalibrationFields expected;
    expected.dac[0] = sampleFields().dac[0];
    expected.rssi[0] = sampleFields().rssi[0];
    expected.amp[0] = sampleFields().amp[0];
    EXPECT_EQ(read.fields, expected);
    EXPECT_EQ(read.memo, QStringLiteral("ﾒﾓ 1"));
}

INSTANTIATE_TEST_SUITE_P(Models, LogFile2Models,
                         ::testing::Values(std::pair{2, "ZX-VA100ログファイル2"},
                                           std::pair{3, "ZX-VA150ログファイル2"},
                                           std::pair{4, "ZX-VA150(C)ログファイル2"}));

TEST(LogFile2Writer, RefusesWhatWouldNotReadBack) {
    EXPECT_FALSE(LogFile2Writer::write(sampleFields(), 0, QString()).ok());
    EXPECT_FALSE(LogFile2Writer::write(sampleFields(), 3, QStringLiteral("a\r\nb")).ok());
    const LogFile2Text file = LogFile2Writer::write(sampleFields(), 3, QStringLiteral("Müller"));
    EXPECT_TRUE(file.bytes.isEmpty());
    EXPECT_TRUE(file.error.contains(QStringLiteral("ü")));
}

TEST(LogFile2Reader, AnotherModelsFileLoadsNothing) {
    const QByteArray va150 = cp932Lines(sampleLines("ZX-VA150ログファイル2"));
    const std::pair<int, const char*> cases[] = {
        {2, "接続モデルはZX-VA100ですが、読み込みファイルはZX-VA100用ではありません"},
        {4, "接続モデルはZX-VA150(C)ですが、読み込みファイルはZX-VA150(B)用ではありません"}};
    for (const auto& [model, text] : cases) {
        const LogFile2Read read = LogFile2Reader::read(va150, static_cast<std::uint32_t>(model),
                                                       sampleFields(), QStringLiteral("kept"));
        EXPECT_FALSE(read.loaded);
        EXPECT_EQ(read.messages, QList<Message>{errorMessage(QString::fromUtf8(text))});
        EXPECT_EQ(read.fields, sampleFields());
        EXPECT_EQ(read.memo, QStringLiteral("kept"));
    }
    const QByteArray va100 = cp932Lines(sampleLines("ZX-VA100ログファイル2"));
    EXPECT_EQ(LogFile2Reader::read(va100, 3, {}, {}).messages.first().text,
              QStringLiteral("接続モデルはZX-VA150ですが、読み込みファイルはZX-VA150用ではありません"));
    // With no model known there is nothing to check against.
    EXPECT_TRUE(LogFile2Reader::read(va100, 0, {}, {}).loaded);
}

TEST(LogFile2Reader, BadLabelsKeepTheirFieldsAndSaySo) {
    auto lines = sampleLines("ZX-VA150ログファイル2");
    lines[1] = "\"送信DAC値\",\"01\",\"02\",\"03\",\"04\"";
    lines[3] = "\"RSSI補正係数1\",\"01\",\"02\"";
    const LogFile2Read read = LogFile2Reader::read(cp932Lines(lines), 3, sampleFields(), QString());
    EXPECT_TRUE(read.loaded);
    EXPECT_EQ(read.messages, (QList<Message>{errorMessage(QStringLiteral("送信DAC値補正係数:読み出しエラー")),
                                             errorMessage(QStringLiteral("RSSI補正係数2:読み出しエラー"))}));
    EXPECT_EQ(read.fields.dac[0], sampleFields().dac[0]);
    EXPECT_EQ(read.fields.rssi[0][1], sampleFields().rssi[0][1]);
}

TEST(LogFile2Reader, AmplifierLineOfTheWrongShapeEmptiesItsFieldsSilently) {
    for (const char* line :
         {"\"送信AMPﾊﾞｲｱｽ補正係数\",\"BC\",\"02\",\"00\"",
          "\"送信AMPﾊﾞｲｱｽ補正係数\",\"BC\",\"02\",\"00\",\"00\",\"00\"", "\"AMP\",\"1\",\"2\",\"3\",\"4\""}) {
        auto lines = sampleLines("ZX-VA150ログファイル2");
        lines[4] = line;
        const LogFile2Read read = LogFile2Reader::read(cp932Lines(lines), 3, sampleFields(), QString());
        EXPECT_TRUE(read.messages.isEmpty()) << line;
        EXPECT_EQ(read.fields.amp[0], CalibrationFields::Hex4{}) << line;
    }
}

TEST(LogFile2Reader, ATruncatedFileReportsEachMissingLine) {
    const LogFile2Read read = LogFile2Reader::read(cp932Lines({"\"ZX-VA150ログファイル2\""}), 3,
                                                   sampleFields(), QStringLiteral("old"));
    EXPECT_EQ(read.messages.size(), 3);
    EXPECT_EQ(read.fields.amp[0], CalibrationFields::Hex4{});
    EXPECT_TRUE(read.memo.isEmpty());
}

// What diff and check compare: the file's coefficients in the store as a write takes them, and
// rendered again as the screen shows them.
TEST(LogFile2Reader, IntoTheStoreAsAWriteTakesTheFields) {
    auto lines = sampleLines("ZX-VA150ログファイル2");
    lines[2] = "\"RSSI補正係数1\",\"2c\",\"01\"";
    handset::HandsetBlocks store;
    CalibrationImage held;
    held.setRssiSlope(1, 0x0180); // antenna 2 is not in the file
    held.setAmpCoefficient(7, 0x12345678);
    held.storeInto(store);
    const LogFile2Read read = LogFile2Reader::readIntoStore(cp932Lines(lines), 3, store);
    EXPECT_TRUE(read.messages.isEmpty());
    const CalibrationImage image = CalibrationImage::fromStore(store);
    EXPECT_EQ(image.dacCoefficient(0), 0xFFDCu);
    EXPECT_EQ(image.rssiSlope(0), 0x012C);
    EXPECT_EQ(image.rssiOffset(0), 0x0BB8);
    EXPECT_EQ(image.ampCoefficient(0), 0x02BCu);
    EXPECT_EQ(image.rssiSlope(1), 0x0180);
    EXPECT_EQ(image.ampCoefficient(7), 0x12345678u);
    lines[2] = "\"RSSI補正係数1\",\"2C\",\"01\"";
    EXPECT_EQ(LogFile2Writer::fromStore(store, 3, QStringLiteral("ﾒﾓ 1")).bytes, cp932Lines(lines));

    // A field that is no hex number says so once; another model's file stores nothing.
    lines[1] = "\"送信DAC値補正係数\",\"D\",\"FX\",\"00\",\"00\"";
    handset::HandsetBlocks slipped;
    EXPECT_EQ(LogFile2Reader::readIntoStore(cp932Lines(lines), 3, slipped).messages,
              QList<Message>{errorMessage(QStringLiteral("入力ミスです。"))});
    handset::HandsetBlocks other;
    EXPECT_FALSE(LogFile2Reader::readIntoStore(cp932Lines(lines), 2, other).loaded);
    EXPECT_EQ(CalibrationImage::fromStore(other), CalibrationImage{});
}

TEST(LogFile2Kind, SavedUnderTheNameRuleAndLoadedBack) {
    QTemporaryDir dir;
    const QString path = logfile::kLogFile2.saveName(dir.filePath(QStringLiteral("a.jv1")));
    EXPECT_EQ(path, dir.filePath(QStringLiteral("a.jv2")));
    const QByteArray bytes = LogFile2Writer::write(sampleFields(), 3, QString()).bytes;
    ASSERT_TRUE(logfile::saveAtomically(path, bytes).isEmpty());
    const auto loaded = logfile::kLogFile2.load(dir.filePath(QStringLiteral("a")));
    EXPECT_EQ(loaded.status, logfile::LoadedFile::Status::Loaded);
    EXPECT_EQ(loaded.bytes, bytes);
    EXPECT_EQ(logfile::kLogFile2.load(dir.filePath(QStringLiteral("b"))).status,
              logfile::LoadedFile::Status::Missing);
}

TEST(LogFile2Kind, ALongFileIsReadAlikeByTheScreenTheCommandLineAndTheComparisons) {
    // A hand-edited DAC line of 70 000 bytes pushes the other lines past 64 KiB, the bound the
    // screen and tolvan-cli once had; every path now reads what the line table keeps.
    std::vector<std::string> lines = sampleLines("ZX-VA150ログファイル2");
    lines[1] += ",\"" + std::string(70000, 'x') + "\"";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.jv2"));
    ASSERT_TRUE(logfile::saveAtomically(path, cp932Lines(lines)).isEmpty());
    const logfile::LoadedFile opened = logfile::kLogFile2.load(path);
    EXPECT_EQ(opened.bytes, logfile::kLogFile2.loadExact(path).bytes);
    const LogFile2Read read = LogFile2Reader::read(opened.bytes, 3, CalibrationFields{}, QString());
    EXPECT_TRUE(read.messages.isEmpty());
    EXPECT_EQ(read.fields.amp[0], sampleFields().amp[0]);
    EXPECT_EQ(read.memo, QStringLiteral("ﾒﾓ 1"));
}

TEST(LogFile2Report, SixLinesMostSignificantFirst) {
    const ReportPage page =
        LogFile2Report::page(sampleFields(), 4, QStringLiteral("客先"), QStringLiteral("m"));
    EXPECT_TRUE(page.fontFamily.isEmpty());
    ASSERT_EQ(page.columns.size(), 1);
    EXPECT_EQ(
        page.columns[0].lines,
        (QStringList{QStringLiteral("ZX-VA150(B)ﾛｸﾞﾌｧｲﾙ2 お客様名:客先\tメモ:m"),
                     QString(117, QLatin1Char('-')), QStringLiteral("送信DAC値補正係数\t\t\t0000FFDC"),
                     QStringLiteral("RSSI補正係数1\t\t\t\t012C"), QStringLiteral("RSSI補正係数2\t\t\t\t0BB8"),
                     QStringLiteral("送信AMPﾊﾞｲｱｽ補正係数\t\t\t000002BC")}));
    EXPECT_TRUE(
        LogFile2Report::page({}, 2, {}, {}).columns[0].lines[0].startsWith(QStringLiteral("ZX-VA100ﾛｸﾞ")));
}

} // namespace
} // namespace tolvan::testmode

// Reading log file 1 back onto the screen and into the image, with the messages a technician
// sees, and files that are short, long, foreign or broken.
#include "common/logfile/logfilekind.h"
#include "modes/dataset/model/datasetcodec.h"
#include "modes/dataset/model/logfile1format.h"
#include "modes/dataset/model/logfile1imagereader.h"
#include "modes/dataset/model/logfile1reader.h"
#include "modes/dataset/model/logfile1writer.h"
#include "modes/dataset/model/systemparamframes.h"
#include "tests/modes/dataset/printvalues.h"
#include "tests/modes/dataset/samplevalues.h"
#include "tests/support/iconvbytes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tolvan::dataset {
namespace {

using testing::cp932;
using testing::cp932Lines;
using V = DataSetScreenValues;

QStringList texts(const QList<Message>& messages) {
    QStringList out;
    for (const Message& m : messages) {
        EXPECT_EQ(m.title, QStringLiteral("エラー"));
        out << m.text;
    }
    return out;
}

// Values quite unlike the sample, so that every item the file sets is seen to change.
V otherValues() {
    V v;
    v.version = {"9", "9", "9", "9"};
    v.psId.fill("0");
    v.controlChannel = 0;
    v.handoverLevels = {1, 2, 3, 4, 5};
    v.ferThreshold = 1;
    v.ferTriggeredLevel = 3;
    v.systemCall.fill("0");
    v.seamlessProcessLevel = 1;
    v.seamlessSelectLevel = 1;
    v.seamlessFerThreshold = 1;
    v.areaType = 0;
    v.additionalIdCount = 8;
    v.additionalIds.fill({1, 1, 1, 1});
    v.rxGain = 0;
    v.interval = 1;
    v.accessory = 1;
    v.faultCode = {V::kNone, V::kNone, V::kNone};
    v.memo = "earlier";
    return v;
}

std::vector<std::string> withLine(std::vector<std::string> lines, std::size_t index, std::string text) {
    lines.at(index) = std::move(text);
    return lines;
}

class ReadBack : public ::testing::TestWithParam<int> {};

TEST_P(ReadBack, WhatWasWrittenComesBackWithTheModelsCommaRule) {
    const auto model = static_cast<std::uint32_t>(GetParam());
    const LogFile1ScreenRead read =
        LogFile1Reader::read(cp932Lines(testing::sampleScreenLines(GetParam())), model, otherValues());
    ASSERT_TRUE(read.loaded);
    EXPECT_TRUE(read.messages.isEmpty()) << texts(read.messages).join('\n').toStdString();
    V expected = testing::sampleScreen();
    if (model == 3) { // lines the ZX-VA150 file does not have keep the screen's values
        const V other = otherValues();
        expected.seamlessProcessLevel = other.seamlessProcessLevel;
        expected.seamlessSelectLevel = other.seamlessSelectLevel;
        expected.seamlessFerThreshold = other.seamlessFerThreshold;
        expected.areaType = other.areaType;
        expected.additionalIdCount = other.additionalIdCount;
        expected.additionalIds = other.additionalIds;
    }
    if (model != 2) {
        expected.rxGain = otherValues().rxGain;
        expected.memo = QStringLiteral("お客様AB棟"); // the memo line loses its commas
    }
    EXPECT_EQ(read.values, expected);
}

INSTANTIATE_TEST_SUITE_P(Models, ReadBack, ::testing::Values(2, 3, 4));

TEST(LogFile1Reader, HeaderOfAnotherModelLoadsNothing) {
    const QByteArray va150 = cp932Lines(testing::sampleScreenLines(3));
    const V current = otherValues();
    LogFile1ScreenRead read = LogFile1Reader::read(va150, 4, current);
    EXPECT_FALSE(read.loaded);
    EXPECT_EQ(read.values, current);
    EXPECT_EQ(texts(read.messages),
              QStringList{"接続モデルはZX-VA150(C)ですが、読み込みファイルはZX-VA150(C)用ではありません"});
    read = LogFile1Reader::read(cp932Lines(testing::sampleScreenLines(4)), 2, current);
    EXPECT_EQ(texts(read.messages),
              QStringList{"接続モデルはZX-VA100ですが、読み込みファイルはZX-VA100用ではありません"});
    read = LogFile1Reader::read(cp932Lines(testing::sampleScreenLines(2)), 3, current);
    EXPECT_EQ(texts(read.messages),
              QStringList{"接続モデルはZX-VA150ですが、読み込みファイルはZX-VA150用ではありません"});
    // An unknown model makes no header check and reads the ZX-VA150 layout.
    read = LogFile1Reader::read(va150, 0, current);
    EXPECT_TRUE(read.loaded);
    EXPECT_TRUE(read.messages.isEmpty());
}

TEST(LogFile1Reader, AQuoteInTheMemoCutsIt) {
    V v = testing::sampleScreen();
    v.memo = QStringLiteral("ab\"cd");
    for (std::uint32_t model : {2u, 3u}) {
        const LogFile1Text file = LogFile1Writer::fromScreen(v, model);
        EXPECT_EQ(LogFile1Reader::read(file.bytes, model, otherValues()).values.memo, "ab");
    }
}

TEST(LogFile1Reader, AnEmptyPsIdBoxMovesTheFollowingDigitsLeft) {
    V v = testing::sampleScreen();
    v.psId[2].clear();
    const LogFile1Text file = LogFile1Writer::fromScreen(v, 3);
    EXPECT_TRUE(file.bytes.contains("\"PS-ID\",\"1\",\"2\",\"\",\"4\""));
    const V read = LogFile1Reader::read(file.bytes, 3, otherValues()).values;
    EXPECT_EQ(read.psId, (std::array<QString, 9>{"1", "2", "4", "5", "6", "7", "8", "9", ""}));
}

TEST(LogFile1Reader, UnselectedFerTriggeredLevelIsWrittenAsMinusOneAndReadAsNone) {
    V v = testing::sampleScreen();
    v.ferTriggeredLevel = V::kNone;
    const LogFile1Text file = LogFile1Writer::fromScreen(v, 4);
    const V read = LogFile1Reader::read(file.bytes, 4, otherValues()).values;
    EXPECT_EQ(read.ferTriggeredLevel, V::kNone);
    v.ferTriggeredLevel = 4;
    EXPECT_EQ(LogFile1Reader::read(LogFile1Writer::fromScreen(v, 4).bytes, 4, otherValues())
                  .values.ferTriggeredLevel,
              4);
}

TEST(LogFile1Reader, ANonHexadecimalLetterIsAFileDataErrorAndSelectsZero) {
    const auto lines = withLine(testing::sampleScreenLines(4), 17, "\"付加ID1\",\"1\",\"g\",\"F\",\"\"");
    const LogFile1ScreenRead read = LogFile1Reader::read(cp932Lines(lines), 4, otherValues());
    EXPECT_EQ(texts(read.messages), QStringList{"ファイルデータエラー"});
    // g gives 0, F is 15, and the empty field vanished so the fourth selector has nothing.
    EXPECT_EQ(read.values.additionalIds[0], (std::array<int, 4>{1, 0, 15, V::kNone}));
}

TEST(LogFile1Reader, ABadLabelSkipsOnlyItsItemWithItsMessage) {
    auto lines = testing::sampleScreenLines(2);
    lines[1] = "\"外部ﾏｲｺﾝｿﾌﾄｳｪｱ\",\"5\",\"5\",\"5\",\"5\""; // trailing space missing
    lines[8] = "\"TCH\",\"50\"";
    lines[11] = "\"CS-ID\",\"1\"";
    lines[16] = "\"CS-IDの付加ID\",\"1\"";
    lines[26] = "\"ｲﾝﾀｰﾊﾞﾙ\",\"3\"";
    lines[27] = "\"RM15\",\"ｵﾌ\"";
    const V current = otherValues();
    const LogFile1ScreenRead read = LogFile1Reader::read(cp932Lines(lines), 2, current);
    EXPECT_TRUE(read.loaded);
    EXPECT_EQ(texts(read.messages),
              (QStringList{"外部ﾏｲｺﾝｿﾌﾄｳｴｱVer:読み出しエラー", "TCH切換型ﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ:読み出しエラー",
                           "CS_ID中のｼｽﾃﾑ呼び出し符号:読み出しエラー", "CS_IDの付加ID設定数:読み出しエラー",
                           "ｲﾝﾀｰﾊﾞﾙ値:読み出しエラー", "RM-15検出:読み出しエラー"}));
    EXPECT_EQ(read.values.version, current.version);
    EXPECT_EQ(read.values.handoverLevels[V::TchProcess], current.handoverLevels[V::TchProcess]);
    EXPECT_EQ(read.values.systemCall, current.systemCall);
    EXPECT_EQ(read.values.additionalIdCount, current.additionalIdCount);
    EXPECT_EQ(read.values.interval, current.interval);
    EXPECT_EQ(read.values.accessory, current.accessory);
    EXPECT_EQ(read.values.psId, testing::sampleScreen().psId);
    EXPECT_EQ(read.values.memo, testing::sampleScreen().memo);
}

TEST(LogFile1Reader, NumbersAreReadLikeAtoiAndOutOfRangeSelectsNothing) {
    auto lines = testing::sampleScreenLines(2);
    lines[3] = "\"制御ch \",\"24ch\"";              // anything else is both channels
    lines[4] = "\"待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ\",\"45dB\""; // digits up to the first other character
    lines[5] = "\"待ち受けｿﾞｰﾝ保持ﾚﾍﾞﾙ\",\"81\"";
    lines[9] = "\"ﾁｬﾈﾙ切替えFERしきい値　ｽﾛｯﾄｴﾗｰ数\",\"241\"";
    lines[12] = "\"ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ\",\"9\"";
    lines[14] = "\"ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰFERしきい値\",\"-3\"";
    lines[15] = "\"一斉呼び出しｴﾘｱ種別\",\"ｼｽﾃﾑ\"";
    lines[16] = "\"CS-IDの付加ID設定数\",\"9\"";
    lines[25] = "\"VA100受話ｹﾞｲﾝ調整機能\",\"on\"";
    lines[26] = "\"ｲﾝﾀｰﾊﾞﾙ値\",\"0\"";
    lines[27] = "\"ZX-RM15検出\",\"ｵﾝ\"";
    lines[28] = "\"障害監視ｺｰﾄﾞ\",\"Z\",\"K\",\"0\"";
    const V read = LogFile1Reader::read(cp932Lines(lines), 2, otherValues()).values;
    EXPECT_EQ(read.controlChannel, 2);
    EXPECT_EQ(read.handoverLevels[V::StandbySelect], 35);
    EXPECT_EQ(read.handoverLevels[V::StandbyHold], V::kNone);
    EXPECT_EQ(read.ferThreshold, V::kNone);
    EXPECT_EQ(read.seamlessProcessLevel, V::kNone);
    EXPECT_EQ(read.seamlessFerThreshold, V::kNone);
    EXPECT_EQ(read.areaType, V::kNone);
    EXPECT_EQ(read.additionalIdCount, V::kNone);
    EXPECT_EQ(read.rxGain, V::kNone);
    EXPECT_EQ(read.interval, V::kNone);
    EXPECT_EQ(read.accessory, 1);
    EXPECT_EQ(read.faultCode, (std::array<int, 3>{V::kNone, V::kNone, V::kNone}));

    // The extremes atoi reaches select nothing either (and overflow nothing on the way).
    lines[4] = "\"待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ\",\"-99999999999\"";
    lines[12] = "\"ｼｰﾑﾚｽﾊﾝﾄﾞｵｰﾊﾞｰ処理ﾚﾍﾞﾙ\",\"-2147483648\"";
    const V extreme = LogFile1Reader::read(cp932Lines(lines), 2, otherValues()).values;
    EXPECT_EQ(extreme.handoverLevels[V::StandbySelect], V::kNone);
    EXPECT_EQ(extreme.seamlessProcessLevel, V::kNone);
}

TEST(LogFile1Reader, ExtraFieldsAreIgnored) {
    auto lines = testing::sampleScreenLines(3);
    lines[2] = "\"PS-ID\"";
    for (int i = 0; i < 40; ++i) {
        lines[2] += ",\"" + std::to_string(i % 10) + "\"";
    }
    lines[4] += ",\"99\",\"x\"";
    const V read = LogFile1Reader::read(cp932Lines(lines), 3, otherValues()).values;
    EXPECT_EQ(read.psId, (std::array<QString, 9>{"0", "1", "2", "3", "4", "5", "6", "7", "8"}));
    EXPECT_EQ(read.handoverLevels[V::StandbySelect], 35);
}

TEST(LogFile1Reader, ATruncatedFileReportsEveryMissingLineAndLeavesTheMemoEmpty) {
    auto lines = testing::sampleScreenLines(2);
    lines.resize(4); // header, version, PS-ID, control channel
    const LogFile1ScreenRead read = LogFile1Reader::read(cp932Lines(lines), 2, otherValues());
    ASSERT_TRUE(read.loaded);
    EXPECT_EQ(read.messages.size(), 30 - 4 - 1); // every item line but the memo
    EXPECT_EQ(read.messages.front().text, "待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ:読み出しエラー");
    EXPECT_EQ(read.messages.back().text, "障害監視ｺｰﾄﾞ:読み出しエラー");
    EXPECT_EQ(read.values.psId, testing::sampleScreen().psId);
    // No memo of an earlier file shows through.
    EXPECT_EQ(read.values.memo, "");
    // A cut in the middle of a line is read as far as it goes.
    QByteArray cut = cp932Lines(testing::sampleScreenLines(3));
    cut.truncate(cut.indexOf("\"40\""));
    const LogFile1ScreenRead partial = LogFile1Reader::read(cut, 3, otherValues());
    EXPECT_EQ(partial.values.handoverLevels[V::StandbySelect], 35);
    EXPECT_EQ(partial.values.handoverLevels[V::StandbyHold], V::kNone);
}

TEST(LogFile1Reader, JunkAndBrokenBytesAreReadSafely) {
    QByteArray junk;
    for (int i = 0; i < 70000; ++i) {
        junk.append(static_cast<char>((i * 7919) & 0xFF));
    }
    LogFile1ScreenRead read = LogFile1Reader::read(junk, 2, otherValues());
    EXPECT_FALSE(read.loaded);
    read = LogFile1Reader::read(junk, 0, otherValues()); // no header check: every line is read
    EXPECT_TRUE(read.loaded);
    EXPECT_FALSE(read.messages.isEmpty());
    EXPECT_FALSE(LogFile1Reader::read(QByteArray(), 3, otherValues()).loaded);

    // Invalid code page 932 in a label fails its item; in the memo it is replaced for display.
    QByteArray bytes = cp932Lines(testing::sampleScreenLines(3));
    bytes.replace(cp932("\"ｲﾝﾀｰﾊﾞﾙ値\""), QByteArray("\"\x81\x20\xFD\""));
    bytes.replace(cp932("\"お客様A,B棟\""), QByteArray("\"A\x81\x20"
                                                       "B\""));
    read = LogFile1Reader::read(bytes, 3, otherValues());
    EXPECT_EQ(texts(read.messages), QStringList{"ｲﾝﾀｰﾊﾞﾙ値:読み出しエラー"});
    EXPECT_TRUE(read.values.memo.startsWith('A'));
    EXPECT_TRUE(read.values.memo.contains(QChar(0xFFFD)));
}

TEST(LogFile1Reader, OverlongAndSurplusLinesAreCutNotFollowed) {
    auto lines = testing::sampleScreenLines(2);
    lines[29] = "\"" + std::string(100000, 'x') + "\""; // the memo
    for (int i = 0; i < 400; ++i) {
        lines.push_back("\"ZX-VA100ログファイル1\"");
    }
    const LogFile1ScreenRead read = LogFile1Reader::read(cp932Lines(lines), 2, otherValues());
    EXPECT_TRUE(read.loaded);
    EXPECT_TRUE(read.messages.isEmpty());
    EXPECT_EQ(read.values.memo.size(), LogFile1Format::kMaxLineBytes - 1); // the cut took the closing quote
}

TEST(LogFile1ImageReader, StoresNumbersWithoutRangeChecks) {
    auto lines = testing::sampleScreenLines(2);
    lines[4] = "\"待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ\",\"5\"";
    lines[10] = "\"FER起動型ﾊﾝﾄﾞｵｰﾊﾞｰﾚﾍﾞﾙ\",\"7\"";
    lines[15] = "\"一斉呼び出しｴﾘｱ種別\",\"?\"";
    lines[18] = "\"付加ID2\",\"0\",\"a\",\"g\",\"12\"";
    SystemParamImage current;
    current.area[0] = 1;
    current.psId = {1, 2, 3, 4};
    current.version = {7, 7, 7, 7};
    current.faultCode = {'A', 'B', 'C'};
    const LogFile1ImageRead read = LogFile1ImageReader::read(cp932Lines(lines), 2, current);
    ASSERT_TRUE(read.loaded);
    EXPECT_TRUE(read.messages.isEmpty());
    const SystemParamImage& image = read.image;
    EXPECT_EQ(image.levels[SystemParamImage::StandbySelect], 39);
    EXPECT_EQ(SystemParamFrames::payload(0x0401, image)[0], 39 + 0x20);
    EXPECT_EQ(image.levels[SystemParamImage::StandbyHold], 74);
    EXPECT_EQ(image.channel[SystemParamImage::FerTriggered], 7);
    EXPECT_EQ(image.channel[SystemParamImage::ControlChannel], 2);
    EXPECT_EQ(image.channel[SystemParamImage::SeamlessFer], 5);
    EXPECT_EQ(image.area[0], 1); // no matching text: kept
    EXPECT_EQ(image.area[1], 2);
    EXPECT_EQ(image.ferThreshold(), 200);
    EXPECT_EQ(image.systemCallValue(), 536870911u);
    EXPECT_EQ(image.interval(), 255);
    EXPECT_EQ(image.additionalId(0), 0x1FFF);
    EXPECT_EQ(image.additionalId(1), 0x0A00 + 0x12); // g reads as 0, "12" as 0x12
    EXPECT_EQ(image.gain[0], 1);
    EXPECT_EQ(image.accessory, 0);
    // Version, PS-ID and fault monitoring code stay as the image held them.
    EXPECT_EQ(image.psId, current.psId);
    EXPECT_EQ(image.version, current.version);
    EXPECT_EQ(image.faultCode, current.faultCode);
}

// Found by fuzzing: numbers at the top of int's range overflowed on the way into their byte.
TEST(LogFile1ImageReader, HugeNumbersGoInByTheirLowBitsWithoutOverflow) {
    auto lines = testing::sampleScreenLines(2);
    lines[4] = "\"待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ\",\"99999999999\"";
    lines[18] = "\"付加ID2\",\"FFFFFFFF\",\"FFFFFF\",\"1\",\"2\"";
    const LogFile1ImageRead read = LogFile1ImageReader::read(cp932Lines(lines), 2, SystemParamImage{});
    ASSERT_TRUE(read.loaded);
    // Clamped to 2147483647 like atoi, plus 34: 0x80000021, of which the byte keeps 0x21.
    EXPECT_EQ(read.image.levels[SystemParamImage::StandbySelect], 0x21);
    EXPECT_EQ(read.image.additionalId(1), 0x0F12); // the low 13 bits of 0x10FFFFEF12
}

TEST(LogFile1Reader, HugeVersionNumbersThroughTheScreenDoNotOverflow) {
    auto lines = testing::sampleScreenLines(2);
    lines[1] = "\"外部ﾏｲｺﾝｿﾌﾄｳｪｱ \",\"99999999999\",\"9\",\"1\",\"2\"";
    SystemParamImage image;
    const LogFile1ScreenRead read = LogFile1Reader::readThroughScreen(cp932Lines(lines), 2, image);
    ASSERT_TRUE(read.loaded);
    EXPECT_EQ(image.version[1], 12);
    // The box shows what the file says; the byte keeps the low bits of 2147483647 * 10 + 9.
    EXPECT_EQ(image.version[0], 0xFF);
}

TEST(LogFile1ImageReader, RoundTripsTheImageFormWriter) {
    for (std::uint32_t model : {2u, 4u}) {
        SystemParamImage written = testing::sampleImage();
        written.area[0] = 1;
        written.levels[SystemParamImage::TchProcess] = 60;
        const LogFile1Text file = LogFile1Writer::fromImage(written, model, "memo");
        const LogFile1ImageRead read = LogFile1ImageReader::read(file.bytes, model, written);
        EXPECT_TRUE(read.messages.isEmpty());
        SystemParamImage expected = written;
        expected.channel[SystemParamImage::ControlChannel] = 2; // 5 was written as both channels
        if (model == 2) {
            expected.gain[0] = 1; // any non-zero switch was written as on
        }
        EXPECT_EQ(read.image, expected) << model;
    }
    const LogFile1ImageRead mismatch = LogFile1ImageReader::read(
        LogFile1Writer::fromImage(testing::sampleImage(), 4, "").bytes, 3, SystemParamImage());
    EXPECT_FALSE(mismatch.loaded);
    EXPECT_EQ(mismatch.image, SystemParamImage());
    EXPECT_EQ(texts(mismatch.messages),
              QStringList{"接続モデルはZX-VA150ですが、読み込みファイルはZX-VA150用ではありません"});
}

// For comparing a file with a handset, the lines a write-back leaves alone are read as well.
TEST(LogFile1ImageReader, HandsetLinesReadTheVersionPsIdAndFaultCodeToo) {
    SystemParamImage written = testing::sampleImage();
    written.area[0] = 1; // a type without a text would not come back
    const QByteArray file = LogFile1Writer::fromImage(written, 2, "memo").bytes;
    const LogFile1ImageRead read =
        LogFile1ImageReader::read(file, 2, SystemParamImage{}, LogFile1ImageReader::Lines::Handset);
    EXPECT_TRUE(read.messages.isEmpty());
    EXPECT_EQ(read.image.version, (std::array<std::uint8_t, 4>{1, 23, 0, 0}));
    EXPECT_EQ(read.image.psIdValue(), 123456789u);
    EXPECT_EQ(read.image.faultCode, written.faultCode);
    EXPECT_EQ(LogFile1Writer::fromImage(read.image, 2, "memo").bytes, file);
    // A fault monitoring line holding its label alone is any code but ZKO.
    SystemParamImage held;
    held.faultCode = {'Z', 'K', 'O'};
    SystemParamImage other = written;
    other.faultCode = {'A', 'B', 'C'};
    EXPECT_EQ(LogFile1ImageReader::read(LogFile1Writer::fromImage(other, 2, "").bytes, 2, held,
                                        LogFile1ImageReader::Lines::Handset)
                  .image.faultCode,
              (std::array<std::uint8_t, 3>{}));
}

TEST(LogFile1Reader, ReadThroughTheScreenStoresWhatTheScreenWouldWrite) {
    SystemParamImage image;
    image.dac.fill(7);
    image.version = {1, 23, 0, 0};
    const LogFile1ScreenRead read =
        LogFile1Reader::readThroughScreen(cp932Lines(testing::sampleScreenLines(2)), 2, image);
    ASSERT_TRUE(read.loaded);
    EXPECT_EQ(read.values.memo, testing::sampleScreen().memo);
    EXPECT_EQ(image.psIdValue(), 123456789u);
    EXPECT_EQ(image.systemCallValue(), 536870911u);
    EXPECT_EQ(image.levels[SystemParamImage::TchProcess], 43); // empty in the file: no selection
    EXPECT_EQ(image.additionalId(0), 0x1FFF);
    EXPECT_EQ(image.gain[0], 1);
    EXPECT_EQ(image.dac[0], 7); // blocks the file does not hold are untouched

    const SystemParamImage before = image;
    EXPECT_FALSE(
        LogFile1Reader::readThroughScreen(cp932Lines(testing::sampleScreenLines(3)), 2, image).loaded);
    EXPECT_EQ(image, before);
}

TEST(LogFile1Kind, OpenLooksUpANameWithoutADotWithJv1AndReadsABoundedPrefix) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("handset.jv1");
    ASSERT_TRUE(logfile::saveAtomically(path, cp932Lines(testing::sampleScreenLines(3))).isEmpty());

    logfile::LoadedFile load = logfile::kLogFile1.load(dir.filePath("handset"));
    EXPECT_EQ(load.status, logfile::LoadedFile::Status::Loaded);
    EXPECT_EQ(load.path, path);
    EXPECT_EQ(LogFile1Reader::read(load.bytes, 3, otherValues()).values.interval, 254);

    load = logfile::kLogFile1.load(dir.filePath("other.jv1"));
    EXPECT_EQ(load.status, logfile::LoadedFile::Status::Missing);
    EXPECT_EQ(load.message.text, "指定されたファイルは存在しません。\nファイル名を再入力してください。");
    EXPECT_EQ(load.message.title, "エラー");

    const QString big = dir.filePath("big.jv1");
    QFile file(big);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(LogFile1Format::kMaxFileBytes * 2, 'x'));
    file.close();
    load = logfile::kLogFile1.load(big);
    EXPECT_EQ(load.status, logfile::LoadedFile::Status::Loaded);
    EXPECT_EQ(load.bytes.size(), LogFile1Format::kMaxFileBytes + 1);
}

} // namespace
} // namespace tolvan::dataset

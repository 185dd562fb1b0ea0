// A saved set: written side by side, loaded back for a write-back as the image-form readers do.
#include "modes/datasave/model/saveset.h"
#include "modes/datasave/model/writebackframes.h"
#include "modes/dataset/model/systemparamimage.h"
#include "tests/modes/datasave/model/simhandsetstore.h"

#include "tests/support/filebytes.h"
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tolvan::datasave {
namespace {

using tolvan::test::contentsOf;
using tolvan::test::writeFile;

using test::storeReadFromSim;

// The file with one line's value replaced (label and value as written, code page 932).
QByteArray withLine(const QByteArray& file, const QString& from, const QString& to) {
    QString text = QStringDecoder("CP932").decode(file);
    EXPECT_TRUE(text.contains(from)) << from.toStdString();
    text.replace(from, to);
    return QStringEncoder("CP932").encode(text);
}

SaveSetFiles built(const handset::HandsetStore& store, std::uint32_t model, const QString& memo = {}) {
    auto set = buildSaveSet(store, model, memo);
    EXPECT_TRUE(std::holds_alternative<SaveSetFiles>(set));
    return std::holds_alternative<SaveSetFiles>(set) ? std::get<SaveSetFiles>(set) : SaveSetFiles{};
}

class SaveSetFilesTest : public ::testing::Test {
protected:
    QString path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
    QTemporaryDir m_dir;
};

TEST_F(SaveSetFilesTest, WritesTheThreeFilesSideBySideByteForByte) {
    const SaveSetFiles files = built(storeReadFromSim(4), 4, QStringLiteral("点検"));
    EXPECT_FALSE(writeSaveSet(path("unit7"), files));
    EXPECT_EQ(contentsOf(path("unit7.jv1")), files.jv1);
    EXPECT_EQ(contentsOf(path("unit7.jv3")), files.jv3);
    EXPECT_EQ(contentsOf(path("unit7.jv4")), files.jv4);
    EXPECT_TRUE(files.jv1.endsWith("\r\n") && files.jv3.endsWith("\r\n") && files.jv4.endsWith("\r\n"));
}

TEST_F(SaveSetFilesTest, AFolderThatIsNotThereStopsTheSetWithItsPath) {
    const auto failed = writeSaveSet(path("missing/unit7"), built(storeReadFromSim(3), 3));
    ASSERT_TRUE(failed);
    EXPECT_TRUE(failed->text.startsWith(path("missing/unit7.jv1"))) << failed->text.toStdString();
    EXPECT_TRUE(QDir(m_dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(SaveSetFilesTest, AFaultCodeOtherThanZkoLeavesTheLabelAlone) {
    handset::HandsetStore store = storeReadFromSim(4);
    const std::uint8_t other[] = {'Z', 'K', 'X'};
    tolvan::test::hold(store, 0x1B01, other);
    const QByteArray jv1 = built(store, 4).jv1;
    const QByteArray labelAlone = QStringEncoder("CP932").encode(QStringLiteral("\"障害監視ｺｰﾄﾞ\"\r\n"));
    EXPECT_TRUE(jv1.contains(labelAlone));
}

// Loading a set for a write-back.
class WriteBackLoadTest : public SaveSetFilesTest {
protected:
    SaveSetNames::WriteBackFiles names() const { return {path("set.jv1"), path("set.jv4")}; }
};

TEST_F(WriteBackLoadTest, ALevelOfFiveIsStoredAs39AndSentAs39) {
    const SaveSetFiles files = built(storeReadFromSim(4), 4);
    writeFile(path("set.jv1"), withLine(files.jv1, QStringLiteral("\"待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ\",\"30\""),
                                        QStringLiteral("\"待ち受けｿﾞｰﾝ選択ﾚﾍﾞﾙ\",\"5\"")));
    handset::HandsetBlocks store = storeReadFromSim(4);
    const WriteBackLoad load = loadWriteBackSet(store, 4, names());
    EXPECT_TRUE(load.jv1Loaded);
    EXPECT_FALSE(load.jv4Loaded);
    EXPECT_TRUE(load.messages.isEmpty());
    EXPECT_EQ(dataset::SystemParamImage::fromStore(store).levels[0], 39);
    link::RequestBuffers buffers;
    ASSERT_TRUE(WriteBackFrames::fillRequestBuffers(store, buffers));
    // STX, class, two code bytes, then the first level: 39 + 0x20.
    ASSERT_NE(buffers.get(0x0401), nullptr);
    EXPECT_EQ(buffers.get(0x0401)->at(4), 39 + 0x20);
}

TEST_F(WriteBackLoadTest, AJv1OfAnotherModelIsSkippedAndTheJv4StillLoads) {
    writeFile(path("set.jv1"), built(storeReadFromSim(3), 3).jv1);
    writeFile(path("set.jv4"), built(storeReadFromSim(4), 4).jv4);
    handset::HandsetBlocks store;
    const WriteBackLoad load = loadWriteBackSet(store, 4, names());
    EXPECT_FALSE(load.jv1Loaded);
    EXPECT_TRUE(load.jv4Loaded);
    EXPECT_TRUE(load.memoKept);
    ASSERT_EQ(load.messages.size(), 1);
    EXPECT_TRUE(load.messages.first().text.startsWith(QStringLiteral("接続モデルはZX-VA150(C)ですが")))
        << load.messages.first().text.toStdString();
    EXPECT_EQ(dataset::SystemParamImage::fromStore(store).levels, (std::array<std::uint8_t, 7>{}));
}

TEST_F(WriteBackLoadTest, AJv4WithoutItsLineSeventeenEmptiesTheMemo) {
    const QByteArray jv4 = built(storeReadFromSim(3), 3).jv4;
    // Cut after line 16 (the header is line 0): line 17 is empty.
    qsizetype end = -1;
    for (int line = 0; line < 17; ++line) {
        end = jv4.indexOf("\r\n", end + 1) + 1;
    }
    writeFile(path("set.jv4"), jv4.left(end + 1));
    handset::HandsetBlocks store;
    const WriteBackLoad load = loadWriteBackSet(store, 3, names());
    EXPECT_FALSE(load.memoKept);
}

} // namespace
} // namespace tolvan::datasave

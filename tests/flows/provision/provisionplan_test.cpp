// The plan of a provisioning run as a technician's spreadsheet saves it, the journal a killed run
// resumes from, and the summary's bytes.
#include "flows/provision/provisionjournal.h"
#include "flows/provision/provisionplan.h"
#include "flows/provision/provisionsummary.h"

#include "common/cp932.h"
#include "modes/datasave/model/saveset.h"
#include "tests/modes/datasave/model/simhandsetstore.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << text.toStdString();
}

namespace tolvan::provision {
namespace {

ProvisionTemplate templateOf(std::uint8_t model) {
    const auto store = datasave::test::storeReadFromSim(model);
    const auto files = std::get<datasave::SaveSetFiles>(datasave::buildSaveSet(store, model, QString()));
    return std::get<ProvisionTemplate>(ProvisionTemplate::fromFiles(files.jv1, files.jv4));
}

QStringList problemsOf(const QString& csv, std::uint8_t model = 3) {
    const auto read = ProvisionPlan::read(csv.toUtf8(), templateOf(model));
    const auto* problems = std::get_if<QStringList>(&read);
    return problems ? *problems : QStringList{};
}

TEST(ProvisionPlan, HeaderProblemsAreListedAndStopTheRows) {
    EXPECT_EQ(
        problemsOf(QStringLiteral("PS-ID,暗証番号,色,障害監視ｺｰﾄﾞ,PS-ID\n123456789,1234,赤,ZKO,1\n")),
        (QStringList{QStringLiteral("1行目, 暗証番号, 暗証番号はZX-VA100のテンプレートでしか使えません"),
                     QStringLiteral("1行目, 色, ZX-VA150のログファイル1・4にない項目です"),
                     QStringLiteral("1行目, 障害監視ｺｰﾄﾞ, 子機に書き込まれない項目です"),
                     QStringLiteral("1行目, PS-ID, 見出しが重複しています"),
                     QStringLiteral("1行目, PS番号, この列がありません")}));
    // The same PIN column is a ZX-VA100's own.
    EXPECT_TRUE(problemsOf(QStringLiteral("PS-ID,PS番号,暗証番号\n123456789,201,1234\n"), 2).isEmpty());
}

TEST(ProvisionPlan, EveryBadCellIsOneLineAndNothingRuns) {
    const QString csv = QStringLiteral("PS番号,PS-ID,圏外お知らせ音,制御ch,ｲﾝﾀｰﾊﾞﾙ値,メモ\r\n"
                                       "201,123456789,圏外時常に鳴動しない,18chのみ,7,一階\r\n"
                                       "202,12345678,,,,\r\n"
                                       "400,268435456,鳴る,,,\r\n"
                                       "201,123456789,,24chのみ,,\r\n"
                                       ",,,,,\r\n"
                                       "203,234567890,,,5 5,♥\r\n");
    EXPECT_EQ(problemsOf(csv),
              (QStringList{QStringLiteral("3行目, PS-ID, 9桁の数字(268435455まで)ではありません"),
                           QStringLiteral("4行目, PS番号, 3桁の数字(000～391)ではありません"),
                           QStringLiteral("4行目, PS-ID, 9桁の数字(268435455まで)ではありません"),
                           QStringLiteral("4行目, 圏外お知らせ音, 「鳴る」は選べる値ではありません"),
                           QStringLiteral("5行目, PS番号, 2行目と重複しています"),
                           QStringLiteral("5行目, PS-ID, 2行目と重複しています"),
                           QStringLiteral("5行目, 制御ch, 「24chのみ」は選べる値ではありません"),
                           QStringLiteral("7行目, ｲﾝﾀｰﾊﾞﾙ値, 「5 5」は選べる値ではありません"),
                           QStringLiteral("7行目, メモ, Shift-JISで書けない文字があります")}));
}

TEST(ProvisionPlan, Cp932AndBomPlansReadAsTheSameRowsAndLoadIntoTheTemplate) {
    const QString csv = QStringLiteral("\"PS-ID\",PS番号,ﾏｲｸ動作設定,メモ\r\n"
                                       "123456789,201,VOX,\"受付, 一階\"\r\n"
                                       "000000007,391,,\r\n");
    const ProvisionTemplate base = templateOf(3);
    QList<QByteArray> encodings{csv.toUtf8(), "\xEF\xBB\xBF" + csv.toUtf8(), encodeCp932(csv).bytes};
    QList<QList<PlanRow>> read;
    for (const QByteArray& bytes : encodings) {
        const auto plan = ProvisionPlan::read(bytes, base);
        ASSERT_TRUE(std::holds_alternative<ProvisionPlan>(plan))
            << std::get<QStringList>(plan).join(u'\n').toStdString();
        read.append(std::get<ProvisionPlan>(plan).rows());
    }
    ASSERT_EQ(read[0].size(), 2);
    EXPECT_EQ(read[0][0].row, 2);
    EXPECT_EQ(read[0][1].row, 3);
    EXPECT_EQ(read[0][0].memo, QStringLiteral("受付, 一階"));
    for (const auto& rows : read) {
        ASSERT_EQ(rows.size(), 2);
        for (qsizetype i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(rows[i].psId, read[0][i].psId);
            EXPECT_EQ(rows[i].lines, read[0][i].lines);
            EXPECT_EQ(rows[i].memo, read[0][i].memo);
        }
    }
    // Bytes that are neither encoding say so instead of running a garbled plan.
    const auto garbled = ProvisionPlan::read(QByteArray("PS-ID,PS番号\n\x81\x20\n"), base);
    ASSERT_TRUE(std::holds_alternative<QStringList>(garbled));
    EXPECT_EQ(std::get<QStringList>(garbled),
              QStringList{QStringLiteral("1行目, -, 文字コードがUTF-8でもShift-JISでもありません")});

    // The row's identity and lines land where a write-back takes them from.
    handset::HandsetBlocks blocks;
    const TemplateLoad load = base.loadInto(blocks, read[0][0].edits());
    EXPECT_TRUE(load.jv1Unread.isEmpty());
    EXPECT_TRUE(load.jv4Unread.isEmpty());
    EXPECT_EQ(base.writtenFields(blocks, LogFileKind::LogFile4, QStringLiteral("PS-ID"))->join(QString()),
              QStringLiteral("123456789"));
    EXPECT_EQ(base.writtenFields(blocks, LogFileKind::LogFile1, QStringLiteral("PS-ID"))->join(QString()),
              QStringLiteral("123456789"));
    EXPECT_EQ(base.writtenFields(blocks, LogFileKind::LogFile4, QStringLiteral("PS番号"))->join(QString()),
              QStringLiteral("201"));
    EXPECT_EQ(*base.writtenFields(blocks, LogFileKind::LogFile4, QStringLiteral("ﾏｲｸ動作設定")),
              QStringList{QStringLiteral("VOX")});
}

JournalEntry ended(int row, const QString& psId, bool ok, const QString& cause = {}) {
    JournalEntry entry;
    entry.row = row;
    entry.psIdBefore = QStringLiteral("234567891");
    entry.psIdAfter = psId;
    entry.model = QStringLiteral("ZX-VA150");
    entry.step = ok ? Step::Done : Step::Verify;
    entry.ok = ok;
    entry.cause = cause;
    entry.seconds = 12.5;
    return entry;
}

TEST(ProvisionJournal, AKilledRunResumesAtTheFirstRowNotDone) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("provision.jsonl"));
    {
        ProvisionJournal journal;
        ASSERT_FALSE(journal.open(path));
        JournalEntry backup = ended(2, {}, true);
        backup.step = Step::Backup;
        backup.backup = QStringLiteral("/b/ZX-VA150/234567891/20261209-101010.jv1");
        ASSERT_FALSE(journal.append(backup));
        ASSERT_FALSE(journal.append(ended(2, QStringLiteral("123456789"), true)));
        ASSERT_FALSE(
            journal.append(ended(3, {}, false, QStringLiteral("ﾏｲｸ動作設定が書き込まれていません"))));
        JournalEntry half = ended(4, {}, true);
        half.step = Step::Write;
        ASSERT_FALSE(journal.append(half));
    }
    // Killed in the middle of the next line.
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(R"({"row":5,"step":"ba)");
    }
    ProvisionJournal journal;
    ASSERT_FALSE(journal.open(path));
    ASSERT_EQ(journal.entries().size(), 4);
    EXPECT_EQ(journal.entries()[0].backup, QStringLiteral("/b/ZX-VA150/234567891/20261209-101010.jv1"));
    EXPECT_EQ(journal.stateOf(2, QStringLiteral("123456789")), RowState::Done);
    // The plan's row now names another handset: it is not that one's.
    EXPECT_EQ(journal.stateOf(2, QStringLiteral("123456780")), RowState::Open);
    EXPECT_EQ(journal.stateOf(3, QStringLiteral("123456788")), RowState::Failed);
    EXPECT_EQ(journal.stateOf(4, QStringLiteral("123456787")), RowState::Open);
    EXPECT_EQ(journal.doneRowWithPsId(QStringLiteral("123456789")), 2);
    EXPECT_FALSE(journal.doneRowWithPsId(QStringLiteral("234567891")));

    // A retried row that passes is done; one done and then failed again is not.
    ASSERT_FALSE(journal.append(ended(3, QStringLiteral("123456788"), true)));
    ASSERT_FALSE(journal.append(ended(2, {}, false, QStringLiteral("x"))));
    ProvisionJournal again;
    ASSERT_FALSE(again.open(path));
    EXPECT_EQ(again.entries().size(), 6);
    EXPECT_EQ(again.stateOf(3, QStringLiteral("123456788")), RowState::Done);
    EXPECT_EQ(again.stateOf(2, QStringLiteral("123456789")), RowState::Failed);
    EXPECT_FALSE(again.doneRowWithPsId(QStringLiteral("123456789")));
}

TEST(ProvisionSummary, TableBytesRoundTripAndPrint) {
    const QList<SummaryRow> rows{
        {2,
         QStringLiteral("201"),
         QStringLiteral("123456789"),
         QStringLiteral("ZX-VA150"),
         passedText(),
         {},
         12.34},
        {3, QStringLiteral("202"), QStringLiteral("123456788"), QStringLiteral("ZX-VA150"), failedText(),
         QStringLiteral("照合できません: \"ﾏｲｸ動作設定\", VOX"), 9},
        {4, QStringLiteral("203"), QStringLiteral("123456787"), {}, notRunText(), {}, 0},
    };
    const QByteArray bytes = summaryCsv(rows);
    EXPECT_EQ(bytes, encodeCp932(QStringLiteral(
                                     "行,PS番号,PS-ID,機種,結果,原因,秒\r\n"
                                     "2,201,123456789,ZX-VA150,成功,,12.3\r\n"
                                     "3,202,123456788,ZX-VA150,失敗,\"照合できません: \"\"ﾏｲｸ動作設定\"\", "
                                     "VOX\",9.0\r\n"
                                     "4,203,123456787,,未実施,,0.0\r\n"))
                         .bytes);
    const auto back = readSummaryCsv(bytes);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 3);
    EXPECT_EQ((*back)[1].cause, rows[1].cause);
    EXPECT_FALSE(readSummaryCsv("PS-ID,PS番号\r\n"));

    const QList<ReportPage> pages = summaryReportPages(rows);
    ASSERT_EQ(pages.size(), 1);
    const QStringList& lines = pages[0].columns[0].lines;
    EXPECT_EQ(lines[1], QStringLiteral("成功 1台　失敗 1台　未実施 1台"));
    EXPECT_EQ(lines.size(), 8);
    EXPECT_TRUE(
        lines[6].startsWith(QStringLiteral("3\t202\t123456788\tZX-VA150    \t失敗\t9.0\t照合できません")));
}

} // namespace
} // namespace tolvan::provision

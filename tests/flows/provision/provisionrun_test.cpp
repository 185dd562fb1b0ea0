// The steps of a provisioning run against in-process virtual handsets on the virtual clock: the
// template with each row's identity into every handset, verified and saved; a wrong model, a
// handset already done, a write the handset does not keep, the PIN, a registration failure,
// the journal's resume and two cables at once.
#include "flows/provision/provisionrun.h"
#include "flows/provision/provisionsummary.h"

#include "handset/storesink.h"
#include "modes/datasave/model/saveset.h"
#include "modes/datasave/model/writebackframes.h"
#include "modes/psent/model/psentframes.h"
#include "tests/modes/datasave/model/simhandsetstore.h"
#include "tests/support/simpeer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <thread>

namespace tolvan::provision {
namespace {

struct Unit {
    std::uint8_t model = 3;
    std::uint32_t psId = 0;
    std::vector<sim::FaultRule> faults;
    std::optional<QString> registrationFailure;
};

// One cable: the handsets come one after another, each on a fresh link on the virtual clock.
class SimLine : public HandsetLine {
public:
    explicit SimLine(std::deque<Unit> units) : m_units(std::move(units)) {}

    bool waitForHandset(const Cancelled& /*cancelled*/) override {
        if (m_units.empty()) {
            return false;
        }
        m_unit = m_units.front();
        m_units.pop_front();
        sim::HandsetConfig config = test::handsetConfig(m_unit.model);
        config.faults = m_unit.faults;
        m_session = std::make_unique<test::SimSession>(config);
        const std::uint32_t v = m_unit.psId;
        m_session->peer.handset().store().setBlock(
            0x1201, {static_cast<std::uint8_t>((v >> 21) & 0x7F), static_cast<std::uint8_t>((v >> 14) & 0x7F),
                     static_cast<std::uint8_t>((v >> 7) & 0x7F), static_cast<std::uint8_t>(v & 0x7F)});
        m_session->link.engine().setResponseSink(&m_sink);
        m_store.clear();
        return true;
    }
    std::optional<QString> readAll() override {
        m_store.clear();
        return run(18, 0xE000);
    }
    std::uint32_t modelCode() const override { return m_session->link.state().modelCode; }
    handset::HandsetStore& store() override { return m_store; }
    std::optional<QString> writeBack() override {
        EXPECT_TRUE(datasave::WriteBackFrames::fillRequestBuffers(m_store.pendingWrite(),
                                                                  m_session->link.state().requests));
        return run(19, 0xE001);
    }
    std::optional<QString> writeSettings() override {
        EXPECT_TRUE(
            psent::PsEntFrames::fillRequestBuffers(m_store.pendingWrite(), m_session->link.state().requests));
        return run(16, 0xD00B);
    }
    std::optional<QString> registerHandset(const QString& psNumber, const QString& pin) override {
        registered.append(psNumber + u'/' + pin);
        if (m_unit.registrationFailure) {
            return m_unit.registrationFailure;
        }
        // What the registration's own write leaves in the handset.
        link::Bytes digits;
        for (const QChar c : pin) {
            digits.push_back(static_cast<std::uint8_t>(c.unicode()));
        }
        m_session->peer.handset().store().setBlock(0x1302, digits);
        return std::nullopt;
    }
    void release() override {}
    bool waitForUnplug(const Cancelled& /*cancelled*/) override { return true; }

    sim::VirtualHandset& handset() { return m_session->peer.handset(); }
    QStringList registered;

private:
    std::optional<QString> run(int script, std::uint32_t operation) {
        if (!m_session->runScript(script, operation) ||
            m_session->link.state().dialogueState != link::kKeepAlive) {
            return QStringLiteral("子機からデータが送信されません");
        }
        return std::nullopt;
    }

    std::deque<Unit> m_units;
    Unit m_unit;
    std::unique_ptr<test::SimSession> m_session;
    handset::HandsetStore m_store;
    handset::StoreSink m_sink{m_store};
};

ProvisionTemplate templateOf(std::uint8_t model) {
    const auto store = datasave::test::storeReadFromSim(model);
    const auto files = std::get<datasave::SaveSetFiles>(datasave::buildSaveSet(store, model, QString()));
    return std::get<ProvisionTemplate>(ProvisionTemplate::fromFiles(files.jv1, files.jv4));
}

ProvisionPlan planOf(const QString& csv, const ProvisionTemplate& base) {
    auto read = ProvisionPlan::read(csv.toUtf8(), base);
    EXPECT_TRUE(std::holds_alternative<ProvisionPlan>(read));
    return std::get<ProvisionPlan>(read);
}

class ProvisionRunTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(journal.open(dir.filePath(QStringLiteral("provision.jsonl")))); }
    RunOptions options() const {
        return {dir.path(), dir.filePath(QStringLiteral("backups")), false, false, QStringLiteral("現場")};
    }
    QTemporaryDir dir;
    ProvisionJournal journal;
};

using Kind = HandsetReport::Kind;

TEST_F(ProvisionRunTest, EachHandsetGetsTheTemplateWithItsRowAndTheOddOnesAreNamed) {
    const ProvisionTemplate base = templateOf(3);
    const QString csv =
        QStringLiteral("PS-ID,PS番号,ﾏｲｸ動作設定\n100000002,201,VOX\n100000003,202,\n100000004,203,\n");
    const sim::FaultRule keepsPsNumber{sim::FaultKind::IgnoreWrite, 0x0301, 0, 0, 0};
    SimLine line({{3, 234567891, {}, {}},
                  {2, 198765432, {}, {}},              // another model
                  {3, 234567892, {keepsPsNumber}, {}}, // echoes the PS number write but keeps its own
                  {3, 100000002, {}, {}},              // the first one, plugged again
                  {3, 234567893, {}, {}}});
    ProvisionRun run(base, planOf(csv, base), journal, options());
    QList<HandsetReport> reports;
    run.serve(line, [&](const HandsetReport& r) { reports.append(r); });

    ASSERT_EQ(reports.size(), 5);
    EXPECT_EQ(reports[0].kind, Kind::Passed);
    EXPECT_EQ(reports[0].psId, QStringLiteral("100000002"));
    EXPECT_EQ(reports[1].kind, Kind::WrongModel);
    EXPECT_EQ(reports[1].cause,
              QStringLiteral("接続モデルはZX-VA100ですが、読み込みファイルはZX-VA100用ではありません"));
    EXPECT_EQ(reports[1].row, 0);
    EXPECT_EQ(reports[2].kind, Kind::Failed);
    EXPECT_EQ(reports[2].row, 3);
    EXPECT_EQ(reports[2].cause, QStringLiteral("書き込んだ値を子機が保持していません: PS番号"));
    EXPECT_EQ(reports[3].kind, Kind::AlreadyDone);
    EXPECT_EQ(reports[3].row, 2);
    EXPECT_EQ(reports[4].kind, Kind::Passed);
    EXPECT_EQ(reports[4].row, 4);

    // The saved set is the handset as verified: the row's identity, the template's lines, the memo.
    QFile jv4(dir.filePath(QStringLiteral("201_100000002.jv4")));
    ASSERT_TRUE(jv4.open(QIODevice::ReadOnly));
    const QByteArray saved = jv4.readAll();
    EXPECT_EQ(logLineFields(saved, QStringLiteral("PS-ID"))->join(QString()), QStringLiteral("100000002"));
    EXPECT_EQ(logLineFields(saved, QStringLiteral("PS番号"))->join(QString()), QStringLiteral("201"));
    EXPECT_EQ(*logLineFields(saved, QStringLiteral("ﾏｲｸ動作設定")), QStringList{QStringLiteral("VOX")});
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("201_100000002.jv3"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("202_100000003.jv1"))));
    // The handset's own data was kept before the write, under its own PS-ID.
    EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("backups/ZX-VA150/234567891"))).isEmpty());

    const QList<SummaryRow> summary = summaryOf(run.plan(), journal);
    ASSERT_EQ(summary.size(), 3);
    EXPECT_EQ(summary[0].result, passedText());
    EXPECT_EQ(summary[1].result, failedText());
    EXPECT_EQ(summary[1].cause, reports[2].cause);
    EXPECT_EQ(summary[2].result, passedText());

    // Started again on the folder: nothing is left; the failed row only when asked.
    ProvisionJournal again;
    ASSERT_FALSE(again.open(dir.filePath(QStringLiteral("provision.jsonl"))));
    EXPECT_EQ(ProvisionRun(base, run.plan(), again, options()).rowsLeft(), 0);
    RunOptions retry = options();
    retry.retryFailed = true;
    ProvisionRun retried(base, run.plan(), again, retry);
    ASSERT_EQ(retried.rowsLeft(), 1);
    SimLine spare({{3, 234567894, {}, {}}});
    const auto report = retried.runHandset(spare);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->kind, Kind::Passed);
    EXPECT_EQ(report->row, 3);
    EXPECT_EQ(summaryOf(run.plan(), again)[1].result, passedText());
}

TEST_F(ProvisionRunTest, ThePinGoesInByTheSettingWriteOrWithTheRegistration) {
    const ProvisionTemplate base = templateOf(2);
    const QString csv =
        QStringLiteral("PS-ID,PS番号,暗証番号\n100000002,201,4321\n100000003,202,5678\n100000004,203,1111\n");
    {
        SimLine line({{2, 198765432, {}, {}}});
        ProvisionRun run(base, planOf(csv, base), journal, options());
        const auto report = run.runHandset(line);
        ASSERT_TRUE(report);
        EXPECT_EQ(report->kind, Kind::Passed) << report->cause.toStdString();
        EXPECT_EQ(*line.handset().store().read(0x1302), (link::Bytes{'4', '3', '2', '1'}));
        EXPECT_TRUE(line.registered.isEmpty());
    }
    RunOptions registering = options();
    registering.registration = true;
    ProvisionRun run(base, planOf(csv, base), journal, registering);
    SimLine line({{2, 198765433, {}, QStringLiteral("登録が拒否されました")}, {2, 198765434, {}, {}}});
    QList<HandsetReport> reports;
    run.serve(line, [&](const HandsetReport& r) { reports.append(r); });
    ASSERT_EQ(reports.size(), 2);
    EXPECT_EQ(reports[0].kind, Kind::Failed);
    EXPECT_EQ(reports[0].cause, QStringLiteral("登録が拒否されました"));
    EXPECT_EQ(reports[1].kind, Kind::Passed) << reports[1].cause.toStdString();
    EXPECT_EQ(line.registered, (QStringList{QStringLiteral("202/5678"), QStringLiteral("203/1111")}));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("202_100000003.jv1"))));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("203_100000004.jv1"))));
}

TEST_F(ProvisionRunTest, TwoCablesTakeTheRowsInPlanOrderWithOneJournal) {
    const ProvisionTemplate base = templateOf(3);
    const QString csv =
        QStringLiteral("PS-ID,PS番号\n100000002,201\n100000003,202\n100000004,203\n100000005,204\n");
    ProvisionRun run(base, planOf(csv, base), journal, options());
    SimLine first({{3, 234567801, {}, {}}, {3, 234567802, {}, {}}, {3, 234567803, {}, {}}});
    SimLine second({{3, 234567811, {}, {}}, {3, 234567812, {}, {}}, {3, 234567813, {}, {}}});
    QList<int> rows;
    // Both cables may have a handset read when the last row is handed out: the one that loses the
    // race is told no row is left and takes none.
    auto collect = [&](const HandsetReport& r) {
        if (r.kind == Kind::NoRowLeft) {
            EXPECT_EQ(r.row, 0);
            return;
        }
        EXPECT_EQ(r.kind, Kind::Passed) << r.cause.toStdString();
        rows.append(r.row);
    };
    std::thread other([&] { run.serve(second, collect); });
    run.serve(first, collect);
    other.join();
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (QList<int>{2, 3, 4, 5}));
    ProvisionJournal reread;
    ASSERT_FALSE(reread.open(dir.filePath(QStringLiteral("provision.jsonl"))));
    EXPECT_EQ(reread.entries(), journal.entries());
    for (const SummaryRow& row : summaryOf(run.plan(), reread)) {
        EXPECT_EQ(row.result, passedText());
    }
}

} // namespace
} // namespace tolvan::provision

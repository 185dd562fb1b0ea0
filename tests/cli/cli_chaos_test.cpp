// tolvan-cli against a handset that answers at random and then falls silent: every command that
// talks to the handset ends on its own, well within a minute, and never claims a file it did not
// write.
#include "tests/support/cliprocess.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tolvan::test {
namespace {

// The chaos lasts twelve frames; then the handset says nothing more. The engine gives up on a
// stalled operation after 20 s, so a minute is plenty.
constexpr int kBoundMs = 60000;

SimProcess chaoticHandset(int seed) {
    return SimProcess({QStringLiteral("--no-pacing"), QStringLiteral("--fault"),
                       QStringLiteral("chaos,seed=%1,count=12").arg(seed)});
}

void expectEnded(const CliResult& r, int seed) {
    EXPECT_NE(r.err, QStringLiteral("<timed out>")) << "seed " << seed;
    // Success is possible in principle; usage errors and crashes are not.
    EXPECT_TRUE(r.exitCode == 0 || r.exitCode == 1 || r.exitCode == 3 || r.exitCode == 4)
        << "seed " << seed << " exit " << r.exitCode << ": " << r.err.toStdString();
}

TEST(CliChaos, IdentifyEnds) {
    for (const int seed : {1, 2}) {
        SimProcess sim = chaoticHandset(seed);
        ASSERT_TRUE(sim.started());
        expectEnded(runCli({QStringLiteral("--port"), sim.device(), QStringLiteral("identify")}, kBoundMs),
                    seed);
    }
}

TEST(CliChaos, ParamsReadEndsAndWritesNothingOnFailure) {
    QTemporaryDir dir;
    for (const int seed : {3, 4}) {
        SimProcess sim = chaoticHandset(seed);
        ASSERT_TRUE(sim.started());
        const QString file = dir.filePath(QStringLiteral("read%1.jv1").arg(seed));
        const CliResult r = runCli(
            {QStringLiteral("--port"), sim.device(), QStringLiteral("params"), QStringLiteral("read"), file},
            kBoundMs);
        expectEnded(r, seed);
        if (r.exitCode != 0) {
            EXPECT_FALSE(QFile::exists(file)) << "seed " << seed;
        }
    }
}

TEST(CliChaos, ParamsWriteEnds) {
    QTemporaryDir dir;
    // A file of the right shape, so the write gets as far as the handset lets it.
    const QString file = dir.filePath(QStringLiteral("write.jv1"));
    {
        SimProcess sim({QStringLiteral("--no-pacing")});
        ASSERT_TRUE(sim.started());
        ASSERT_EQ(runCli({QStringLiteral("--port"), sim.device(), QStringLiteral("params"),
                          QStringLiteral("read"), file})
                      .exitCode,
                  0);
    }
    for (const int seed : {5, 6}) {
        SimProcess sim = chaoticHandset(seed);
        ASSERT_TRUE(sim.started());
        expectEnded(runCli({QStringLiteral("--port"), sim.device(), QStringLiteral("params"),
                            QStringLiteral("write"), file},
                           kBoundMs),
                    seed);
    }
}

} // namespace
} // namespace tolvan::test

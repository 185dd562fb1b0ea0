#include "common/backup/backupbuilder.h"
#include "common/modelnames.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tolvan::backup {
namespace {

// A log file writer that refuses one memo, as code page 932 refuses a character.
BackupFiles filesWith(const QString& memo, const QStringList& refused, QStringList& asked) {
    asked << memo;
    if (refused.contains(memo)) {
        return errorMessage(QStringLiteral("メモ: 書き込めません「%1」").arg(memo));
    }
    return QList<BackupFile>{{QStringLiteral("jv1"), ("memo=" + memo).toUtf8()}};
}

TEST(BackupBuilder, AMemoTheFilesCannotCarryIsLeftOutAndAFailureWithoutItStopsTheWrite) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    QStringList asked;
    const auto saved = buildAndSaveBackup(
        root.path(), kModelVa150, 123456789, QStringLiteral("交換前"),
        [&](const QString& memo) { return filesWith(memo, {QStringLiteral("交換前")}, asked); });
    EXPECT_EQ(asked, (QStringList{QStringLiteral("交換前"), QString()}));
    ASSERT_TRUE(std::holds_alternative<QString>(saved));
    const QString base = std::get<QString>(saved);
    EXPECT_TRUE(base.startsWith(root.path() + QStringLiteral("/ZX-VA150/123456789/")));
    QFile file(base + QStringLiteral(".jv1"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("memo="));

    asked.clear();
    const auto stopped =
        buildAndSaveBackup(root.path(), kModelVa150, 7, QStringLiteral("x"), [&](const QString& memo) {
            return filesWith(memo, {QStringLiteral("x"), QString()}, asked);
        });
    EXPECT_EQ(asked.size(), 2);
    ASSERT_TRUE(std::holds_alternative<Message>(stopped));
    EXPECT_EQ(std::get<Message>(stopped).text, QStringLiteral("メモ: 書き込めません「」"));
    EXPECT_FALSE(QDir(root.path() + QStringLiteral("/ZX-VA150/000000007")).exists());
}

} // namespace
} // namespace tolvan::backup

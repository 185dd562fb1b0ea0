// The names of a saved set, for save and for write-back.
#include "modes/datasave/model/savesetnames.h"

#include <gtest/gtest.h>

namespace tolvan::datasave {
namespace {

TEST(SaveSetNames, SaveDropsTheFirstJvAndTheCharacterAfterIt) {
    EXPECT_EQ(SaveSetNames::baseName(QStringLiteral("/logs/客先A/handset.jv4")),
              QStringLiteral("/logs/客先A/handset"));
    EXPECT_EQ(SaveSetNames::baseName(QStringLiteral("/logs/handset")), QStringLiteral("/logs/handset"));
    EXPECT_EQ(SaveSetNames::baseName(QStringLiteral("/logs/a.jv3.old")), QStringLiteral("/logs/a.old"));
    // A folder whose name holds ".jv" is not touched.
    EXPECT_EQ(SaveSetNames::baseName(QStringLiteral("/logs/x.jv9/a.jv1")), QStringLiteral("/logs/x.jv9/a"));
}

TEST(SaveSetNames, WriteBackFindsTheJv1AndJv4OfTheChosenSet) {
    using F = SaveSetNames::WriteBackFiles;
    auto files = [](const char* chosen) { return SaveSetNames::writeBackFiles(QString::fromUtf8(chosen)); };
    auto expect = [](const std::optional<F>& got, const char* jv1, const char* jv4) {
        ASSERT_TRUE(got.has_value());
        EXPECT_EQ(got->jv1, QString::fromUtf8(jv1));
        EXPECT_EQ(got->jv4, QString::fromUtf8(jv4));
    };
    expect(files("/l/a.jv1"), "/l/a.jv1", "/l/a.jv4");
    expect(files("/l/a.jv3"), "/l/a.jv1", "/l/a.jv4");
    expect(files("/l/a.jv4"), "/l/a.jv1", "/l/a.jv4");
    // .jv3 is looked for before .jv4, and every .jv1 of the name becomes .jv4.
    expect(files("/l/a.jv4.jv3"), "/l/a.jv4.jv1", "/l/a.jv4.jv4");
    expect(files("/l/a.jv1.jv1"), "/l/a.jv1.jv1", "/l/a.jv4.jv4");
    EXPECT_FALSE(files("/l/a.txt"));
    EXPECT_FALSE(files("/l/a.jv2"));
    EXPECT_FALSE(files("/l.jv1/a")); // only the file name counts
}

} // namespace
} // namespace tolvan::datasave

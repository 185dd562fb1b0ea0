#include "toolcommandlines.h"

#include <gtest/gtest.h>

namespace {

#ifdef Q_OS_WIN
TEST(ToolCommandLines, ToolsLieBelowTheLaunchersFolder) {
    const auto lines = ToolCommandLines::forProgramFolder(programFolderFor(QStringLiteral("D:/tools")));
    EXPECT_EQ(lines.mainTool, QStringLiteral("D:\\tools\\ZX-VA1XX\\TOLVAN.EXE"));
    EXPECT_EQ(lines.olderTool, QStringLiteral("D:\\tools\\ZX-VA020\\Tolvan.EXE"));
}
#else
TEST(ToolCommandLines, ToolsLieBelowTheLaunchersFolder) {
    const auto lines = ToolCommandLines::forProgramFolder(programFolderFor(QStringLiteral("/opt/tools")));
    EXPECT_EQ(lines.mainTool, QStringLiteral("/opt/tools/ZX-VA1XX/TOLVAN.EXE"));
    EXPECT_EQ(lines.olderTool, QStringLiteral("/opt/tools/ZX-VA020/Tolvan.EXE"));
}

TEST(ToolCommandLines, RootFolderGetsNoDoubleSeparator) {
    EXPECT_EQ(ToolCommandLines::forProgramFolder(programFolderFor(QStringLiteral("/"))).mainTool,
              QStringLiteral("/ZX-VA1XX/TOLVAN.EXE"));
}

TEST(ToolCommandLines, DeepFolderIsKeptWhole) {
    // Longer than the 260 characters a fixed buffer would have held.
    const QString folder = QStringLiteral("/srv/") + QString(300, QLatin1Char('x'));
    EXPECT_EQ(ToolCommandLines::forProgramFolder(programFolderFor(folder)).mainTool,
              folder + QStringLiteral("/ZX-VA1XX/TOLVAN.EXE"));
}
#endif

} // namespace

#include "link/settingsfile.h"

#include "common/cp932.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tolvan::link {
namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

TEST(PortSetting, DefaultsToCom1WithoutAFile) {
    QTemporaryDir dir;
    EXPECT_EQ(PortSetting(dir.path()).read(), QStringLiteral("COM1"));
    EXPECT_TRUE(PortSetting(dir.path()).portUsed());
}

TEST(PortSetting, ReadsAWindowsFileInCodePage932) {
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("Tolvan.ini")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[OTHER]\r\nname=x\r\n[COMPORT]\r\nname=");
    f.write(encodeCp932(QString::fromUtf8(kPortNotUsed)).bytes);
    f.write("\r\n");
    f.close();
    const PortSetting setting(dir.path());
    EXPECT_EQ(setting.read(), QString::fromUtf8(kPortNotUsed));
    EXPECT_FALSE(setting.portUsed());
}

TEST(PortSetting, WriteRoundTripsAndKeepsTheRestOfTheFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tolvan.ini"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("; kept\r\n[COMPORT]\r\nname=COM3\r\n[VIEW]\r\nzoom=2\r\n");
    f.close();
    const PortSetting setting(dir.path());
    ASSERT_TRUE(setting.write(QString::fromUtf8(kPortNotUsed)));
    QByteArray expected("; kept\r\n[COMPORT]\r\nname=");
    expected += encodeCp932(QString::fromUtf8(kPortNotUsed)).bytes;
    expected += "\r\n[VIEW]\r\nzoom=2\r\n";
    EXPECT_EQ(readAll(path), expected);
    EXPECT_EQ(setting.read(), QString::fromUtf8(kPortNotUsed));

    // A fresh file gets the section; a value without a code page 932 form is refused.
    QTemporaryDir other;
    const PortSetting fresh(other.path());
    ASSERT_TRUE(fresh.write(QStringLiteral("COM7")));
    EXPECT_EQ(readAll(other.filePath(QStringLiteral("Tolvan.ini"))),
              QByteArray("[COMPORT]\r\nname=COM7\r\n"));
    EXPECT_FALSE(fresh.write(QString::fromUtf8("\xC3\xA9")));
    EXPECT_EQ(fresh.read(), QStringLiteral("COM7"));
}

TEST(PortSetting, JunkFilesDoNotHurt) {
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("Tolvan.ini")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(100000, '\x81'));
    f.write("\n[COMPORT\nname\n=\n");
    f.close();
    EXPECT_EQ(PortSetting(dir.path()).read(), QStringLiteral("COM1"));
}

} // namespace
} // namespace tolvan::link

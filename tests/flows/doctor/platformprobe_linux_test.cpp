// The Linux facts the doctor reads from /proc and the file system, on files this test makes.
#include "flows/doctor/platformprobe.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvan::doctor {
namespace {

TEST(LinuxPlatformProbe, FindsThisProcessAmongTheHoldersAndReadsGroupAndMode) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ttyFAKE0"));
    QFile held(path);
    ASSERT_TRUE(held.open(QIODevice::ReadWrite));
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    const auto probe = systemPlatformProbe();

    const QList<PortHolder> holders = probe->holders(path);
    ASSERT_EQ(holders.size(), 1);
    EXPECT_EQ(holders[0].pid, qint64(::getpid()));
    EXPECT_FALSE(holders[0].program.isEmpty());
    held.close();
    EXPECT_TRUE(probe->holders(path).isEmpty());

    const std::optional<DeviceAccess> access = probe->access(path);
    ASSERT_TRUE(access);
    EXPECT_EQ(access->mode, QStringLiteral("-rw-r-----"));
    EXPECT_EQ(access->group, QString::fromLocal8Bit(::getgrgid(::getegid())->gr_name));
    EXPECT_TRUE(access->userInGroup);
    EXPECT_TRUE(access->readWrite);
    EXPECT_FALSE(access->uaccessTagged); // not a device: udev knows nothing of it

    EXPECT_TRUE(probe->exists(path));
    EXPECT_FALSE(probe->access(dir.filePath(QStringLiteral("gone"))));
    EXPECT_TRUE(probe->deviceProperties(path).isEmpty());
    EXPECT_FALSE(probe->userName().isEmpty());
}

} // namespace
} // namespace tolvan::doctor

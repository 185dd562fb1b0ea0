#include "flows/doctor/platformprobe.h"

#include "link/portfinder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <vector>

namespace tolvan::doctor {
namespace {

constexpr const char* kRuleFile = "70-tolvan-handset.rules";

QString modeText(mode_t mode) {
    QString text = S_ISCHR(mode) ? QStringLiteral("c") : QStringLiteral("-");
    const char* letters = "rwxrwxrwx";
    for (int bit = 0; bit < 9; ++bit) {
        text += (mode & (1U << (8 - bit))) != 0 ? QLatin1Char(letters[bit]) : QLatin1Char('-');
    }
    return text;
}

// udev's database entry of a character device: "E:KEY=VALUE" properties, "G:" and "Q:" tags.
QStringList udevDatabase(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISCHR(st.st_mode)) {
        return {};
    }
    QFile file(QStringLiteral("/run/udev/data/c%1:%2").arg(major(st.st_rdev)).arg(minor(st.st_rdev)));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString sysAttribute(const QString& dir, const char* name) {
    QFile file(dir + QLatin1Char('/') + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).trimmed() : QString();
}

SerialDevice describe(const QString& path, const QString& friendlyName) {
    SerialDevice device{path, friendlyName, {}, {}, {}};
    const QString name = QFileInfo(path).fileName();
    const QString sysDevice = QStringLiteral("/sys/class/tty/") + name + QStringLiteral("/device");
    device.driver = QFileInfo(QFileInfo(sysDevice + QStringLiteral("/driver")).symLinkTarget()).fileName();
    // The USB device carrying the product string sits a few levels above the tty's device.
    QString dir = QFileInfo(sysDevice).canonicalFilePath();
    for (int up = 0; up < 4 && !dir.isEmpty() && device.product.isEmpty(); ++up) {
        device.product = sysAttribute(dir, "product");
        dir = QFileInfo(dir).path();
    }
    const QString target = QFileInfo(path).canonicalFilePath();
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QFileInfo& link : byId.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        if (link.canonicalFilePath() == target) {
            device.byIdNames.append(link.absoluteFilePath());
        }
    }
    return device;
}

bool programRuns(const QString& comm) {
    const QDir proc(QStringLiteral("/proc"));
    for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (pid.front().isDigit() && sysAttribute(proc.filePath(pid), "comm") == comm) {
            return true;
        }
    }
    return false;
}

class LinuxPlatformProbe : public PlatformProbe {
public:
    QList<SerialDevice> serialDevices() override {
        QList<SerialDevice> devices;
        QSet<QString> seen;
        for (const link::DeviceInfo& info : link::presentDevices()) {
            devices.append(describe(info.devicePath, info.friendlyName));
            seen.insert(info.devicePath);
        }
        // Nodes Qt does not list (no udev database) still belong in the picture.
        const QDir dev(QStringLiteral("/dev"));
        for (const QString& name : dev.entryList({QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")},
                                                 QDir::System, QDir::Name)) {
            const QString path = dev.filePath(name);
            if (!seen.contains(path)) {
                devices.append(describe(path, QStringLiteral(" (") + name + QLatin1Char(')')));
            }
        }
        return devices;
    }

    bool exists(const QString& path) override { return QFileInfo::exists(path); }

    std::optional<DeviceAccess> access(const QString& path) override {
        struct stat st {};
        const QByteArray native = QFile::encodeName(path);
        if (::stat(native.constData(), &st) != 0) {
            return std::nullopt;
        }
        DeviceAccess access;
        if (const group* g = ::getgrgid(st.st_gid)) {
            access.group = QString::fromLocal8Bit(g->gr_name);
        } else {
            access.group = QString::number(st.st_gid);
        }
        access.mode = modeText(st.st_mode);
        access.readWrite = ::access(native.constData(), R_OK | W_OK) == 0;
        access.userInGroup = ::getegid() == st.st_gid;
        const int count = ::getgroups(0, nullptr);
        std::vector<gid_t> groups(static_cast<std::size_t>(count > 0 ? count : 0));
        if (count > 0 && ::getgroups(count, groups.data()) == count) {
            for (const gid_t gid : groups) {
                access.userInGroup = access.userInGroup || gid == st.st_gid;
            }
        }
        for (const QString& line : udevDatabase(path)) {
            access.uaccessTagged = access.uaccessTagged || line == QLatin1String("G:uaccess");
        }
        access.seatActive = QFileInfo::exists(QStringLiteral("/run/systemd/seats")) &&
                            QFileInfo::exists(QStringLiteral("/run/systemd/users/%1").arg(::getuid()));
        return access;
    }

    QList<PortHolder> holders(const QString& path) override {
        QList<PortHolder> found;
        const QString target = QFileInfo(path).canonicalFilePath();
        const QDir proc(QStringLiteral("/proc"));
        for (const QString& pid : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            if (!pid.front().isDigit()) {
                continue;
            }
            const QDir fds(proc.filePath(pid) + QStringLiteral("/fd"));
            // The links point at files, devices, sockets and pipes alike.
            for (const QFileInfo& fd :
                 fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
                if (fd.symLinkTarget() == target) {
                    found.append({pid.toLongLong(), sysAttribute(proc.filePath(pid), "comm")});
                    break;
                }
            }
        }
        return found;
    }

    GrabbingPrograms grabbingPrograms() override {
        return {programRuns(QStringLiteral("ModemManager")), programRuns(QStringLiteral("brltty"))};
    }

    std::optional<UdevRuleStatus> udevRule() override {
        UdevRuleStatus status{QLatin1String(kRuleFile), {}, {}};
        for (const char* dir :
             {"/etc/udev/rules.d", "/run/udev/rules.d", "/usr/lib/udev/rules.d", "/lib/udev/rules.d"}) {
            if (QFileInfo::exists(QLatin1String(dir) + QLatin1Char('/') + status.fileName)) {
                status.readPlace = QLatin1String(dir);
                break;
            }
        }
        for (const char* dir : {"/usr/local/lib/udev/rules.d", "/usr/local/etc/udev/rules.d"}) {
            if (QFileInfo::exists(QLatin1String(dir) + QLatin1Char('/') + status.fileName)) {
                status.unreadPlace = QLatin1String(dir);
                break;
            }
        }
        return status;
    }

    QList<QPair<QString, QString>> deviceProperties(const QString& path) override {
        QList<QPair<QString, QString>> properties;
        QStringList tags;
        for (const QString& line : udevDatabase(path)) {
            if (line.startsWith(QLatin1String("E:"))) {
                const qsizetype eq = line.indexOf(QLatin1Char('='));
                properties.append({line.mid(2, eq - 2), eq < 0 ? QString() : line.mid(eq + 1)});
            } else if (line.startsWith(QLatin1String("G:"))) {
                tags.append(line.mid(2));
            }
        }
        if (!tags.isEmpty()) {
            properties.append(
                {QStringLiteral("TAGS"), QLatin1Char(':') + tags.join(QLatin1Char(':')) + QLatin1Char(':')});
        }
        return properties;
    }

    QString userName() override {
        if (const passwd* pw = ::getpwuid(::geteuid())) {
            return QString::fromLocal8Bit(pw->pw_name);
        }
        return qEnvironmentVariable("USER");
    }
};

} // namespace

std::unique_ptr<PlatformProbe> systemPlatformProbe() {
    return std::make_unique<LinuxPlatformProbe>();
}

} // namespace tolvan::doctor

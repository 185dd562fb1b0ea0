#include "flows/doctor/connectiondoctor.h"

#include "common/modelnames.h"
#include "link/portfinder.h"

namespace tolvan::doctor {
namespace {

QString valueOf(const QList<QPair<QString, QString>>& properties, const char* key) {
    for (const auto& [name, value] : properties) {
        if (name == QLatin1String(key)) {
            return value;
        }
    }
    return {};
}

bool acceptedByDiscovery(const SerialDevice& device) {
    return !link::findHandsetPortName({link::DeviceInfo{device.friendlyName, device.path}}).isEmpty();
}

QString describeDevice(const SerialDevice& device) {
    QStringList parts;
    if (!device.driver.isEmpty()) {
        parts << QStringLiteral("ドライバ %1").arg(device.driver);
    }
    for (const QString& name : device.byIdNames) {
        parts << name;
    }
    return parts.isEmpty() ? QString() : QStringLiteral("（%1）").arg(parts.join(QStringLiteral("、")));
}

} // namespace

QString findingLine(const Finding& finding) {
    static const char* const kMarks[] = {"○ ", "△ ", "× "};
    QString line = QString::fromUtf8(kMarks[static_cast<int>(finding.level)]) + finding.text;
    if (!finding.action.isEmpty()) {
        line += QStringLiteral("　対処: ") + finding.action;
    }
    return line;
}

ConnectionDoctor::ConnectionDoctor(PlatformProbe& platform, LineTester& tester, PortOpener opener)
    : m_platform(platform), m_tester(tester), m_opener(std::move(opener)) {}

void ConnectionDoctor::add(Finding::Level level, const QString& text, const QString& action) {
    m_result.findings.append({level, text, action});
    if (m_listener) {
        m_listener(m_result.findings.constLast());
    }
}

DoctorResult ConnectionDoctor::run(const DoctorOptions& options) {
    m_result = {};
    const QList<SerialDevice> devices = m_platform.serialDevices();
    listDevices(devices);

    QString port = options.port;
    if (port.isEmpty()) {
        for (const SerialDevice& device : devices) {
            if (acceptedByDiscovery(device)) {
                port = device.path;
                break;
            }
        }
    }
    if (port.isEmpty()) {
        if (!devices.isEmpty()) {
            add(Finding::Level::Problem, QStringLiteral("子機として検出できるポートがありません"),
                QStringLiteral("子機のポートが上の一覧にあれば、--port でそのポートを指定してください"));
        }
        checkGrabbers(port);
        return m_result;
    }
    m_result.port = port;
    m_result.portProperties = m_platform.deviceProperties(port);
    checkGrabbers(port);

    link::SerialOpenResult opened = m_opener(port);
    if (!opened.port) {
        explainOpenFailure(port, opened);
        return m_result;
    }
    add(Finding::Level::Ok,
        QStringLiteral("%1 を開きました（9600bps、8ビット、奇数パリティ、ストップビット1）").arg(port));
    m_result.line = m_tester.run(*opened.port, options.lineTestMs);
    opened.port->close();
    reportHandset(*m_result.line);
    return m_result;
}

void ConnectionDoctor::listDevices(const QList<SerialDevice>& devices) {
    if (devices.isEmpty()) {
        add(Finding::Level::Problem,
            QStringLiteral("シリアルポートが1つもありません（/dev/ttyUSB*、/dev/ttyACM*、COMポート）"),
            QStringLiteral(
                "子機をUSBケーブルでつなぎ、電源を入れてください。それでも現れなければケーブルを替え、"
                "sudo dmesg | tail で認識の様子を確かめてください"));
        return;
    }
    for (const SerialDevice& device : devices) {
        const QString where = device.path + describeDevice(device);
        if (acceptedByDiscovery(device)) {
            add(Finding::Level::Ok,
                QStringLiteral("%1: 「%2」を子機のポートとして検出します")
                    .arg(where, device.product.isEmpty() ? device.friendlyName : device.product));
        } else if (device.product.isEmpty()) {
            add(Finding::Level::Warning,
                QStringLiteral("%1: 製品名が読めないため検出の対象外です（udev が動いていないと読めません）")
                    .arg(where),
                QStringLiteral("子機のポートなら --port %1 で指定してください").arg(device.path));
        } else {
            add(Finding::Level::Warning,
                QStringLiteral("%1: 「%2」は子機の製品名でないため検出の対象外です")
                    .arg(where, device.product),
                QStringLiteral("子機のポートなら --port %1 で指定してください").arg(device.path));
        }
    }
}

void ConnectionDoctor::checkGrabbers(const QString& port) {
    const GrabbingPrograms grabbing = m_platform.grabbingPrograms();
    if (grabbing.modemManager) {
        const QString vendor = valueOf(m_result.portProperties, "ID_VENDOR_ID");
        const QString product = valueOf(m_result.portProperties, "ID_MODEL_ID");
        const QString action =
            vendor.isEmpty() || product.isEmpty()
                ? QStringLiteral("sudo systemctl stop ModemManager")
                : QStringLiteral("echo 'ATTRS{idVendor}==\"%1\", ATTRS{idProduct}==\"%2\", "
                                 "ENV{ID_MM_DEVICE_IGNORE}=\"1\"' | "
                                 "sudo tee /etc/udev/rules.d/71-tolvan-modemmanager.rules && sudo udevadm "
                                 "control --reload && "
                                 "sudo udevadm trigger %3")
                      .arg(vendor, product, port);
        add(Finding::Level::Warning,
            QStringLiteral("ModemManager "
                           "が動いています。つながったシリアルポートをモデムとして調べ、子機との通信を乱すこ"
                           "とがあります"),
            action);
    }
    if (grabbing.brltty) {
        add(Finding::Level::Warning,
            QStringLiteral(
                "brltty "
                "が動いています。USBシリアル変換器を点字端末として取り込み、ポートを消すことがあります"),
            QStringLiteral("sudo systemctl mask --now brltty-udev.service brltty.service"));
    }
}

void ConnectionDoctor::explainOpenFailure(const QString& port, const link::SerialOpenResult& opened) {
    if (!m_platform.exists(port)) {
        add(Finding::Level::Problem,
            QStringLiteral("%1 がありません（抜かれたか、名前が違います）").arg(port),
            QStringLiteral("子機をつなぎ直して、もう一度診断してください"));
        return;
    }
    const QList<PortHolder> holders = m_platform.holders(port);
    if (!holders.isEmpty()) {
        QStringList who;
        QStringList pids;
        for (const PortHolder& holder : holders) {
            who << QStringLiteral("%1（PID %2）").arg(holder.program).arg(holder.pid);
            pids << QString::number(holder.pid);
        }
        add(Finding::Level::Problem,
            QStringLiteral("%1 は別のプログラムが使用中です: %2").arg(port, who.join(QStringLiteral("、"))),
            QStringLiteral("そのプログラムを閉じてください（終わらなければ kill %1）")
                .arg(pids.join(QLatin1Char(' '))));
        return;
    }
    const std::optional<DeviceAccess> access = m_platform.access(port);
    if (access && !access->readWrite) {
        explainPermission(port, *access);
        return;
    }
    if (opened.permissionDenied) {
        // Windows opens a COM port for one program at a time and says "access denied" when
        // another has it; on Linux a lock file of another program does the same.
        add(Finding::Level::Problem, QStringLiteral("%1 は別のプログラムが使用中です").arg(port),
            QStringLiteral("ポートを使っているプログラム（ターミナルソフト、別の "
                           "Tolvan）を閉じてから、もう一度診断してください"));
        return;
    }
    add(Finding::Level::Problem, QStringLiteral("%1 を開けませんでした").arg(port),
        QStringLiteral("子機をつなぎ直して、もう一度診断してください"));
}

void ConnectionDoctor::explainPermission(const QString& port, const DeviceAccess& access) {
    const QString user = m_platform.userName();
    if (access.userInGroup) {
        add(Finding::Level::Problem,
            QStringLiteral("%1 を開く権限がありません（グループ %2、%3。ユーザー %4 は %2 "
                           "グループにいますが、グループに読み書きの許可がありません）")
                .arg(port, access.group, access.mode, user),
            QStringLiteral("sudo chmod g+rw %1").arg(port));
    } else {
        add(Finding::Level::Problem,
            QStringLiteral(
                "%1 を開く権限がありません（グループ %2、%3。ユーザー %4 は %2 グループに入っていません）")
                .arg(port, access.group, access.mode, user),
            QStringLiteral("sudo usermod -aG %1 %2 を実行し、ログアウトしてログインし直してください")
                .arg(access.group, user));
    }
    const std::optional<UdevRuleStatus> rule = m_platform.udevRule();
    if (!rule) {
        return;
    }
    if (rule->readPlace.isEmpty() && !rule->unreadPlace.isEmpty()) {
        add(Finding::Level::Problem,
            QStringLiteral("udev 規則 %1 が %2 にありますが、udev はそこを読みません")
                .arg(rule->fileName, rule->unreadPlace),
            QStringLiteral(
                "sudo cp %1/%2 /etc/udev/rules.d/ && sudo udevadm control --reload && sudo udevadm trigger")
                .arg(rule->unreadPlace, rule->fileName));
    } else if (rule->readPlace.isEmpty()) {
        add(Finding::Level::Warning,
            QStringLiteral(
                "udev 規則 %1 が入っていないため、ログイン中の利用者への許可（uaccess）がありません")
                .arg(rule->fileName),
            QStringLiteral("パッケージを入れ直すか、規則を /etc/udev/rules.d/ に置いて sudo udevadm control "
                           "--reload && sudo udevadm trigger"));
    } else if (!access.uaccessTagged) {
        add(Finding::Level::Warning,
            QStringLiteral("udev 規則は %1 にありますが、このポートに uaccess "
                           "が付いていません（製品名が子機のものでないか、規則より先につながれました）")
                .arg(rule->readPlace),
            QStringLiteral("sudo udevadm trigger --action=change %1").arg(port));
    } else if (!access.seatActive) {
        add(Finding::Level::Warning,
            QStringLiteral("このポートには uaccess が付いていますが、uaccess はこの PC "
                           "の画面でログインした利用者にしか効きません（リモートログインでは効きません）"),
            QStringLiteral("sudo usermod -aG %1 %2 を実行し、ログインし直してください")
                .arg(access.group, user));
    }
}

void ConnectionDoctor::reportHandset(const LineTestResult& line) {
    switch (line.dialogue) {
    case DialogueOutcome::Silent:
        add(Finding::Level::Problem,
            QStringLiteral("開始フレームに子機が応答しません（子機の電源が切れている、ポートが違う、またはド"
                           "ライバが違います）"),
            QStringLiteral(
                "子機の電源とケーブルを確かめ、子機のポートを --port で指定して、もう一度診断してください"));
        break;
    case DialogueOutcome::Garbled: {
        const LineCounts& c = line.opening;
        add(Finding::Level::Problem,
            QStringLiteral(
                "子機の応答が化けています（NAK %1、チェックバイト異常 %2、フレーム異常 %3、想定外の応答 %4）")
                .arg(c.naks)
                .arg(c.badCheck)
                .arg(c.framing)
                .arg(c.unexpected),
            QStringLiteral("ケーブルを替えてください。通信設定が "
                           "9600bps、8ビット、奇数パリティ、ストップビット1 であることを確かめてください"));
        break;
    }
    case DialogueOutcome::Answered:
        add(Finding::Level::Ok, QStringLiteral("子機が応答しました。機種: %1")
                                    .arg(QString::fromUtf8(modelNameOf(line.modelCode.value_or(0)))));
        break;
    }
    const Verdict verdict = verdictOf(line);
    m_result.verdict = verdict;
    const LineCounts& c = line.line;
    QString text =
        QStringLiteral(
            "回線テスト %1 秒: 読み出し %2（失敗 %3）、送信フレーム %4、受信フレーム %5、再送 %6（%7 %）、"
            "NAK %8、チェックバイト異常 %9、")
            .arg(double(line.lineTestMs) / 1000.0, 0, 'f', 1)
            .arg(c.reads)
            .arg(c.failedReads)
            .arg(c.framesSent)
            .arg(c.framesReceived)
            .arg(c.retries)
            .arg(c.retryPercent(), 0, 'f', 1)
            .arg(c.naks)
            .arg(c.badCheck);
    text +=
        QStringLiteral("フレーム異常 %1、タイムアウト %2、往復時間 平均 %3 ms（最小 %4、最大 %5）: 判定 %6")
            .arg(c.framing)
            .arg(c.timeouts)
            .arg(c.rttMeanMs(), 0, 'f', 1)
            .arg(c.rttMinMs)
            .arg(c.rttMaxMs)
            .arg(QString::fromUtf8(verdictText(verdict)));
    switch (verdict) {
    case Verdict::Good:
        add(Finding::Level::Ok, text);
        break;
    case Verdict::Unstable:
        add(Finding::Level::Warning, text,
            QStringLiteral("ケーブル、USBハブ、PCのUSB差し込み口を替えて、もう一度診断してください"));
        break;
    case Verdict::NoCommunication:
        add(Finding::Level::Problem, text, QStringLiteral("上の項目を直してから、もう一度診断してください"));
        break;
    }
}

} // namespace tolvan::doctor

// The doctor's findings from a system the test describes, and the support report.
#include "flows/doctor/connectiondoctor.h"
#include "flows/doctor/doctorreport.h"
#include "sim/faultplan.h"
#include "tests/support/doctorfakes.h"

#include "common/cp932.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tolvan::test {
namespace {

using doctor::Finding;

struct OpenScript {
    bool opens = true;
    bool permissionDenied = false;
    QStringList opened;

    link::SerialOpenResult operator()(const QString& path) {
        opened << path;
        link::SerialOpenResult result;
        if (opens) {
            auto buffer = std::make_unique<QBuffer>();
            buffer->open(QIODevice::ReadWrite);
            result.port = std::move(buffer);
        }
        result.permissionDenied = permissionDenied;
        return result;
    }
};

struct Doctor {
    FakePlatform platform;
    std::vector<std::string> faults;
    OpenScript open;
    std::optional<VirtualLineTester> tester;

    doctor::DoctorResult run(const QString& port = {}) {
        sim::HandsetConfig config = sim::realisticConfig(3);
        for (const std::string& text : faults) {
            config.faults.push_back(*sim::parseFaultRule(text));
        }
        tester.emplace(config);
        doctor::ConnectionDoctor doctor(platform, *tester, [this](const QString& p) { return open(p); });
        return doctor.run({port, 10'000});
    }
};

QString lines(const doctor::DoctorResult& result) {
    QStringList all;
    for (const Finding& finding : result.findings) {
        all << doctor::findingLine(finding);
    }
    return all.join(QLatin1Char('\n'));
}

TEST(ConnectionDoctor, SaysWhichDevicesDiscoveryTakesAndWhyNotTheOthers) {
    Doctor none;
    doctor::DoctorResult r = none.run();
    ASSERT_EQ(r.findings.size(), 1);
    EXPECT_EQ(r.findings[0].level, Finding::Level::Problem);
    EXPECT_TRUE(r.findings[0].text.startsWith(QStringLiteral("シリアルポートが1つもありません")));
    EXPECT_FALSE(r.verdict);
    EXPECT_TRUE(none.open.opened.isEmpty());

    Doctor refused;
    refused.platform.devices = {
        {QStringLiteral("/dev/ttyUSB1"),
         QStringLiteral("USB2.0-Serial (ttyUSB1)"),
         QStringLiteral("USB2.0-Serial"),
         QStringLiteral("ch341"),
         {}},
        {QStringLiteral("/dev/ttyACM0"), QStringLiteral(" (ttyACM0)"), {}, QStringLiteral("cdc_acm"), {}}};
    r = refused.run();
    const QString text = lines(r);
    EXPECT_TRUE(text.contains(QStringLiteral(
        "△ /dev/ttyUSB1（ドライバ ch341）: 「USB2.0-Serial」は子機の製品名でないため検出の対象外です"
        "　対処: 子機のポートなら --port /dev/ttyUSB1 で指定してください")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(
        QStringLiteral("△ /dev/ttyACM0（ドライバ cdc_acm）: 製品名が読めないため検出の対象外です")));
    EXPECT_TRUE(text.contains(QStringLiteral("× 子機として検出できるポートがありません")));
    EXPECT_TRUE(refused.open.opened.isEmpty());

    // The handset among them is taken, and --port overrides discovery.
    refused.platform.devices.append(handsetAdapter());
    r = refused.run();
    EXPECT_TRUE(lines(r).contains(
        QStringLiteral("○ /dev/ttyUSB0（ドライバ "
                       "ftdi_sio、/dev/serial/by-id/usb-ZX-VA150_USB_Serial_Ports_Driver-if00-port0）: "
                       "「ZX-VA150 USB Serial Ports Driver」を子機のポートとして検出します")));
    EXPECT_EQ(r.port, QStringLiteral("/dev/ttyUSB0"));
    r = refused.run(QStringLiteral("/dev/ttyACM0"));
    EXPECT_EQ(refused.open.opened.last(), QStringLiteral("/dev/ttyACM0"));
}

TEST(ConnectionDoctor, ExplainsWhyThePortDoesNotOpen) {
    Doctor d;
    d.platform.devices = {handsetAdapter()};
    d.open.opens = false;
    d.open.permissionDenied = true;
    const QString port = QStringLiteral("/dev/ttyUSB0");

    // Permission: group and mode, the user outside the group, the rule where udev does not read.
    d.platform.accessOf[port] = {
        QStringLiteral("dialout"), QStringLiteral("crw-rw----"), false, false, false, false};
    d.platform.rule = doctor::UdevRuleStatus{
        QStringLiteral("70-tolvan-handset.rules"), {}, QStringLiteral("/usr/local/lib/udev/rules.d")};
    QString text = lines(d.run());
    EXPECT_TRUE(text.contains(QStringLiteral(
        "× /dev/ttyUSB0 を開く権限がありません（グループ dialout、crw-rw----。"
        "ユーザー tech は dialout グループに入っていません）"
        "　対処: sudo usermod -aG dialout tech を実行し、ログアウトしてログインし直してください")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(
        QStringLiteral("sudo cp /usr/local/lib/udev/rules.d/70-tolvan-handset.rules /etc/udev/rules.d/ && "
                       "sudo udevadm control --reload && sudo udevadm trigger")));
    EXPECT_EQ(d.tester->runs, 0);

    // The rule is read and tagged the node, but uaccess only helps the seat's own user.
    d.platform.accessOf[port].uaccessTagged = true;
    d.platform.rule->readPlace = QStringLiteral("/usr/lib/udev/rules.d");
    text = lines(d.run());
    EXPECT_TRUE(
        text.contains(QStringLiteral("uaccess はこの PC の画面でログインした利用者にしか効きません")));
    d.platform.accessOf[port].uaccessTagged = false;
    EXPECT_TRUE(lines(d.run()).contains(QStringLiteral("sudo udevadm trigger --action=change /dev/ttyUSB0")));

    // Busy: the process that holds it, found among the open files.
    d.platform.holdersOf[port] = {{1234, QStringLiteral("minicom")}};
    text = lines(d.run());
    EXPECT_TRUE(
        text.contains(QStringLiteral("× /dev/ttyUSB0 は別のプログラムが使用中です: minicom（PID 1234）"
                                     "　対処: そのプログラムを閉じてください（終わらなければ kill 1234）")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("権限")));

    // Windows: no owner to find, the open error says another program has the port.
    d.platform.holdersOf.clear();
    d.platform.accessOf.clear();
    d.platform.rule.reset();
    EXPECT_TRUE(
        lines(d.run()).contains(QStringLiteral("× /dev/ttyUSB0 は別のプログラムが使用中です　対処:")));

    // Gone between discovery and the open.
    d.platform.absent << port;
    EXPECT_TRUE(
        lines(d.run()).contains(QStringLiteral("× /dev/ttyUSB0 がありません（抜かれたか、名前が違います）")));
}

TEST(ConnectionDoctor, NamesTheProgramsThatGrabSerialPortsWithTheCommandToStopThem) {
    Doctor d;
    d.platform.devices = {handsetAdapter()};
    d.platform.grabbing = {true, true};
    d.platform.properties = {{QStringLiteral("ID_VENDOR_ID"), QStringLiteral("0403")},
                             {QStringLiteral("ID_MODEL_ID"), QStringLiteral("6001")}};
    const QString text = lines(d.run());
    EXPECT_TRUE(text.contains(QStringLiteral("echo 'ATTRS{idVendor}==\"0403\", ATTRS{idProduct}==\"6001\", "
                                             "ENV{ID_MM_DEVICE_IGNORE}=\"1\"' | sudo tee "
                                             "/etc/udev/rules.d/71-tolvan-modemmanager.rules && sudo udevadm "
                                             "control --reload && sudo udevadm trigger /dev/ttyUSB0")))
        << text.toStdString();
    EXPECT_TRUE(
        text.contains(QStringLiteral("sudo systemctl mask --now brltty-udev.service brltty.service")));
}

TEST(ConnectionDoctor, TellsHowTheHandsetAnswersAndGivesTheVerdict) {
    Doctor d;
    d.platform.devices = {handsetAdapter()};
    doctor::DoctorResult r = d.run();
    QString text = lines(r);
    EXPECT_TRUE(text.contains(QStringLiteral("○ 子機が応答しました。機種: ZX-VA150")));
    EXPECT_TRUE(r.findings.last().text.contains(
        QStringLiteral("、再送 0（0.0 %）、NAK 0、チェックバイト異常 0、フレーム異常 0、タイムアウト 0、")));
    EXPECT_TRUE(r.findings.last().text.endsWith(QStringLiteral(": 判定 良好"))) << text.toStdString();
    EXPECT_EQ(r.verdict, doctor::Verdict::Good);

    d.faults = {"silence,count=0"};
    r = d.run();
    EXPECT_TRUE(lines(r).contains(QStringLiteral("× "
                                                 "開始フレームに子機が応答しません（子機の電源が切れている、"
                                                 "ポートが違う、またはドライバが違います）")));
    EXPECT_TRUE(r.findings.last().text.endsWith(QStringLiteral("判定 通信不可")));

    d.faults = {"bad-check,count=0"};
    EXPECT_TRUE(lines(d.run()).contains(QStringLiteral(
        "× 子機の応答が化けています（NAK 0、チェックバイト異常 6、フレーム異常 0、想定外の応答 0）")));

    d.faults = {"silence,count=0,percent=10"};
    r = d.run();
    EXPECT_EQ(r.verdict, doctor::Verdict::Unstable);
    EXPECT_EQ(r.findings.last().level, Finding::Level::Warning);
    EXPECT_FALSE(r.findings.last().action.isEmpty());
}

TEST(DoctorReport, HoldsFindingsVersionsPropertiesSettingsAndTraceOnly) {
    Doctor d;
    d.platform.devices = {handsetAdapter()};
    d.platform.properties = {
        {QStringLiteral("ID_MODEL"), QStringLiteral("ZX-VA150_USB_Serial_Ports_Driver")}};
    const doctor::DoctorResult r = d.run();
    doctor::ReportContext context;
    context.program = QStringLiteral("tolvan-cli");
    context.version = QStringLiteral("1.0.0");
    context.qtVersion = QStringLiteral("6.4.2");
    context.os = QStringLiteral("Debian GNU/Linux 12 (bookworm)");
    context.kernel = QStringLiteral("linux 6.1.0");
    context.generated = QDateTime(QDate(2026, 12, 9), QTime(3, 0));
    context.settingsFile = encodeCp932(QStringLiteral("[COMPORT]\r\nname=通信ﾎﾟｰﾄ未使用\r\n")).bytes;
    const QString report = doctor::doctorReport(r, context);
    const QStringList reportLines = report.split(QLatin1Char('\n'));
    EXPECT_EQ(reportLines.mid(0, 7),
              QStringList({QStringLiteral("Tolvan 接続診断レポート"),
                           QStringLiteral("作成日時: 2026-12-09 03:00:00"),
                           QStringLiteral("プログラム: tolvan-cli 1.0.0"), QStringLiteral("Qt: 6.4.2"),
                           QStringLiteral("OS: Debian GNU/Linux 12 (bookworm)"),
                           QStringLiteral("カーネル: linux 6.1.0"), QString()}));
    for (const Finding& finding : r.findings) {
        EXPECT_TRUE(reportLines.contains(doctor::findingLine(finding)));
    }
    EXPECT_TRUE(report.contains(QStringLiteral(
        "[ポートの udev プロパティ] /dev/ttyUSB0\nID_MODEL=ZX-VA150_USB_Serial_Ports_Driver\n")));
    EXPECT_TRUE(report.contains(QStringLiteral("[Tolvan.ini]\n[COMPORT]\nname=通信ﾎﾟｰﾄ未使用\n")));
    EXPECT_TRUE(report.contains(QStringLiteral("[回線テストのトレース]\n   0.000 > 02 20 03 23\n")));
    EXPECT_EQ(report.count(QStringLiteral(" > ")) + report.count(QStringLiteral(" < ")),
              qsizetype(r.line->trace.size()));
    EXPECT_FALSE(report.contains(QStringLiteral("PIN"), Qt::CaseInsensitive));

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.txt"));
    EXPECT_FALSE(doctor::writeDoctorReport(path, report));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()), report);
    EXPECT_TRUE(doctor::writeDoctorReport(dir.filePath(QStringLiteral("missing/report.txt")), report));
}

} // namespace
} // namespace tolvan::test

#include "cli/doctorcommand.h"

#include "cli/cliapp.h"
#include "link/core/messages.h"
#include "link/linktrace.h"

namespace tolvan::cli {

DoctorEnvironment systemDoctorEnvironment() {
    DoctorEnvironment environment;
    environment.platform = doctor::systemPlatformProbe();
    environment.tester = std::make_unique<doctor::DeviceLineTester>();
    environment.opener = link::openHandsetSerialPort;
    environment.context =
        doctor::currentReportContext(QStringLiteral("tolvan-cli"), QStringLiteral(TOLVAN_VERSION));
    return environment;
}

void addDoctorCommand(CliApp& app, std::function<DoctorEnvironment()> environment) {
    app.addCommand(
        {QStringLiteral("doctor"),
         QStringLiteral("doctor [--port DEV] [--report FILE]  why a handset does not talk, with a line test"),
         0, 4, [environment = std::move(environment)](CliApp& cli, const QStringList& args) {
             doctor::DoctorOptions options;
             options.port = cli.options().port;
             QString reportPath;
             for (qsizetype i = 0; i < args.size(); ++i) {
                 const QString& a = args.at(i);
                 if (i + 1 >= args.size()) {
                     return cli.usage();
                 }
                 if (a == QLatin1String("--port")) {
                     options.port = args.at(++i);
                 } else if (a == QLatin1String("--report")) {
                     reportPath = args.at(++i);
                 } else {
                     return cli.usage();
                 }
             }
             DoctorEnvironment env = environment();
             options.lineTestMs = env.lineTestMs;
             doctor::ConnectionDoctor doctor(*env.platform, *env.tester, env.opener);
             // Each finding goes out as it is made: the line test takes a while.
             doctor.setFindingListener([&cli](const doctor::Finding& finding) {
                 cli.out() << doctor::findingLine(finding) << '\n';
                 cli.out().flush();
             });
             const doctor::DoctorResult result = doctor.run(options);
             if (cli.options().trace && result.line) {
                 for (const doctor::TraceUnit& unit : result.line->trace) {
                     cli.err() << link::traceLine(unit.direction,
                                                  QByteArray(reinterpret_cast<const char*>(unit.bytes.data()),
                                                             static_cast<qsizetype>(unit.bytes.size())),
                                                  unit.atMs)
                               << '\n';
                 }
                 cli.err().flush();
             }
             if (!reportPath.isEmpty()) {
                 if (const auto failure =
                         doctor::writeDoctorReport(reportPath, doctor::doctorReport(result, env.context))) {
                     cli.err() << QString::fromUtf8(link::kErrorTitle) << ": " << *failure << '\n';
                     cli.err().flush();
                     return int(kExitFileError);
                 }
             }
             return int(result.verdict == doctor::Verdict::Good ? kExitOk : kExitNoAnswer);
         }});
}

} // namespace tolvan::cli

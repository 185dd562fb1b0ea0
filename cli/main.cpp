#include "cli/calibrationcommands.h"
#include "cli/cliapp.h"
#include "cli/comparecommands.h"
#include "cli/datasavecommands.h"
#include "cli/deferredsignals.h"
#include "cli/doctorcommand.h"
#include "cli/historycommands.h"
#include "cli/logfile1report.h"
#include "cli/logfile2report.h"
#include "cli/logfile3report.h"
#include "cli/logfile4report.h"
#include "cli/logscommands.h"
#include "cli/paramscommands.h"
#include "cli/printcommand.h"
#include "cli/provisioncommand.h"
#include "cli/registercommands.h"
#include "cli/settingscommands.h"
#include "common/qtjapanese.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <memory>

int main(int argc, char** argv) {
    // Reports are drawn with real fonts, which need a Gui application; it must not need a
    // display, so scripts and CI run it headless unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Without a runtime folder (root shells, containers) Qt picks one itself but says so on
    // stderr, which belongs to the handset's messages: give it a private one instead.
    std::unique_ptr<QTemporaryDir> runtimeDir;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        runtimeDir = std::make_unique<QTemporaryDir>();
        if (runtimeDir->isValid()) {
            qputenv("XDG_RUNTIME_DIR", runtimeDir->path().toLocal8Bit());
        }
    }
    QGuiApplication app(argc, argv);
    tolvan::cli::deferTerminationDuringPlacement();
    // The print path uses Qt's texts; keep them in the tool's language.
    tolvan::installQtJapanese(app);
    QTextStream out(stdout);
    QTextStream err(stderr);
    tolvan::cli::CliApp cli(out, err);
    tolvan::cli::addLinkCommands(cli);
    tolvan::cli::addParamsCommands(cli);
    tolvan::cli::addCalibrationCommands(cli);
    tolvan::cli::addLogsCommands(cli);
    tolvan::cli::addSettingsCommands(cli);
    tolvan::cli::addDataSaveCommands(cli);
    tolvan::cli::addRegisterCommands(cli);

    // Each log file kind adds its report here as its mode lands.
    tolvan::cli::ReportKinds reports;
    reports.add(1, tolvan::cli::logFile1Report);
    reports.add(2, tolvan::cli::logFile2Report);
    reports.add(3, tolvan::cli::logFile3Report);
    reports.add(4, tolvan::cli::logFile4Report);
    tolvan::cli::addPrintCommand(cli, std::move(reports));
    tolvan::cli::addCompareCommands(cli);
    tolvan::cli::addDoctorCommand(cli);
    tolvan::cli::addHistoryCommands(cli);
    tolvan::cli::addProvisionCommand(cli);
    return cli.run(app.arguments().mid(1));
}

#include "cli/calibrationcommands.h"

#include "cli/cliapp.h"
#include "cli/clisession.h"

#include "modes/test/model/calibrationbackup.h"
#include "modes/test/model/calibrationcodec.h"
#include "modes/test/model/calibrationimage.h"
#include "modes/test/model/calibrationwrites.h"
#include "modes/test/model/logfile2reader.h"
#include "modes/test/model/logfile2writer.h"
#include "modes/test/model/testcommands.h"
#include "modes/test/model/testlists.h"
#include "modes/test/model/testoperations.h"
#include "modes/test/model/testreadings.h"
#include "modes/test/model/testresultparser.h"

#include "common/logfile/logfilekind.h"

#include <QElapsedTimer>

namespace tolvan::cli {
namespace {

using namespace tolvan::testmode;

// Opens the link and reads the correction values (script 2), staying in keep-alive when more
// follows.
std::optional<ExitStatus> readCalibration(CliSession& session, bool moreFollows) {
    if (const auto failed = session.open()) {
        return failed;
    }
    if (moreFollows) {
        return session.runScript(op::kReadPending, op::kReadScript);
    }
    return session.runLastScript(op::kReadPending, op::kReadScript);
}

CalibrationFields fieldsOfStore(CliSession& session) {
    return CalibrationCodec::fieldsOf(CalibrationImage::fromStore(session.store()));
}

int calibrationRead(CliApp& cli, const QString& path) {
    CliSession session(cli);
    // A file that cannot be written is known before the handset is read for nothing.
    if (const auto unwritable = logfile::checkWritable(path)) {
        session.printMessage(unwritable->title, unwritable->text);
        return kExitFileError;
    }
    if (const auto failed = readCalibration(session, false)) {
        return *failed;
    }
    const LogFile2Text text =
        LogFile2Writer::write(fieldsOfStore(session), session.modelCode(), cli.options().memo);
    return session.saveAndClose(path,
                                text.ok() ? CliSession::FileContents{text.bytes} : errorMessage(text.error));
}

int calibrationWrite(CliApp& cli, const QString& path) {
    CliSession session(cli);
    const logfile::LoadedFile file = logfile::kLogFile2.loadExact(path);
    if (file.status != logfile::LoadedFile::Status::Loaded) {
        const QString text = file.status == logfile::LoadedFile::Status::Missing
                                 ? file.message.text
                                 : path + QStringLiteral(": ") + file.message.text;
        session.printMessage(file.message.title, text);
        return kExitFileError;
    }
    runner::WritePlan plan;
    plan.readOperation = op::kReadPending;
    plan.readScript = op::kReadScript;
    CalibrationFields fields;
    // The file goes onto the fields as the screen's open puts it there, over what was read.
    plan.load = [&](handset::HandsetStore& store, std::uint32_t model) {
        const LogFile2Read read = LogFile2Reader::read(
            file.bytes, model, CalibrationCodec::fieldsOf(CalibrationImage::fromStore(store)), QString());
        for (const Message& message : read.messages) {
            session.printMessage(message);
        }
        fields = read.fields;
        return read.loaded;
    };
    if (cli.options().backup) {
        plan.backUp = [&](const handset::HandsetStore& store, std::uint32_t model) {
            return backUpCalibration(store, model, cli.options().memo, backup::backupRoot());
        };
    }
    // "補正値書き込み2" (the RSSI coefficients), then "補正書き込み４" (amplifier bias).
    for (const CorrectionWrite write : {CorrectionWrite::Rssi, CorrectionWrite::AmpBias}) {
        const std::uint8_t script =
            write == CorrectionWrite::Rssi ? op::kRssiWriteScript : op::kAmpWriteScript;
        plan.steps.push_back(
            {op::kWriting, script, [&, write](handset::HandsetStore& store, link::RequestBuffers& requests) {
                 const CalibrationWrites::Prepared prepared =
                     CalibrationWrites::prepare(write, fields, store.prepareWrite(), requests);
                 if (prepared.message) {
                     session.printMessage(*prepared.message);
                 }
                 return prepared.ready;
             }});
    }
    return session.runWrite(plan, path);
}

// --slot N=on|off,CHANNEL,OUTPUT,LO|HI,ANTENNA onto the table; false for anything malformed or
// out of range.
bool applySlot(const QString& text, SlotTable& table) {
    const qsizetype eq = text.indexOf(QLatin1Char('='));
    bool ok = false;
    const int slot = text.left(eq).toInt(&ok);
    if (eq < 0 || !ok || slot < 1 || slot > SlotTable::kSlotCount) {
        return false;
    }
    const QStringList values = text.mid(eq + 1).split(QLatin1Char(','));
    if (values.size() != 5) {
        return false;
    }
    SlotSetting& setting = table.columns[static_cast<std::size_t>(slot - 1)];
    if (values[0] != QLatin1String("on") && values[0] != QLatin1String("off")) {
        return false;
    }
    setting.on = values[0] == QLatin1String("on");
    bool channelOk = false;
    bool outputOk = false;
    bool antennaOk = false;
    setting.channel = values[1].toInt(&channelOk);
    setting.outputControl = values[2].toInt(&outputOk);
    if (values[3] != QLatin1String("LO") && values[3] != QLatin1String("HI")) {
        return false;
    }
    setting.selection = values[3] == QLatin1String("HI") ? 1 : 0;
    setting.antenna = values[4].toInt(&antennaOk) - 1;
    return channelOk && outputOk && antennaOk && setting.valid();
}

struct RunOptions {
    const ContentEntry* entry = nullptr;
    SlotTable table = SlotTable::initial();
    int seconds = 10;
};

std::optional<RunOptions> parseRun(ContentList list, const QStringList& args, bool slotsAllowed) {
    RunOptions options;
    options.entry = TestLists::find(list, args.value(0));
    if (!options.entry) {
        return std::nullopt;
    }
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (i + 1 >= args.size()) {
            return std::nullopt;
        }
        const QString& value = args[++i];
        bool ok = false;
        if (a == QLatin1String("--slot")) {
            // A measurement takes slot 1 only.
            if ((!slotsAllowed && !value.startsWith(QLatin1String("1="))) ||
                !applySlot(value, options.table)) {
                return std::nullopt;
            }
        } else if (a == QLatin1String("--output-slot") && slotsAllowed) {
            const int slot = value.toInt(&ok);
            if (!ok || slot < 1 || slot > SlotTable::kSlotCount) {
                return std::nullopt;
            }
            options.table.outputSlot = slot - 1;
        } else if (a == QLatin1String("--seconds")) {
            options.seconds = value.toInt(&ok);
            if (!ok || options.seconds < 0 || options.seconds > 24 * 3600) {
                return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
    }
    return options;
}

// Starts the test or measurement in the keep-alive dialogue after the correction value read,
// prints its results for the given time, then stops it with the idle command of its list.
int runContent(CliApp& cli, ContentList list, const QStringList& args) {
    const auto options = parseRun(list, args, list == ContentList::Tests);
    if (!options) {
        return cli.usage();
    }
    CliSession session(cli);
    if (const auto failed = readCalibration(session, true)) {
        return *failed;
    }
    const ContentEntry& entry = *options->entry;
    if (!TestCommands::prepare(entry, options->table, session.requestBuffers())) {
        cli.err() << "tolvan-cli: the command could not be built\n";
        cli.err().flush();
        session.close();
        return kExitUsage;
    }
    session.sendSingle(entry.command, entry.command);

    QTextStream& out = cli.out();
    TestReadings readings;
    std::uint32_t seen = session.store().testResults().count;
    QString lastLine;
    qint64 lastPrinted = -1000;
    QElapsedTimer clock;
    clock.start();
    bool alive = true;
    while (alive && clock.elapsed() < qint64{options->seconds} * 1000) {
        alive = session.runFor(50);
        const handset::TestResults& results = session.store().testResults();
        if (results.count != seen) {
            seen = results.count;
            if (results.latest) {
                readings.apply(TestResultParser::parse(results.latest->unit, entry.command));
            }
            if (results.redirect) {
                readings.apply(TestResultParser::batteryState(*results.redirect));
            }
        }
        const QString line = readings.resultLine();
        // A line when the results change, and at least one a second.
        if (!line.isEmpty() && (line != lastLine || clock.elapsed() - lastPrinted >= 1000)) {
            out << QString::asprintf("%.3f", static_cast<double>(clock.elapsed()) / 1000.0) << '\t' << line
                << '\n';
            out.flush();
            lastLine = line;
            lastPrinted = clock.elapsed();
        }
    }
    if (!alive) {
        session.printMessage(errorTitle(),
                             QStringLiteral("USBでエラーが発生したため再度読み込みを行ってください"));
        session.close();
        return kExitNoAnswer;
    }
    // Stopped with the idle entry of its list; its answer closes the dialogue.
    const ContentEntry& idle = TestLists::entries(list).front();
    TestCommands::prepare(idle, options->table, session.requestBuffers());
    session.sendSingle(idle.command, idle.command);
    const bool stopped = session.runFor(10000, [&] { return session.closePauseRunning(); });
    session.close();
    return stopped ? kExitOk : kExitNoAnswer;
}

} // namespace

void addCalibrationCommands(CliApp& app) {
    app.addCommand(
        {QStringLiteral("calibration read"),
         QStringLiteral("calibration read FILE       read the correction values into FILE (log file 2)"), 1,
         1, [](CliApp& cli, const QStringList& args) { return calibrationRead(cli, args.at(0)); }});
    app.addCommand(
        {QStringLiteral("calibration write"),
         QStringLiteral("calibration write FILE      write the RSSI and amplifier-bias coefficients of "
                        "FILE (log file 2)"),
         1, 1, [](CliApp& cli, const QStringList& args) { return calibrationWrite(cli, args.at(0)); }});
    app.addCommand({QStringLiteral("test"),
                    QStringLiteral("test KIND [--slot N=VALUES]... [--output-slot N] [--seconds S]\n"
                                   "                              run a radio or user-interface test"),
                    1, 99, [](CliApp& cli, const QStringList& args) {
                        return runContent(cli, ContentList::Tests, args);
                    }});
    app.addCommand({QStringLiteral("measure"),
                    QStringLiteral("measure KIND [--slot 1=VALUES] [--seconds S]\n"
                                   "                              run a measurement"),
                    1, 99, [](CliApp& cli, const QStringList& args) {
                        return runContent(cli, ContentList::Measurements, args);
                    }});
}

} // namespace tolvan::cli

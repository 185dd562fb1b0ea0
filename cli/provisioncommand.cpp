#include "cli/provisioncommand.h"

#include "cli/cliapp.h"
#include "cli/deferredsignals.h"
#include "cli/provisionline.h"

#include "common/backup/backupfolder.h"
#include "common/logfile/logfileio.h"
#include "flows/provision/provisionrun.h"
#include "flows/provision/provisionsummary.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QThread>
#include <QTimer>

#include <cstdio>

#include <memory>
#include <vector>

namespace tolvan::cli {
namespace {

using provision::HandsetReport;

struct ProvisionArgs {
    QString plan;
    QString templateSet;
    QString outDir;
    bool registration = false;
    bool retryFailed = false;
    QStringList ports;
};

std::optional<ProvisionArgs> parse(const QStringList& args) {
    ProvisionArgs parsed;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        auto value = [&](QString& out) {
            if (i + 1 >= args.size() || !out.isEmpty()) {
                return false;
            }
            out = args.at(++i);
            return true;
        };
        if (a == QLatin1String("--template")) {
            if (!value(parsed.templateSet)) {
                return std::nullopt;
            }
        } else if (a == QLatin1String("--out")) {
            if (!value(parsed.outDir)) {
                return std::nullopt;
            }
        } else if (a == QLatin1String("--port")) {
            QString port;
            if (!value(port) || parsed.ports.contains(port)) {
                return std::nullopt;
            }
            parsed.ports.append(port);
        } else if (a == QLatin1String("--register")) {
            parsed.registration = true;
        } else if (a == QLatin1String("--retry-failed")) {
            parsed.retryFailed = true;
        } else if (!a.startsWith(QLatin1String("--")) && parsed.plan.isEmpty()) {
            parsed.plan = a;
        } else {
            return std::nullopt;
        }
    }
    if (parsed.plan.isEmpty() || parsed.templateSet.isEmpty() || parsed.outDir.isEmpty()) {
        return std::nullopt;
    }
    return parsed;
}

QString resultText(const HandsetReport& report) {
    switch (report.kind) {
    case HandsetReport::Kind::Passed:
        return provision::passedText();
    case HandsetReport::Kind::WrongModel:
        return QStringLiteral("機種違い");
    case HandsetReport::Kind::AlreadyDone:
        return QStringLiteral("設定済み");
    case HandsetReport::Kind::Failed:
    case HandsetReport::Kind::NoRowLeft:
        break;
    }
    return provision::failedText();
}

int provisionRun(CliApp& cli, const QStringList& args) {
    const auto parsed = parse(args);
    if (!parsed) {
        return cli.usage();
    }
    QTextStream& err = cli.err();
    const auto base = provision::ProvisionTemplate::load(parsed->templateSet);
    if (const auto* failed = std::get_if<Message>(&base)) {
        err << failed->title << ": " << failed->text << '\n';
        err.flush();
        return kExitFileError;
    }
    const auto& setTemplate = std::get<provision::ProvisionTemplate>(base);
    const logfile::LoadedFile planFile =
        logfile::loadExact(parsed->plan, provision::ProvisionPlan::kMaxFileBytes);
    if (planFile.status != logfile::LoadedFile::Status::Loaded) {
        err << planFile.message.title << ": " << planFile.message.text << '\n';
        err.flush();
        return kExitFileError;
    }
    // The whole plan is checked before any handset is touched.
    auto plan = provision::ProvisionPlan::read(planFile.bytes, setTemplate);
    if (const auto* problems = std::get_if<QStringList>(&plan)) {
        for (const QString& problem : *problems) {
            err << problem << '\n';
        }
        err.flush();
        return kExitFileError;
    }
    if (!QDir().mkpath(parsed->outDir)) {
        err << errorTitle() << ": " << parsed->outDir << QStringLiteral(" を作成できません。") << '\n';
        err.flush();
        return kExitFileError;
    }
    const QDir out(parsed->outDir);
    provision::ProvisionJournal journal;
    if (const auto failed = journal.open(out.filePath(QStringLiteral("provision.jsonl")))) {
        err << errorTitle() << ": provision.jsonl: " << *failed << '\n';
        err.flush();
        return kExitFileError;
    }
    provision::RunOptions options{parsed->outDir, cli.options().backup ? backup::backupRoot() : QString(),
                                  parsed->registration, parsed->retryFailed, cli.options().memo};
    provision::ProvisionRun run(setTemplate, std::get<provision::ProvisionPlan>(plan), journal, options);

    auto writeSummary = [&] { return provision::writeSummary(parsed->outDir, run.plan(), journal); };
    // Runs under the run's lock: one writer of stdout, stderr and the summary.
    const provision::ProvisionRun::Reporter report = [&](const HandsetReport& r) {
        cli.out() << (r.row > 0 ? QString::number(r.row) : QStringLiteral("-")) << '\t' << r.psNumber << '\t'
                  << r.psId << '\t' << r.model << '\t' << resultText(r) << '\t'
                  << QString::number(r.seconds, 'f', 1) << '\t' << r.cause << '\n';
        cli.out().flush();
        writeSummary();
        if (r.kind != HandsetReport::Kind::NoRowLeft && r.rowsLeft > 0) {
            err << "tolvan-cli: " << QStringLiteral("次の子機に交換してください") << '\n';
            err.flush();
        }
    };

    // Ctrl-C stops the run once every cable's handset is finished, never in the middle of a write;
    // a second one ends it at once.
    askStopOnTermination(true);
    QTimer stopWatch;
    QObject::connect(&stopWatch, &QTimer::timeout, [&] {
        if (stopAskedBy() != 0 && !run.stopRequested()) {
            run.requestStop();
            std::fputs("tolvan-cli: 接続中の子機の処理が終わったところで中断します\n", stderr);
        }
    });
    stopWatch.start(100);

    const QStringList ports = parsed->ports.isEmpty() ? QStringList{cli.options().port} : parsed->ports;
    std::vector<std::unique_ptr<QThread>> workers;
    for (qsizetype i = 1; i < ports.size(); ++i) {
        // Each further port has a thread with its own event loop, session and link.
        workers.emplace_back(QThread::create([&, port = ports.at(i)] {
            ProvisionLine line(cli.options(), port);
            run.serve(line.line(), report);
        }));
        workers.back()->start();
    }
    {
        ProvisionLine line(cli.options(), ports.first());
        run.serve(line.line(), report);
    }
    for (const auto& worker : workers) {
        // The first line may end before the others: their stop still has to be seen.
        while (!worker->wait(QDeadlineTimer(100))) {
            QCoreApplication::processEvents();
        }
    }
    stopWatch.stop();
    const QString summaryFailed = writeSummary();
    if (!summaryFailed.isEmpty()) {
        err << errorTitle() << ": summary.csv: " << summaryFailed << '\n';
        err.flush();
    }
    const auto rows = provision::summaryOf(run.plan(), journal);
    const bool allPassed = std::all_of(rows.begin(), rows.end(), [](const provision::SummaryRow& row) {
        return row.result == provision::passedText();
    });
    // A stop that was asked for ends the program by its signal, now that the summary is written.
    askStopOnTermination(false);
    if (!summaryFailed.isEmpty()) {
        return kExitFileError;
    }
    return allPassed ? kExitOk : kExitNoAnswer;
}

} // namespace

void addProvisionCommand(CliApp& app) {
    app.addCommand(
        {QStringLiteral("provision"),
         QStringLiteral("provision PLAN --template SET --out DIR [--register] [--port DEV]... "
                        "[--retry-failed]\n"
                        "                              one handset after another (or one per port at "
                        "once): the template set with each\n"
                        "                              plan row's identity, verified, registered, saved; "
                        "journal and summary in DIR"),
         1, 64, [](CliApp& cli, const QStringList& args) { return provisionRun(cli, args); }});
}

} // namespace tolvan::cli

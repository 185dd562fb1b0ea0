#include "cli/printcommand.h"

#include "common/logfile/logfileio.h"

#include "common/reportrenderer.h"
#include "flows/provision/provisionsummary.h"

#include <QBuffer>
#include <QPdfWriter>

namespace tolvan::cli {
namespace {

struct PrintArguments {
    QString file;
    QString pdf;
};

// FILE --pdf OUT, the option on either side of the file.
std::optional<PrintArguments> parse(const QStringList& args) {
    const qsizetype at = args.indexOf(QStringLiteral("--pdf"));
    if (args.size() != 3 || at < 0 || at + 1 >= args.size()) {
        return std::nullopt;
    }
    PrintArguments parsed;
    parsed.pdf = args.at(at + 1);
    parsed.file = args.at(at == 0 ? 2 : 0);
    if (parsed.file.startsWith(QLatin1String("--"))) {
        return std::nullopt;
    }
    return parsed;
}

// The whole PDF in memory first, so a failed print never leaves half a file under OUT.
QString writePdf(const QString& path, const QList<ReportPage>& pages) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        prepareReportPdf(writer);
        if (!renderReport(writer, pages)) {
            return QStringLiteral("the report could not be drawn");
        }
    }
    return logfile::saveAtomically(path, buffer.data());
}

int print(CliApp& cli, const ReportKinds& kinds, const QStringList& args) {
    const auto parsed = parse(args);
    if (!parsed) {
        return cli.usage();
    }
    QTextStream& err = cli.err();
    auto fail = [&](int status, const QString& text) {
        err << "tolvan-cli: " << text << '\n';
        err.flush();
        return status;
    };
    const logfile::LoadedFile file = logfile::loadExact(parsed->file, ReportKinds::kMaxFileBytes);
    if (file.status == logfile::LoadedFile::Status::Missing) {
        return fail(kExitFileError, parsed->file + QStringLiteral(": no such file"));
    }
    if (file.status == logfile::LoadedFile::Status::Unreadable) {
        return fail(kExitFileError, parsed->file + QStringLiteral(": ") + file.message.text);
    }
    // A provisioning run's summary prints as its table.
    if (const auto summary = provision::readSummaryCsv(file.bytes)) {
        if (const QString error = writePdf(parsed->pdf, provision::summaryReportPages(*summary));
            !error.isEmpty()) {
            return fail(kExitFileError, parsed->pdf + QStringLiteral(": ") + error);
        }
        return kExitOk;
    }
    const int number = ReportKinds::fileNumberOf(parsed->file, file.bytes);
    if (number == 0) {
        return fail(kExitFileError, parsed->file + QStringLiteral(": not a log file (.jv1 to .jv4)"));
    }
    const ReportKinds::Builder* builder = kinds.find(number);
    if (!builder) {
        return fail(kExitUsage,
                    QStringLiteral("printing log file %1 (.jv%1) is not available yet").arg(number));
    }
    const ReportBuild build = (*builder)({parsed->file, file.bytes, cli.options().logRoot});
    for (const Message& message : build.messages) {
        err << message.title << ": " << message.text << '\n';
    }
    err.flush();
    if (build.status != kExitOk) {
        return fail(build.status, build.problem);
    }
    if (const QString error = writePdf(parsed->pdf, build.pages); !error.isEmpty()) {
        return fail(kExitFileError, parsed->pdf + QStringLiteral(": ") + error);
    }
    return kExitOk;
}

} // namespace

void addPrintCommand(CliApp& app, ReportKinds kinds) {
    app.addCommand(
        {QStringLiteral("print"),
         QStringLiteral("print FILE --pdf OUT        render the printed report of a log file to PDF"), 3, 3,
         [kinds = std::move(kinds)](CliApp& cli, const QStringList& args) {
             return print(cli, kinds, args);
         }});
}

} // namespace tolvan::cli

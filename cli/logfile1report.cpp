#include "cli/logfile1report.h"

#include "modes/dataset/model/datasetreport.h"
#include "modes/dataset/model/logfile1reader.h"

#include "common/logfile/logfilekind.h"

#include <optional>

namespace tolvan::cli {

ReportBuild logFile1Report(const ReportSource& source) {
    ReportBuild build;
    const std::optional<std::uint32_t> model = logfile::kLogFile1.modelOfFile(source.bytes);
    if (!model) {
        build.status = kExitFileError;
        build.problem = source.path + QStringLiteral(": the first line is not the header of a log file 1 "
                                                     "of ZX-VA100, ZX-VA150 or ZX-VA150(C)");
        return build;
    }
    // Opened onto an empty screen: an item whose line is bad prints as nothing selected.
    const auto read = dataset::LogFile1Reader::read(source.bytes, *model, dataset::DataSetScreenValues{});
    build.messages.append(read.messages);
    const QString customer = ReportKinds::customerOf(source.path, *model, source.logRoot);
    // The first line sits one line pitch down the page.
    build.pages.append(
        ReportPage::singleColumn(dataset::DataSetReport::lines(read.values, *model, customer), 1));
    return build;
}

} // namespace tolvan::cli

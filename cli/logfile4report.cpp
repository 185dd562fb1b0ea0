#include "cli/logfile4report.h"

#include "modes/psent/model/logfile4reader.h"
#include "modes/psent/model/psentreport.h"

#include "common/logfile/logfilekind.h"

#include <optional>

namespace tolvan::cli {

ReportBuild logFile4Report(const ReportSource& source) {
    ReportBuild build;
    // The model is the one the header names.
    const std::optional<std::uint32_t> model = logfile::kLogFile4.modelOfFile(source.bytes);
    if (!model) {
        build.status = kExitFileError;
        build.problem = source.path + QStringLiteral(": the first line is not the header of a log file 4 "
                                                     "of ZX-VA100, ZX-VA150 or ZX-VA150(C)");
        return build;
    }
    // Opened onto an empty screen, as the handset setting screen would.
    const psent::LogFile4ScreenRead read =
        psent::LogFile4Reader::read(source.bytes, *model, psent::PsEntScreenValues{});
    build.messages.append(read.messages);
    build.pages.append(psent::PsEntReport::page(
        read.values, *model, ReportKinds::customerOf(source.path, *model, source.logRoot)));
    return build;
}

} // namespace tolvan::cli

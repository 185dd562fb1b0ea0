#include "cli/logfile3report.h"

#include "modes/log/model/logfile3reader.h"
#include "modes/log/model/logreport.h"

#include "common/logfile/logfilekind.h"

#include <optional>

namespace tolvan::cli {

ReportBuild logFile3Report(const ReportSource& source) {
    ReportBuild build;
    // The model is the one whose header the file carries.
    if (const std::optional<std::uint32_t> model = logfile::kLogFile3.modelOfFile(source.bytes)) {
        const log::LogFile3Read read = log::LogFile3Reader::read(source.bytes, *model);
        if (read.loaded()) {
            build.pages.append(log::LogReport::page(
                read.content.lists, *model, ReportKinds::customerOf(source.path, *model, source.logRoot),
                read.content.memo));
            return build;
        }
    }
    build.status = kExitFileError;
    build.problem = source.path + QStringLiteral(": not a log file 3 of ZX-VA100, ZX-VA150 or ZX-VA150(C) "
                                                 "(header or sections are not where they belong)");
    return build;
}

} // namespace tolvan::cli

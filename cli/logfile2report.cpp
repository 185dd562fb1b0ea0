#include "cli/logfile2report.h"

#include "modes/test/model/logfile2reader.h"
#include "modes/test/model/logfile2report.h"

#include "common/logfile/logfilekind.h"

#include <optional>

namespace tolvan::cli {

ReportBuild logFile2Report(const ReportSource& source) {
    ReportBuild build;
    // The model is the one the header names.
    const std::optional<std::uint32_t> model = logfile::kLogFile2.modelOfFile(source.bytes);
    if (!model) {
        build.status = kExitFileError;
        build.problem = source.path + QStringLiteral(": the first line is not the header of a log file 2 "
                                                     "of ZX-VA100, ZX-VA150 or ZX-VA150(C)");
        return build;
    }
    // Opened onto empty fields, as the test mode screen would before its open.
    const testmode::LogFile2Read read =
        testmode::LogFile2Reader::read(source.bytes, *model, testmode::CalibrationFields{}, QString());
    build.messages.append(read.messages);
    build.pages.append(testmode::LogFile2Report::page(
        read.fields, *model, ReportKinds::customerOf(source.path, *model, source.logRoot), read.memo));
    return build;
}

} // namespace tolvan::cli

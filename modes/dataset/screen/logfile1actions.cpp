#include "modes/dataset/screen/logfile1actions.h"

#include "modes/dataset/model/datasetreport.h"
#include "modes/dataset/model/logfile1format.h"
#include "modes/dataset/model/logfile1reader.h"
#include "modes/dataset/model/logfile1writer.h"

#include "shell/dialogservice.h"
#include "shell/logfileflow.h"

namespace tolvan::dataset {
namespace {

shell::LogFileFlow::Target flowTarget(const LogFile1Actions::Target& target) {
    return {target.parent, target.folder, QStringLiteral("ﾛｸﾞﾌｧｲﾙ1(*.jv1)"), QStringLiteral("jv1"),
            target.pauseLink};
}

} // namespace

void LogFile1Actions::save(const Target& target, const DataSetScreenValues& values) {
    shell::LogFileFlow::save(flowTarget(target), [&]() -> shell::LogFileFlow::Contents {
        const LogFile1Text text = LogFile1Writer::fromScreen(values, target.modelCode);
        if (!text.ok()) {
            return errorMessage(text.error);
        }
        return text.bytes;
    });
}

std::optional<DataSetScreenValues> LogFile1Actions::open(const Target& target,
                                                         const DataSetScreenValues& current) {
    const auto load = shell::LogFileFlow::open(flowTarget(target), LogFile1Format::kMaxFileBytes);
    if (!load) {
        return std::nullopt;
    }
    const LogFile1ScreenRead read = LogFile1Reader::read(load->bytes, target.modelCode, current);
    for (const Message& message : read.messages) {
        shell::DialogService::current().show(target.parent, message);
    }
    if (!read.loaded) {
        return std::nullopt;
    }
    return read.values;
}

void LogFile1Actions::print(const Target& target, const DataSetScreenValues& values,
                            const QString& logFolderName) {
    shell::LogFileFlow::print(flowTarget(target), [&] {
        // One line pitch above the first line, as the report was always laid out.
        return QList<ReportPage>{
            ReportPage::singleColumn(DataSetReport::lines(values, target.modelCode, logFolderName), 1)};
    });
}

} // namespace tolvan::dataset

#include "modes/psent/screen/logfile4actions.h"

#include "modes/psent/model/logfile4format.h"
#include "modes/psent/model/logfile4reader.h"
#include "modes/psent/model/logfile4writer.h"
#include "modes/psent/model/psentreport.h"

#include "shell/dialogservice.h"
#include "shell/logfileflow.h"

namespace tolvan::psent {
namespace {

shell::LogFileFlow::Target flowTarget(const LogFile4Actions::Target& target) {
    return {target.parent, target.folder, QStringLiteral("ﾛｸﾞﾌｧｲﾙ4(*.jv4)"), QStringLiteral("jv4"),
            target.pauseLink};
}

} // namespace

bool LogFile4Actions::save(const Target& target, const PsEntScreenValues& values) {
    return shell::LogFileFlow::save(flowTarget(target), [&]() -> shell::LogFileFlow::Contents {
        const LogFile4Text text = LogFile4Writer::fromScreen(values, target.modelCode);
        if (!text.ok()) {
            return errorMessage(text.error);
        }
        return text.bytes;
    });
}

std::optional<PsEntScreenValues> LogFile4Actions::open(const Target& target,
                                                       const PsEntScreenValues& current) {
    const auto load = shell::LogFileFlow::open(flowTarget(target), LogFile4Format::kMaxFileBytes);
    if (!load) {
        return std::nullopt;
    }
    const LogFile4ScreenRead read = LogFile4Reader::read(load->bytes, target.modelCode, current);
    for (const Message& message : read.messages) {
        shell::DialogService::current().show(target.parent, message);
    }
    if (!read.loaded) {
        return std::nullopt;
    }
    return read.values;
}

bool LogFile4Actions::print(const Target& target, const PsEntScreenValues& values, const QString& customer) {
    return shell::LogFileFlow::print(flowTarget(target), [&] {
        return QList<ReportPage>{PsEntReport::page(values, target.modelCode, customer)};
    });
}

} // namespace tolvan::psent

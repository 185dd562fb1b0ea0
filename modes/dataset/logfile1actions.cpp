#include "modes/dataset/logfile1actions.h"

#include "modes/dataset/datasetmessage.h"
#include "modes/dataset/datasetreport.h"
#include "modes/dataset/logfile1files.h"
#include "modes/dataset/logfile1reader.h"
#include "modes/dataset/logfile1writer.h"

#include "app/shell/dialogservice.h"
#include "common/reportpage.h"
#include "common/reportrenderer.h"

#include <QPrinter>

namespace tolvan::dataset {
namespace {

shell::FileRequest fileRequest(const LogFile1Actions::Target& target) {
    shell::FileRequest request;
    request.directory = target.folder;
    request.filter = QStringLiteral("ﾛｸﾞﾌｧｲﾙ1(*.jv1)");
    request.defaultSuffix = QStringLiteral("jv1");
    return request;
}

void pause(const LogFile1Actions::Target& target) {
    if (target.pauseLink) {
        target.pauseLink();
    }
}

void show(QWidget* parent, const DataSetMessage& message) {
    shell::MessageRequest request;
    request.title = message.title;
    request.text = message.text;
    request.icon = QMessageBox::Warning;
    shell::DialogService::current().message(parent, request);
}

} // namespace

void LogFile1Actions::save(const Target& target, const DataSetScreenValues& values) {
    pause(target);
    shell::DialogService& dialogs = shell::DialogService::current();
    const std::optional<QString> chosen = dialogs.saveFileName(target.parent, fileRequest(target));
    if (!chosen) {
        return;
    }
    const LogFile1Text text = LogFile1Writer::fromScreen(values, target.modelCode);
    if (!text.ok()) {
        dialogs.error(target.parent, text.error);
        return;
    }
    const QString error = LogFile1Files::save(LogFile1Files::saveName(*chosen), text.bytes);
    if (!error.isEmpty()) {
        dialogs.error(target.parent, error);
    }
}

std::optional<DataSetScreenValues> LogFile1Actions::open(const Target& target,
                                                         const DataSetScreenValues& current) {
    shell::DialogService& dialogs = shell::DialogService::current();
    for (;;) {
        pause(target);
        const std::optional<QString> chosen = dialogs.openFileName(target.parent, fileRequest(target));
        if (!chosen) {
            return std::nullopt;
        }
        const LogFileLoad load = LogFile1Files::load(*chosen);
        if (load.status == LogFileLoad::Status::Missing) {
            // Asks for another name, as often as it takes.
            show(target.parent, load.message);
            continue;
        }
        if (load.status != LogFileLoad::Status::Loaded) {
            show(target.parent, load.message);
            return std::nullopt;
        }
        const LogFile1ScreenRead read = LogFile1Reader::read(load.bytes, target.modelCode, current);
        for (const DataSetMessage& message : read.messages) {
            show(target.parent, message);
        }
        if (!read.loaded) {
            return std::nullopt;
        }
        return read.values;
    }
}

void LogFile1Actions::print(const Target& target, const DataSetScreenValues& values,
                            const QString& logFolderName) {
    pause(target);
    shell::DialogService& dialogs = shell::DialogService::current();
    const std::unique_ptr<QPrinter> printer = dialogs.choosePrinter(target.parent);
    if (!printer) {
        return;
    }
    // One line pitch above the first line, as the report was always laid out.
    const ReportPage page =
        ReportPage::singleColumn(DataSetReport::lines(values, target.modelCode, logFolderName), 1);
    if (!renderReport(*printer, {page})) {
        dialogs.error(target.parent, QStringLiteral("印刷を開始できませんでした"));
    }
}

} // namespace tolvan::dataset

#include "shell/logfileflow.h"

#include "shell/dialogservice.h"

#include "common/reportrenderer.h"

#include <QPrinter>

namespace tolvan::shell {
namespace {

FileRequest fileRequest(const LogFileFlow::Target& target) {
    FileRequest request;
    request.directory = target.folder;
    request.filter = target.kind->filter();
    request.defaultSuffix = target.kind->extension();
    return request;
}

void pause(const LogFileFlow::Target& target) {
    if (target.pauseLink) {
        target.pauseLink();
    }
}

} // namespace

bool LogFileFlow::save(const Target& target, const std::function<Contents()>& contents) {
    pause(target);
    DialogService& dialogs = DialogService::current();
    const std::optional<QString> chosen = dialogs.saveFileName(target.parent, fileRequest(target));
    if (!chosen) {
        return false;
    }
    const Contents made = contents();
    if (const auto* message = std::get_if<Message>(&made)) {
        dialogs.show(target.parent, *message);
        return false;
    }
    const QString error = logfile::saveAtomically(target.kind->saveName(*chosen), std::get<QByteArray>(made));
    if (!error.isEmpty()) {
        dialogs.error(target.parent, error);
        return false;
    }
    return true;
}

std::optional<logfile::LoadedFile> LogFileFlow::open(const Target& target) {
    DialogService& dialogs = DialogService::current();
    for (;;) {
        pause(target);
        const std::optional<QString> chosen = dialogs.openFileName(target.parent, fileRequest(target));
        if (!chosen) {
            return std::nullopt;
        }
        logfile::LoadedFile load = target.kind->load(*chosen);
        if (load.status == logfile::LoadedFile::Status::Missing) {
            // Asks for another name, as often as it takes.
            dialogs.show(target.parent, load.message);
            continue;
        }
        if (load.status != logfile::LoadedFile::Status::Loaded) {
            dialogs.show(target.parent, load.message);
            return std::nullopt;
        }
        return load;
    }
}

bool LogFileFlow::open(const Target& target, const Reader& read) {
    const std::optional<logfile::LoadedFile> load = open(target);
    if (!load) {
        return false;
    }
    for (const Message& message : read(load->bytes)) {
        DialogService::current().show(target.parent, message);
    }
    return true;
}

bool LogFileFlow::print(const Target& target, const std::function<QList<ReportPage>()>& pages) {
    pause(target);
    DialogService& dialogs = DialogService::current();
    const std::unique_ptr<QPrinter> printer = dialogs.choosePrinter(target.parent);
    if (!printer) {
        return false;
    }
    if (!renderReport(*printer, pages())) {
        dialogs.error(target.parent, QStringLiteral("印刷を開始できませんでした"));
        return false;
    }
    return true;
}

} // namespace tolvan::shell

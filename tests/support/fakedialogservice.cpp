#include "tests/support/fakedialogservice.h"

#include "common/reportrenderer.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

namespace tolvan::shell {

namespace {

std::optional<QString> next(std::deque<std::optional<QString>>& answers) {
    if (answers.empty()) {
        return std::nullopt;
    }
    // Built in place: GCC 12 at -O2 warns about copying an engaged optional<QString> here.
    std::optional<QString> answer;
    if (answers.front()) {
        answer.emplace(*answers.front());
    }
    answers.pop_front();
    return answer;
}

} // namespace

std::optional<QString> FakeDialogService::openFileName(QWidget*, const FileRequest& request) {
    openRequests.append(request);
    if (whileFileDialogOpen) {
        whileFileDialogOpen();
    }
    return next(openAnswers);
}

std::optional<QString> FakeDialogService::saveFileName(QWidget*, const FileRequest& request) {
    saveRequests.append(request);
    if (whileFileDialogOpen) {
        whileFileDialogOpen();
    }
    return next(saveAnswers);
}

std::optional<QString> FakeDialogService::folderName(QWidget*, const FileRequest& request) {
    folderRequests.append(request);
    return next(folderAnswers);
}

std::unique_ptr<QPrinter> FakeDialogService::choosePrinter(QWidget*) {
    ++printRequests;
    if (printPdfPath.isEmpty()) {
        return nullptr;
    }
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(printPdfPath);
    printer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                       QMarginsF(6.35, 6.35, 6.35, 6.35), QPageLayout::Millimeter));
    printer->setResolution(kReportDpi);
    return printer;
}

QMessageBox::StandardButton FakeDialogService::message(QWidget*, const MessageRequest& request) {
    messages.append(request);
    if (!messageAnswers.empty()) {
        const auto answer = messageAnswers.front();
        messageAnswers.pop_front();
        return answer;
    }
    return request.defaultButton != QMessageBox::NoButton ? request.defaultButton : QMessageBox::Ok;
}

} // namespace tolvan::shell

#pragma once

#include "shell/dialogservice.h"

#include <QList>

#include <deque>
#include <functional>

namespace tolvan::shell {

// Stands in for the real dialogs in screen tests: records every request and answers from
// queues. Install it with ScopedDialogService.
class FakeDialogService : public DialogService {
public:
    // Answers in order; an empty queue answers "cancelled".
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    std::deque<std::optional<QString>> folderAnswers;
    // Where a print goes as PDF; empty: the print dialog is cancelled.
    QString printPdfPath;
    // Buttons in order; an empty queue presses the default button, or OK.
    std::deque<QMessageBox::StandardButton> messageAnswers;

    // Runs while a file dialog is open (before it answers), e.g. to unplug the handset meanwhile.
    std::function<void()> whileFileDialogOpen;

    QList<FileRequest> openRequests;
    QList<FileRequest> saveRequests;
    QList<FileRequest> folderRequests;
    QList<MessageRequest> messages;
    int printRequests = 0;

    std::optional<QString> openFileName(QWidget* parent, const FileRequest& request) override;
    std::optional<QString> saveFileName(QWidget* parent, const FileRequest& request) override;
    std::optional<QString> folderName(QWidget* parent, const FileRequest& request) override;
    std::unique_ptr<QPrinter> choosePrinter(QWidget* parent) override;
    QMessageBox::StandardButton message(QWidget* parent, const MessageRequest& request) override;
};

} // namespace tolvan::shell

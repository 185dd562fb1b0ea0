#pragma once

#include "shell/dialogservice.h"

namespace tolvan::shell {

// The real dialogs: QFileDialog, QPrintDialog, QMessageBox.
class QtDialogService : public DialogService {
public:
    std::optional<QString> openFileName(QWidget* parent, const FileRequest& request) override;
    std::optional<QString> saveFileName(QWidget* parent, const FileRequest& request) override;
    std::optional<QString> folderName(QWidget* parent, const FileRequest& request) override;
    std::unique_ptr<QPrinter> choosePrinter(QWidget* parent) override;
    QMessageBox::StandardButton message(QWidget* parent, const MessageRequest& request) override;
};

} // namespace tolvan::shell

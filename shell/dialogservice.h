#pragma once

#include "common/message.h"
#include "link/core/messages.h"

#include <QMessageBox>
#include <QString>

#include <memory>
#include <optional>

class QPrinter;
class QWidget;

namespace tolvan::shell {

struct FileRequest {
    QString caption;
    QString directory;     // initial folder (the model's log folder)
    QString filter;        // Qt name filter, e.g. "ﾛｸﾞﾌｧｲﾙ1(*.jv1)"
    QString defaultSuffix; // without the dot
    // Off where the caller asks about every file it will replace (a set), so no file is asked
    // about twice.
    bool confirmOverwrite = true;
};

struct MessageRequest {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Every file, print and message dialog of the program goes through the current service, so
// screen tests can open, save, print and answer messages without a real dialog.
class DialogService {
public:
    virtual ~DialogService() = default;

    // The chosen path, or nothing when cancelled.
    virtual std::optional<QString> openFileName(QWidget* parent, const FileRequest& request) = 0;
    // Overwriting an existing file is confirmed inside the dialog, unless the request says not to.
    virtual std::optional<QString> saveFileName(QWidget* parent, const FileRequest& request) = 0;
    // An existing folder (created in the dialog if the user makes one), or nothing when cancelled;
    // the request's caption and directory are used.
    virtual std::optional<QString> folderName(QWidget* parent, const FileRequest& request) = 0;
    // A printer set up for one report page (resolution set), or null when cancelled.
    virtual std::unique_ptr<QPrinter> choosePrinter(QWidget* parent) = 0;
    // Shows a message box; returns the button that closed it.
    virtual QMessageBox::StandardButton message(QWidget* parent, const MessageRequest& request) = 0;

    // "エラー" with an exclamation icon and OK, as every error of the program is shown.
    void error(QWidget* parent, const QString& text);
    // A message of a model, with an exclamation icon and OK.
    void show(QWidget* parent, const Message& message);
    // A message of the link engine, titled and iconed the same way.
    void linkMessage(QWidget* parent, tolvan::link::LinkMessage message);

    // The installed service; the real dialogs when none is installed.
    static DialogService& current();
    // Installs a service (not owned) and returns the one it replaces; null restores the real one.
    static DialogService* install(DialogService* service);
};

// Installs a service for the lifetime of a scope, typically a test.
class ScopedDialogService {
public:
    explicit ScopedDialogService(DialogService& service) : m_previous(DialogService::install(&service)) {}
    ~ScopedDialogService() { DialogService::install(m_previous); }
    ScopedDialogService(const ScopedDialogService&) = delete;
    ScopedDialogService& operator=(const ScopedDialogService&) = delete;

private:
    DialogService* m_previous;
};

} // namespace tolvan::shell

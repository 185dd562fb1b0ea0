#include "shell/dialogservice.h"

#include "shell/qtdialogservice.h"

#include <utility>

namespace tolvan::shell {

namespace {
DialogService* g_installed = nullptr;
} // namespace

void DialogService::error(QWidget* parent, const QString& text) {
    message(parent, MessageRequest{QString::fromUtf8(tolvan::link::kErrorTitle), text});
}

void DialogService::show(QWidget* parent, const Message& shown) {
    message(parent, MessageRequest{shown.title, shown.text});
}

void DialogService::linkMessage(QWidget* parent, tolvan::link::LinkMessage message) {
    error(parent, QString::fromUtf8(tolvan::link::messageText(message)));
}

DialogService& DialogService::current() {
    if (g_installed != nullptr) {
        return *g_installed;
    }
    static QtDialogService real;
    return real;
}

DialogService* DialogService::install(DialogService* service) {
    return std::exchange(g_installed, service);
}

} // namespace tolvan::shell

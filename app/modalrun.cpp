#include "app/modalrun.h"

#include <QDialog>
#include <QEventLoop>
#include <QPointer>

namespace tolvan::app {

int runModal(QDialog& dialog) {
    QEventLoop loop;
    int result = QDialog::Rejected;
    const auto connection = QObject::connect(&dialog, &QDialog::finished, &loop, [&](int r) {
        result = r;
        loop.quit();
    });
    // Modal to the window it belongs to, not to the whole program: the demo's control window of
    // the virtual handset must stay usable.
    dialog.setWindowModality(dialog.parentWidget() ? Qt::WindowModal : Qt::NonModal);
    dialog.show();
    loop.exec(QEventLoop::DialogExec);
    QObject::disconnect(connection);
    return result;
}

} // namespace tolvan::app

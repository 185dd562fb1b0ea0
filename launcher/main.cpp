#include "alreadyrunning.h"
#include "launcherdialog.h"
#include "launchericon.h"
#include "singleinstancelock.h"
#include "toolcommandlines.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setWindowIcon(launcherIcon());

    // Held until main returns, that is for the launcher's whole life.
    const SingleInstanceLock lock(launcherInstanceName());
    if (lock.state() == SingleInstanceLock::State::HeldElsewhere) {
        // VANTOR_DISMISS_REFUSAL: for tests that start a second copy without anyone to press OK.
        showAlreadyRunning(qEnvironmentVariableIsSet("VANTOR_DISMISS_REFUSAL"));
        return 0;
    }

    LauncherDialog dialog(programFolderFor(QCoreApplication::applicationDirPath()));
    // The window hides while a tool runs; only closing it ends the launcher.
    app.setQuitOnLastWindowClosed(false);
    QObject::connect(&dialog, &QDialog::finished, &app, &QCoreApplication::quit);
    dialog.show();
    return app.exec();
}

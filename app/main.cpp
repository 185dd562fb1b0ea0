#include "app/ctolvandlg.h"
#include "app/demo.h"
#include "app/modalrun.h"
#include "app/modes.h"
#include "app/startoptions.h"
#include "app/toolicon.h"
#include "common/qtjapanese.h"
#include "link/linktrace.h"
#include "link/settingsfile.h"
#include "modes/modeoperations.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Qt's own buttons and dialogs in Japanese, like every text of the tool.
    tolvan::installQtJapanese(app);
    // Large and small icons for every window of the tool.
    QApplication::setWindowIcon(tolvan::app::toolIcon());
    // The reports and screens name this face; Linux has IPAGothic in its place.
    QFont::insertSubstitution(QStringLiteral("ＭＳ ゴシック"), QStringLiteral("IPAGothic"));
#ifndef Q_OS_WIN
    // A Japanese face for the whole window: with a Latin default face the glyphs come from a
    // fallback font whose widths the layout does not know, and group titles get clipped.
    QFont uiFont = QApplication::font();
    uiFont.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"), uiFont.family()});
    QApplication::setFont(uiFont);
#endif

    const auto options = tolvan::app::parseStartOptions(app.arguments().mid(1));
    if (!options) {
        std::fputs(qPrintable(tolvan::app::startUsage()), stderr);
        return 2;
    }
    // A trace that cannot be written is known before anything else happens.
    tolvan::link::TraceFile trace;
    if (!options->trace.isEmpty()) {
        if (const auto error = trace.open(options->trace)) {
            std::fprintf(stderr, "Tolvan: cannot open the trace file %s: %s\n", qPrintable(options->trace),
                         qPrintable(*error));
            return 2;
        }
    }

    // Tolvan.ini belongs to the directory the program was started in.
    const tolvan::link::PortSetting portSetting(QDir::currentPath());
    tolvan::LogFolders folders(tolvan::LogFolders::resolveRoot());
    tolvan::link::LinkSession session(tolvan::modeOperations());
    session.setFixedDevicePath(options->port);

    std::unique_ptr<QWidget> panel;
    if (!options->simulate.isEmpty()) {
        QString error;
        panel = tolvan::app::startDemo(options->simulate, options->faults, &error);
        if (!panel) {
            std::fprintf(stderr, "Tolvan: cannot start the virtual handset: %s\n", qPrintable(error));
            return 2;
        }
        panel->show();
    }
    if (!options->trace.isEmpty()) {
        trace.appendLine(tolvan::app::traceHeaderFor(session));
        trace.follow(session.driver());
    }

    tolvan::app::CTolvanDlg menu(session, folders, portSetting.portUsed());
    menu.setModes(tolvan::app::availableModes());
    tolvan::app::runModal(menu);
    return 0;
}

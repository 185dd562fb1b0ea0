#include "app/ctolvandlg.h"
#include "app/demo.h"
#include "app/modalrun.h"
#include "app/modes.h"
#include "app/toolicon.h"
#include "common/qtjapanese.h"
#include "link/settingsfile.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QTextStream>

#include <cstdio>

namespace {

int usage() {
    std::fputs("usage: Tolvan [--simulate ZX-VA100|ZX-VA150|ZX-VA150(C) [--fault RULE]...]\n"
               "  --fault RULE  a fault of the virtual handset from the start, as tolvan-sim --fault\n"
               "                takes it (for example silence@7000,count=0 or chaos,seed=3)\n",
               stderr);
    return 2;
}

} // namespace

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

    QString simulate;
    QStringList faults;
    const QStringList args = app.arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--simulate") && i + 1 < args.size()) {
            simulate = args[++i];
        } else if (args[i] == QLatin1String("--fault") && i + 1 < args.size()) {
            faults.append(args[++i]);
        } else {
            return usage();
        }
    }
    if (!faults.isEmpty() && simulate.isEmpty()) {
        return usage();
    }

    // Tolvan.ini belongs to the directory the program was started in.
    const tolvan::link::PortSetting portSetting(QDir::currentPath());
    tolvan::LogFolders folders(tolvan::LogFolders::resolveRoot());
    tolvan::link::LinkSession session;

    std::unique_ptr<QWidget> panel;
    if (!simulate.isEmpty()) {
        QString error;
        panel = tolvan::app::startDemo(simulate, faults, &error);
        if (!panel) {
            std::fprintf(stderr, "Tolvan: cannot start the virtual handset: %s\n", qPrintable(error));
            return 2;
        }
        panel->show();
    }

    tolvan::app::CTolvanDlg menu(session, folders, portSetting.portUsed());
    menu.setModes(tolvan::app::availableModes());
    tolvan::app::runModal(menu);
    return 0;
}

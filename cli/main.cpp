#include "cli/cliapp.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    tolvan::cli::CliApp cli(out, err);
    tolvan::cli::addLinkCommands(cli);
    return cli.run(app.arguments().mid(1));
}

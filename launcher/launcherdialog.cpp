#include "launcherdialog.h"

#include "launchericon.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

LauncherDialog::LauncherDialog(const QString& programFolder, QWidget* parent)
    : QDialog(parent), m_commandLines(ToolCommandLines::forProgramFolder(programFolder)) {
    setWindowTitle(QStringLiteral("ZX-VAシリーズ子機設定ソフトウェア"));
    setWindowIcon(launcherIcon());

    auto* olderTool = new QPushButton(QStringLiteral("1．ZX-VA020／ZX-QB20　子機登録／子機設定"), this);
    auto* mainTool = new QPushButton(QStringLiteral("2．ZX-VA100／150　子機登録／子機設定"), this);
    for (QPushButton* button : {olderTool, mainTool}) {
        button->setMinimumHeight(40);
    }
    auto* note = new QLabel(QStringLiteral("※ ZX-VA020/ZX-QB20の場合は、シリアル変換器を接続して\n"
                                           "　「ZX-VA020/ZX-QB20 子機登録/子機設定」を押してください。\n"
                                           "※ ZX-VA100/150の場合は、USBを接続して\n"
                                           "　「ZX-VA100/150 子機登録/子機設定」を押してください。\n"),
                            this);
    note->setTextFormat(Qt::PlainText);
    auto* quit = new QPushButton(QStringLiteral("終了"), this);
    quit->setDefault(true);

    auto* quitRow = new QHBoxLayout;
    quitRow->addStretch();
    quitRow->addWidget(quit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(olderTool);
    layout->addWidget(mainTool);
    layout->addWidget(note);
    layout->addLayout(quitRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Enter must close the launcher from the start, so the focus begins on the default button
    // rather than on a tool button that would take Enter for itself.
    setTabOrder(olderTool, mainTool);
    setTabOrder(mainTool, quit);
    quit->setFocus();

    connect(olderTool, &QPushButton::clicked, this, [this] { runTool(m_commandLines.olderTool); });
    connect(mainTool, &QPushButton::clicked, this, [this] { runTool(m_commandLines.mainTool); });
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    connect(&m_runner, &ToolRunner::ended, this, &LauncherDialog::toolEnded);
}

void LauncherDialog::runTool(const QString& commandLine) {
    if (m_runner.isRunning()) {
        return;
    }
    hide();
    m_runner.start(commandLine);
}

void LauncherDialog::toolEnded() {
    show();
    raise();
    activateWindow();
}

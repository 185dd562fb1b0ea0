#pragma once

#include "toolcommandlines.h"
#include "toolrunner.h"

#include <QDialog>

class QPushButton;

// The launcher window: starts one of the two tools, hides while it runs and comes back when
// it ends.
class LauncherDialog : public QDialog {
    Q_OBJECT
public:
    explicit LauncherDialog(const QString& programFolder, QWidget* parent = nullptr);

    const ToolCommandLines& commandLines() const { return m_commandLines; }

private:
    void runTool(const QString& commandLine);
    void toolEnded();

    ToolCommandLines m_commandLines;
    ToolRunner m_runner;
};

#pragma once

#include "shell/logfileflow.h"
#include "shell/modescreen.h"

#include <cstdint>

namespace tolvan::shell {

// A mode window with a log file of its own: the file menu's open, save as and print, and the
// target their dialogs share (the connected model's log folder, the file kind, the link paused
// with the mode's read script to resume).
class LogFileScreen : public ModeScreen {
    Q_OBJECT
public:
    LogFileScreen(ModeContext& context, link::NoticeOwner owner, const QString& title,
                  const logfile::LogFileKind& kind, std::uint8_t resumeScript, QWidget* parent = nullptr);

    // The file menu: "ファイルを開く(&O)", "ファイル名を付けて保存(&N)" and "印刷(&P)".
    virtual void openFile() = 0;
    virtual void saveFile() = 0;
    virtual void printReport() = 0;

protected:
    // The file menu captioned `title` with the three items above and exit, then the help menu.
    QMenu* addLogFileMenus(const QString& title = QStringLiteral("ファイル(&F)"));
    LogFileFlow::Target fileTarget();

private:
    const logfile::LogFileKind* m_kind;
    std::uint8_t m_resumeScript;
};

} // namespace tolvan::shell

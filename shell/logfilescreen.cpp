#include "shell/logfilescreen.h"

namespace tolvan::shell {

LogFileScreen::LogFileScreen(ModeContext& context, link::NoticeOwner owner, const QString& title,
                             const logfile::LogFileKind& kind, std::uint8_t resumeScript, QWidget* parent)
    : ModeScreen(context, owner, title, parent), m_kind(&kind), m_resumeScript(resumeScript) {}

QMenu* LogFileScreen::addLogFileMenus(const QString& title) {
    QMenu* file = addFileMenu(
        title, [this] { openFile(); }, [this] { saveFile(); }, [this] { printReport(); });
    addHelpMenu();
    return file;
}

LogFileFlow::Target LogFileScreen::fileTarget() {
    const std::uint32_t model = link().modelCode();
    return {this, context().folders.logPath(model, context().texts.logFolderName()), m_kind,
            [this] { link().pauseForDialog(m_resumeScript); }};
}

} // namespace tolvan::shell

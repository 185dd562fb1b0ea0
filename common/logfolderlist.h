#pragma once

#include "common/logfolders.h"
#include "common/message.h"
#include "common/sessiontexts.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace tolvan {

// What stands behind the main menu's log folder box: the names it lists and the folder name it
// hands to the modes. The box shows names() and editText(); takeOver() reads its text back.
class LogFolderList {
public:
    LogFolderList(const LogFolders& folders, SessionTexts& texts);

    // Lists the sub-folders of the model's folder. An unknown model code changes nothing and
    // returns false.
    bool refill(std::uint32_t modelCode);

    const QStringList& names() const { return m_names; }
    // The text for the box's edit field: the current log folder name.
    QString editText() const { return m_texts.logFolderName(); }

    enum class TakeOver {
        Empty,        // no name: logs go into the model folder itself
        Listed,       // a name already in the list
        Added,        // a new name: listed and its folder created
        Unlisted,     // a new name, its folder created, but the list is full
        Rejected,     // not a single folder name; the log folder name is cleared
        CreateFailed, // the folder could not be created; the name is kept but not listed
    };
    // Takes the box text as the log folder name; a new name gets its folder below the given
    // model's folder (the model that the read just reported).
    TakeOver takeOver(const QString& boxText, std::uint32_t modelCode);

    // What the technician is told when a typed name is refused (TakeOver::Rejected).
    static Message refusedMessage(const QString& boxText);

private:
    const LogFolders& m_folders;
    SessionTexts& m_texts;
    QStringList m_names;
};

} // namespace tolvan

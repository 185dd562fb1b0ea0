#pragma once

#include <QString>

namespace tolvan {

// The memo and the log folder name: set by the main menu before each mode, read by the modes
// for file headers, reports and save paths, and handed back to the menu afterwards. One object
// is owned by the main menu and passed to every mode, so there is no global to forget to reset.
class SessionTexts {
public:
    const QString& memo() const { return m_memo; }
    void setMemo(const QString& memo) { m_memo = memo; }

    // Also the customer name printed in report headers.
    const QString& logFolderName() const { return m_logFolderName; }
    void setLogFolderName(const QString& name) { m_logFolderName = name; }

private:
    QString m_memo;
    QString m_logFolderName;
};

} // namespace tolvan

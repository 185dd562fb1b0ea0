#pragma once

#include "app/shell/aborttextflag.h"
#include "common/logfolders.h"
#include "common/sessiontexts.h"
#include "link/linksession.h"

namespace tolvan::shell {

// What the main menu hands every mode window: the link, the memo and log folder name, the log
// folders, the cancelling-text flag of the progress dialog, and whether a port is configured.
struct ModeContext {
    link::LinkSession& session;
    SessionTexts& texts;
    LogFolders& folders;
    AbortTextFlag& abortText;
    // False when Tolvan.ini says "通信ﾎﾟｰﾄ未使用": no link pause around file dialogs.
    bool portUsed = true;
};

} // namespace tolvan::shell

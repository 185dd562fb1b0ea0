#pragma once

#include "common/logfolders.h"
#include "common/sessiontexts.h"
#include "handset/handsetstore.h"
#include "link/linksession.h"
#include "shell/aborttextflag.h"

namespace tolvan::shell {

// What the main menu hands every mode window: the link, the handset store, the memo and log
// folder name, the log folders, the cancelling-text flag of the progress dialog, and whether a
// port is configured.
struct ModeContext {
    link::LinkSession& session;
    handset::HandsetStore& store;
    SessionTexts& texts;
    LogFolders& folders;
    AbortTextFlag& abortText;
    // False when Tolvan.ini says "通信ﾎﾟｰﾄ未使用": no link pause around file dialogs.
    bool portUsed = true;
};

} // namespace tolvan::shell

#pragma once

// A mode screen on a live link to the in-process virtual handset, set up the way the main menu
// leaves it (the store and its sink, the memo, the log folders), with the fake dialog service
// installed. Each mode's screen tests derive their harness from it.

#include "common/logfolders.h"
#include "common/sessiontexts.h"
#include "handset/storesink.h"
#include "link/linksession.h"
#include "modes/modeoperations.h"
#include "shell/aborttextflag.h"
#include "shell/modecontext.h"
#include "shell/modescreen.h"
#include "tests/support/fakedialogservice.h"
#include "tests/support/virtualhandsetport.h"

#include <QTemporaryDir>
#include <QTimer>

#include <cstdint>
#include <memory>
#include <vector>

namespace tolvan::test {

class ModeScreenHarness {
public:
    explicit ModeScreenHarness(std::uint8_t model = 3);
    virtual ~ModeScreenHarness();
    ModeScreenHarness(const ModeScreenHarness&) = delete;
    ModeScreenHarness& operator=(const ModeScreenHarness&) = delete;

    // What the main menu does before it opens a mode: reset the link, open the port, run the
    // mode's read script under the progress dialog. True when the read ended in keep-alive.
    bool readAsTheMenuDoes(std::uint32_t operationId, std::uint8_t script);
    // Creates and shows the screen (after readAsTheMenuDoes, or without a link at all).
    template <class Screen> Screen& open() {
        screen = std::make_unique<Screen>(context);
        screen->show();
        return static_cast<Screen&>(*screen);
    }
    // The keep-alive dialogue is running again (after a file dialog, a write, a read).
    bool waitForKeepAlive(int ms = 5000);

    sim::VirtualHandset& handset() { return port.handset(); }
    std::vector<std::uint16_t> firstDialogue() const { return port.firstDialogue(); }

    QTemporaryDir root;
    LogFolders folders;
    SessionTexts texts;
    shell::AbortTextFlag abortText;
    link::LinkSession session{tolvan::modeOperations()};
    handset::HandsetStore store;
    handset::StoreSink sink{store};
    shell::ModeContext context;
    shell::FakeDialogService dialogs;
    shell::ScopedDialogService installed{dialogs};
    VirtualHandsetPort port;
    std::unique_ptr<shell::ModeScreen> screen;

    // Request codes the handset received (polls left out); attached and prepare as the port has.
    std::vector<std::uint16_t>& requests = port.requests;
    bool& attached = port.attached;
    std::function<void(sim::VirtualHandset&)>& prepare = port.prepare;
    std::vector<link::LinkMessage> linkMessages;
    int progressShown = 0;
    int noDataShown = 0;

private:
    QTimer m_watcher;
};

} // namespace tolvan::test

#pragma once

// The data setting screen on a live link to the in-process virtual handset, set up the way the
// main menu leaves it, with the fake dialog service installed.

#include "app/shell/aborttextflag.h"
#include "app/shell/modecontext.h"
#include "common/logfolders.h"
#include "common/sessiontexts.h"
#include "link/linksession.h"
#include "modes/dataset/datasetmodedialog.h"
#include "modes/dataset/systemparamimage.h"
#include "modes/dataset/systemparamparser.h"
#include "sim/handsetdevice.h"
#include "tests/app/support/fakedialogservice.h"

#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace tolvan::dataset::testing {

class ScreenHarness {
public:
    explicit ScreenHarness(std::uint8_t model = 3);
    ~ScreenHarness();
    ScreenHarness(const ScreenHarness&) = delete;
    ScreenHarness& operator=(const ScreenHarness&) = delete;

    // What the main menu does before it opens the screen: reset the link, open the port, run
    // script 0 under the progress dialog. True when the read ended in keep-alive.
    bool readAsTheMenuDoes();
    // Creates and shows the screen (after readAsTheMenuDoes, or without a link at all).
    DataSetModeDialog& openScreen();
    // The keep-alive dialogue is running again (after a file dialog, a write, a read).
    bool waitForKeepAlive(int ms = 5000);

    // Request codes the handset received since the last clear (polls left out).
    std::vector<std::uint16_t> requests;
    // The codes from the first open frame through the first close frame after it.
    std::vector<std::uint16_t> firstDialogue() const;

    sim::VirtualHandset& handset() { return m_device->handset(); }

    QTemporaryDir root;
    LogFolders folders;
    SessionTexts texts;
    shell::AbortTextFlag abortText;
    link::LinkSession session;
    shell::ModeContext context;
    SystemParamImage image;
    SystemParamParser parser{image};
    shell::FakeDialogService dialogs;
    shell::ScopedDialogService installed{dialogs};
    std::unique_ptr<DataSetModeDialog> screen;

    std::uint8_t model;
    bool attached = true;
    // Run on every handset as its port opens (faults, stored blocks).
    std::function<void(sim::VirtualHandset&)> prepare;
    std::vector<link::LinkMessage> linkMessages;
    int progressShown = 0;
    int noDataShown = 0;

private:
    QPointer<sim::HandsetDevice> m_device;
    QTimer m_watcher;
};

} // namespace tolvan::dataset::testing

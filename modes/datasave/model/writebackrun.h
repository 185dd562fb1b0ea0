#pragma once

// A saved set written back into the handset, as write-back, restore and the provisioning run do it:
// the runner's write with the set loaded over what was read, then, when asked, the handset read
// again into an empty store and compared with what was sent.

#include "modes/datasave/model/saveset.h"
#include "modes/datasave/model/savesetnames.h"
#include "modes/datasave/model/writebackverify.h"

#include "runner/writeoperation.h"

#include <functional>
#include <optional>

namespace tolvan::datasave {

struct WriteBackRequest {
    SaveSetNames::WriteBackFiles files;
    bool verify = false;
    // The handset's own PS-ID, PS number and PIN go back instead of the set's (a clone).
    bool keepIdentity = false;
    // As the write's plan: the check of the handset as read, and the backup (empty: none).
    decltype(runner::WritePlan::guard) guard;
    decltype(runner::WritePlan::backUp) backUp;
    // The load's messages as they come (the readers', a recovered save, the files not written).
    std::function<void(const Message&)> report;
};

struct WriteBackOutcome {
    runner::WriteOutcome write;
    WriteBackLoad load;
    // With verify, after a write that went out: how the read again ended, and what differs.
    std::optional<runner::ScriptEnd> check;
    QList<WriteBackDifference> differences;

    bool checked() const { return check && runner::succeeded(*check); }
};

// Runs it to its end; the link is left as the outcome leaves it (the caller closes).
WriteBackOutcome writeBack(runner::HandsetRunner& runner, const WriteBackRequest& request);

} // namespace tolvan::datasave

#include "modes/datasave/model/writebackrun.h"

#include "modes/datasave/model/datasaveoperations.h"
#include "modes/datasave/model/writebackframes.h"

namespace tolvan::datasave {

WriteBackOutcome writeBack(runner::HandsetRunner& runner, const WriteBackRequest& request) {
    WriteBackOutcome outcome;
    auto report = [&](const Message& message) {
        if (request.report) {
            request.report(message);
        }
    };
    // The write needs the handset's current blocks (what the set does not hold goes back as it
    // is) and its model, and the backup needs all of it.
    runner::WritePlan plan;
    plan.readOperation = op::kEntry;
    plan.readScript = op::kReadAllScript;
    plan.guard = request.guard;
    plan.backUp = request.backUp;
    // The set is loaded over a copy of what the handset holds; the store takes each block only as
    // the handset takes its write.
    plan.load = [&](handset::HandsetStore& store, std::uint32_t model) {
        handset::HandsetBlocks& pending = store.prepareWrite();
        outcome.load = loadWriteBackSet(pending, model, request.files);
        for (const Message& message : outcome.load.messages) {
            report(message);
        }
        if (request.keepIdentity) {
            WriteBackFrames::keepIdentity(pending, store.held());
        }
        // The screen names a file of the set it did not write; so does every other caller.
        if (const auto notWritten = notWrittenText(outcome.load, request.files);
            notWritten && !outcome.load.refused) {
            report({QStringLiteral("Tolvan"), *notWritten});
        }
        // Writing back only what was just read would change nothing the user asked for.
        return outcome.load.jv1Loaded || outcome.load.jv4Loaded;
    };
    handset::HandsetBlocks expected; // what the check looks for afterwards
    plan.steps.push_back({op::kConnected, op::kWriteBackScript,
                          [&](handset::HandsetStore& store, link::RequestBuffers& requests) {
                              expected = store.pendingWrite();
                              return WriteBackFrames::fillRequestBuffers(expected, requests);
                          }});
    plan.dialogueFollows = request.verify;
    runner::WriteOperation write(plan);
    outcome.write = write.run(runner);
    if (!request.verify || outcome.write.end != runner::WriteOutcome::End::Written) {
        return outcome;
    }
    const std::uint32_t model = runner.modelCode();
    // Read into an empty store, so a block the handset does not send back cannot pass for one it
    // holds.
    runner.store().clear();
    outcome.check = runner.runLastScript(op::kConnected, op::kReadAllScript);
    if (!outcome.checked()) {
        return outcome;
    }
    // A file of the set that did not load sent the handset's own values: nothing of it to check.
    const WriteBackLoad& load = outcome.load;
    outcome.differences = compareWriteBack(expected, runner.store(), model,
                                           {load.jv1Loaded, load.jv4Loaded, load.jv1Unread, load.jv4Unread});
    return outcome;
}

} // namespace tolvan::datasave

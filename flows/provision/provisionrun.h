#pragma once

#include "flows/provision/handsetline.h"
#include "flows/provision/provisionjournal.h"
#include "flows/provision/provisionplan.h"
#include "flows/provision/provisiontemplate.h"

#include <QString>

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

namespace tolvan::provision {

struct RunOptions {
    QString outDir;
    QString backupRoot; // empty: no backup (--no-backup)
    bool registration = false;
    bool retryFailed = false;
    QString memo; // for a row without its own メモ
};

// How one handset on a cable ended.
struct HandsetReport {
    enum class Kind { Passed, Failed, WrongModel, AlreadyDone, NoRowLeft };
    Kind kind = Kind::Failed;
    int row = 0; // 0 when the handset took no row
    QString psNumber;
    QString psId; // as the handset holds it at the end
    QString model;
    QString cause;
    double seconds = 0;
    int rowsLeft = 0; // rows not yet handed out when the report was made
};

// The step a line is at, for a window or a progress line.
enum class LineStep { WaitingForHandset, Reading, Writing, Verifying, Registering, Saving, WaitingForSwap };

// A provisioning run: hands the plan's rows out in order to the handsets on any number of
// lines, runs each handset's steps and journals every finished one. Lines run on threads of
// their own; the journal, the row hand-out and the reports go through one lock.
class ProvisionRun {
public:
    ProvisionRun(ProvisionTemplate base, ProvisionPlan plan, ProvisionJournal& journal, RunOptions options);

    // The rows this run will take: not done, and not failed unless retryFailed.
    int rowsLeft() const;

    // Asks every line to stop at its next safe point: a wait for a handset or for its unplug ends
    // at once, and a handset not yet given its row is let go untouched; one whose row began is
    // finished first (a write is never cut). Any thread may ask.
    void requestStop() { m_stop = true; }
    bool stopRequested() const { return m_stop; }

    using Reporter = std::function<void(const HandsetReport&)>;
    // The step a line is at, and the plan row of its handset (0 until it took one).
    using StepShown = std::function<void(LineStep step, int row)>;
    // Serves one line until no row is left, no handset comes or a stop took effect: each
    // handset's report goes to reporter as it ends (before the wait for its unplug), under the
    // run's lock (so a reporter must not call back into the run).
    void serve(HandsetLine& line, const Reporter& reporter, const StepShown& shown = {});
    // One handset on the line, from the wait for it to its release (serve then reports it and
    // waits for the unplug); nothing when no handset came or the run stopped before its row.
    std::optional<HandsetReport> runHandset(HandsetLine& line, const StepShown& shown = {});

    const ProvisionPlan& plan() const { return m_plan; }

private:
    const PlanRow* takeRow();
    void journal(const JournalEntry& entry);

    ProvisionTemplate m_base;
    ProvisionPlan m_plan;
    ProvisionJournal& m_journal;
    RunOptions m_options;
    mutable std::mutex m_lock;
    std::deque<int> m_rows;
    QString m_journalError;
    std::atomic<bool> m_stop = false;
};

// The nine digits of the PS-ID the blocks hold.
QString psIdText(const handset::HandsetBlocks& blocks);

} // namespace tolvan::provision

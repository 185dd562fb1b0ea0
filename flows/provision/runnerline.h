#pragma once

#include "flows/provision/handsetline.h"

#include "link/linksession.h"
#include "runner/handsetrunner.h"

namespace tolvan::provision {

// The handset on one cable through a handset runner on its link session: the command line's link
// for one port, or the main menu's. One dialogue per handset, from the read that finds it to the
// release; a failed step leaves the dialogue and its cause is the text the tool shows for it.
class RunnerLine : public HandsetLine {
public:
    RunnerLine(link::LinkSession& session, runner::HandsetRunner& runner);

    bool waitForHandset(const Cancelled& cancelled) override;
    std::optional<QString> readAll() override;
    std::uint32_t modelCode() const override;
    handset::HandsetStore& store() override;
    std::optional<QString> writeBack() override;
    std::optional<QString> writeSettings() override;
    std::optional<QString> registerHandset(const QString& psNumber, const QString& pin) override;
    void release() override;
    bool waitForUnplug(const Cancelled& cancelled) override;

    // How long an empty cable is waited for before the line gives up (a technician swaps well
    // within the default), and between two looks at it.
    void setHandsetWaitMs(int ms) { m_handsetWaitMs = ms; }
    void setProbePauseMs(int ms) { m_probePauseMs = ms; }

private:
    std::optional<QString> ended(runner::ScriptEnd end);

    link::LinkSession& m_session;
    runner::HandsetRunner& m_runner;
    int m_handsetWaitMs = 120000;
    int m_probePauseMs = 300;
    bool m_freshRead = false;
};

// What a cable-side failure of a step says: the link's own message when it ended the link, else
// the no-data text.
QString causeOf(runner::ScriptEnd end, runner::HandsetRunner& runner);

} // namespace tolvan::provision

#pragma once

// One registration of a ZX-VA100 as the handset runs it over the air: started through the runner,
// then followed from the handset's reports and the link's notices. No widgets: the registration
// screen, tolvan-cli and the provisioning run each show its steps their own way.

#include "modes/psent/model/handsetsettingimage.h"

#include "handset/registrationreports.h"
#include "link/core/engine.h"
#include "runner/handsetrunner.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace tolvan::psent {

class RegistrationRun {
public:
    enum class State {
        Ready,
        Running,      // the handset reports it registering
        SecondPhase,  // the first phase closed; the handset finishes on its own
        Completed,    // the handset reported it registered
        Failed,       // a failure report ("エラー" names its cause)
        CommandEnded, // the command ended abnormally
        ContentError, // a cause or detail the table does not know: the program ends
        Aborted,      // stopped by the user; later reports are not shown
    };
    // What a step says and shows: the "状態" box, the "エラー" box, and the screen's view state for
    // it (0: the buttons stay as they are). A late "running" report after a failure says Running
    // and shows its status; the run itself stays failed.
    struct Step {
        State state = State::Ready;
        std::uint32_t viewState = 0;
        QString status;
        QString error;
    };
    using Listener = std::function<void(const Step&)>;

    void setListener(Listener listener) { m_listener = std::move(listener); }

    // The settings to register under go into the store's pending write with seamless handover
    // off, which a registration needs, and its frames are built; false when a frame could not be
    // (nothing to send then).
    static bool prepareWrite(HandsetSettingImage image, handset::HandsetStore& store,
                             link::RequestBuffers& requests);
    // Requests the registration and sends the operation record that starts it; the handset then
    // follows it on its own.
    void start(runner::HandsetRunner& runner);
    // A handset's report, a link notice: the next step, passed to the listener.
    void take(const handset::RegistrationReports::Report& report);
    void take(link::LinkNotice notice);
    void abort();

    State state() const { return m_state; }
    bool running() const { return m_state == State::Running || m_state == State::SecondPhase; }

    // After it completed: the handset read again for its file pair. The handset setting read, then
    // the data setting read, which the pair's .jv1 needs (0x1C01 is not in the settings read).
    static runner::ScriptEnd readRegistered(runner::HandsetRunner& runner, std::uint32_t operationId);

private:
    void enter(State state, std::uint32_t viewState, const QString& status, const QString& error = {});
    void tell(const Step& step) const;

    State m_state = State::Ready;
    Listener m_listener;
};

} // namespace tolvan::psent

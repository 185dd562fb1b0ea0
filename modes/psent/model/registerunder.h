#pragma once

// A registration run to its end without a screen: the command line and the provisioning run
// follow the handset's reports in the runner's own event loop.

#include "modes/psent/model/registrationrun.h"

#include "runner/handsetrunner.h"

#include <QString>

#include <functional>
#include <optional>

namespace tolvan::psent {

// Starts the run and feeds it the handset's reports and the link's notices until done() holds,
// the port closes or limitMs pass; false when the link was lost meanwhile.
bool followRegistration(RegistrationRun& run, runner::HandsetRunner& runner, int limitMs,
                        const std::function<bool()>& done);

// The registration of a ZX-VA100 in the runner's keep-alive dialogue under the PS number and PIN
// (three and four ASCII digits): the handset setting write, the handset's reports, and on success
// the settings read again and written back as the registration leaves them. The error text of a
// failure, as the registration screen shows it; a failed script leaves the dialogue.
std::optional<QString> registerUnder(runner::HandsetRunner& runner, const QString& psNumber,
                                     const QString& pin);

} // namespace tolvan::psent

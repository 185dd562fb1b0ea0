#pragma once

#include "handset/handsetstore.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace tolvan::provision {

// What the steps of a provisioning run ask of the handset on one cable. Each action runs to its
// end (with the link's own time limits) and says why when it failed, in the texts the tool
// shows; the steps never touch the link themselves, so a test runs them on the virtual clock.
class HandsetLine {
public:
    virtual ~HandsetLine() = default;

    // Holds when the run is to stop: a wait then ends at once.
    using Cancelled = std::function<bool()>;

    // Until a handset answers on the cable: true; false when none came within the line's limit
    // or the wait was cancelled.
    virtual bool waitForHandset(const Cancelled& cancelled) = 0;
    // Script 18 into the store (emptied first).
    virtual std::optional<QString> readAll() = 0;
    virtual std::uint32_t modelCode() const = 0;
    virtual handset::HandsetStore& store() = 0;
    // Script 19 from the store's prepared write.
    virtual std::optional<QString> writeBack() = 0;
    // The handset setting write (script 16) from the store's prepared write: the PIN's way in.
    virtual std::optional<QString> writeSettings() = 0;
    // Registers a ZX-VA100 under the PS number and PIN (three and four ASCII digits); the
    // registration's error text when it failed.
    virtual std::optional<QString> registerHandset(const QString& psNumber, const QString& pin) = 0;
    // Ends the dialogue: the technician may pull the handset now.
    virtual void release() = 0;
    // Until the handset is off the cable: true; false when it stayed beyond the line's limit or
    // the wait was cancelled.
    virtual bool waitForUnplug(const Cancelled& cancelled) = 0;
};

} // namespace tolvan::provision

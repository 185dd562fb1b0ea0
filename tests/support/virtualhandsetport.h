#pragma once

// The in-process virtual handset as the handset port of a link session: discovery lists it while
// it is attached, and each open creates a fresh handset of the chosen model.

#include "link/linksession.h"
#include "sim/faultplan.h"
#include "sim/handsetdevice.h"

#include <QPointer>

#include <cstdint>
#include <functional>
#include <vector>

namespace tolvan::test {

class VirtualHandsetPort {
public:
    // Installs the lister and the opener on the session (which must outlive nothing of this).
    void install(link::LinkSession& session);

    sim::VirtualHandset& handset() { return m_device->handset(); }
    bool hasHandset() const { return !m_device.isNull(); }

    std::uint8_t model = 3;
    bool attached = true;
    bool pacing = false;
    std::vector<sim::FaultRule> faults;
    // Run on every handset as its port opens (faults, stored blocks).
    std::function<void(sim::VirtualHandset&)> prepare;
    // Request codes the handset received since the last clear (polls left out).
    std::vector<std::uint16_t> requests;
    // The codes from the first open frame through the first close frame after it.
    std::vector<std::uint16_t> firstDialogue() const;

private:
    QPointer<sim::HandsetDevice> m_device;
};

} // namespace tolvan::test

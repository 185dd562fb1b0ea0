// Bytes from the handset in any chunking: the splitter cuts them into units, the receiver
// validates, classifies and decodes each into the store, and the engine follows them through a
// running script. Nothing may crash, overrun or hang.
#include "handset/handsetstore.h"
#include "handset/storesink.h"
#include "link/core/catalogue.h"
#include "link/core/engine.h"
#include "link/core/receiver.h"
#include "link/core/splitter.h"
#include "modes/modeoperations.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using namespace tolvan;

class QuietHost : public link::LinkHost {
public:
    bool write(std::span<const std::uint8_t>) override { return true; }
    void startTimer(link::LinkTimer, int) override {}
    void stopTimer(link::LinkTimer) override {}
    void notify(link::LinkNotice) override {}
    void showMessage(link::LinkMessage) override {}
    void closePort() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // The first byte picks the script, the second the chunk size; the rest is the byte stream.
    const int script = data[0] % link::kScriptCount;
    const std::size_t chunk = 1 + data[1] % 32;
    const std::span<const std::uint8_t> stream(data + 2, size - 2);

    handset::HandsetStore store;
    handset::StoreSink sink(store);
    QuietHost host;
    link::LinkEngine engine(host, modeOperations());
    engine.setResponseSink(&sink);
    engine.portAttached();
    engine.setOperation(0xA000);
    engine.setScript(static_cast<std::uint8_t>(script), link::kScriptRunning);
    engine.openRequest();

    link::UnitSplitter splitter;
    std::vector<link::Bytes> units;
    std::int64_t now = 0;
    for (std::size_t at = 0; at < stream.size(); at += chunk) {
        splitter.feed(stream.subspan(at, std::min(chunk, stream.size() - at)), now, units);
        now += 10 + (stream[at] & 0x7F); // sometimes past the inter-byte limit
        splitter.expire(now, units);
        for (const link::Bytes& unit : units) {
            // The receiver on its own, then the engine with the same unit.
            link::LinkState state;
            state.receiveLength = std::min(unit.size(), link::kMaxUnitLength);
            std::copy_n(unit.begin(), state.receiveLength, state.receiveBuffer.begin());
            link::validateUnit(state, sink);
            engine.receiveUnit(unit);
            engine.timerFired(link::LinkTimer::Response);
        }
        units.clear();
        engine.timerFired(link::LinkTimer::Watchdog);
    }
    return 0;
}

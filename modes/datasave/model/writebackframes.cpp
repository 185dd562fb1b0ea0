#include "modes/datasave/model/writebackframes.h"

#include "modes/datasave/model/datasaveoperations.h"
#include "modes/dataset/model/systemparamframes.h"
#include "modes/psent/model/psentframes.h"

#include <algorithm>

namespace tolvan::datasave {

std::vector<std::uint16_t> WriteBackFrames::writeCodes() {
    std::vector<std::uint16_t> codes;
    const int last = link::scriptLastStep(op::kWriteBackScript);
    for (int step = 1; step <= last; ++step) {
        const std::uint32_t code = link::scriptEntry(op::kWriteBackScript, step);
        const link::CommandInfo* info = link::findCommand(code);
        if (info != nullptr && info->requestBuffer) {
            codes.push_back(static_cast<std::uint16_t>(code));
        }
    }
    return codes;
}

bool WriteBackFrames::fillRequestBuffers(const handset::HandsetBlocks& store, link::RequestBuffers& buffers) {
    const auto system = dataset::SystemParamImage::fromStore(store);
    const auto settings = psent::HandsetSettingImage::fromStore(store);
    const auto psentCodes = psent::PsEntFrames::writeCodes();
    for (const std::uint16_t code : writeCodes()) {
        const bool fromSettings = std::find(psentCodes.begin(), psentCodes.end(), code) != psentCodes.end();
        const link::Bytes frame = fromSettings ? psent::PsEntFrames::frame(code, settings, system)
                                               : dataset::SystemParamFrames::frame(code, system);
        if (frame.empty() || !buffers.set(code, frame)) {
            return false;
        }
    }
    return true;
}

void WriteBackFrames::keepIdentity(handset::HandsetBlocks& pending, const handset::HandsetBlocks& held) {
    for (const std::uint16_t code : {0x1201, 0x1301, 0x1302}) {
        pending.take(code, held);
    }
}

} // namespace tolvan::datasave

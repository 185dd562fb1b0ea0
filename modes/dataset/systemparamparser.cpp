#include "modes/dataset/systemparamparser.h"

#include <algorithm>

namespace tolvan::dataset {

bool SystemParamParser::ownsItem(std::uint8_t group, std::uint8_t item) {
    const auto code = static_cast<std::uint16_t>((group << 8) | item);
    // 0x1C01 arrives through settingRedirect, not as a data response.
    static const SystemParamImage probe;
    return code != 0x1C01 && !probe.block(code).empty();
}

std::optional<std::uint8_t> SystemParamParser::dataResponse(std::uint8_t group, std::uint8_t item,
                                                            std::span<const std::uint8_t> data) {
    if (!ownsItem(group, item)) {
        return std::nullopt;
    }
    // A short answer updates the bytes it carries; the rest keep the previous read.
    const std::span<std::uint8_t> block = m_image.block(static_cast<std::uint16_t>((group << 8) | item));
    std::copy_n(data.begin(), std::min(data.size(), block.size()), block.begin());
    return std::nullopt;
}

void SystemParamParser::settingRedirect(std::uint8_t value) {
    m_image.accessory = value;
}

} // namespace tolvan::dataset

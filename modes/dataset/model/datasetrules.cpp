#include "modes/dataset/model/datasetrules.h"

#include "modes/dataset/model/datasetcodec.h"

namespace tolvan::dataset {

bool DataSetRules::areaControlsEnabled(std::uint32_t modelCode) {
    return modelCode == 2 || modelCode == 4;
}

bool DataSetRules::rxGainEnabled(std::uint32_t modelCode) {
    return modelCode == 2;
}

int DataSetRules::enabledIdRows(std::uint32_t modelCode, int additionalIdCountIndex) {
    if (modelCode == 3 || additionalIdCountIndex < 0) {
        return 0;
    }
    return additionalIdCountIndex > 8 ? 8 : additionalIdCountIndex;
}

DataSetRules::DigitEntry DataSetRules::applyDigitEntry(std::array<QString, 9>& boxes, int edited,
                                                       std::uint32_t limit) {
    DigitEntry entry;
    entry.focus = edited;
    if (edited < 0 || edited >= static_cast<int>(boxes.size())) {
        return entry;
    }
    auto& box = boxes[static_cast<std::size_t>(edited)];
    if (DataSetCodec::digitRowValue(boxes) > static_cast<std::int64_t>(limit)) {
        box.clear();
        entry.emptied = true;
    }
    if (!box.isEmpty() && edited < static_cast<int>(boxes.size()) - 1) {
        entry.focus = edited + 1;
    }
    return entry;
}

} // namespace tolvan::dataset

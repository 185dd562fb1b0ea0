#include "modes/test/model/logfile2compare.h"

#include "modes/test/model/logfile2writer.h"

namespace tolvan::testmode {

QList<logfile::LineDifference> compareLogFile2(const handset::HandsetBlocks& first,
                                               const handset::HandsetBlocks& second,
                                               std::uint32_t modelCode) {
    // DAC, RSSI 1, RSSI 2 and amplifier lines; then the memo.
    const std::vector<bool> compared{true, true, true, true, false};
    return logfile::compareWrittenLines(LogFile2Writer::fromStore(first, modelCode, {}).bytes,
                                        LogFile2Writer::fromStore(second, modelCode, {}).bytes, compared);
}

} // namespace tolvan::testmode

#include "modes/test/model/calibrationbackup.h"

#include "modes/test/model/logfile2writer.h"

namespace tolvan::testmode {

std::variant<QString, Message> backUpCalibration(const handset::HandsetBlocks& store, std::uint32_t modelCode,
                                                 const QString& memo, const QString& root) {
    LogFile2Text text = LogFile2Writer::fromStore(store, modelCode, memo);
    if (!text.ok()) {
        text = LogFile2Writer::fromStore(store, modelCode, QString());
    }
    if (!text.ok()) {
        return errorMessage(text.error);
    }
    // The PS-ID block: four 7-bit groups, high first.
    const auto id = store.block(0x1201, 4);
    const std::uint32_t psId = (std::uint32_t{id[0] & 0x7Fu} << 21) | (std::uint32_t{id[1] & 0x7Fu} << 14) |
                               (std::uint32_t{id[2] & 0x7Fu} << 7) | (id[3] & 0x7Fu);
    return backup::saveBackup(root, modelCode, psId, {{QStringLiteral("jv2"), text.bytes}});
}

} // namespace tolvan::testmode

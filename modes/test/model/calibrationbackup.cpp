#include "modes/test/model/calibrationbackup.h"

#include "common/backup/backupbuilder.h"
#include "handset/psid.h"
#include "modes/test/model/logfile2writer.h"

namespace tolvan::testmode {

std::variant<QString, Message> backUpCalibration(const handset::HandsetBlocks& store, std::uint32_t modelCode,
                                                 const QString& memo, const QString& root) {
    return backup::buildAndSaveBackup(
        root, modelCode, handset::psIdOf(store), memo, [&](const QString& withMemo) {
            return backup::singleFileBackup(QStringLiteral("jv2"),
                                            LogFile2Writer::fromStore(store, modelCode, withMemo));
        });
}

} // namespace tolvan::testmode

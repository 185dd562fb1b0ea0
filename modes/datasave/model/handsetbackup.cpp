#include "modes/datasave/model/handsetbackup.h"

#include "common/backup/backupbuilder.h"
#include "handset/psid.h"
#include "modes/datasave/model/saveset.h"
#include "modes/psent/model/settingspair.h"

namespace tolvan::datasave {

std::variant<QString, Message> backUpHandset(const handset::HandsetBlocks& store, std::uint32_t modelCode,
                                             const QString& memo, const QString& root, bool withBuffers) {
    if (!withBuffers) {
        return psent::backUpSettingsPair(store, modelCode, memo, root);
    }
    return backup::buildAndSaveBackup(
        root, modelCode, handset::psIdOf(store), memo, [&](const QString& withMemo) -> backup::BackupFiles {
            const auto built = buildSaveSet(store, modelCode, withMemo);
            if (const auto* failed = std::get_if<Message>(&built)) {
                return *failed;
            }
            const auto& files = std::get<SaveSetFiles>(built);
            return QList<backup::BackupFile>{{QStringLiteral("jv1"), files.jv1},
                                             {QStringLiteral("jv4"), files.jv4},
                                             {QStringLiteral("jv3"), files.jv3}};
        });
}

} // namespace tolvan::datasave

#include "modes/psent/model/settingspair.h"

#include "common/backup/backupbuilder.h"
#include "handset/psid.h"
#include "modes/dataset/model/logfile1writer.h"
#include "modes/dataset/model/systemparamimage.h"
#include "modes/psent/model/logfile4writer.h"

namespace tolvan::psent {

std::variant<logfile::SaveSetFiles, Message> buildSettingsPair(const handset::HandsetBlocks& store,
                                                               std::uint32_t modelCode, const QString& memo) {
    const auto jv1 =
        dataset::LogFile1Writer::fromImage(dataset::SystemParamImage::fromStore(store), modelCode, memo);
    if (!jv1.ok()) {
        return errorMessage(jv1.error);
    }
    const auto jv4 = LogFile4Writer::fromStore(store, modelCode, memo);
    if (!jv4.ok()) {
        return errorMessage(jv4.error);
    }
    return logfile::SaveSetFiles{jv1.bytes, {}, jv4.bytes};
}

std::optional<Message> writeSettingsPair(const handset::HandsetBlocks& store, std::uint32_t modelCode,
                                         const QString& base, const QString& memo, QList<Message>* notices) {
    const auto built = buildSettingsPair(store, modelCode, memo);
    if (const auto* failed = std::get_if<Message>(&built)) {
        return *failed;
    }
    return logfile::writeSaveSet(base, std::get<logfile::SaveSetFiles>(built), false, notices);
}

std::variant<QString, Message> backUpSettingsPair(const handset::HandsetBlocks& store,
                                                  std::uint32_t modelCode, const QString& memo,
                                                  const QString& root) {
    return backup::buildAndSaveBackup(
        root, modelCode, handset::psIdOf(store), memo, [&](const QString& withMemo) -> backup::BackupFiles {
            const auto built = buildSettingsPair(store, modelCode, withMemo);
            if (const auto* failed = std::get_if<Message>(&built)) {
                return *failed;
            }
            const auto& files = std::get<logfile::SaveSetFiles>(built);
            return QList<backup::BackupFile>{{QStringLiteral("jv1"), files.jv1},
                                             {QStringLiteral("jv4"), files.jv4}};
        });
}

} // namespace tolvan::psent

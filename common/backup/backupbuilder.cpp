#include "common/backup/backupbuilder.h"

namespace tolvan::backup {

std::variant<QString, Message> buildAndSaveBackup(const QString& root, std::uint32_t modelCode,
                                                  std::uint32_t psId, const QString& memo,
                                                  const BuildBackupFiles& build) {
    BackupFiles files = build(memo);
    if (std::holds_alternative<Message>(files)) {
        files = build(QString());
    }
    if (const auto* failed = std::get_if<Message>(&files)) {
        return *failed;
    }
    return saveBackup(root, modelCode, psId, std::get<QList<BackupFile>>(files));
}

} // namespace tolvan::backup
